"""Dimensions of the bundled section series, as the European tables publish them (mm), and the
formulas that derive their area and section properties (closed forms where the shape has them,
integration over the outline with its fillets where it has not). Used by make_library.py; tests
read the written tables back."""

import math

from geometry import Section, rounded

# I- and H-sections, parallel flanges: name -> (h, b, tw, tf, r)
IPE = {
    80: (80, 46, 3.8, 5.2, 5), 100: (100, 55, 4.1, 5.7, 7), 120: (120, 64, 4.4, 6.3, 7),
    140: (140, 73, 4.7, 6.9, 7), 160: (160, 82, 5.0, 7.4, 9), 180: (180, 91, 5.3, 8.0, 9),
    200: (200, 100, 5.6, 8.5, 12), 220: (220, 110, 5.9, 9.2, 12), 240: (240, 120, 6.2, 9.8, 15),
    270: (270, 135, 6.6, 10.2, 15), 300: (300, 150, 7.1, 10.7, 15), 330: (330, 160, 7.5, 11.5, 18),
    360: (360, 170, 8.0, 12.7, 18), 400: (400, 180, 8.6, 13.5, 21), 450: (450, 190, 9.4, 14.6, 21),
    500: (500, 200, 10.2, 16.0, 21), 550: (550, 210, 11.1, 17.2, 24), 600: (600, 220, 12.0, 19.0, 24),
}
HEA = {
    100: (96, 100, 5, 8, 12), 120: (114, 120, 5, 8, 12), 140: (133, 140, 5.5, 8.5, 12),
    160: (152, 160, 6, 9, 15), 180: (171, 180, 6, 9.5, 15), 200: (190, 200, 6.5, 10, 18),
    220: (210, 220, 7, 11, 18), 240: (230, 240, 7.5, 12, 21), 260: (250, 260, 7.5, 12.5, 24),
    280: (270, 280, 8, 13, 24), 300: (290, 300, 8.5, 14, 27), 320: (310, 300, 9, 15.5, 27),
    340: (330, 300, 9.5, 16.5, 27), 360: (350, 300, 10, 17.5, 27), 400: (390, 300, 11, 19, 27),
    450: (440, 300, 11.5, 21, 27), 500: (490, 300, 12, 23, 27), 550: (540, 300, 12.5, 24, 27),
    600: (590, 300, 13, 25, 27), 650: (640, 300, 13.5, 26, 27), 700: (690, 300, 14.5, 27, 27),
    800: (790, 300, 15, 28, 30), 900: (890, 300, 16, 30, 30), 1000: (990, 300, 16.5, 31, 30),
}
HEB = {
    100: (100, 100, 6, 10, 12), 120: (120, 120, 6.5, 11, 12), 140: (140, 140, 7, 12, 12),
    160: (160, 160, 8, 13, 15), 180: (180, 180, 8.5, 14, 15), 200: (200, 200, 9, 15, 18),
    220: (220, 220, 9.5, 16, 18), 240: (240, 240, 10, 17, 21), 260: (260, 260, 10, 17.5, 24),
    280: (280, 280, 10.5, 18, 24), 300: (300, 300, 11, 19, 27), 320: (320, 300, 11.5, 20.5, 27),
    340: (340, 300, 12, 21.5, 27), 360: (360, 300, 12.5, 22.5, 27), 400: (400, 300, 13.5, 24, 27),
    450: (450, 300, 14, 26, 27), 500: (500, 300, 14.5, 28, 27), 550: (550, 300, 15, 29, 27),
    600: (600, 300, 15.5, 30, 27), 650: (650, 300, 16, 31, 27), 700: (700, 300, 17, 32, 27),
    800: (800, 300, 17.5, 33, 30), 900: (900, 300, 18.5, 35, 30), 1000: (1000, 300, 19, 36, 30),
}
# Lighter and heavier variants of the same series, as the producers roll them: name -> (h, b, tw, tf, r)
IPE_A = {
    80: (78, 46, 3.3, 4.2, 5), 100: (98, 55, 3.6, 4.7, 7), 120: (117.6, 64, 3.8, 5.1, 7),
    140: (137.4, 73, 3.8, 5.6, 7), 160: (157, 82, 4.0, 5.9, 9), 180: (177, 91, 4.3, 6.5, 9),
    200: (197, 100, 4.5, 7.0, 12), 220: (217, 110, 5.0, 7.7, 12), 240: (237, 120, 5.2, 8.3, 15),
    270: (267, 135, 5.5, 8.7, 15), 300: (297, 150, 6.1, 9.2, 15), 330: (327, 160, 6.5, 10.0, 18),
    360: (357.6, 170, 6.6, 11.5, 18), 400: (397, 180, 7.0, 12.0, 21), 450: (447, 190, 7.6, 13.1, 21),
    500: (497, 200, 8.4, 14.5, 21), 550: (547, 210, 9.0, 15.7, 24), 600: (597, 220, 9.8, 17.5, 24),
}
IPE_O = {
    180: (182, 92, 6.0, 9.0, 9), 200: (202, 102, 6.2, 9.5, 12), 220: (222, 112, 6.6, 10.2, 12),
    240: (242, 122, 7.0, 10.8, 15), 270: (274, 136, 7.5, 12.2, 15), 300: (304, 152, 8.0, 12.7, 15),
    330: (334, 162, 8.5, 13.5, 18), 360: (364, 172, 9.2, 14.7, 18), 400: (404, 182, 9.7, 15.5, 21),
    450: (456, 192, 11.0, 17.6, 21), 500: (506, 202, 12.0, 19.0, 21), 550: (556, 212, 12.7, 20.2, 24),
    600: (610, 224, 15.0, 24.0, 24),
}
HEAA = {
    100: (91, 100, 4.2, 5.5, 12), 120: (109, 120, 4.2, 5.5, 12), 140: (128, 140, 4.3, 6.0, 12),
    160: (148, 160, 4.5, 7.0, 15), 180: (167, 180, 5.0, 7.5, 15), 200: (186, 200, 5.5, 8.0, 18),
    220: (205, 220, 6.0, 8.5, 18), 240: (224, 240, 6.5, 9.0, 21), 260: (244, 260, 6.5, 9.5, 24),
    280: (264, 280, 7.0, 10.0, 24), 300: (283, 300, 7.5, 10.5, 27), 320: (301, 300, 8.0, 11.0, 27),
    340: (320, 300, 8.5, 11.5, 27), 360: (339, 300, 9.0, 12.0, 27), 400: (378, 300, 9.5, 13.0, 27),
    450: (425, 300, 10.0, 13.5, 27), 500: (472, 300, 10.5, 14.0, 27), 550: (522, 300, 11.5, 15.0, 27),
    600: (571, 300, 12.0, 15.5, 27), 650: (620, 300, 12.5, 16.0, 27), 700: (670, 300, 13.0, 17.0, 27),
    800: (770, 300, 14.0, 18.0, 30), 900: (870, 300, 15.0, 20.0, 30), 1000: (970, 300, 16.0, 21.0, 30),
}
HEM = {
    100: (120, 106, 12, 20, 12), 120: (140, 126, 12.5, 21, 12), 140: (160, 146, 13, 22, 12),
    160: (180, 166, 14, 23, 15), 180: (200, 186, 14.5, 24, 15), 200: (220, 206, 15, 25, 18),
    220: (240, 226, 15.5, 26, 18), 240: (270, 248, 18, 32, 21), 260: (290, 268, 18, 32.5, 24),
    280: (310, 288, 18.5, 33, 24), 300: (340, 310, 21, 39, 27), 320: (359, 309, 21, 40, 27),
    340: (377, 309, 21, 40, 27), 360: (395, 308, 21, 40, 27), 400: (432, 307, 21, 40, 27),
    450: (478, 307, 21, 40, 27), 500: (524, 306, 21, 40, 27), 550: (572, 306, 21, 40, 27),
    600: (620, 305, 21, 40, 27), 650: (668, 305, 21, 40, 27), 700: (716, 304, 21, 40, 27),
    800: (814, 303, 21, 40, 30), 900: (910, 302, 21, 40, 30), 1000: (1008, 302, 21, 40, 30),
}
# Channels, parallel flanges: name -> (h, b, tw, tf, r)
UPE = {
    80: (80, 50, 4, 7, 10), 100: (100, 55, 4.5, 7.5, 10), 120: (120, 60, 5, 8, 12),
    140: (140, 65, 5, 9, 12), 160: (160, 70, 5.5, 9.5, 12), 180: (180, 75, 5.5, 10.5, 12),
    200: (200, 80, 6, 11, 13), 220: (220, 85, 6.5, 12, 13), 240: (240, 90, 7, 12.5, 15),
    270: (270, 95, 7.5, 13.5, 15), 300: (300, 100, 9.5, 15, 15), 330: (330, 105, 11, 16, 18),
    360: (360, 110, 12, 17, 18), 400: (400, 115, 13.5, 18, 18),
}
# Channels, tapered flanges (8 % inner slope up to UPN 300): name -> (h, b, tw, tf, r1, r2)
UPN = {
    50: (50, 38, 5, 7, 7, 3.5), 65: (65, 42, 5.5, 7.5, 7.5, 4), 80: (80, 45, 6, 8, 8, 4),
    100: (100, 50, 6, 8.5, 8.5, 4.5), 120: (120, 55, 7, 9, 9, 4.5), 140: (140, 60, 7, 10, 10, 5),
    160: (160, 65, 7.5, 10.5, 10.5, 5.5), 180: (180, 70, 8, 11, 11, 5.5),
    200: (200, 75, 8.5, 11.5, 11.5, 6), 220: (220, 80, 9, 12.5, 12.5, 6.5),
    240: (240, 85, 9.5, 13, 13, 6.5), 260: (260, 90, 10, 14, 14, 7), 280: (280, 95, 10, 15, 15, 7.5),
    300: (300, 100, 10, 16, 16, 8), 320: (320, 100, 14, 17.5, 17.5, 8.75),
    350: (350, 100, 14, 16, 16, 8), 380: (380, 102, 13.5, 16, 16, 8), 400: (400, 110, 14, 18, 18, 9),
}
# I-sections with tapered flanges (14 % inner slope, DIN 1025-1), the flange thickness measured at
# a quarter of the width from the web's centre line: name -> (h, b, tw, tf, r1, r2)
IPN = {
    80: (80, 42, 3.9, 5.9, 3.9, 2.3), 100: (100, 50, 4.5, 6.8, 4.5, 2.7), 120: (120, 58, 5.1, 7.7, 5.1, 3.1),
    140: (140, 66, 5.7, 8.6, 5.7, 3.4), 160: (160, 74, 6.3, 9.5, 6.3, 3.8),
    180: (180, 82, 6.9, 10.4, 6.9, 4.1), 200: (200, 90, 7.5, 11.3, 7.5, 4.5),
    220: (220, 98, 8.1, 12.2, 8.1, 4.9), 240: (240, 106, 8.7, 13.1, 8.7, 5.2),
    260: (260, 113, 9.4, 14.1, 9.4, 5.6), 280: (280, 119, 10.1, 15.2, 10.1, 6.1),
    300: (300, 125, 10.8, 16.2, 10.8, 6.5), 320: (320, 131, 11.5, 17.3, 11.5, 6.9),
    340: (340, 137, 12.2, 18.3, 12.2, 7.3), 360: (360, 143, 13.0, 19.5, 13.0, 7.8),
    380: (380, 149, 13.7, 20.5, 13.7, 8.2), 400: (400, 155, 14.4, 21.6, 14.4, 8.6),
    450: (450, 170, 16.2, 24.3, 16.2, 9.7), 500: (500, 185, 18.0, 27.0, 18.0, 10.8),
    550: (550, 200, 19.0, 30.0, 19.0, 11.9), 600: (600, 215, 21.6, 32.4, 21.6, 13.0),
}
IPN_SLOPE = 14  # %
# Equal angles: (a, t) -> r1 (root radius; toe radius r2 = r1 / 2)
ANGLES_EQUAL = {
    (20, 3): 3.5, (25, 3): 3.5, (25, 4): 3.5, (30, 3): 5, (30, 4): 5, (35, 4): 5, (40, 4): 6,
    (40, 5): 6, (45, 4.5): 7, (50, 4): 7, (50, 5): 7, (50, 6): 7, (60, 5): 8, (60, 6): 8, (60, 8): 8,
    (65, 7): 9, (70, 6): 9, (70, 7): 9, (75, 6): 9, (75, 8): 10, (80, 8): 10, (80, 10): 10, (90, 7): 11,
    (90, 8): 11, (90, 9): 11, (90, 10): 11, (100, 8): 12, (100, 10): 12, (100, 12): 12, (120, 10): 13,
    (120, 12): 13, (130, 12): 14, (150, 10): 16, (150, 12): 16, (150, 15): 16, (160, 15): 17,
    (180, 16): 18, (180, 18): 18, (200, 16): 18, (200, 18): 18, (200, 20): 18, (200, 24): 18,
    (250, 28): 18, (250, 35): 18,
}
# Unequal angles: (a, b, t) -> r1
ANGLES_UNEQUAL = {
    (30, 20, 3): 4, (40, 20, 4): 4, (45, 30, 4): 4.5, (50, 30, 5): 5, (60, 40, 5): 6, (60, 40, 6): 6,
    (65, 50, 5): 6, (75, 50, 6): 7, (75, 50, 8): 7, (80, 40, 6): 7, (80, 60, 7): 8, (100, 50, 6): 8,
    (100, 50, 8): 8, (100, 65, 7): 10, (100, 75, 8): 10, (120, 80, 8): 11, (120, 80, 10): 11,
    (125, 75, 8): 11, (150, 75, 9): 12, (150, 90, 10): 12, (150, 100, 10): 12, (200, 100, 10): 15,
    (200, 100, 12): 15,
}
# Hot-finished hollow sections: square (b, t), rectangular (h, b, t), circular (d, t)
SHS = [(40, 2.5), (40, 3), (40, 4), (50, 2.5), (50, 3), (50, 4), (50, 5), (60, 3), (60, 4), (60, 5),
       (70, 3), (70, 4), (70, 5), (80, 3), (80, 4), (80, 5), (80, 6), (90, 4), (90, 5), (90, 6),
       (100, 4), (100, 5), (100, 6), (100, 8), (100, 10), (120, 6), (120, 8), (120, 10), (140, 8), (140, 10), (150, 8),
       (150, 10), (160, 8), (160, 10), (180, 10), (200, 8), (200, 10), (200, 12.5), (250, 10),
       (250, 12.5), (300, 10), (300, 12.5)]
RHS = [(50, 30, 2.5), (50, 30, 3), (60, 40, 3), (60, 40, 4), (80, 40, 3), (80, 40, 4), (80, 40, 5),
       (100, 50, 3), (100, 50, 4), (100, 50, 5), (100, 60, 4), (100, 60, 5), (120, 60, 4), (120, 60, 5),
       (120, 80, 6), (140, 80, 6), (150, 100, 6), (160, 80, 6), (160, 80, 8), (180, 100, 8),
       (200, 100, 6), (200, 100, 6.3),
       (200, 100, 8), (200, 120, 8), (250, 150, 8), (250, 150, 10), (300, 200, 10),
       (400, 200, 12.5)]
CHS = [(21.3, 2.3), (26.9, 2.3), (33.7, 2.6), (33.7, 3.2), (42.4, 2.6), (42.4, 3.2), (48.3, 2.6),
       (48.3, 3.2), (48.3, 4), (60.3, 2.9), (60.3, 3.2), (60.3, 4), (76.1, 2.9), (76.1, 3.2), (76.1, 4),
       (88.9, 3.2), (88.9, 4), (88.9, 5), (101.6, 4), (101.6, 5), (114.3, 3.6), (114.3, 5), (114.3, 6.3),
       (139.7, 4), (139.7, 5), (139.7, 6.3), (168.3, 5), (168.3, 6.3), (168.3, 8), (193.7, 6.3), (193.7, 8),
       (219.1, 6.3), (219.1, 8), (219.1, 10), (244.5, 8), (244.5, 10), (273, 8), (273, 10), (323.9, 8),
       (323.9, 10), (355.6, 10), (355.6, 12.5), (406.4, 10), (406.4, 12.5)]
# Flat bars (width, thickness) and round bars (diameter)
FLATS = [(w, t) for w in (20, 25, 30, 40, 50, 60, 80, 100, 120, 150, 200) for t in (5, 6, 8, 10, 12, 15, 20)
         if t < w]
ROUNDS = [6, 8, 10, 12, 14, 16, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100]

STEEL_DENSITY = 7850.0  # kg/m3
K = 1 - math.pi / 4     # area of a fillet of radius 1 outside its quarter circle


def area_i(h, b, tw, tf, r):
    """I- and H-sections with parallel flanges (mm2)."""
    return 2 * b * tf + (h - 2 * tf) * tw + 4 * K * r * r


def properties_i(h, b, tw, tf, r):
    """Second moments, section moduli and radii of gyration of an I- or H-section with parallel
    flanges, root fillets included, as the European section tables compute them. Returns
    Iy, Wel.y, Wpl.y, iy, Iz, Wel.z, Wpl.z, iz in cm4, cm3 and cm."""
    a = area_i(h, b, tw, tf, r)
    hw = h - 2 * tf
    iy = (b * h ** 3 - (b - tw) * hw ** 3) / 12 + 0.03 * r ** 4 + 0.2146 * r * r * (hw - 0.4468 * r) ** 2
    iz = (2 * tf * b ** 3 + hw * tw ** 3) / 12 + 0.03 * r ** 4 + 0.2146 * r * r * (tw + 0.4468 * r) ** 2
    wply = tw * h * h / 4 + (b - tw) * (h - tf) * tf + (4 - math.pi) / 2 * r * r * (hw) + (3 * math.pi - 10) / 3 * r ** 3
    wplz = b * b * tf / 2 + hw * tw * tw / 4 + (10 / 3 - math.pi) * r ** 3 + (4 - math.pi) / 2 * r * r * tw
    return (iy / 1e4, 2 * iy / h / 1e3, wply / 1e3, math.sqrt(iy / a) / 10,
            iz / 1e4, 2 * iz / b / 1e3, wplz / 1e3, math.sqrt(iz / a) / 10)


def area_channel(h, b, tw, tf, r):
    """Channels with parallel flanges (mm2)."""
    return 2 * b * tf + (h - 2 * tf) * tw + 2 * K * r * r


def fillet_area(r, angle):
    """Area between a corner of the given angle (radians) and an arc of radius r tangent to both
    of its sides: what a root fillet adds, or a rounded toe takes away (mm2)."""
    return r * r * (1 / math.tan(angle / 2) - (math.pi - angle) / 2)


def area_channel_tapered(h, b, tw, tf, r1, r2, slope):
    """Channels with tapered flanges (mm2), tf measured at half the width. The sloping inner face
    meets the web and the toe at 90 degrees plus the slope's angle, which makes both fillets a
    little smaller than at a square corner."""
    s = slope / 100.0
    flange = (b - tw) * tf - s / 2 * (b - tw) * tw
    corner = math.pi / 2 + math.atan(s)
    return h * tw + 2 * flange + 2 * (fillet_area(r1, corner) - fillet_area(r2, corner))


def area_i_tapered(h, b, tw, tf, r1, r2, slope):
    """I-sections with tapered flanges (mm2), tf measured at b / 4 from the web's centre line: over
    each flange outstand the thickness is tf less the slope over tw / 4 on average."""
    s = slope / 100.0
    corner = math.pi / 2 + math.atan(s)
    return h * tw + 2 * (b - tw) * (tf - s * tw / 4) + 4 * (fillet_area(r1, corner) - fillet_area(r2, corner))


def depth_between_fillets_i_tapered(h, b, tw, tf, r1, slope):
    """Straight part of the web of an I-section with tapered flanges (mm)."""
    s = slope / 100.0
    at_web = tf + s * (b / 4 - tw / 2)
    tangent = at_web - s * r1 + r1 * math.sqrt(1 + s * s)
    return h - 2 * tangent


def outline_i_tapered(h, b, tw, tf, r1, r2, slope):
    """The web's centre line on x = b / 2; tf at b / 4 from it."""
    s = slope / 100.0
    at_web, at_toe = tf + s * (b / 4 - tw / 2), tf - s * b / 4
    left, right = (b - tw) / 2, (b + tw) / 2
    return [rounded([(0, 0, 0), (b, 0, 0), (b, at_toe, r2), (right, at_web, r1), (right, h - at_web, r1),
                     (b, h - at_toe, r2), (b, h, 0), (0, h, 0), (0, h - at_toe, r2), (left, h - at_web, r1),
                     (left, at_web, r1), (0, at_toe, r2)])]


def properties_i_tapered(h, b, tw, tf, r1, r2, slope, area=None):
    """The bending properties of an I-section with tapered flanges, from its outline."""
    sec = Section(outline_i_tapered(h, b, tw, tf, r1, r2, slope))
    if area is not None:
        _check_area(sec, area, "I-section %gx%g" % (h, b))
    return _bending(sec)


def area_angle(a, b, t, r1):
    """Angles, toe radius r1 / 2 (mm2)."""
    r2 = r1 / 2
    return t * (a + b - t) + K * (r1 * r1 - 2 * r2 * r2)


def area_hollow_rect(h, b, t):
    """Hot-finished rectangular hollow sections, outer corner radius 1.5 t, inner t (mm2)."""
    ro, ri = 1.5 * t, 1.0 * t
    return 2 * t * (h + b - 2 * t) - (4 - math.pi) * (ro * ro - ri * ri)


def area_hollow_round(d, t):
    return math.pi / 4 * (d * d - (d - 2 * t) ** 2)


def mass(area_mm2):
    """kg/m of a bar of this area."""
    return area_mm2 * 1e-6 * STEEL_DENSITY


def flange_slope(h):
    """Inner slope of the flanges of a tapered channel, in %: 8 up to 300 mm high, 5 above."""
    return 8 if h <= 300 else 5


def depth_between_fillets_tapered(h, b, tw, tf, r1, slope):
    """Straight part of the web of a channel with tapered flanges (mm): between the points where the
    root fillets meet the web. The flange thickness tf is measured at half the width b, so at the
    web the flange is thicker by the slope over b / 2 - tw."""
    s = slope / 100.0
    at_web = tf + s * (b / 2 - tw)
    # centre of the fillet, tangent to the web and to the sloping flange face
    tangent = at_web - s * r1 + r1 * math.sqrt(1 + s * s)
    return h - 2 * tangent


def outline_channel(h, b, tw, tf, r1, r2=0.0, slope=0.0):
    """Back of the web on x = 0, flanges to the right; tf at half the flange width when tapered."""
    s = slope / 100.0
    at_web, at_toe = tf + s * (b / 2 - tw), tf - s * b / 2
    return [rounded([(0, 0, 0), (b, 0, 0), (b, at_toe, r2), (tw, at_web, r1), (tw, h - at_web, r1),
                     (b, h - at_toe, r2), (b, h, 0), (0, h, 0)])]


def outline_angle(a, b, t, r1, r2):
    """Leg a upright along x = 0, leg b along y = 0, heel at the origin."""
    return [rounded([(0, 0, 0), (b, 0, 0), (b, t, r2), (t, t, r1), (t, a, r2), (0, a, 0)])]


def outline_hollow_rect(h, b, t, ro, ri):
    outer = rounded([(0, 0, ro), (b, 0, ro), (b, h, ro), (0, h, ro)])
    inner = rounded([(t, t, ri), (b - t, t, ri), (b - t, h - t, ri), (t, h - t, ri)])
    return [outer, inner[::-1]]


def _check_area(section, area, what):
    """The outline and the table's area formula describe the same section."""
    if abs(section.area - area) > 1e-3 * area:
        raise ValueError("%s: outline area %.1f, formula %.1f mm2" % (what, section.area, area))


def _bending(sec):
    """Iy, Wel.y, Wpl.y, iy, Iz, Wel.z, Wpl.z, iz in cm4, cm3 and cm: y the horizontal axis."""
    a = sec.area
    return (sec.i_horizontal / 1e4, sec.w_horizontal() / 1e3, sec.wpl_horizontal() / 1e3,
            math.sqrt(sec.i_horizontal / a) / 10, sec.i_vertical / 1e4, sec.w_vertical() / 1e3,
            sec.wpl_vertical() / 1e3, math.sqrt(sec.i_vertical / a) / 10)


def properties_channel(h, b, tw, tf, r1, r2=0.0, slope=0.0, area=None):
    """The bending properties of a channel and ys, the distance of the centroid from the back of the
    web (cm). Wel.z is taken to the toes, the farther fibre."""
    sec = Section(outline_channel(h, b, tw, tf, r1, r2, slope))
    if area is not None:
        _check_area(sec, area, "channel %gx%g" % (h, b))
    return _bending(sec) + (sec.xc / 10,)


def properties_angle(a, b, t, r1, r2, area=None):
    """Iy, Wel.y, iy about the axis parallel to leg b; Iz, Wel.z, iz about the axis parallel to leg
    a; zs, ys the distances of the centroid from the backs of legs b and a; Iu, iu, Iv, iv about the
    principal axes (cm4, cm3, cm)."""
    sec = Section(outline_angle(a, b, t, r1, r2))
    if area is not None:
        _check_area(sec, area, "angle %gx%gx%g" % (a, b, t))
    s = sec.area
    return (sec.i_horizontal / 1e4, sec.w_horizontal() / 1e3, math.sqrt(sec.i_horizontal / s) / 10,
            sec.i_vertical / 1e4, sec.w_vertical() / 1e3, math.sqrt(sec.i_vertical / s) / 10,
            sec.yc / 10, sec.xc / 10, sec.i_major / 1e4, math.sqrt(sec.i_major / s) / 10,
            sec.i_minor / 1e4, math.sqrt(sec.i_minor / s) / 10)


def torsion_hollow_rect(h, b, t, ro, ri):
    """St. Venant torsion constant of a thin-walled closed rectangle with rounded corners (mm4):
    the wall's centre line encloses Ah over a perimeter p."""
    rc = (ro + ri) / 2
    ah = (b - t) * (h - t) - rc * rc * (4 - math.pi)
    p = 2 * ((b - t) + (h - t)) - 2 * rc * (4 - math.pi)
    return 4 * ah * ah * t / p + t ** 3 * p / 3


def properties_hollow_rect(h, b, t, area=None):
    """The bending properties and It (cm4) of a hot-finished rectangular hollow section, corner
    radii 1.5 t outside and t inside."""
    ro, ri = 1.5 * t, 1.0 * t
    sec = Section(outline_hollow_rect(h, b, t, ro, ri))
    if area is not None:
        _check_area(sec, area, "hollow %gx%gx%g" % (h, b, t))
    return _bending(sec) + (torsion_hollow_rect(h, b, t, ro, ri) / 1e4,)


def properties_hollow_round(d, t):
    """I, Wel, Wpl, i and It (cm4, cm3, cm) of a circular hollow section."""
    di = d - 2 * t
    i = math.pi / 64 * (d ** 4 - di ** 4)
    return (i / 1e4, 2 * i / d / 1e3, (d ** 3 - di ** 3) / 6 / 1e3,
            math.sqrt(i / area_hollow_round(d, t)) / 10, 2 * i / 1e4)
