#!/usr/bin/env python3
"""Draws the illustrations of the general macro settings' filters (PNG through zlib, no other
library): the two angle modes, the section angle, the path distance and the section size."""
import struct
import zlib
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "module" / "resources" / "icons"
GREY = (192, 192, 192, 255)  # the transparent colour of bitmaps
INK = (40, 60, 110, 255)
STEEL = (150, 180, 220, 255)
ACCENT = (200, 110, 30, 255)


def png(path, px):
    h, w = len(px), len(px[0])
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in px)

    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)

    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
                     chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def canvas(w, h):
    return [[GREY] * w for _ in range(h)]


def line(c, x0, y0, x1, y1, col, dash=0):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        if dash and (i // dash) % 2:
            continue
        x = round(x0 + (x1 - x0) * i / n)
        y = round(y0 + (y1 - y0) * i / n)
        if 0 <= y < len(c) and 0 <= x < len(c[0]):
            c[y][x] = col


def rect(c, x0, y0, x1, y1, col):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            c[y][x] = col


def arc(c, cx, cy, r, a0, a1, col):
    import math
    steps = int(abs(a1 - a0) * r / 40) + 8
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        x, y = round(cx + r * math.cos(a)), round(cy - r * math.sin(a))
        if 0 <= y < len(c) and 0 <= x < len(c[0]):
            c[y][x] = col


def arrow(c, x0, y0, x1, y1, col):
    line(c, x0, y0, x1, y1, col)
    for (x, y, dx, dy) in ((x0, y0, 1, 1), (x1, y1, -1, -1)):
        if y0 == y1:
            line(c, x, y, x + 3 * dx, y - 2, col)
            line(c, x, y, x + 3 * dx, y + 2, col)
        else:
            line(c, x, y, x - 2, y + 3 * dy, col)
            line(c, x, y, x + 2, y + 3 * dy, col)


def ibeam(c, x, y, w, h, t):
    rect(c, x, y, x + w, y + t, STEEL)
    rect(c, x, y + h - t, x + w, y + h, STEEL)
    rect(c, x + w // 2 - t // 2, y, x + w // 2 + t // 2, y + h, STEEL)
    for (a, b, cc, d) in ((x, y, x + w, y), (x, y + h, x + w, y + h), (x, y, x, y + t), (x + w, y, x + w, y + t),
                          (x, y + h - t, x, y + h), (x + w, y + h - t, x + w, y + h)):
        line(c, a, b, cc, d, INK)


# the two modes of the angle filter: members at a right angle, members in line
c = canvas(24, 20)
rect(c, 3, 13, 20, 16, STEEL); rect(c, 3, 2, 6, 16, STEEL)
arc(c, 6, 13, 6, 0, 90, ACCENT)
png(OUT / "filter_angle90.png", c)
c = canvas(24, 20)
rect(c, 1, 8, 10, 11, STEEL); rect(c, 13, 8, 22, 11, STEEL)
arc(c, 12, 9, 5, 0, 180, ACCENT)
png(OUT / "filter_angle180.png", c)

# the angle between the sections of two members
c = canvas(80, 64)
ibeam(c, 8, 20, 26, 30, 5)
for k in range(30):
    line(c, 44 + k // 2, 50 - k, 68 + k // 2, 50 - k, STEEL)
line(c, 44, 50, 59, 20, INK); line(c, 68, 50, 83, 20, INK)
line(c, 21, 56, 70, 56, INK, dash=3)
arc(c, 44, 50, 14, 0, 63, ACCENT)
png(OUT / "filter_section_angle.png", c)

# the distance along the path between two connected members
c = canvas(80, 64)
rect(c, 6, 8, 14, 56, STEEL); rect(c, 66, 8, 74, 56, STEEL)
line(c, 14, 30, 66, 30, INK, dash=4)
arrow(c, 15, 44, 65, 44, ACCENT)
png(OUT / "filter_path_distance.png", c)

# the size of a section: its height and width
c = canvas(80, 64)
ibeam(c, 20, 10, 36, 44, 6)
arrow(c, 64, 10, 64, 54, ACCENT)
arrow(c, 20, 60, 56, 60, ACCENT)
png(OUT / "filter_section_size.png", c)
