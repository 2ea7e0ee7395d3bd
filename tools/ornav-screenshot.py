#!/usr/bin/env python3
"""Saves the screen of a running instrument as a PNG file.

    ornav-screenshot.py [--resource TCPIP::127.0.0.1::inst0::INSTR] [--zbmp] [--pure] OUT.png

Without --zbmp the screen is asked for with "DISPlay:DATA?" (a definite-length
block holding a BMP, JPEG or PNG picture, after "SYSTem:PICTure:FORMat"); a
PNG is saved as it comes, a BMP is converted. With --zbmp the raw capture is
asked for with "DISPlay:ZBMP?" ("#9", nine digits, LZO1X-1 data, 89 AB CD EF,
CR LF) and decompressed: with the python3-lzo module when it is installed,
otherwise (or with --pure) by the decoder below. Standard library and pyvisa
only.
"""
import argparse
import struct
import sys
import zlib

CAPTURE_BYTES = 4096054
TRAILER = b"\x89\xab\xcd\xef"


def lzo1x_decompress(src, size):
    """LZO1X decompression (the format of lzo1x_1_compress)."""
    out = bytearray()

    def copy_match(pos, n):
        if pos < 0:
            raise ValueError("LZO data refers before the start of the output")
        dist = len(out) - pos
        if dist >= n:
            out.extend(out[pos:pos + n])
        else:  # overlapping: the last dist bytes repeat
            chunk = bytes(out[pos:])
            reps, rem = divmod(n, dist)
            out.extend(chunk * reps + chunk[:rem])

    def run(ip, t, extra):
        while src[ip] == 0:
            t += 255
            ip += 1
        return ip + 1, t + extra + src[ip]

    ip = 0
    t = src[0]
    state = "outer"
    if t > 17:
        ip, t = 1, t - 17
        if t < 4:
            state = "next"
        else:
            out.extend(src[ip:ip + t])
            ip += t
            state = "first"
    while True:
        if state == "outer":
            t = src[ip]
            ip += 1
            if t >= 16:
                state = "match"
                continue
            if t == 0:
                ip, t = run(ip, t, 15)
            out.extend(src[ip:ip + t + 3])
            ip += t + 3
            state = "first"
        elif state == "first":
            t = src[ip]
            ip += 1
            if t >= 16:
                state = "match"
                continue
            copy_match(len(out) - 0x801 - (t >> 2) - (src[ip] << 2), 3)
            ip += 1
            state = "done"
        elif state == "match":
            if t >= 64:
                pos = len(out) - 1 - ((t >> 2) & 7) - (src[ip] << 3)
                ip += 1
                n = (t >> 5) + 1
            elif t >= 32:
                t &= 31
                if t == 0:
                    ip, t = run(ip, t, 31)
                pos = len(out) - 1 - ((src[ip] >> 2) + (src[ip + 1] << 6))
                ip += 2
                n = t + 2
            elif t >= 16:
                pos = len(out) - ((t & 8) << 11)
                t &= 7
                if t == 0:
                    ip, t = run(ip, t, 7)
                pos -= (src[ip] >> 2) + (src[ip + 1] << 6)
                ip += 2
                if pos == len(out):
                    break  # end of the stream
                pos -= 0x4000
                n = t + 2
            else:
                pos = len(out) - 1 - (t >> 2) - (src[ip] << 2)
                ip += 1
                n = 2
            copy_match(pos, n)
            state = "done"
        elif state == "done":
            t = src[ip - 2] & 3
            state = "outer" if t == 0 else "next"
        else:  # "next": 1 to 3 literals, then a match
            out.extend(src[ip:ip + t])
            ip += t
            t = src[ip]
            ip += 1
            state = "match"
        if len(out) > size:
            raise ValueError("LZO data longer than expected")
    return bytes(out)


def decompress(data, size, pure=False):
    if not pure:
        try:
            import lzo  # python3-lzo
            return lzo.decompress(data, False, size)
        except ImportError:
            pass
    return lzo1x_decompress(data, size)


def zbmp_payload(reply):
    """The compressed bytes of a "DISPlay:ZBMP?" reply."""
    if len(reply) < 17 or reply[:2] != b"#9":
        raise ValueError("not a ZBMP reply")
    length = int(reply[2:11])
    body = reply[11:11 + length]
    if len(body) != length or body[-4:] != TRAILER:
        raise ValueError("ZBMP reply cut short or without its end mark")
    return body[:-4]


def bmp_pixels(bmp):
    """(width, height, rows of RGB bytes top row first) of a 24/32-bit BMP."""
    if bmp[:2] != b"BM":
        raise ValueError("not a BMP picture")
    offset = struct.unpack_from("<I", bmp, 10)[0]
    width, height = struct.unpack_from("<ii", bmp, 18)
    bits = struct.unpack_from("<H", bmp, 28)[0]
    if bits not in (24, 32):
        raise ValueError("BMP with %d bits per pixel" % bits)
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = []
    for y in range(abs(height)):
        start = offset + y * stride
        line = bmp[start:start + width * step]
        rgb = bytearray(width * 3)
        rgb[0::3] = line[2::step]
        rgb[1::3] = line[1::step]
        rgb[2::3] = line[0::step]
        rows.append(bytes(rgb))
    if height > 0:
        rows.reverse()
    return width, abs(height), rows


def png_bytes(width, height, rows):
    def chunk(kind, data):
        c = kind + data
        return struct.pack(">I", len(data)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def picture_to_png(picture):
    if picture[:8] == b"\x89PNG\r\n\x1a\n":
        return picture
    if picture[:2] == b"BM":
        return png_bytes(*bmp_pixels(picture))
    raise ValueError("a JPEG reply cannot be converted with the standard library: "
                     "use --zbmp or set SYSTem:PICTure:FORMat PNG")


def main():
    ap = argparse.ArgumentParser(description="Save the instrument's screen as a PNG file.")
    ap.add_argument("out")
    ap.add_argument("--resource", default="TCPIP::127.0.0.1::inst0::INSTR")
    ap.add_argument("--zbmp", action="store_true", help="use DISPlay:ZBMP? (raw capture, LZO1X)")
    ap.add_argument("--pure", action="store_true", help="never use the python3-lzo module")
    ap.add_argument("--raw", help="also keep the reply's picture or raw capture in this file")
    args = ap.parse_args()

    import pyvisa
    rm = pyvisa.ResourceManager("@py")
    inst = rm.open_resource(args.resource)
    inst.timeout = 20000
    try:
        if args.zbmp:
            inst.write("DISPlay:ZBMP?")
            kept = decompress(zbmp_payload(inst.read_raw()), CAPTURE_BYTES, args.pure)
            if len(kept) != CAPTURE_BYTES:
                raise ValueError("raw capture of %d bytes" % len(kept))
        else:
            kept = inst.query_binary_values("DISPlay:DATA?", datatype="B", container=bytes)
    finally:
        inst.close()
    if args.raw:
        with open(args.raw, "wb") as f:
            f.write(kept)
    png = png_bytes(*bmp_pixels(kept)) if args.zbmp else picture_to_png(kept)
    with open(args.out, "wb") as f:
        f.write(png)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except ValueError as e:
        print("ornav-screenshot: %s" % e, file=sys.stderr)
        sys.exit(1)
