#!/usr/bin/env python3
"""Computes a damped sine with numpy, uploads it to channel 1 as an arbitrary
wave and plays it at 5 kHz.

    arb_upload.py [RESOURCE]
"""
import sys

import numpy as np

from ornav72 import Ornav72

gen = Ornav72(sys.argv[1] if len(sys.argv) > 1 else "TCPIP::127.0.0.1::inst0::INSTR")
t = np.linspace(0, 1, 8192, endpoint=False)
wave = np.sin(2 * np.pi * 8 * t) * np.exp(-4 * t)

ch = gen.ch1
ch.upload_arb(wave, name="damped.bsv")  # stored on the instrument and selected as CH1's wave
ch.waveform = "arb"
ch.frequency = 5e3
ch.amplitude = 3.0
ch.output = True
print("CH1 plays %d points at %g Hz, %g Vpp" % (wave.size, ch.frequency, ch.amplitude))
errors = gen.check_errors()
print("errors:", errors or "none")
sys.exit(1 if errors else 0)
