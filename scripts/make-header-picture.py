#!/usr/bin/env python3
"""Draws the bundled header picture of the calculation tables (Calculation Tables/Kop.bmp).

480 x 64 pixels, 24-bit BMP: a company mark on the left, four light fields behind the labels of
Kop.ssh (their rectangles are given there in the picture's pixels), and a rule along the bottom.
The labels print in black, so the fields stay light.
"""
import struct
import sys

W, H = 480, 64
WHITE = (255, 255, 255)
NAVY = (31, 58, 104)
BLUE = (64, 140, 200)
FIELD = (238, 242, 248)
EDGE = (176, 188, 208)

# Label rectangles of Kop.ssh: x1, y1, x2, y2.
LABELS = [(90, 10, 300, 30), (90, 34, 300, 54), (330, 10, 470, 30), (330, 34, 470, 54)]


def draw():
    px = [[WHITE] * W for _ in range(H)]

    def fill(x1, y1, x2, y2, c):
        for y in range(max(0, y1), min(H, y2)):
            for x in range(max(0, x1), min(W, x2)):
                px[y][x] = c

    def frame(x1, y1, x2, y2, c):
        fill(x1, y1, x2, y1 + 1, c)
        fill(x1, y2 - 1, x2, y2, c)
        fill(x1, y1, x1 + 1, y2, c)
        fill(x2 - 1, y1, x2, y2, c)

    # The mark: a blue square with a white I-section in it.
    fill(10, 8, 66, 56, NAVY)
    fill(14, 12, 62, 52, BLUE)
    fill(24, 18, 52, 23, WHITE)
    fill(24, 41, 52, 46, WHITE)
    fill(35, 23, 41, 41, WHITE)
    for x1, y1, x2, y2 in LABELS:
        fill(x1 - 4, y1 - 2, x2 + 4, y2 + 2, FIELD)
        frame(x1 - 4, y1 - 2, x2 + 4, y2 + 2, EDGE)
    fill(0, H - 3, W, H, NAVY)
    return px


def write_bmp(path, px):
    row = W * 3
    pad = (4 - row % 4) % 4
    size = (row + pad) * H
    out = bytearray(b"BM" + struct.pack("<IHHI", 54 + size, 0, 0, 54))
    out += struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, size, 2835, 2835, 0, 0)
    for y in range(H - 1, -1, -1):  # bottom row first
        for r, g, b in px[y]:
            out += bytes((b, g, r))
        out += b"\0" * pad
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else "data/lib/Calculation Tables/Kop.bmp", draw())
