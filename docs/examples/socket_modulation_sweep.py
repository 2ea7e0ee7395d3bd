#!/usr/bin/env python3
"""pyvisa-py over the raw SCPI socket (TCP 5025): AM on CH1, a linear sweep on
CH2. On a raw socket every message and every reply ends with a newline.

    socket_modulation_sweep.py [HOST]     (default 127.0.0.1)
"""
import sys

import pyvisa

host = sys.argv[1] if len(sys.argv) > 1 else "127.0.0.1"
inst = pyvisa.ResourceManager("@py").open_resource("TCPIP::%s::5025::SOCKET" % host)
inst.read_termination = inst.write_termination = "\n"
inst.timeout = 20000

# AM: a 20 kHz carrier, 80 % depth at 1 kHz.
inst.write("CHANnel1:BASe:WAVe SINe; :CHANnel1:BASe:FREQuency 20kHZ")
inst.write("CHANnel1:MODulate:TYPe AM; :CHANnel1:MODulate:WAVe SINe")
inst.write("CHANnel1:MODulate:FREQuency 1kHZ; :CHANnel1:MODulate:DEPTh 80")
# A linear sweep from 1 kHz to 10 kHz in 100 ms.
inst.write("CHANnel2:BASe:WAVe SINe; :CHANnel2:SWEep:TYPe LINe")
inst.write("CHANnel2:SWEep:FREQuency:STARt 1kHZ; :CHANnel2:SWEep:FREQuency:STOP 10kHZ; :CHANnel2:SWEep:TIMe 100mS")
inst.write("CHANnel1:OUTPut ON; :CHANnel2:OUTPut ON")
print("CH1", inst.query("CHANnel1:MODE?"), inst.query("CHANnel1:MODulate:TYPe?"))
print("CH2", inst.query("CHANnel2:MODE?"), inst.query("CHANnel2:SWEep:TIMe?"), "s")
err = inst.query("SYSTem:ERRor?")
print("error list:", err)
sys.exit(0 if err.startswith("0,") else 1)
