#!/usr/bin/env python3
"""Draws the constraint palette's 16x16 pictures (module/resources/icons/constr_*.png).

Dark strokes on a transparent ground, one accent colour for what the constraint ties, like the
other icons of the module. Writes PNG with zlib only; run it again after changing a drawing.
"""
import math
import os
import struct
import zlib

SIZE = 16
INK = (40, 40, 40, 255)
ACCENT = (30, 100, 200, 255)
OUT = os.path.join(os.path.dirname(__file__), "..", "module", "resources", "icons")


class Canvas:
    def __init__(self):
        self.px = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]

    def dot(self, x, y, c):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c):
        n = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(n + 1):
            t = i / n
            self.dot(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, c)

    def circle(self, cx, cy, r, c, a0=0.0, a1=360.0):
        steps = max(24, int(r * 12))
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            self.dot(cx + r * math.cos(a), cy - r * math.sin(a), c)

    def box(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def png(self):
        raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in self.px)
        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
        head = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
        return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def parallel(c):
    c.line(2, 12, 11, 3, INK); c.line(5, 14, 14, 5, ACCENT)

def perpendicular(c):
    c.line(2, 13, 14, 13, INK); c.line(8, 13, 8, 2, ACCENT); c.box(9, 10, 11, 10, INK); c.box(11, 10, 11, 12, INK)

def coincident(c):
    c.line(1, 13, 8, 8, INK); c.line(8, 8, 15, 11, ACCENT); c.box(7, 7, 9, 9, ACCENT)

def symmetric(c):
    c.line(8, 1, 8, 15, INK); c.box(3, 6, 5, 8, ACCENT); c.box(11, 6, 13, 8, ACCENT)

def tangent(c):
    c.circle(8, 9, 4.5, ACCENT); c.line(1, 4, 15, 4, INK)

def concentric(c):
    c.circle(8, 8, 6.5, INK); c.circle(8, 8, 3, ACCENT)

def equal_radius(c):
    c.circle(5, 8, 3.5, INK); c.circle(11, 8, 3.5, ACCENT); c.line(3, 14, 13, 14, INK); c.line(3, 15, 13, 15, INK)

def distance(c):
    c.line(2, 3, 2, 13, INK); c.line(14, 3, 14, 13, INK); c.line(3, 8, 13, 8, ACCENT)
    c.line(3, 8, 5, 6, ACCENT); c.line(3, 8, 5, 10, ACCENT); c.line(13, 8, 11, 6, ACCENT); c.line(13, 8, 11, 10, ACCENT)

def angle(c):
    c.line(2, 14, 14, 14, INK); c.line(2, 14, 12, 3, INK); c.circle(2, 14, 7, ACCENT, 0, 48)

def radius(c):
    c.circle(8, 8, 6.5, INK); c.line(8, 8, 13, 4, ACCENT); c.box(7, 7, 8, 8, INK)

def add_module(c):
    c.box(2, 5, 10, 5, INK); c.box(2, 13, 10, 13, INK); c.box(2, 5, 2, 13, INK); c.box(10, 5, 10, 13, INK)
    c.line(12, 1, 12, 7, ACCENT); c.line(9, 4, 15, 4, ACCENT)

def bolt_pattern(c):
    for x in (4, 11):
        for y in (4, 11):
            c.circle(x, y, 2.2, INK); c.dot(x, y, ACCENT)

def coord_sys(c):
    c.line(3, 13, 14, 13, ACCENT); c.line(3, 13, 3, 2, INK); c.line(3, 13, 9, 8, INK)
    c.line(14, 13, 12, 11, ACCENT); c.line(14, 13, 12, 15, ACCENT); c.line(3, 2, 1, 4, INK); c.line(3, 2, 5, 4, INK)

PICTURES = [
    ("constr_parallel", parallel), ("constr_perpendicular", perpendicular), ("constr_coincident", coincident),
    ("constr_symmetric", symmetric), ("constr_tangent", tangent), ("constr_concentric", concentric),
    ("constr_equal_radius", equal_radius), ("constr_distance", distance), ("constr_angle", angle),
    ("constr_radius", radius), ("constr_add_module", add_module), ("constr_bolt_pattern", bolt_pattern),
    ("constr_coord_sys", coord_sys),
]

if __name__ == "__main__":
    for name, draw in PICTURES:
        canvas = Canvas()
        draw(canvas)
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(canvas.png())
