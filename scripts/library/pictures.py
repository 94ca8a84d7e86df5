"""Section pictures: a clean cross-section of each of the 17 section types with its dimension marks,
drawn into 24-bit BMP files in two sizes. Pure Python, so the pictures can be redrawn anywhere."""

import math
import struct

FILL = (196, 208, 226)
EDGE = (30, 50, 90)
DIM = (170, 30, 30)
WHITE = (255, 255, 255)

# 5 x 7 glyphs of the dimension letters
GLYPHS = {
    'h': ["1....", "1....", "1.11.", "11..1", "1...1", "1...1", "1...1"],
    'b': ["1....", "1....", "1.11.", "11..1", "1...1", "11..1", "1.11."],
    't': [".1...", ".1...", "1111.", ".1...", ".1...", ".1..1", "..11."],
    'r': [".....", ".....", "1.11.", "11..1", "1....", "1....", "1...."],
    'd': ["....1", "....1", ".11.1", "1..11", "1...1", "1..11", ".11.1"],
    'a': [".....", ".....", ".111.", "....1", ".1111", "1...1", ".1111"],
    'c': [".....", ".....", ".111.", "1....", "1....", "1...1", ".111."],
    '?': [".111.", "1...1", "....1", "...1.", "..1..", ".....", "..1.."],
}


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[WHITE] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, rings, color):
        """Even-odd fill of closed rings of (x, y) points, sampled at pixel centres."""
        edges = []
        for ring in rings:
            for i in range(len(ring)):
                a, b = ring[i], ring[(i + 1) % len(ring)]
                if a[1] != b[1]:
                    edges.append((a, b))
        for y in range(self.h):
            yc = y + 0.5
            xs = []
            for (x1, y1), (x2, y2) in edges:
                if (y1 <= yc < y2) or (y2 <= yc < y1):
                    xs.append(x1 + (yc - y1) * (x2 - x1) / (y2 - y1))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(int(math.ceil(xs[i] - 0.5)), int(math.floor(xs[i + 1] - 0.5)) + 1):
                    self.set(x, y, color)

    def line(self, p, q, color):
        (x1, y1), (x2, y2) = p, q
        n = int(max(abs(x2 - x1), abs(y2 - y1))) + 1
        for i in range(n + 1):
            t = i / n
            self.set(int(round(x1 + (x2 - x1) * t)), int(round(y1 + (y2 - y1) * t)), color)

    def outline(self, rings, color):
        for ring in rings:
            for i in range(len(ring)):
                self.line(ring[i], ring[(i + 1) % len(ring)], color)

    def text(self, x, y, ch, color, scale=1):
        for row, bits in enumerate(GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    for dy in range(scale):
                        for dx in range(scale):
                            self.set(x + col * scale + dx, y + row * scale + dy, color)

    def bmp(self):
        stride = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            row = bytearray()
            for (r, g, b) in self.px[y]:
                row += bytes((b, g, r))
            data += row + bytes(stride - len(row))
        header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + bytes(data)


def arc(cx, cy, r, a0, a1, n=6):
    """Points of an arc from angle a0 to a1 (degrees, y up)."""
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


def circle(cx, cy, r, n=48):
    return arc(cx, cy, r, 0, 360, n)[:-1]


def i_section(h, b, tw, tf, r, taper=0.0):
    """Outline of an I-section centred on x = 0, bottom at y = 0 (y up)."""
    x1, yb, yt = tw / 2, tf, h - tf
    pts = [(-b / 2, 0), (b / 2, 0), (b / 2, tf - taper)]
    pts += arc(x1 + r, yb + taper + r, r, 270, 180)
    pts += arc(x1 + r, yt - taper - r, r, 180, 90)
    pts += [(b / 2, h - tf + taper), (b / 2, h), (-b / 2, h), (-b / 2, h - tf + taper)]
    pts += arc(-x1 - r, yt - taper - r, r, 90, 0)
    pts += arc(-x1 - r, yb + taper + r, r, 0, -90)
    pts += [(-b / 2, tf - taper)]
    return [pts]


def channel(h, b, tw, tf, r, taper=0.0):
    pts = [(0, 0), (b, 0), (b, tf - taper)]
    pts += arc(tw + r, tf + taper + r, r, 270, 180)
    pts += arc(tw + r, h - tf - taper - r, r, 180, 90)
    pts += [(b, h - tf + taper), (b, h), (0, h)]
    return [pts]


def angle(a, b, t, r):
    pts = [(0, 0), (b, 0), (b, t)]
    pts += arc(t + r, t + r, r, 270, 180)
    pts += [(t, a), (0, a)]
    return [pts]


def tee(h, b, tw, tf, r):
    pts = [(-b / 2, h), (-b / 2, h - tf)]
    pts += arc(-tw / 2 - r, h - tf - r, r, 90, 0)
    pts += [(-tw / 2, 0), (tw / 2, 0)]
    pts += arc(tw / 2 + r, h - tf - r, r, 180, 90)
    pts += [(b / 2, h - tf), (b / 2, h)]
    return [pts]


def thin_path(points, t):
    """A thin-walled section along a polyline: the polyline widened to the left by t."""
    left, right = [], []
    n = len(points)
    for i in range(n):
        p = points[i]
        dirs = []
        if i > 0:
            dirs.append((p[0] - points[i - 1][0], p[1] - points[i - 1][1]))
        if i < n - 1:
            dirs.append((points[i + 1][0] - p[0], points[i + 1][1] - p[1]))
        nx = ny = 0.0
        for dx, dy in dirs:
            length = math.hypot(dx, dy)
            nx += -dy / length
            ny += dx / length
        length = math.hypot(nx, ny)
        nx, ny = nx / length, ny / length
        # keep the wall thickness at corners
        scale = 1.0
        if len(dirs) == 2:
            d0 = dirs[0]
            l0 = math.hypot(*d0)
            scale = 1.0 / max(0.3, (-d0[1] / l0) * nx + (d0[0] / l0) * ny)
        left.append((p[0] + nx * t * scale, p[1] + ny * t * scale))
        right.append(p)
    return [right + left[::-1]]


def rect_tube(h, b, t, ro):
    ri = max(ro - t, 0.5)
    outer = (arc(b - ro, ro, ro, 270, 360) + arc(b - ro, h - ro, ro, 0, 90)
             + arc(ro, h - ro, ro, 90, 180) + arc(ro, ro, ro, 180, 270))
    inner = (arc(b - t - ri, t + ri, ri, 270, 360) + arc(b - t - ri, h - t - ri, ri, 0, 90)
             + arc(t + ri, h - t - ri, ri, 90, 180) + arc(t + ri, t + ri, ri, 180, 270))
    return [outer, inner]


# Each shape: rings in section units, then dimension marks:
# ('h', x, y0, y1) a vertical mark at x; ('w', y, x0, x1) a horizontal mark at y; letter with each.
def shapes():
    s = {}
    s[1] = (i_section(200, 110, 12, 18, 12), [('v', 75, 0, 200, 'h'), ('w', -14, -55, 55, 'b'),
                                              ('t', 6, 100, 'tw'), ('f', 40, 200, 18)])
    s[2] = (channel(200, 90, 12, 18, 10), [('v', 110, 0, 200, 'h'), ('w', -14, 0, 90, 'b'),
                                           ('t', 6, 100, 'tw'), ('f', 60, 200, 18)])
    s[3] = (angle(160, 110, 18, 14), [('v', -16, 0, 160, 'h'), ('w', -14, 0, 110, 'b'),
                                      ('t', 9, 120, 'tw'), ('f', 80, 0, 18)])
    s[4] = (thin_path([(90, 200), (0, 200), (0, 0), (90, 0)], 9), [('v', 110, 0, 200, 'h'),
                                                                   ('w', -14, 0, 90, 'b'), ('t', 4, 100, 'tw')])
    s[5] = (tee(160, 170, 16, 18, 12), [('v', 100, 0, 160, 'h'), ('w', 174, -85, 85, 'b'),
                                        ('t', 0, 70, 'tw')])
    s[6] = (i_section(200, 110, 12, 18, 12, taper=5), [('v', 75, 0, 200, 'h'), ('w', -14, -55, 55, 'b'),
                                                       ('t', 6, 100, 'tw')])
    s[7] = (channel(200, 90, 12, 18, 10, taper=5), [('v', 110, 0, 200, 'h'), ('w', -14, 0, 90, 'b'),
                                                    ('t', 6, 100, 'tw')])
    s[8] = ([[(0, 0), (200, 0), (200, 60), (0, 60)]], [('w', -14, 0, 200, 'b'), ('v', 214, 0, 60, 't')])
    s[9] = ([circle(0, 0, 80)], [('w', -94, -80, 80, 'd')])
    s[10] = (rect_tube(200, 130, 14, 21), [('v', 150, 0, 200, 'h'), ('w', -14, 0, 130, 'b'),
                                           ('t', 7, 100, 't')])
    s[11] = ([circle(0, 0, 90), circle(0, 0, 74)], [('w', -104, -90, 90, 'd'), ('t', 82, 0, 't')])
    s[12] = (thin_path([(70, 170), (90, 170), (90, 200), (0, 200), (0, 0), (90, 0), (90, 30), (70, 30)][::-1], 8),
             [('v', 110, 0, 200, 'h'), ('w', -14, 0, 90, 'b')])
    s[13] = (thin_path([(-70, 30), (-70, 0), (0, 0), (0, 200), (70, 200), (70, 170)], 8),
             [('v', 90, 0, 200, 'h'), ('w', -14, -70, 0, 'b')])
    s[14] = (thin_path([(-90, 150), (0, 0), (90, 150)], 12), [('w', 164, -90, 90, 'b')])
    s[15] = (thin_path([(-110, 0), (-60, 0), (-60, 120), (60, 120), (60, 0), (110, 0)], 9),
             [('v', 130, 0, 129, 'h'), ('w', -14, -60, 60, 'b')])
    s[16] = (thin_path([(20, 160), (60, 160), (60, 0), (-60, 0), (-60, 160), (-20, 160)], 9),
             [('v', 84, 0, 169, 'h'), ('w', -14, -60, 60, 'b')])
    s[17] = (tee(130, 170, 14, 18, 12), [('v', 100, 0, 130, 'h'), ('w', 144, -85, 85, 'b')])
    return s


BASE_NAMES = {1: "ProfSectionI", 2: "ProfSectionCL", 3: "ProfSectionHL", 4: "ProfSectionCU",
              5: "ProfSectionT", 6: "ProfSectionOI", 7: "ProfSectionOU", 8: "ProfSectionRect",
              9: "ProfSectionRound", 10: "ProfSectionRectTube", 11: "ProfSectionRoundTube",
              12: "ProfSectionC", 13: "ProfSectionZ", 14: "ProfSectionV", 15: "ProfSectionO",
              16: "ProfSectionQ", 17: "ProfSectionCuttedI"}


def draw(rings, marks, w, h, big):
    xs = [p[0] for r in rings for p in r]
    ys = [p[1] for r in rings for p in r]
    lo_x, hi_x, lo_y, hi_y = min(xs) - 30, max(xs) + 30, min(ys) - 30, max(ys) + 30
    for m in marks:  # the marks must fit as well
        if m[0] == 'v':
            lo_x, hi_x = min(lo_x, m[1] - 16), max(hi_x, m[1] + 16)
        if m[0] == 'w':
            lo_y, hi_y = min(lo_y, m[1] - 16), max(hi_y, m[1] + 16)
    scale = min((w - 4) / (hi_x - lo_x), (h - 4) / (hi_y - lo_y))
    ox = (w - (hi_x - lo_x) * scale) / 2 - lo_x * scale
    oy = (h - (hi_y - lo_y) * scale) / 2 - lo_y * scale

    def to_px(p):
        return (ox + p[0] * scale, h - (oy + p[1] * scale))

    c = Canvas(w, h)
    px_rings = [[to_px(p) for p in r] for r in rings]
    c.fill(px_rings, FILL)
    c.outline(px_rings, EDGE)
    if not big:
        return c
    tick = 3
    for m in marks:
        if m[0] == 'v':
            _, x, y0, y1, letter = m
            a, b = to_px((x, y0)), to_px((x, y1))
            c.line(a, b, DIM)
            for p in (a, b):
                c.line((p[0] - tick, p[1] + tick), (p[0] + tick, p[1] - tick), DIM)
            c.text(int(a[0]) + 4, int((a[1] + b[1]) / 2) - 3, letter, DIM)
        elif m[0] == 'w':
            _, y, x0, x1, letter = m
            a, b = to_px((x0, y)), to_px((x1, y))
            c.line(a, b, DIM)
            for p in (a, b):
                c.line((p[0] - tick, p[1] + tick), (p[0] + tick, p[1] - tick), DIM)
            c.text(int((a[0] + b[0]) / 2) - 2, int(a[1]) + 3 if y < 0 else int(a[1]) - 10, letter, DIM)
        elif m[0] == 't':
            _, x, y, letter = m
            p = to_px((x, y))
            c.line((p[0] - 12, p[1]), (p[0] + 12, p[1]), DIM)
            c.text(int(p[0]) + 14, int(p[1]) - 3, letter[0], DIM)
        elif m[0] == 'f':
            _, x, y, t = m
            a, b = to_px((x, y)), to_px((x, y - t))
            c.line((a[0], a[1] - 10), (b[0], b[1] + 10), DIM)
            c.text(int(a[0]) + 3, int(a[1]) - 12, 't', DIM)
    return c


def unknown(w, h, big):
    c = Canvas(w, h)
    m = 4
    for x in range(m, w - m, 6):
        c.line((x, m), (min(x + 3, w - m), m), EDGE)
        c.line((x, h - m - 1), (min(x + 3, w - m), h - m - 1), EDGE)
    for y in range(m, h - m, 6):
        c.line((m, y), (m, min(y + 3, h - m)), EDGE)
        c.line((w - m - 1, y), (w - m - 1, min(y + 3, h - m)), EDGE)
    scale = 6 if big else 2
    c.text(w // 2 - 5 * scale // 2, h // 2 - 7 * scale // 2, '?', EDGE, scale)
    return c


BIG = (200, 160)
SMALL = (48, 40)


def write_all(folder):
    written = []
    for code, (rings, marks) in shapes().items():
        for big, (w, h) in ((True, BIG), (False, SMALL)):
            name = BASE_NAMES[code] + ("-big.bmp" if big else "-small.bmp")
            with open(folder + "/" + name, "wb") as f:
                f.write(draw(rings, marks, w, h, big).bmp())
            written.append(name)
    for big, (w, h) in ((True, BIG), (False, SMALL)):
        name = "Unknown" + ("-big.bmp" if big else "-small.bmp")
        with open(folder + "/" + name, "wb") as f:
            f.write(unknown(w, h, big).bmp())
        written.append(name)
    return written
