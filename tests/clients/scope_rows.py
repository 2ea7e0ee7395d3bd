#!/usr/bin/python3
"""Every wave, work mode and mode kind seen by a scope, table-driven.

Usage: scope_rows.py ROOT ORNAV_SIM

Runs against an instrument already serving on 127.0.0.1 with the simulated
board ROOT. Each row sets CH1 over VXI-11 (pyvisa-py), then for each of three
spans samples the output with `ornav-sim scope --csv` and measures the same
samples with numpy, independently of the tool. The tool's printed value,
numpy's and the set value must agree within the row's tolerance. Prints "ok"
or "FAIL" per row and span; exits 1 when any failed.

Tolerances, from the word sizes: the carrier and rate increments resolve
312.5 MHz / 2^63 and the depth and deviation words 1 / (2^47 - 1), far below
what is measured; the scale word resolves 1 / 65535 of the range, the fine
offset DAC 0.11 mV and a wave-memory word 1 / 32767 of full scale, so levels
agree within 2 mV on 2 Vpp. What remains is the measurement's own
resolution: a crossing is placed within a fraction of a sample, so a mean
over N cycles is good to about a sample / (N periods); a value taken per
carrier cycle (envelope, cycle frequency) is good to one carrier period in
time, and a cycle's frequency in a sweep is its average over the cycle.
The tool prints six digits (5e-6).
"""
import functools
import os
import subprocess
import sys

import numpy as np
import pyvisa

ROOT, SIM = sys.argv[1], sys.argv[2]
print = functools.partial(print, flush=True)
POINTS = 100000
C = "CHANnel1:"


def cont(wave, freq=10000, extra=()):
    return [C + "MODE CONTinue", C + "BASe:WAVe " + wave, C + "BASe:FREQuency %g" % freq,
            C + "BASe:AMPLitude 2", C + "BASe:OFFSet 0", C + "OUTPut ON"] + list(extra)


def mod(kind, extra=(), wave="SINe", freq=10000):
    # The OSK rate is set apart from the modulating frequency, so that a mode
    # keyed by the wrong one shows.
    return cont(wave, freq) + [C + "MODE MODulation", C + "MODulate:TYPe " + kind,
                               C + "MODulate:SOURce INTernal", C + "MODulate:WAVe SINe",
                               C + "MODulate:RATio 250"] + list(extra)


def sweep(kind, extra):
    return cont("SINe", 1000) + [C + "MODE SWEep", C + "SWEep:TYPe " + kind, C + "TRIGger:SOURce INTernal",
                                 C + "SWEep:FREQuency:STARt 1000", C + "SWEep:FREQuency:STOP 10000"] + list(extra)


def burst(kind, extra=()):
    return cont("SINe", 1000) + [C + "MODE BURSt", C + "BURSt:TYPe " + kind, C + "TRIGger:SOURce INTernal",
                                 C + "BURSt:PHASe 0"] + list(extra)


R = 1e-4  # relative tolerance of a mean over many cycles of a sine carrier
# name, commands, spans, {measurement: (set value, tolerance)}, modulation series
ROWS = [
    ("sine", cont("SINe", 1000, [C + "BASe:OFFSet 0.5"]), (3e-3, 10e-3, 50e-3),
     {"Freq": (1000, 1000 * R), "Vpp": (2, 2e-3), "Mean": (0.5, 1e-3)}, None),
    ("square", cont("SQUare", 1000, [C + "BASe:DUTY 25"]), (3e-3, 10e-3, 50e-3),
     {"Freq": (1000, 1), "Duty": (25, 0.1), "Vpp": (2, 2e-3)}, None),
    ("ramp", cont("RAMP", 1000, [C + "RAMP:SYMMetry 25"]), (3e-3, 10e-3, 50e-3),
     {"Freq": (1000, 1000 * R), "Vpp": (2, 2e-3), "Mean": (0, 1e-3)}, None),
    ("pulse", cont("PULSe", 10000, [C + "BASe:DUTY 40"]), (0.3e-3, 1e-3, 5e-3),
     {"Freq": (10000, 10), "Duty": (40, 0.2), "Vpp": (2, 2e-3)}, None),
    ("harmonic", cont("HARMonic", 1000), (3e-3, 10e-3, 50e-3), {"Vpp": (2, 0.05)}, None),
    # Gaussian noise: its mean over 1e5 samples is within 4 sigma / sqrt(1e5).
    ("noise", cont("NOISe", 1e6), (1e-3, 1e-2, 1e-1), {"Mean": (0, 0.01)}, None),
    ("dc", cont("DC", 1000, [C + "BASe:OFFSet 1.5"]), (1e-3, 1e-2, 1e-1), {"Vpp": (0, 1e-6), "Mean": (1.5, 1e-3)}, None),
    ("prbs", cont("PRBS", 10000), (1e-3, 1e-2, 1e-1), {"Vpp": (2, 2e-3)}, None),
    # Modulations of a 10 kHz sine, modulating at 100 Hz.
    ("am", mod("AM", [C + "MODulate:FREQuency 100", C + "MODulate:DEPTh 80"]), (25e-3, 30e-3, 100e-3),
     {"Freq": (1e4, 1e4 * R), "Depth": (80, 0.2), "ModF": (100, 1)}, "amp"),
    # The DSB-AM envelope |sin| repeats at twice the modulating frequency.
    ("dsb-am", mod("BAM", [C + "MODulate:FREQuency 100", C + "MODulate:DEPTh 100"]), (25e-3, 30e-3, 100e-3),
     {"ModF": (200, 2)}, "amp"),
    ("qam", mod("QAM", [C + "MODulate:BITRatio 1000", C + "PNCode PN7"]), (10e-3, 20e-3, 50e-3),
     {"Vpp": (2, 2e-3), "KeyT": (2e-3, 0)}, None),
    ("ask", mod("ASK", [C + "MODulate:FREQuency 100"]), (25e-3, 30e-3, 100e-3),
     {"Freq": (1e4, 1e4 * R), "BurstT": (0.01, 1e-6), "Cycles": (50, 0), "ModF": (100, 1)}, "amp"),
    ("fm", mod("FM", [C + "MODulate:FREQuency 100", C + "FM:FREQuency:DEV 2000"]), (25e-3, 30e-3, 100e-3),
     {"Freq": (1e4, 1), "Fmin": (8000, 2), "Fmax": (12000, 2), "ModF": (100, 1)}, "freq"),
    ("fsk", mod("FSK", [C + "MODulate:FREQuency 100", C + "FSK:FREQuency1 25000"]), (25e-3, 30e-3, 100e-3),
     {"Fmin": (1e4, 1), "Fmax": (25000, 3), "ModF": (100, 1)}, "freq"),
    ("3fsk", mod("ThreeFSK", [C + "MODulate:FREQuency 100", C + "FSK:FREQuency1 20000",
                              C + "FSK:FREQuency2 40000"]), (25e-3, 30e-3, 100e-3),
     {"Fmin": (1e4, 1), "Fmax": (40000, 4), "ModF": (100, 1)}, "freq"),
    ("4fsk", mod("FourFSK", [C + "MODulate:FREQuency 100", C + "FSK:FREQuency1 20000",
                             C + "FSK:FREQuency2 30000", C + "FSK:FREQuency3 40000"]), (25e-3, 30e-3, 100e-3),
     {"Fmin": (1e4, 1), "Fmax": (40000, 4), "ModF": (100, 1)}, "freq"),
    # 90 degrees of phase deviation swing the cycle frequency by
    # 0.25 x 2 pi x 100 Hz = 157 Hz; a 100 us cycle spans 20 or 21 of the
    # modulating table's 2048 steps of 4.9 us, so its advance varies by 1/20.
    ("pm", mod("PM", [C + "MODulate:FREQuency 100", C + "PM:PHASe:DEV 90"]), (25e-3, 30e-3, 100e-3),
     {"Freq": (1e4, 1), "Fmax": (10157, 10), "ModF": (100, 1)}, "freq"),
    ("psk", mod("PSK", [C + "MODulate:FREQuency 100", C + "PSK:PHASe1 90"]), (30e-3, 50e-3, 100e-3),
     {"Freq": (1e4, 1), "ModF": (100, 1), "KeyT": (5e-3, 0)}, "freq"),
    ("bpsk", mod("BPSK", [C + "MODulate:BITRatio 1000", C + "PNCode PN7", C + "PSK:PHASe1 0",
                          C + "PSK:PHASe2 90"]), (10e-3, 20e-3, 50e-3),
     {"Vpp": (2, 2e-3), "KeyT": (1e-3, 0)}, None),
    ("qpsk", mod("QPSK", [C + "MODulate:BITRatio 1000", C + "PNCode PN7", C + "PSK:PHASe1 0", C + "PSK:PHASe2 90",
                          C + "PSK:PHASe3 180", C + "PSK:PHASe4 270"]), (10e-3, 20e-3, 50e-3),
     {"Vpp": (2, 2e-3), "KeyT": (2e-3, 0)}, None),
    # OSK at 100 Hz: on for 5 ms of each 10 ms, swelling in over 1 ms
    # (10 % to 90 %: 0.8 ms).
    ("osk", mod("OSK", [C + "OSK:TRIGger:SOURce INTernal", C + "MODulate:FREQuency 250", C + "MODulate:RATio 100",
                        C + "OSK:TIMe 1e-3"]),
     (25e-3, 30e-3, 100e-3), {"BurstT": (0.01, 1e-6), "ModF": (100, 1), "Swell": (0.8e-3, 0.2e-3)}, "amp"),
    # Duty over whole modulation periods; at 100 ms a sample is 1 % of a cycle.
    ("pwm", mod("PWM", [C + "BASe:DUTY 50", C + "MODulate:FREQuency 100", C + "PWM:DUTY:DEV 20"], "PULSe"),
     (25e-3, 30e-3, 100e-3), {"Freq": (1e4, 10), "Duty": (50, 1), "ModF": (100, 1)}, "duty"),
    ("sum", mod("SUM", [C + "MODulate:FREQuency 100", C + "MODulate:DEPTh 50"]), (25e-3, 30e-3, 100e-3),
     {"Freq": (1e4, 1), "Vpp": (2, 2e-3)}, None),
    # Sweeps of 1 kHz to 10 kHz. A cycle's frequency is its average, and the
    # cycle holding the return is left out: the first whole cycle of a linear
    # sweep over 0.1 s reads up to 9e4 Hz/s x 1.5 ms high, the last 9e4 Hz/s x
    # 0.2 ms low.
    ("linear", sweep("LINe", [C + "SWEep:TIMe 0.1"]), (0.25, 0.3, 0.5),
     {"Fmin": (1000, 150), "Fmax": (10000, 20), "ModF": (10, 0.2)}, "freq"),
    ("log", sweep("LOG", [C + "SWEep:TIMe 0.1"]), (0.25, 0.3, 0.5),
     {"Fmin": (1000, 30), "Fmax": (10000, 30), "ModF": (10, 0.2)}, "freq"),
    # Ten steps, each held for the sweep time.
    ("step", sweep("STEP", [C + "SWEep:STEPs 10", C + "SWEep:TIMe 0.01"]), (0.25, 0.3, 0.5),
     {"Fmin": (1000, 0.1), "Fmax": (10000, 1), "ModF": (10, 0.2)}, "freq"),
    ("list", sweep("LIST", [C + "SWEep:TIMe 0.01"]), (0.25, 0.3, 0.5), {"Vpp": (2, 2e-3)}, None),
    # A burst's first crossing leaves the resting level, placed within a
    # sample (0.3 us at 30 ms): 3e-4 of its first 1 ms cycle.
    ("n-cycle", burst("NCYC", [C + "BURSt:CYCLes 3", C + "BURSt:PERiod 0.01"]), (25e-3, 30e-3, 100e-3),
     {"Freq": (1000, 0.3), "BurstT": (0.01, 1e-6), "Cycles": (3, 0), "ModF": (100, 1)}, "amp"),
    # No gate signal arrives: the output rests at the start phase's level.
    ("gated", burst("GATe"), (1e-3, 1e-2, 1e-1), {"Vpp": (0, 1e-6)}, None),
    ("infinite", burst("INFinit"), (3e-3, 10e-3, 50e-3), {"Freq": (1000, 1000 * R), "Vpp": (2, 2e-3)}, None),
]


# --- numpy's own measurements ---------------------------------------------

def rising(t, x, level, hyst):
    """Rising crossings of level, re-armed only below level - hyst."""
    i = np.nonzero((x[:-1] < level) & (x[1:] >= level))[0]
    if i.size == 0:
        return np.array([])
    low = np.maximum.accumulate(np.where(x <= level - hyst, np.arange(x.size), -1))
    prev = np.concatenate(([-1], i[:-1]))
    i = i[(low[i] > prev) & (low[i] >= 0)]
    return t[i] + (level - x[i]) / (x[i + 1] - x[i]) * (t[i + 1] - t[i])


def falling(t, x, level, hyst):
    return rising(t, -x, -level, hyst)


def numpy_measure(t, v, want, series, carrier):
    dt = t[1] - t[0]
    r = {"Vpp": v.max() - v.min()}
    mid, vpp = (v.max() + v.min()) / 2, v.max() - v.min()
    up = rising(t, v, mid, 0.05 * vpp) if vpp > 1e-9 else np.array([])
    r["Mean"] = v[int(np.ceil(up[0] / dt)):int(np.ceil(up[-1] / dt))].mean() if up.size >= 2 else v.mean()
    if up.size < 2:
        return r
    d = np.diff(up)
    med = np.median(d)
    cyc = np.abs(d - med) < 0.3 * med  # cycles of the carrier, not gaps or keying jumps
    r["Freq"] = 1 / d[cyc].mean()
    down = falling(t, v, mid, 0.05 * vpp)
    k = np.searchsorted(down, up[:-1])
    ok = cyc & (k < down.size)
    ok[ok] &= down[k[ok]] < up[1:][ok]
    high = down[k[ok]] - up[:-1][ok]
    r["Duty"] = 100 * high.sum() / d[ok].sum() if ok.any() else 0
    f = 1 / d
    steady = np.zeros(d.size, bool)  # a cycle like one of its neighbours
    steady[1:] |= np.abs(d[1:] - d[:-1]) <= 0.25 * d[:-1]
    steady[:-1] |= np.abs(d[:-1] - d[1:]) <= 0.25 * d[1:]
    if steady.any():
        r["Fmin"], r["Fmax"] = f[steady].min(), f[steady].max()
    # Per-cycle envelope: the swing between consecutive crossings.
    idx = np.round(up / dt).astype(int)
    amp = (np.maximum.reduceat(v, idx)[:-1] - np.minimum.reduceat(v, idx)[:-1]) / 2
    a = amp[cyc[:amp.size]]
    if a.size:
        r["Depth"] = 100 * (a.max() - a.min()) / (a.max() + a.min())
    # Envelope in windows of one carrier period (ASK, OSK, bursts included).
    w = max(2, int(round(1 / carrier / dt)))
    n = v.size // w
    env = np.ptp(v[:n * w].reshape(n, w), axis=1) / 2
    envt = (np.arange(n) + 0.5) * w * dt
    mids = (up[:-1] + up[1:]) / 2
    if series:
        ts, xs = {"amp": (envt, env), "freq": (mids, f), "duty": (mids[ok], high / d[ok])}[series]
        lo, hi = (xs.min(), xs.max()) if xs.size else (0, 0)
        m = rising(ts, xs, (lo + hi) / 2, 0.2 * (hi - lo)) if hi > lo else np.array([])
        r["ModF"] = (m.size - 1) / (m[-1] - m[0]) if m.size >= 2 else 0
        if series == "freq" and m.size >= 2:
            # The carrier over whole modulation periods: cycles counted there.
            n = np.interp([m[0], m[-1]], up, np.arange(up.size))
            r["Freq"] = (n[1] - n[0]) / (m[-1] - m[0])
        if series == "duty" and m.size >= 2:
            whole = ok.copy()
            whole[ok] &= (mids[ok] >= m[0]) & (mids[ok] < m[-1])
            r["Duty"] = 100 * (down[k[whole]] - up[:-1][whole]).sum() / d[whole].sum()
    gaps = np.nonzero(d > 2 * med)[0]
    if gaps.size >= 2:
        r["BurstT"] = np.diff(up[gaps + 1]).mean()
        r["Cycles"] = gaps[1] - gaps[0]
    if "Swell" in want:
        on = np.nonzero((env[1:] >= 0.1 * env.max()) & (env[:-1] < 0.1 * env.max()))[0]
        full = np.nonzero(env >= 0.9 * env.max())[0]
        if on.size and full[full > on[0]].size:
            r["Swell"] = envt[full[full > on[0]][0]] - envt[on[0] + 1]
    if "KeyT" in want:
        # Phase jumps fall on the symbol grid: each cycle that is not a
        # whole carrier period holds a symbol boundary k x Ts.
        ts = want["KeyT"][0]
        jump = np.abs(d - 1 / carrier) > 0.1 / carrier
        # (a jump next to a crossing moves it by up to a quarter period).
        q = 0.25 / carrier
        on_grid = np.floor((up[1:][jump] + q) / ts) > np.floor((up[:-1][jump] - q) / ts)
        r["KeyT"] = ts if jump.sum() >= 3 and on_grid.all() else 0
    return r


# --- the tool's printed measurements --------------------------------------

PREFIX = {"p": 1e-12, "n": 1e-9, "u": 1e-6, "m": 1e-3, "": 1, "k": 1e3, "M": 1e6, "G": 1e9}
NAMES = ("Freq", "Vpp", "Mean", "Duty", "Fmin", "Fmax", "ModF", "Depth", "BurstT", "Cycles")


def tool_values(text):
    out = {}
    for line in text.splitlines():
        parts = line.split()
        if len(parts) < 2 or parts[0] not in NAMES:
            continue
        unit = parts[2] if len(parts) > 2 else ""
        base = next((b for b in ("Hz", "V", "s") if unit.endswith(b)), unit)
        out[parts[0]] = float(parts[1]) * PREFIX.get(unit[:len(unit) - len(base)], 1)
    return out


rm = pyvisa.ResourceManager("@py")
inst = rm.open_resource("TCPIP::127.0.0.1::inst0::INSTR")
inst.timeout = 30000
failures = 0
csv = os.path.join(ROOT, "scope_rows.csv")
for name, commands, spans, want, series in ROWS:
    for c in commands:  # each applied before the next, as a careful script sends them
        inst.write(c)
        inst.query("*OPC?")
    carrier = float(inst.query(C + "BASe:FREQuency?"))
    for span in spans:
        p = subprocess.run([SIM, "--root", ROOT, "scope", "1", "--span", repr(span), "--points", str(POINTS),
                            "--csv", csv], capture_output=True, text=True, timeout=120)
        data = np.loadtxt(csv, delimiter=",", skiprows=1)
        tool = tool_values(p.stdout)
        ours = numpy_measure(data[:, 0], data[:, 1], want, series, carrier)
        bad = []
        for key, (value, tol) in want.items():
            got = ours.get(key)
            if got is None or abs(got - value) > tol:
                bad.append("numpy %s %s, set %g +- %g" % (key, got, value, tol))
            if key in NAMES:
                t = tool.get(key)
                if t is None or abs(t - value) > tol or (got is not None and abs(t - got) > tol):
                    bad.append("tool %s %s, numpy %s, set %g +- %g" % (key, t, got, value, tol))
        if p.returncode != 0 or bad:
            failures += 1
            print("FAIL %s span %g: %s\n%s%s" % (name, span, "; ".join(bad), p.stdout, p.stderr))
        else:
            print("ok %s span %g" % (name, span))
inst.close()
print("%d failed" % failures)
sys.exit(1 if failures else 0)
