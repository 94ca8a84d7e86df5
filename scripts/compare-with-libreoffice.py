#!/usr/bin/python3
"""Runs the mixed-sheet workload in LibreOffice Calc, in-process through its scripting interface,
and prints the medians as JSON. Used by compare-with-libreoffice.sh; needs python3-uno.

Usage: compare-with-libreoffice.py CELLS.tsv ROWS REPETITIONS [enter|load]
CELLS.tsv holds "col<TAB>row<TAB>text" lines written by bench_mixed --cells (the generator the
engine's own benchmark uses), so both sides build the same sheet.

"enter" (the default) enters the cells through the scripting interface. LibreOffice then sets up a
listener per look-up, in time that grows with the square of the rows; "load" writes the cells as a
flat OpenDocument spreadsheet and has LibreOffice open it, which groups the formulas filled down
a column as its own files do, and is the way to measure 100,000 rows."""
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

import uno  # noqa: E402  (python3-uno)
from com.sun.star.beans import PropertyValue  # noqa: E402


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def to_api_grammar(text):
    # The scripting interface reads formulas with ';' between arguments; ',' inside texts stays.
    out, quoted = [], False
    for ch in text:
        if ch == '"':
            quoted = not quoted
        out.append(';' if ch == ',' and not quoted else ch)
    return ''.join(out)


REF = re.compile(r"(?<![A-Za-z])(\$?[A-Z]{1,3}\$?[0-9]+)(:(\$?[A-Z]{1,3}\$?[0-9]+))?")


def to_open_formula(text):
    """The engine's A1 formula as OpenDocument's formula text: [.A1], [.A1:.B2], ';' between
    arguments; texts in quotes are left alone."""
    out = []
    parts = re.split(r'("[^"]*")', text[1:])
    for k, part in enumerate(parts):
        if k % 2 == 1:
            out.append(part)
            continue
        part = part.replace(",", ";")
        out.append(REF.sub(lambda m: "[." + m.group(1) + (":." + m.group(3) if m.group(3) else "") + "]", part))
    return "of:=" + "".join(out)


def write_fods(path, grid, rows, max_col):
    esc = {"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;"}

    def x(t):
        return "".join(esc.get(ch, ch) for ch in t)

    with open(path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
                'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
                'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
                'xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" '
                'office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">'
                '<office:body><office:spreadsheet><table:table table:name="Sheet1">\n')
        for r in range(1, rows + 1):
            f.write("<table:table-row>")
            for c in range(1, max_col + 1):
                t = grid.get((c, r))
                if t is None:
                    f.write("<table:table-cell/>")
                elif t.startswith("of:="):
                    f.write('<table:table-cell table:formula="%s"/>' % x(t))
                else:
                    f.write('<table:table-cell office:value-type="float" office:value="%s"/>' % t)
            f.write("</table:table-row>\n")
        f.write("</table:table></office:spreadsheet></office:body></office:document>\n")


def connect(pipe, profile):
    proc = subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore", "--nologo",
                             "--nodefault", "-env:UserInstallation=file://" + profile,
                             "--accept=pipe,name=%s;urp;StarOffice.ComponentContext" % pipe],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(120):
        try:
            ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
            return proc, ctx
        except Exception:
            time.sleep(0.5)
    proc.kill()
    sys.exit("LibreOffice did not answer on its pipe")


def main():
    cells_path, rows, reps = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    mode = sys.argv[4] if len(sys.argv) > 4 else "enter"
    grid = {}
    max_col = 0
    with open(cells_path, encoding="utf-8") as f:
        for line in f:
            c, r, t = line.rstrip("\n").split("\t", 2)
            c, r = int(c), int(r)
            if t.startswith("="):
                t = to_api_grammar(t) if mode == "enter" else to_open_formula(t)
            grid[(c, r)] = t
            max_col = max(max_col, c)
    profile = tempfile.mkdtemp(prefix="vor-lo-profile-")
    proc, ctx = connect("vorbench%d" % os.getpid(), profile)
    try:
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        if mode == "load":
            fods = os.path.join(profile, "mixed.fods")
            write_fods(fods, grid, rows, max_col)
            t0 = time.perf_counter()
            doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(fods), "_blank", 0, (prop("Hidden", True),))
            if doc is None:
                sys.exit("LibreOffice could not open " + fods)
            sheet = doc.Sheets.getByIndex(0)
            doc.enableAutomaticCalculation(False)
        else:
            doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
            sheet = doc.Sheets.getByIndex(0)
            doc.enableAutomaticCalculation(False)
            t0 = time.perf_counter()
            block = 5000
            for first in range(1, rows + 1, block):
                last = min(rows, first + block - 1)
                data = tuple(tuple(grid.get((c, r), "") for c in range(1, max_col + 1))
                             for r in range(first, last + 1))
                rng = sheet.getCellRangeByPosition(0, first - 1, max_col - 1, last - 1)
                rng.setFormulaArray(data)
                print("libreoffice: %d of %d rows entered (%.0f s)" % (last, rows, time.perf_counter() - t0),
                      file=sys.stderr)
        build = time.perf_counter() - t0

        def timed(fn):
            out = []
            for _ in range(reps):
                t = time.perf_counter()
                fn()
                out.append(time.perf_counter() - t)
            return statistics.median(out)

        full = timed(doc.calculateAll)
        doc.enableAutomaticCalculation(True)
        state = {"v": 0.0}
        a_mid = sheet.getCellByPosition(0, rows // 2 - 1)
        m_mid = sheet.getCellByPosition(12, 500 - 1)

        def input_edit():
            state["v"] += 1
            a_mid.setValue(state["v"])
            doc.calculate()

        def table_edit():
            state["v"] += 1
            m_mid.setValue(1e6 + state["v"])
            doc.calculate()

        inp = timed(input_edit)
        table = timed(table_edit)
        # Agreement: the look-up of the last row, as LibreOffice computes it.
        check = sheet.getCellByPosition(7, rows - 1).getValue()
        print(json.dumps({"mode": mode, "build_api_s": build, "full_recalc_s": full, "input_edit_s": inp,
                          "table_edit_s": table, "last_lookup": check}))
        doc.close(True)
    finally:
        try:
            desktop.terminate()
        except Exception:
            pass
        proc.wait(timeout=30)


if __name__ == "__main__":
    main()
