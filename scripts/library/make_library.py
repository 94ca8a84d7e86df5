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


def write_table(name, code, extra_headers, rows, properties=None):
    """rows: (key, [descriptions per language], [values], area in mm2); properties: the headers of
    further derived values and a function of a row's values that gives them."""
    prop_headers, prop_fn = properties if properties else ([], None)
    lines = [str(code), ";".join(["SysName", "I/O"] + LANGS + HEADERS[code] + extra_headers + DERIVED + prop_headers)]
    for key, descriptions, values, area in rows:
        cells = [key, "1"] + descriptions + [num(v) if v != "" else "" for v in values]
        cells += ["%.2f" % (area / 100.0), "%.2f" % mass(area)]
        if prop_fn:
            cells += [property_text(v) for v in prop_fn(*values)]
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
        rows = [(str(k), [series + " " + str(k)] * 4, list(d), area_i(*d)) for k, d in table.items()]
        count += write_table(series, 1, [], rows, (I_PROPERTIES, properties_i))
    rows = [(str(k), ["UPE " + str(k)] * 4, list(d), area_channel(*d)) for k, d in UPE.items()]
    count += write_table("UPE", 2, ["Root radius"], rows)
    # the depth between fillets of tapered channels is left to be filled in from the producer's table
    rows = []
    for k, (h, b, tw, tf, r1, r2) in UPN.items():
        slope = 8 if h <= 300 else 5
        web = h * tw
        flange = (b - tw) * tf - (slope / 200.0) * (b - tw) * tw
        area = web + 2 * flange + 2 * K * (r1 * r1 - r2 * r2)
        rows.append((str(k), ["UPN " + str(k)] * 4, [h, b, tw, tf, r1, r2, slope, ""], area))
    count += write_table("UPN", 7, [], rows)
    rows = []
    for (a, t), r1 in ANGLES_EQUAL.items():
        key = num(a) + "x" + num(t)
        rows.append((key, words("Hoekstaal", "Angle", "Winkel", "Corni\u00e8re", key),
                     [a, a, t, t, r1, r1 / 2], area_angle(a, a, t, r1)))
    count += write_table("L", 3, [], rows)
    rows = []
    for (a, b, t), r1 in ANGLES_UNEQUAL.items():
        key = num(a) + "x" + num(b) + "x" + num(t)
        rows.append((key, words("Hoekstaal", "Angle", "Winkel", "Corni\u00e8re", key),
                     [a, b, t, t, r1, r1 / 2], area_angle(a, b, t, r1)))
    count += write_table("LU", 3, [], rows)
    rows = []
    for b, t in SHS:
        key = num(b) + "x" + num(b) + "x" + num(t)
        rows.append((key, words("Koker", "SHS", "Quadratrohr", "Tube carr\u00e9", key),
                     [b, b, t, 1.5 * t], area_hollow_rect(b, b, t)))
    count += write_table("SHS", 10, [], rows)
    rows = []
    for h, b, t in RHS:
        key = num(h) + "x" + num(b) + "x" + num(t)
        rows.append((key, words("Koker", "RHS", "Rechteckrohr", "Tube rectangulaire", key),
                     [h, b, t, 1.5 * t], area_hollow_rect(h, b, t)))
    count += write_table("RHS", 10, [], rows)
    rows = []
    for d, t in CHS:
        key = num(d) + "x" + num(t)
        rows.append((key, words("Buis", "CHS", "Rundrohr", "Tube rond", key), [d, t], area_hollow_round(d, t)))
    count += write_table("CHS", 11, [], rows)
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
        ("ProfSectionI", 1, "IPE", ["IPE"] * 4), ("ProfSectionI", 1, "HEA", ["HEA"] * 4),
        ("ProfSectionI", 1, "HEB", ["HEB"] * 4), ("ProfSectionI", 1, "HEM", ["HEM"] * 4),
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
    print("%d sizes in %d tables, %d pictures" % (count, 13, len(drawn)))


if __name__ == "__main__":
    sys.exit(main())
