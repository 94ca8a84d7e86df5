#!/usr/bin/env python3
"""Draws data/install/icons/DrawBolt2.bmp: a bolt through two plates with a washer under its head,
a washer and two nuts below, and leader lines to where the bolt dialog puts its nut and washer
check boxes (rows at y 17, 53, 89, 125, 160 from x 126 on). Run it again after changing the
drawing; the picture is committed."""
import struct
import sys

W, H = 270, 170
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
STEEL, PLATE, HATCH = (168, 168, 172), (188, 204, 226), (120, 140, 170)
WASHER, AXIS, LEADER = (212, 212, 214), (200, 40, 40), (70, 70, 70)

px = [[WHITE] * W for _ in range(H)]


def put(x, y, c):
    if 0 <= x < W and 0 <= y < H:
        px[y][x] = c


def rect(x0, y0, x1, y1, fill, outline=BLACK):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            put(x, y, fill)
    if outline:
        for x in range(x0, x1 + 1):
            put(x, y0, outline)
            put(x, y1, outline)
        for y in range(y0, y1 + 1):
            put(x0, y, outline)
            put(x1, y, outline)


def line(x0, y0, x1, y1, c, dash=None):
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err, n = dx + dy, 0
    while True:
        if dash is None or dash[n % len(dash)]:
            put(x0, y0, c)
        n += 1
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def plate(y0, y1, slant):
    rect(6, y0, 114, y1, PLATE)
    for k in range(-40, 160, 7):  # hatching, slanted one way per plate
        for t in range(0, y1 - y0 - 1):
            x = 7 + k + (t if slant else (y1 - y0 - 2 - t))
            if 7 <= x <= 113 and not 45 <= x <= 75:
                put(x, y0 + 1 + t, HATCH)
    rect(45, y0, 75, y1, WHITE, None)  # the hole
    line(45, y0, 45, y1, BLACK)
    line(75, y0, 75, y1, BLACK)


def hexagon(y0, y1):
    rect(32, y0, 88, y1, STEEL)
    line(46, y0, 46, y1, BLACK)
    line(74, y0, 74, y1, BLACK)


plate(36, 63, True)
plate(64, 91, False)
rect(48, 30, 72, 150, STEEL)  # the shank
for y in range(120, 150, 4):  # thread beyond the nuts
    line(48, y + 3, 72, y, BLACK)
hexagon(10, 29)  # head
for i in range(4):  # chamfered top corners of the head
    put(32 + i, 10 + 3 - i, WHITE)
    put(88 - i, 10 + 3 - i, WHITE)
rect(28, 30, 92, 35, WASHER)  # washer under the head
rect(28, 92, 92, 97, WASHER)  # washer under the plates
hexagon(98, 115)  # nut 1
hexagon(116, 133)  # nut 2 (lock nut)
line(48, 150, 72, 150, BLACK)
line(60, 3, 60, 158, AXIS, dash=[1] * 8 + [0] * 3 + [1] + [0] * 3)

# leader lines: part -> bend -> the row of its check box
for part_y, part_x, row_y in ((33, 92, 17), (95, 92, 53), (106, 88, 89), (124, 88, 125)):
    line(part_x, part_y, 104, part_y, LEADER)
    line(104, part_y, 118, row_y, LEADER)
    line(118, row_y, 126, row_y, LEADER)
    rect(part_x - 1, part_y - 1, part_x + 1, part_y + 1, LEADER, None)
# "washers": both washers together
line(28, 33, 20, 33, LEADER)
line(20, 33, 20, 160, LEADER)
line(28, 95, 20, 95, LEADER)
line(20, 160, 126, 160, LEADER)


def write(path):
    row = (W * 3 + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):
        r = bytearray()
        for (cr, cg, cb) in px[y]:
            r += bytes((cb, cg, cr))
        data += r + b"\0" * (row - len(r))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


write(sys.argv[1] if len(sys.argv) > 1 else "data/install/icons/DrawBolt2.bmp")
