#!/usr/bin/env python3
"""Draws the pictures of the bundled designed dialogs and writes their templates.

Each picture is a clean sketch of a steel connection with dimension arrows, as a 24-bit BMP
(white is see-through in the designer); each template lays the dialog's controls over it.
Run from the repository root: python3 scripts/make-designer-samples.py
"""
import os
import struct
import zlib

ROOT = os.path.join("data", "lib", "Dialog Templates", "Dialog Design")
W, H = 600, 380
STEEL, DARK, BOLT, DIM, WELD = (200, 210, 222), (40, 48, 60), (90, 90, 96), (30, 90, 200), (210, 120, 40)


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(255, 255, 255)] * w for _ in range(h)]

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def line(self, x0, y0, x1, y1, c, t=1):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            x = round(x0 + (x1 - x0) * i / n)
            y = round(y0 + (y1 - y0) * i / n)
            for dx in range(-(t // 2), t - t // 2):
                for dy in range(-(t // 2), t - t // 2):
                    self.dot(x + dx, y + dy, c)

    def box(self, x0, y0, x1, y1, fill=STEEL, edge=DARK):
        self.fill(x0, y0, x1, y1, fill)
        for a, b, c, d in ((x0, y0, x1, y0), (x1, y0, x1, y1), (x1, y1, x0, y1), (x0, y1, x0, y0)):
            self.line(a, b, c, d, edge, 2)

    def circle(self, cx, cy, r, c=BOLT):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                d = (x - cx) ** 2 + (y - cy) ** 2
                if d <= r * r:
                    self.dot(x, y, DARK if d >= (r - 1) ** 2 else c)

    def arrow(self, x0, y0, x1, y1):
        """A dimension line with heads at both ends and short extension marks."""
        self.line(x0, y0, x1, y1, DIM)
        for (ax, ay, bx, by) in ((x0, y0, x1, y1), (x1, y1, x0, y0)):
            if ay == by:
                s = 1 if bx > ax else -1
                self.line(ax, ay, ax + 7 * s, ay - 3, DIM)
                self.line(ax, ay, ax + 7 * s, ay + 3, DIM)
                self.line(ax, ay - 6, ax, ay + 6, DIM)
            else:
                s = 1 if by > ay else -1
                self.line(ax, ay, ax - 3, ay + 7 * s, DIM)
                self.line(ax, ay, ax + 3, ay + 7 * s, DIM)
                self.line(ax - 6, ay, ax + 6, ay, DIM)

    def save_png(self, path):
        """As a PNG with white see-through (for icons)."""
        raw = b"".join(b"\0" + b"".join(bytes((r, g, b, 0 if (r, g, b) == (255, 255, 255) else 255))
                                        for r, g, b in row) for row in self.px)

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)) +
                    chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

    def save(self, path):
        row = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for r, g, b in self.px[y]:
                line += bytes((b, g, r))
            data += line + b"\0" * (row - len(line))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + data)


def end_plate():
    c = Canvas(W, H)
    c.box(60, 20, 90, 360)            # column flange
    c.box(90, 60, 106, 300)           # end plate
    c.box(106, 120, 310, 136)         # beam top flange
    c.box(106, 136, 310, 230, fill=(225, 230, 238))  # web
    c.box(106, 230, 310, 246)         # bottom flange
    c.line(310, 120, 300, 183, DARK, 2)  # break line of the beam
    c.line(300, 183, 316, 190, DARK, 2)
    c.line(316, 190, 310, 246, DARK, 2)
    for y in (90, 150, 210, 270):
        c.circle(98, y, 7)
    c.line(106, 118, 120, 104, WELD, 3)
    c.arrow(130, 60, 130, 300)        # plate height
    c.arrow(150, 90, 150, 150)        # bolt pitch
    c.arrow(90, 330, 106, 330)        # plate thickness
    return c


def base_plate():
    c = Canvas(W, H)
    c.box(200, 20, 216, 250)          # column flanges and web
    c.box(384, 20, 400, 250)
    c.box(216, 120, 384, 134, fill=(225, 230, 238))
    c.box(140, 250, 460, 272)         # base plate
    c.fill(100, 272, 500, 360, (236, 232, 224))  # concrete
    c.line(100, 272, 500, 272, DARK, 2)
    for x in (170, 430):
        c.line(x, 240, x, 350, BOLT, 6)
        c.box(x - 12, 236, x + 12, 250, fill=BOLT)
    c.arrow(140, 300, 460, 300)       # plate width
    c.arrow(170, 320, 430, 320)       # anchor distance
    c.arrow(480, 250, 480, 272)       # plate thickness
    return c


def splice():
    c = Canvas(W, H)
    c.box(20, 140, 296, 156)          # left beam flanges and web
    c.box(20, 156, 296, 244, fill=(225, 230, 238))
    c.box(20, 244, 296, 260)
    c.box(304, 140, 580, 156)         # right beam
    c.box(304, 156, 580, 244, fill=(225, 230, 238))
    c.box(304, 244, 580, 260)
    c.box(200, 126, 400, 140)         # flange plates
    c.box(200, 260, 400, 274)
    c.box(230, 170, 370, 230, fill=(190, 200, 214))  # web plate
    for x in (220, 260, 340, 380):
        c.circle(x, 133, 5)
        c.circle(x, 267, 5)
    for x in (250, 350):
        for y in (185, 215):
            c.circle(x, y, 6)
    c.arrow(200, 100, 400, 100)       # plate length
    c.arrow(296, 300, 304, 300)       # gap
    c.arrow(420, 126, 420, 140)       # plate thickness
    return c


def designer_icon():
    """The designer window's icon: a dialog frame with a picture and two fields."""
    c = Canvas(32, 32)
    c.box(2, 4, 30, 28, fill=(236, 236, 236))
    c.fill(3, 5, 30, 9, (60, 110, 190))
    c.box(5, 12, 14, 25, fill=STEEL)
    c.box(17, 13, 27, 17, fill=(255, 255, 254))
    c.box(17, 20, 27, 24, fill=(255, 255, 254))
    return c


def ctl(t, l, top, r, b, contents="", lst=""):
    return (t, l / W, top / H, r / W, b / H, contents, lst)


TEMPLATES = {
    "EndPlate": (end_plate, [
        ctl(1, 330, 10, 590, 200, "End plate"),
        ctl(0, 340, 34, 430, 50, "Thickness"), ctl(2, 440, 30, 580, 50, "tp"),
        ctl(0, 340, 62, 430, 78, "Height"), ctl(2, 440, 58, 580, 78, "hp"),
        ctl(0, 340, 90, 430, 106, "Grade"), ctl(3, 440, 86, 580, 106, "grade", "grades.txt"),
        ctl(0, 340, 118, 430, 134, "Bolts"), ctl(4, 440, 114, 500, 134, "Bolts"),
        ctl(6, 510, 114, 580, 134, "Bolts"), ctl(7, 440, 142, 580, 162, "Bolts"),
        ctl(29, 340, 172, 580, 192, "Weld to column flange", "1"),
        ctl(1, 330, 260, 590, 370, "Beam"),
        ctl(13, 340, 284, 500, 304, "Beam"), ctl(14, 510, 284, 580, 304, "Beam"),
        ctl(0, 340, 316, 430, 332, "Pitch"), ctl(2, 440, 312, 580, 332, "pitch"),
        ctl(25, 340, 340, 460, 362, "Edge distance", "e1;tp;hp;1.0;"),
        ctl(28, 470, 340, 580, 362, "1"),
    ]),
    "BasePlate": (base_plate, [
        ctl(1, 10, 10, 190, 150, "Base plate"),
        ctl(0, 20, 34, 90, 50, "Width"), ctl(2, 96, 30, 180, 50, "bp"),
        ctl(0, 20, 62, 90, 78, "Thickness"), ctl(2, 96, 58, 180, 78, "tbp"),
        ctl(0, 20, 90, 90, 106, "Grout"), ctl(3, 96, 86, 180, 106, "grout", "grout.txt"),
        ctl(29, 20, 118, 180, 138, "Shear key", "0"),
        ctl(1, 420, 10, 590, 200, "Anchors"),
        ctl(18, 430, 34, 500, 54, "Anchors"), ctl(19, 510, 34, 580, 54, "Anchors"),
        ctl(23, 430, 62, 500, 82, "Anchors", "2"), ctl(24, 510, 62, 580, 82, "Anchors"),
        ctl(30, 430, 100, 500, 130, "Hooked", "anchorEnd;;1"),
        ctl(30, 510, 100, 580, 130, "Plate", "anchorEnd;;2"),
        ctl(30, 430, 140, 500, 170, "Straight", "anchorEnd;;"),
        ctl(26, 430, 174, 580, 196, "Anchor distance", "a;bp;;;0.5"),
    ]),
    "Beams/Splice": (splice, [
        ctl(1, 10, 10, 190, 90, "Flange plates"),
        ctl(0, 20, 34, 90, 50, "Length"), ctl(2, 96, 30, 180, 50, "lf"),
        ctl(0, 20, 62, 90, 78, "Thickness"), ctl(2, 96, 58, 180, 78, "tf"),
        ctl(1, 420, 10, 590, 90, "Web plate"),
        ctl(15, 430, 30, 580, 50, "Web"), ctl(16, 430, 58, 520, 78, "Web"), ctl(17, 526, 58, 580, 78, "Web"),
        ctl(1, 10, 290, 590, 370, "Bolts"),
        ctl(8, 20, 314, 90, 334, "Splice"), ctl(9, 96, 314, 166, 334, "Splice"),
        ctl(10, 172, 314, 242, 334, "Splice"), ctl(11, 248, 314, 318, 334, "Splice"),
        ctl(5, 324, 314, 384, 334, "Splice"), ctl(12, 390, 314, 460, 334, "Splice"),
        ctl(27, 466, 314, 580, 334, "holes", "holeTypes"),
        ctl(0, 20, 344, 90, 360, "Gap"), ctl(2, 96, 340, 180, 360, "gap"),
        ctl(29, 200, 340, 400, 360, "Slip resistant", "0"),
    ]),
}

LISTS = {
    "grades.txt": ["S235", "S275", "S355", "S460"],
    "grout.txt": ["None", "Cement grout 30 mm", "Epoxy grout 20 mm"],
}


def number(v):
    return repr(float(v))


def main():
    os.makedirs(ROOT, exist_ok=True)
    for name, (draw, controls) in TEMPLATES.items():
        base = os.path.join(ROOT, *name.split("/"))
        os.makedirs(os.path.dirname(base), exist_ok=True)
        draw().save(base + ".bmp")
        lines = ["nrOfControls\tint\t%d" % len(controls)]
        for i, (t, l, top, r, b, contents, lst) in enumerate(controls):
            lines += ["type%d\tint\t%d" % (i, t), "topLeftX%d\tdouble\t%s" % (i, number(l)),
                      "topLeftY%d\tdouble\t%s" % (i, number(top)), "bottomRightX%d\tdouble\t%s" % (i, number(r)),
                      "bottomRightY%d\tdouble\t%s" % (i, number(b)), "contents%d\ttext\t%s" % (i, contents),
                      "comboList%d\ttext\t%s" % (i, lst)]
        with open(base + ".txt", "w") as f:
            f.write("\n".join(lines) + "\n")
    designer_icon().save_png(os.path.join("module", "resources", "icons", "designer.png"))
    for name, items in LISTS.items():
        with open(os.path.join(ROOT, name), "w") as f:
            f.write("\n".join(items) + "\n")


if __name__ == "__main__":
    main()
