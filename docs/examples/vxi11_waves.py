#!/usr/bin/env python3
"""pyvisa-py over VXI-11: identify, two continuous waves, a burst on a manual
trigger, then the error list (one refused command on purpose).

    vxi11_waves.py [HOST]     (default 127.0.0.1)
"""
import sys

import pyvisa

host = sys.argv[1] if len(sys.argv) > 1 else "127.0.0.1"
inst = pyvisa.ResourceManager("@py").open_resource("TCPIP::%s::inst0::INSTR" % host)
inst.timeout = 20000
print(inst.query("*IDN?").strip())

# Continuous waves: CH1 a 1 kHz sine of 2 Vpp with 0.5 V offset, CH2 a square.
inst.write("CHANnel1:MODE CONTinue; :CHANnel1:BASe:WAVe SINe")
inst.write("CHANnel1:BASe:FREQuency 1kHZ; :CHANnel1:BASe:AMPLitude 2Vpp; :CHANnel1:BASe:OFFSet 500mV")
inst.write("CHANnel2:BASe:WAVe SQUare; :CHANnel2:BASe:FREQuency 5kHZ")
inst.write("CHANnel1:OUTPut ON; :CHANnel2:OUTPut ON")
print("CH1", inst.query("CHANnel1:BASe:WAVe?").strip(), float(inst.query("CHANnel1:BASe:FREQuency?")), "Hz")

# Burst: 3 cycles of 5 kHz on CH3, one burst per manual trigger.
inst.write("CHANnel3:BASe:WAVe SINe; :CHANnel3:BASe:FREQuency 5kHZ")
inst.write("CHANnel3:BURSt:TYPe NCYC; :CHANnel3:BURSt:CYCLes 3; :CHANnel3:TRIGger:SOURce MANual")
inst.write("CHANnel3:OUTPut ON")
inst.write("CHANnel3:BURSt:TRIGger")
print("CH3", inst.query("CHANnel3:MODE?").strip(), inst.query("CHANnel3:BURSt:CYCLes?").strip(), "cycles")

# The error list: a channel that does not exist is refused with -108.
inst.write("CHANnel9:OUTPut ON")
errors = []
while True:
    code, text = inst.query("SYSTem:ERRor?").strip().split(",", 1)
    if int(code) == 0:
        break
    errors.append(int(code))
    print("error", code, text)
sys.exit(0 if errors == [-108] else 1)
