#!/usr/bin/env python3
"""Checks the screenshot tour: every picture shows something (not a blank
screen), no two pictures of different views are the same, every view's texts
are whole (the program's answers in textfit.txt: no elided text, none
painted wider than its box), and the program's log holds no QML warning.
    check_screenshots.py OUTDIR LOGFILE"""
import glob
import hashlib
import os
import struct
import sys
import zlib

WARNINGS = ("qrc:/", "QML", "No such method", "Binding loop", "TypeError", "ReferenceError")


def pixels(path):
    """Raw RGB rows of a PNG written by xwd2png (8-bit RGB, filter 0)."""
    data = open(path, "rb").read()
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width = struct.unpack(">I", body[:4])[0]
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3 + 1
    return b"".join(raw[i + 1:i + stride] for i in range(0, len(raw), stride))


def main():
    out, log = sys.argv[1], sys.argv[2]
    files = sorted(glob.glob(os.path.join(out, "*.png")))
    failures = []
    if len(files) < 10:
        failures.append("only %d pictures" % len(files))
    seen = {}
    for f in files:
        px = pixels(f)
        colours = len({px[i:i + 3] for i in range(0, len(px), 3 * 97)})
        if colours < 8:
            failures.append("%s looks blank (%d colours)" % (f, colours))
        digest = hashlib.sha1(px).hexdigest()
        if digest in seen:
            failures.append("%s is the same picture as %s" % (f, seen[digest]))
        seen[digest] = f
    fit = os.path.join(out, "textfit.txt")
    views = 0
    for line in open(fit, encoding="utf-8", errors="replace") if os.path.exists(fit) else []:
        if line.startswith("VIEW "):
            views += 1
        elif line.strip():
            failures.append("cut text in " + line.strip())
    if views < len(files):
        failures.append("texts checked in %d of %d views" % (views, len(files)))
    for line in open(log, errors="replace"):
        if any(w in line for w in WARNINGS):
            failures.append("log: " + line.strip())
    for f in failures:
        print("screenshots: FAIL " + f)
    if failures:
        sys.exit(1)
    print("screenshots: %d pictures, all different, every text whole, no QML warning" % len(files))


if __name__ == "__main__":
    main()
