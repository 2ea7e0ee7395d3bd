#!/usr/bin/env python3
"""Converts an X window dump (xwd, 24/32-bit TrueColor ZPixmap) to PNG.

Used by the screenshot tour, which captures the instrument's window under
Xvfb with xwd. Standard library only."""
import struct
import sys
import zlib


def convert(src, dst):
    data = open(src, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _version, pixmap_format, depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    ncolors = fields[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        raise SystemExit("xwd2png: only 24/32-bit ZPixmap dumps are supported")
    offset = header_size + ncolors * 12
    bpp = bits_per_pixel // 8
    endian = "<" if byte_order == 0 else ">"

    def shift(mask):
        s = 0
        while mask and not (mask >> s) & 1:
            s += 1
        return s

    rs, gs, bs = shift(red_mask), shift(green_mask), shift(blue_mask)
    rows = []
    for y in range(height):
        line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * bpp]
        out = bytearray(b"\x00")
        if bpp == 4:
            for (p,) in struct.iter_unpack(endian + "I", line):
                out += bytes(((p & red_mask) >> rs, (p & green_mask) >> gs, (p & blue_mask) >> bs))
        else:
            for x in range(width):
                b = line[x * 3: x * 3 + 3]
                p = int.from_bytes(b, "little" if byte_order == 0 else "big")
                out += bytes(((p & red_mask) >> rs, (p & green_mask) >> gs, (p & blue_mask) >> bs))
        rows.append(bytes(out))

    def chunk(kind, body):
        c = kind + body
        return struct.pack(">I", len(body)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b"")
    open(dst, "wb").write(png)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit("usage: xwd2png.py IN.xwd OUT.png")
    convert(sys.argv[1], sys.argv[2])
