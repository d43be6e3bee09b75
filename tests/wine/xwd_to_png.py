#!/usr/bin/python3
"""A window dump of xwd (TrueColor, 24 or 32 bits a pixel, as Xvfb gives) as a PNG file.
usage: xwd_to_png.py IN.xwd OUT.png"""
import struct
import sys
import zlib

data = open(sys.argv[1], "rb").read()
fields = struct.unpack(">25I", data[:100])
header_size, _, _, depth, width, height = fields[:6]
byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
if bits_per_pixel not in (24, 32):
    sys.exit(f"xwd_to_png: {bits_per_pixel} bits a pixel is not handled")
step = bits_per_pixel // 8
pixels = data[header_size + ncolors * 12:]
rows = []
for y in range(height):
    line = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
    out = bytearray(b"\0")
    for x in range(width):
        pixel = line[step * x:step * x + step]
        b, g, r = pixel[:3] if byte_order == 0 else pixel[::-1][:3]
        out += bytes((r, g, b))
    rows.append(bytes(out))


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


with open(sys.argv[2], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n")
    f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
    f.write(chunk(b"IDAT", zlib.compress(b"".join(rows))))
    f.write(chunk(b"IEND", b""))
