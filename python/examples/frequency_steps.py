#!/usr/bin/env python3
"""Steps the frequency of channel 1 and reads the frequency counter at each step.

    frequency_steps.py [RESOURCE] [START STOP STEPS]

Connect CH1 to the counter input. The counter's reading refreshes once a
second: each step waits `DWELL` seconds before it reads.
"""
import sys
import time

import numpy as np

from ornav72 import Ornav72

DWELL = 1.1

resource = sys.argv[1] if len(sys.argv) > 1 else "TCPIP::127.0.0.1::inst0::INSTR"
start, stop, steps = (float(sys.argv[2]), float(sys.argv[3]), int(sys.argv[4])) if len(sys.argv) > 4 \
    else (1e3, 10e3, 10)

gen = Ornav72(resource)
ch = gen.ch1
ch.waveform = "sine"
ch.amplitude = 1.0
ch.output = True
gen.counter.enabled = True
gen.counter.coupling = "ac"
for _ in range(30):  # up to 3 s for the first reading
    if gen.counter.frequency > 0:
        break
    time.sleep(0.1)

print("%12s %14s %10s" % ("set [Hz]", "counted [Hz]", "duty [%]"))
for f in np.linspace(start, stop, steps):
    ch.frequency = f
    time.sleep(DWELL)
    print("%12.3f %14.3f %10.2f" % (ch.frequency, gen.counter.frequency, gen.counter.duty))

gen.counter.enabled = False
ch.output = False
errors = gen.check_errors()
print("errors:", errors or "none")
sys.exit(1 if errors else 0)
