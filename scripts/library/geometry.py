"""Section properties of a cross-section drawn as closed outlines: sharp corners are rounded with the
section's fillet radii, the arcs followed in fine steps, and the areas, first and second moments
integrated exactly over the resulting polygons (Green's theorem). Used for the shapes whose tables
give no closed formula: channels with tapered flanges, angles with root and toe radii, rectangular
hollow sections with rounded corners.

Coordinates are in mm: x across the section (the width), y up (the height). Outer outlines run
counter-clockwise, holes clockwise, so that a hole's integrals count negative."""

import math

STEPS_PER_QUARTER = 90  # arc steps per 90 degrees: the chords stray less than 0.004 % of the radius


def rounded(corners):
    """A closed outline from (x, y, radius) corners: each corner with a radius is replaced by the
    arc tangent to both of its edges (a root fillet at an inner corner, a rounded toe at an outer
    one)."""
    points = []
    n = len(corners)
    for i, (x, y, r) in enumerate(corners):
        if not r:
            points.append((x, y))
            continue
        px, py, _ = corners[i - 1]
        nx, ny, _ = corners[(i + 1) % n]
        u1 = _unit(px - x, py - y)
        u2 = _unit(nx - x, ny - y)
        angle = math.acos(max(-1.0, min(1.0, u1[0] * u2[0] + u1[1] * u2[1])))
        tangent = r / math.tan(angle / 2)
        bis = _unit(u1[0] + u2[0], u1[1] + u2[1])
        off = r / math.sin(angle / 2)
        cx, cy = x + bis[0] * off, y + bis[1] * off
        t1 = (x + u1[0] * tangent, y + u1[1] * tangent)
        t2 = (x + u2[0] * tangent, y + u2[1] * tangent)
        a1 = math.atan2(t1[1] - cy, t1[0] - cx)
        a2 = math.atan2(t2[1] - cy, t2[0] - cx)
        sweep = (a2 - a1 + math.pi) % (2 * math.pi) - math.pi
        steps = max(2, int(math.ceil(abs(sweep) / (math.pi / 2) * STEPS_PER_QUARTER)))
        for k in range(steps + 1):
            a = a1 + sweep * k / steps
            points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


def _unit(dx, dy):
    length = math.hypot(dx, dy)
    return dx / length, dy / length


def integrals(rings):
    """A, Sx = int y dA, Sy = int x dA, Ixx = int y2 dA, Iyy = int x2 dA, Ixy = int xy dA of the
    region the rings bound (signed by their direction)."""
    a = sx = sy = ixx = iyy = ixy = 0.0
    for ring in rings:
        n = len(ring)
        for i in range(n):
            x0, y0 = ring[i]
            x1, y1 = ring[(i + 1) % n]
            c = x0 * y1 - x1 * y0
            a += c
            sy += (x0 + x1) * c
            sx += (y0 + y1) * c
            iyy += (x0 * x0 + x0 * x1 + x1 * x1) * c
            ixx += (y0 * y0 + y0 * y1 + y1 * y1) * c
            ixy += (x0 * y1 + 2 * x0 * y0 + 2 * x1 * y1 + x1 * y0) * c
    return a / 2, sx / 6, sy / 6, ixx / 12, iyy / 12, ixy / 24


def clip(rings, axis, at, above):
    """The part of the region on one side of the line x = at (axis 0) or y = at (axis 1)."""
    out = []
    for ring in rings:
        inside = (lambda p: p[axis] >= at) if above else (lambda p: p[axis] <= at)
        kept = []
        n = len(ring)
        for i in range(n):
            p, q = ring[i], ring[(i + 1) % n]
            if inside(p):
                kept.append(p)
            if inside(p) != inside(q):
                f = (at - p[axis]) / (q[axis] - p[axis])
                kept.append((p[0] + f * (q[0] - p[0]), p[1] + f * (q[1] - p[1])))
        if len(kept) >= 3:
            out.append(kept)
    return out


def plastic_modulus(rings, axis):
    """Wpl about the line across the given axis that halves the area: the sum of the first moments
    of both halves about it (mm3)."""
    total = integrals(rings)[0]
    values = [p[axis] for ring in rings for p in ring]
    lo, hi = min(values), max(values)
    for _ in range(60):
        mid = (lo + hi) / 2
        if integrals(clip(rings, axis, mid, True))[0] > total / 2:
            lo = mid
        else:
            hi = mid
    at = (lo + hi) / 2
    moment = 1 if axis == 1 else 2  # integrals() gives int y dA, then int x dA
    upper = integrals(clip(rings, axis, at, True))
    lower = integrals(clip(rings, axis, at, False))
    return (upper[moment] - at * upper[0]) - (lower[moment] - at * lower[0])


class Section:
    """Area, centroid, second moments about the centroidal axes and principal axes of a region."""

    def __init__(self, rings):
        self.rings = rings
        a, sx, sy, ixx, iyy, ixy = integrals(rings)
        self.area = a
        self.xc, self.yc = sy / a, sx / a
        self.i_horizontal = ixx - a * self.yc ** 2  # about the horizontal axis through the centroid
        self.i_vertical = iyy - a * self.xc ** 2  # about the vertical axis through the centroid
        self.i_product = ixy - a * self.xc * self.yc
        mean = (self.i_horizontal + self.i_vertical) / 2
        radius = math.hypot((self.i_horizontal - self.i_vertical) / 2, self.i_product)
        self.i_major, self.i_minor = mean + radius, mean - radius
        xs = [p[0] for ring in rings for p in ring]
        ys = [p[1] for ring in rings for p in ring]
        self.left, self.right, self.bottom, self.top = min(xs), max(xs), min(ys), max(ys)

    def w_horizontal(self):
        """Smallest elastic modulus about the horizontal axis: to the farthest fibre."""
        return self.i_horizontal / max(self.top - self.yc, self.yc - self.bottom)

    def w_vertical(self):
        return self.i_vertical / max(self.right - self.xc, self.xc - self.left)

    def wpl_horizontal(self):
        return plastic_modulus(self.rings, 1)

    def wpl_vertical(self):
        return plastic_modulus(self.rings, 0)
