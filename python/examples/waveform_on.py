#!/usr/bin/env python3
"""Sets a 10 kHz square wave of 2 Vpp on channel 1 and switches the output on.

    waveform_on.py [RESOURCE]     (default TCPIP::127.0.0.1::inst0::INSTR)
"""
import sys

from ornav72 import Ornav72

gen = Ornav72(sys.argv[1] if len(sys.argv) > 1 else "TCPIP::127.0.0.1::inst0::INSTR")
print(gen.id)
ch = gen.ch1
ch.waveform = "square"
ch.frequency = 10e3
ch.amplitude = 2.0
ch.offset = 0.0
ch.duty = 25
ch.output = True
print("CH1: %s, %g Hz, %g Vpp, duty %g %%, output %s"
      % (ch.waveform, ch.frequency, ch.amplitude, ch.duty, "on" if ch.output else "off"))
errors = gen.check_errors()
print("errors:", errors or "none")
sys.exit(1 if errors else 0)
