#!/usr/bin/env python3
"""Saves the instrument's screen as a PNG file.

    screenshot.py [RESOURCE] [OUT.png]     (default screen.png)
"""
import sys

from ornav72 import Ornav72

resource = sys.argv[1] if len(sys.argv) > 1 else "TCPIP::127.0.0.1::inst0::INSTR"
path = sys.argv[2] if len(sys.argv) > 2 else "screen.png"
gen = Ornav72(resource)
size = gen.screenshot(path)
print("saved %s (%d bytes)" % (path, size))
