#!/usr/bin/env python3
"""pyvisa-py over VXI-11: frequency sweeps on CH2 (linear, logarithmic,
stepped) and a list sweep through a frequency list uploaded to the
instrument, each looked at with the simulated board's oscilloscope.

    vxi11_sweeps_lists.py [HOST [ROOT]]     (defaults 127.0.0.1, $ORNAV_ROOT or /tmp/ornav-root)
"""
import os
import subprocess
import sys

import pyvisa

host = sys.argv[1] if len(sys.argv) > 1 else "127.0.0.1"
root = sys.argv[2] if len(sys.argv) > 2 else os.environ.get("ORNAV_ROOT", "/tmp/ornav-root")
here = os.path.dirname(os.path.abspath(__file__))
sim = os.environ.get("ORNAV_SIM", os.path.join(here, "..", "..", "build", "tools", "ornav-sim"))

inst = pyvisa.ResourceManager("@py").open_resource("TCPIP::%s::inst0::INSTR" % host)
inst.timeout = 20000
PREFIX = {"p": 1e-12, "n": 1e-9, "u": 1e-6, "m": 1e-3, "k": 1e3, "M": 1e6, "G": 1e9}


def scope(span):
    """What a bench scope on CH2 measures, e.g. {"Fmin": 1000.0, "Fmax": 10000.0}."""
    out = subprocess.run([sim, "--root", root, "scope", "2", "--span", str(span)],
                         check=True, capture_output=True, text=True).stdout
    found = {}
    for line in out.splitlines()[1:]:
        parts = line.split()
        if len(parts) >= 2 and parts[1][-1].isdigit():  # "Output off" and notes have no number
            unit = parts[2] if len(parts) > 2 else ""
            found[parts[0]] = float(parts[1]) * (PREFIX.get(unit[0], 1) if len(unit) > 1 else 1)
    return found


inst.write("*RST")
inst.write("CHANnel2:BASe:WAVe SINe; :CHANnel2:BASe:AMPLitude 2Vpp; :CHANnel2:TRIGger:SOURce INTernal")
inst.write("CHANnel2:SWEep:FREQuency:STARt 1kHZ; :CHANnel2:SWEep:FREQuency:STOP 10kHZ")
inst.write("CHANnel2:OUTPut ON")
inst.query("*OPC?")  # the output relay has closed
failed = []

# 1 kHz to 10 kHz in 100 ms, linear and logarithmic; then ten steps of
# 10 ms each. Each sweep repeats ten times a second (ModF); a cycle's
# frequency is its average, so the low end reads a little high.
for kind, settings, fmin_tolerance in (("LINe", "SWEep:TIMe 100mS", 150),
                                       ("LOG", "SWEep:TIMe 100mS", 30),
                                       ("STEP", "SWEep:STEPs 10; :CHANnel2:SWEep:TIMe 10mS", 1)):
    inst.write("CHANnel2:SWEep:TYPe %s; :CHANnel2:%s" % (kind, settings))
    seen = scope(0.3)
    print("%-4s %s  Fmin %.1f Hz  Fmax %.1f Hz  ModF %.2f Hz" % (
        kind, inst.query("CHANnel2:MODE?").strip(), seen.get("Fmin", 0), seen.get("Fmax", 0), seen.get("ModF", 0)))
    if (abs(seen.get("Fmin", 0) - 1000) > fmin_tolerance or abs(seen.get("Fmax", 0) - 10000) > 30
            or abs(seen.get("ModF", 0) - 10) > 0.2):
        failed.append("%s (scope: %s)" % (kind, seen))

# A list sweep: three frequencies of 10 ms each. The list file (header, count,
# one frequency a line, CR LF) goes in the same message as a definite-length
# block; the instrument keeps it as CH2_List_three.lst and switches CH2 to it.
freqs = [1000, 2000, 5000]
text = "[HEAD]:44\r\n[FREQ-POINTS]:%d\r\n" % len(freqs) + "".join("%.6f\r\n" % f for f in freqs)
inst.write_binary_values('WFREQLIST2 "three.lst",', text.encode("ascii"), datatype="B")
inst.write("CHANnel2:SWEep:TIMe 10mS")
inst.query("*OPC?")
seen = scope(0.06)
print("LIST %s %s  Fmin %.1f Hz  Fmax %.1f Hz" % (
    inst.query("CHANnel2:MODE?").strip(), inst.query("CHANnel2:SWEep:TYPe?").strip(),
    seen.get("Fmin", 0), seen.get("Fmax", 0)))
if inst.query("CHANnel2:SWEep:TYPe?").strip() != "LIST" or abs(seen.get("Fmin", 0) - 1000) > 2 \
        or abs(seen.get("Fmax", 0) - 5000) > 5:
    failed.append("LIST (scope: %s)" % seen)

err = inst.query("SYSTem:ERRor?").strip()
print("error list:", err)
print("not as set:", ", ".join(failed) or "none")
sys.exit(0 if err.startswith("0,") and not failed else 1)
