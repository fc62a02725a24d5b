#!/usr/bin/env python3
"""Writes depth16.png, the 16-bit depth fixture of the fxhost tests, with
nothing but the standard library (so it does not share a PNG writer with the
code under test). The values, in millimetres, are those of ExpectedRawDepth
in FxhostTestSupport.cpp:
  a hole of zeros (no depth measured) at 4 <= x < 14, 4 <= y < 12;
  a near disc around (64, 24), radius 12: 1200 + 8 (x - 64) + 6 (y - 24);
  elsewhere a tilted plane: 1800 + 20 x + 15 y.
"""
import struct
import zlib

WIDTH, HEIGHT = 96, 48


def raw_depth(x, y):
    if 4 <= x < 14 and 4 <= y < 12:
        return 0
    if (x - 64) ** 2 + (y - 24) ** 2 < 144:
        return 1200 + 8 * (x - 64) + 6 * (y - 24)
    return 1800 + 20 * x + 15 * y


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


rows = b"".join(b"\0" + b"".join(struct.pack(">H", raw_depth(x, y)) for x in range(WIDTH)) for y in range(HEIGHT))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 16, 0, 0, 0, 0)) +
       chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
with open("depth16.png", "wb") as out:
    out.write(png)
