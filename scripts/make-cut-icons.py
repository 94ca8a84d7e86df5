#!/usr/bin/env python3
"""Draws the 16x16 pictures of the cut kinds into module/resources/icons/cut_*.png: dark outlines on
a transparent ground, steel parts filled light grey, the cut itself in red. Run it again after
changing a drawing; the pictures are committed."""
import math
import os
import struct
import zlib

N = 16
CLEAR, INK, STEEL, CUT = (0, 0, 0, 0), (0, 0, 0, 255), (196, 200, 208, 255), (200, 30, 30, 255)


def canvas():
    return [[CLEAR] * N for _ in range(N)]


def put(px, x, y, c):
    if 0 <= x < N and 0 <= y < N:
        px[y][x] = c


def box(px, x0, y0, x1, y1, fill=STEEL, outline=INK):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            put(px, x, y, outline if edge and outline else fill)


def vline(px, x, y0, y1, c):
    for y in range(y0, y1 + 1):
        put(px, x, y, c)


def hline(px, x0, x1, y, c):
    for x in range(x0, x1 + 1):
        put(px, x, y, c)


def profile_plate():
    px = canvas()
    box(px, 0, 5, 10, 10)      # the profile, seen from the side
    box(px, 12, 0, 14, 15)     # the plate it is cut against
    vline(px, 11, 3, 12, CUT)  # the cut along the plate's face
    return px


def profile_profile():
    px = canvas()
    box(px, 0, 5, 8, 10)
    box(px, 10, 0, 15, 15)     # the other profile, its flange towards the first
    vline(px, 11, 1, 14, INK)
    vline(px, 9, 3, 12, CUT)
    return px


def profile_in_profile():
    px = canvas()
    box(px, 0, 2, 15, 13, fill=CLEAR)  # the outer profile, hollow
    box(px, 1, 3, 14, 12, fill=CLEAR, outline=STEEL)
    box(px, 3, 6, 12, 9)               # the inner profile, cut to fit inside
    vline(px, 2, 4, 11, CUT)
    vline(px, 13, 4, 11, CUT)
    return px


def three_segments():
    px = canvas()
    box(px, 0, 2, 10, 4)    # top flange, cut short of the other profile
    box(px, 0, 6, 7, 9)     # the web, cut back further
    box(px, 0, 11, 10, 13)  # bottom flange
    box(px, 13, 0, 15, 15)
    vline(px, 11, 1, 5, CUT)
    vline(px, 8, 5, 10, CUT)
    vline(px, 11, 10, 14, CUT)
    return px


def chamfer():
    px = canvas()
    box(px, 1, 1, 14, 14)
    for i in range(6):  # the corner taken off along a straight line
        for x in range(14 - 5 + i, 15):
            put(px, x, 1 + i, CLEAR)
    for i in range(7):
        put(px, 8 + i, 1 + i, CUT)
    hline(px, 1, 8, 1, INK)
    vline(px, 14, 7, 14, INK)
    return px


def fillet():
    px = canvas()
    box(px, 1, 1, 14, 14)
    cx, cy, r = 8, 7, 6.0  # the corner rounded off
    for y in range(1, 8):
        for x in range(8, 15):
            d = math.hypot(x - cx, y - cy)
            if d > r + 0.5:
                put(px, x, y, CLEAR)
            elif d > r - 0.5:
                put(px, x, y, CUT)
    hline(px, 1, 8, 1, INK)
    vline(px, 14, 7, 14, INK)
    return px


def write_png(path, px):
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *c) for c in row) for row in px)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", N, N, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "module", "resources", "icons")
    for name, draw in [("cut_prof_plate", profile_plate), ("cut_prof_prof", profile_profile),
                       ("cut_prof_in_prof", profile_in_profile), ("cut_prof_three_segments", three_segments),
                       ("cut_chamfer", chamfer), ("cut_fillet", fillet)]:
        write_png(os.path.join(out, name + ".png"), draw())
