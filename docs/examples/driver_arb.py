#!/usr/bin/env python3
"""The Python driver (python/ornav72): upload an arbitrary wave computed with
numpy to CH4, play it, save a screenshot and check the error list.

    driver_arb.py [RESOURCE]     (default TCPIP::127.0.0.1::inst0::INSTR)
"""
import sys

import numpy as np
from ornav72 import Ornav72

gen = Ornav72(sys.argv[1] if len(sys.argv) > 1 else "TCPIP::127.0.0.1::inst0::INSTR")
ch = gen.ch4
t = np.linspace(0, 1, 4096, endpoint=False)
ch.upload_arb(np.sin(2 * np.pi * t) + 0.3 * np.sin(2 * np.pi * 5 * t), name="sine5.bsv")
ch.waveform, ch.frequency, ch.amplitude = "arb", 2e3, 3.0
ch.output = True
print("CH4: %s, %g Hz, %g Vpp" % (ch.waveform, ch.frequency, ch.amplitude))
gen.screenshot("driver_screen.png")
print("screenshot: driver_screen.png")
errors = gen.check_errors()
print("errors:", errors or "none")
sys.exit(1 if errors else 0)
