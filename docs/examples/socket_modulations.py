#!/usr/bin/env python3
"""pyvisa-py over the raw SCPI socket (TCP 5025): every modulation kind on
CH1, one after the other, each looked at with the simulated board's
oscilloscope. On a raw socket every message and every reply ends with a
newline.

    socket_modulations.py [HOST [ROOT]]     (defaults 127.0.0.1, $ORNAV_ROOT or /tmp/ornav-root)

Against a real instrument, give its address and leave out the scope lines:
they read the simulated board under ROOT.
"""
import os
import subprocess
import sys

import pyvisa

host = sys.argv[1] if len(sys.argv) > 1 else "127.0.0.1"
root = sys.argv[2] if len(sys.argv) > 2 else os.environ.get("ORNAV_ROOT", "/tmp/ornav-root")
here = os.path.dirname(os.path.abspath(__file__))
sim = os.environ.get("ORNAV_SIM", os.path.join(here, "..", "..", "build", "tools", "ornav-sim"))

inst = pyvisa.ResourceManager("@py").open_resource("TCPIP::%s::5025::SOCKET" % host)
inst.read_termination = inst.write_termination = "\n"
inst.timeout = 20000

PREFIX = {"p": 1e-12, "n": 1e-9, "u": 1e-6, "m": 1e-3, "k": 1e3, "M": 1e6, "G": 1e9}


def scope(span):
    """What a bench scope on CH1 measures, e.g. {"ModF": 100.0, "Depth": 80.0}."""
    out = subprocess.run([sim, "--root", root, "scope", "1", "--span", str(span)],
                         check=True, capture_output=True, text=True).stdout
    found = {}
    for line in out.splitlines()[1:]:
        parts = line.split()
        if len(parts) >= 2 and parts[1][-1].isdigit():  # "Output off" and notes have no number
            unit = parts[2] if len(parts) > 2 else ""
            scale = PREFIX.get(unit[0], 1) if len(unit) > 1 else 1
            found[parts[0]] = float(parts[1]) * scale
    return found


# A 10 kHz sine carrier modulated at 100 Hz (keyed 100 times a second).
# kind, its own settings, carrier wave, what the scope must show (value, tolerance)
KINDS = [
    ("AM", ["MODulate:FREQuency 100", "MODulate:DEPTh 80"], "SINe", {"Depth": (80, 0.5), "ModF": (100, 1)}),
    ("BAM", ["MODulate:FREQuency 100", "MODulate:DEPTh 100"], "SINe", {"ModF": (200, 2)}),  # |sin| envelope
    ("QAM", ["MODulate:BITRatio 1kbps", "PNCode PN7", "MODulate:IQMap QAM16"], "SINe", {"Vpp": (2, 0.01)}),
    ("ASK", ["MODulate:FREQuency 100"], "SINe", {"BurstT": (0.01, 1e-5), "Cycles": (50, 0)}),
    ("FM", ["MODulate:FREQuency 100", "FM:FREQuency:DEV 2kHZ"], "SINe", {"Fmin": (8000, 5), "Fmax": (12000, 5)}),
    ("FSK", ["MODulate:FREQuency 100", "FSK:FREQuency1 25kHZ"], "SINe", {"Fmin": (1e4, 5), "Fmax": (25000, 5)}),
    ("ThreeFSK", ["MODulate:FREQuency 100", "FSK:FREQuency1 20kHZ", "FSK:FREQuency2 40kHZ"], "SINe",
     {"Fmax": (40000, 10)}),
    ("FourFSK", ["MODulate:FREQuency 100", "FSK:FREQuency1 20kHZ", "FSK:FREQuency2 30kHZ", "FSK:FREQuency3 40kHZ"],
     "SINe", {"Fmax": (40000, 10)}),
    ("PM", ["MODulate:FREQuency 100", "PM:PHASe:DEV 90"], "SINe", {"ModF": (100, 1)}),
    ("PSK", ["MODulate:FREQuency 100", "PSK:PHASe1 90"], "SINe", {"ModF": (100, 1)}),
    ("BPSK", ["MODulate:BITRatio 1kbps", "PNCode PN7", "PSK:PHASe1 0", "PSK:PHASe2 90"], "SINe", {"Vpp": (2, 0.01)}),
    ("QPSK", ["MODulate:BITRatio 1kbps", "PNCode PN7", "PSK:PHASe1 0", "PSK:PHASe2 90", "PSK:PHASe3 180",
              "PSK:PHASe4 270"], "SINe", {"Vpp": (2, 0.01)}),
    # OSK: the carrier swells in over 1 ms and dies away, 100 times a second.
    ("OSK", ["OSK:TRIGger:SOURce INTernal", "MODulate:RATio 100", "OSK:TIMe 1mS"], "SINe", {"BurstT": (0.01, 1e-5)}),
    # PWM needs a pulse carrier: its duty swings 50 % +- 20 %.
    ("PWM", ["BASe:DUTY 50", "MODulate:FREQuency 100", "PWM:DUTY:DEV 20"], "PULSe", {"Duty": (50, 1), "ModF": (100, 1)}),
    ("SUM", ["MODulate:FREQuency 100", "MODulate:DEPTh 50"], "SINe", {"Freq": (1e4, 2)}),
]

inst.write("*RST")
failed = []
for kind, settings, carrier, want in KINDS:
    inst.write("CHANnel1:BASe:WAVe %s; :CHANnel1:BASe:FREQuency 10kHZ; :CHANnel1:BASe:AMPLitude 2Vpp" % carrier)
    inst.write("CHANnel1:MODulate:TYPe %s; :CHANnel1:MODulate:SOURce INTernal; :CHANnel1:MODulate:WAVe SINe" % kind)
    inst.write("; ".join(":CHANnel1:" + s for s in settings))
    inst.write("CHANnel1:OUTPut ON")
    inst.query("*OPC?")  # the output relay has closed
    mode, got_kind = inst.query("CHANnel1:MODE?"), inst.query("CHANnel1:MODulate:TYPe?")
    seen = scope(0.03)  # three modulation periods
    shown = "  ".join("%s %g" % (name, seen.get(name, float("nan"))) for name in want)
    print("%-9s %s %-9s %s" % (kind, mode, got_kind, shown))
    if mode != "MODulation" or got_kind.upper() != kind.upper():
        failed.append(kind)
    for name, (value, tolerance) in want.items():
        if name not in seen or abs(seen[name] - value) > tolerance:
            failed.append("%s %s" % (kind, name))

err = inst.query("SYSTem:ERRor?")
print("error list:", err)
print("not as set:", ", ".join(failed) or "none")
sys.exit(0 if err.startswith("0,") and not failed else 1)
