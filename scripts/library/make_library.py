#!/usr/bin/env python3
"""Writes the bundled section library: the profile tables in data/lib/prof/, the section groups and
types beside them, and the section pictures in data/install/icons/. Run it again after changing
sections.py or pictures.py; the output is the same on every machine."""

import os
import math
import sys

import pictures
from sections import *

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PROF = os.path.join(ROOT, "data", "lib", "prof")
ICONS = os.path.join(ROOT, "data", "install", "icons")
LANGS = ["Nederlands", "English", "Deutsch", "Fran\u00e7ais"]

# Property headers as a new table of each type gets them (the English catalogue texts).
HEADERS = {
    1: ["Height", "Width", "Web thickness", "Flange thickness", "Radius"],
    2: ["Height", "Width", "Web thickness", "Flange thickness"],
    3: ["Height", "Width", "Web thickness", "Flange thickness", "Root radius", "Toe radius"],
    6: ["Height", "Width", "Web thickness", "Flange thickness", "Root radius", "Toe radius",
        "Flange slope", "Depth between fillets"],
    7: ["Height", "Width", "Web thickness", "Flange thickness", "Root radius", "Toe radius",
        "Flange slope", "Depth between fillets"],
    8: ["Width", "Thickness"],
    9: ["Diameter"],
    10: ["Height", "Width", "Thickness", "Radius"],
    11: ["Diameter", "Thickness"],
}
DERIVED = ["A [cm2]", "G [kg/m]"]
# Section properties of the I- and H-sections, after the mass.
I_PROPERTIES = ["Iy [cm4]", "Wel.y [cm3]", "Wpl.y [cm3]", "iy [cm]", "Iz [cm4]", "Wel.z [cm3]",
                "Wpl.z [cm3]", "iz [cm]"]
# Channels add ys, the distance of the centroid from the back of the web.
CHANNEL_PROPERTIES = I_PROPERTIES + ["ys [cm]"]
# Angles: y parallel to the leg along the width, z to the leg along the height; zs and ys are the
# distances of the centroid from the backs of those legs; u and v the principal axes.
ANGLE_PROPERTIES = ["Iy [cm4]", "Wel.y [cm3]", "iy [cm]", "Iz [cm4]", "Wel.z [cm3]", "iz [cm]",
                    "zs [cm]", "ys [cm]", "Iu [cm4]", "iu [cm]", "Iv [cm4]", "iv [cm]"]
# Hollow sections add the torsion constant.
HOLLOW_RECT_PROPERTIES = I_PROPERTIES + ["It [cm4]"]
HOLLOW_ROUND_PROPERTIES = ["I [cm4]", "Wel [cm3]", "Wpl [cm3]", "i [cm]", "It [cm4]"]


def num(v):
    """Shortest decimal text of a dimension: 5, 5.2, 168.3."""
    text = ("%.4f" % v).rstrip("0").rstrip(".")
    return text if text else "0"


def cell(text):
    if any(c in text for c in ';"\n\r'):
        return '"' + text.replace('"', '""') + '"'
    return text


def property_text(v):
    """Four significant figures at least, two decimals at most: 8356, 557.1, 12.46."""
    return "%.*f" % (max(0, min(2, 3 - int(math.floor(math.log10(abs(v)))))) if v else 0, v)


def write_table(name, code, extra_headers, rows, prop_headers=()):
    """rows: (key, [descriptions per language], [values], area in mm2[, derived properties]); the
    properties go under prop_headers, after the area and the mass."""
    lines = [str(code), ";".join(["SysName", "I/O"] + LANGS + HEADERS[code] + extra_headers + DERIVED + list(prop_headers))]
    for key, descriptions, values, area, *props in rows:
        cells = [key, "1"] + descriptions + [num(v) if v != "" else "" for v in values]
        cells += ["%.2f" % (area / 100.0), "%.2f" % mass(area)]
        if props:
            assert len(props[0]) == len(prop_headers), name
            cells += [property_text(v) for v in props[0]]
        lines.append(";".join(cell(c) for c in cells))
    with open(os.path.join(PROF, name + ".pr"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    return len(rows)


def words(nl, en, de, fr, key):
    return [nl + " " + key, en + " " + key, de + " " + key, fr + " " + key]


def main():
    os.makedirs(PROF, exist_ok=True)
    os.makedirs(ICONS, exist_ok=True)
    count = 0
    for series, table in (("IPE", IPE), ("HEA", HEA), ("HEB", HEB), ("HEM", HEM)):
        rows = [(str(k), [series + " " + str(k)] * 4, list(d), area_i(*d), properties_i(*d))
                for k, d in table.items()]
        count += write_table(series, 1, [], rows, I_PROPERTIES)
    for name, table, shown in (("IPEA", IPE_A, "IPE A %d"), ("IPEO", IPE_O, "IPE O %d"),
                               ("HEAA", HEAA, "HE %d AA")):
        rows = [(str(k), [shown % k] * 4, list(d), area_i(*d), properties_i(*d)) for k, d in table.items()]
        count += write_table(name, 1, [], rows, I_PROPERTIES)
    rows = []
    for k, (h, b, tw, tf, r1, r2) in IPN.items():
        area = area_i_tapered(h, b, tw, tf, r1, r2, IPN_SLOPE)
        depth = round(depth_between_fillets_i_tapered(h, b, tw, tf, r1, IPN_SLOPE))
        rows.append((str(k), ["IPN " + str(k)] * 4, [h, b, tw, tf, r1, r2, IPN_SLOPE, depth], area,
                     properties_i_tapered(h, b, tw, tf, r1, r2, IPN_SLOPE, area=area)))
    count += write_table("IPN", 6, [], rows, I_PROPERTIES)
    rows = []
    for k, d in UPE.items():
        area = area_channel(*d)
        rows.append((str(k), ["UPE " + str(k)] * 4, list(d), area, properties_channel(*d, area=area)))
    count += write_table("UPE", 2, ["Root radius"], rows, CHANNEL_PROPERTIES)
    rows = []
    for k, (h, b, tw, tf, r1, r2) in UPN.items():
        slope = flange_slope(h)
        area = area_channel_tapered(h, b, tw, tf, r1, r2, slope)
        # to the whole millimetre, as the producers' tables give it
        depth = round(depth_between_fillets_tapered(h, b, tw, tf, r1, slope))
        rows.append((str(k), ["UPN " + str(k)] * 4, [h, b, tw, tf, r1, r2, slope, depth], area,
                     properties_channel(h, b, tw, tf, r1, r2, slope, area=area)))
    count += write_table("UPN", 7, [], rows, CHANNEL_PROPERTIES)
    rows = []
    for (a, t), r1 in ANGLES_EQUAL.items():
        key = num(a) + "x" + num(t)
        area = area_angle(a, a, t, r1)
        rows.append((key, words("Hoekstaal", "Angle", "Winkel", "Corni\u00e8re", key),
                     [a, a, t, t, r1, r1 / 2], area, properties_angle(a, a, t, r1, r1 / 2, area=area)))
    count += write_table("L", 3, [], rows, ANGLE_PROPERTIES)
    rows = []
    for (a, b, t), r1 in ANGLES_UNEQUAL.items():
        key = num(a) + "x" + num(b) + "x" + num(t)
        area = area_angle(a, b, t, r1)
        rows.append((key, words("Hoekstaal", "Angle", "Winkel", "Corni\u00e8re", key),
                     [a, b, t, t, r1, r1 / 2], area, properties_angle(a, b, t, r1, r1 / 2, area=area)))
    count += write_table("LU", 3, [], rows, ANGLE_PROPERTIES)
    rows = []
    for b, t in SHS:
        key = num(b) + "x" + num(b) + "x" + num(t)
        area = area_hollow_rect(b, b, t)
        rows.append((key, words("Koker", "SHS", "Quadratrohr", "Tube carr\u00e9", key),
                     [b, b, t, 1.5 * t], area, properties_hollow_rect(b, b, t, area=area)))
    count += write_table("SHS", 10, [], rows, HOLLOW_RECT_PROPERTIES)
    rows = []
    for h, b, t in RHS:
        key = num(h) + "x" + num(b) + "x" + num(t)
        area = area_hollow_rect(h, b, t)
        rows.append((key, words("Koker", "RHS", "Rechteckrohr", "Tube rectangulaire", key),
                     [h, b, t, 1.5 * t], area, properties_hollow_rect(h, b, t, area=area)))
    count += write_table("RHS", 10, [], rows, HOLLOW_RECT_PROPERTIES)
    rows = []
    for d, t in CHS:
        key = num(d) + "x" + num(t)
        rows.append((key, words("Buis", "CHS", "Rundrohr", "Tube rond", key), [d, t],
                     area_hollow_round(d, t), properties_hollow_round(d, t)))
    count += write_table("CHS", 11, [], rows, HOLLOW_ROUND_PROPERTIES)
    rows = []
    for w, t in FLATS:
        key = num(w) + "x" + num(t)
        rows.append((key, words("Strip", "Flat", "Flachstahl", "Plat", key), [w, t], w * t))
    count += write_table("FL", 8, [], rows)
    rows = []
    for d in ROUNDS:
        key = num(d)
        rows.append((key, words("Rond", "Round bar", "Rundstahl", "Rond", key), [d], math.pi / 4 * d * d))
    count += write_table("RD", 9, [], rows)

    groups = [
        (1, "ProfSectionI", ["I- en H-profielen", "I- and H-sections", "I- und H-Profile", "Profil\u00e9s I et H"]),
        (2, "ProfSectionCL", ["U-profielen", "Channels", "U-Profile", "Profil\u00e9s U"]),
        (3, "ProfSectionHL", ["Hoekstaal", "Angles", "Winkel", "Corni\u00e8res"]),
        (4, "ProfSectionRectTube", ["Kokers en buizen", "Hollow sections", "Hohlprofile", "Profils creux"]),
        (5, "ProfSectionRect", ["Staven", "Bars", "Stabstahl", "Barres"]),
    ]
    with open(os.path.join(PROF, "groups.grp"), "w", encoding="utf-8", newline="\n") as f:
        f.write(";".join(["Id", "Enabled", "Image"] + LANGS) + "\n")
        for gid, image, names in groups:
            f.write(";".join([str(gid), "1", image] + names) + "\n")
    types = [
        # each series beside its lighter and heavier variants
        ("ProfSectionI", 1, "IPE", ["IPE"] * 4), ("ProfSectionI", 1, "IPEA", ["IPE A"] * 4),
        ("ProfSectionI", 1, "IPEO", ["IPE O"] * 4), ("ProfSectionI", 1, "HEAA", ["HE AA"] * 4),
        ("ProfSectionI", 1, "HEA", ["HEA"] * 4), ("ProfSectionI", 1, "HEB", ["HEB"] * 4),
        ("ProfSectionI", 1, "HEM", ["HEM"] * 4), ("ProfSectionOI", 1, "IPN", ["IPN"] * 4),
        ("ProfSectionCL", 2, "UPE", ["UPE"] * 4), ("ProfSectionOU", 2, "UPN", ["UPN"] * 4),
        ("ProfSectionHL", 3, "L", ["Gelijkzijdig", "Equal legs", "Gleichschenklig", "\u00c0 ailes \u00e9gales"]),
        ("ProfSectionHL", 3, "LU", ["Ongelijkzijdig", "Unequal legs", "Ungleichschenklig", "\u00c0 ailes in\u00e9gales"]),
        ("ProfSectionRectTube", 4, "SHS", ["Vierkante koker", "Square hollow", "Quadratrohr", "Tube carr\u00e9"]),
        ("ProfSectionRectTube", 4, "RHS", ["Rechthoekige koker", "Rectangular hollow", "Rechteckrohr", "Tube rectangulaire"]),
        ("ProfSectionRoundTube", 4, "CHS", ["Ronde buis", "Circular hollow", "Rundrohr", "Tube rond"]),
        ("ProfSectionRect", 5, "FL", ["Strip", "Flat bar", "Flachstahl", "Plat"]),
        ("ProfSectionRound", 5, "RD", ["Rond", "Round bar", "Rundstahl", "Rond"]),
    ]
    with open(os.path.join(PROF, "types.typ"), "w", encoding="utf-8", newline="\n") as f:
        f.write(";".join(["Enabled", "Image", "Group", "Table"] + LANGS) + "\n")
        for image, gid, table, names in types:
            f.write(";".join(["1", image, str(gid), table] + names) + "\n")

    drawn = pictures.write_all(ICONS)
    print("%d sizes in %d tables, %d pictures" % (count, len(types), len(drawn)))


if __name__ == "__main__":
    sys.exit(main())
