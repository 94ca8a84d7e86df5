#!/usr/bin/python3
"""Runs the mixed-sheet workload in LibreOffice Calc, in-process through its scripting interface,
and prints the medians as JSON. Used by compare-with-libreoffice.sh; needs python3-uno.

Usage: compare-with-libreoffice.py CELLS.tsv ROWS REPETITIONS
CELLS.tsv holds "col<TAB>row<TAB>text" lines written by bench_mixed --cells (the generator the
engine's own benchmark uses), so both sides build the same sheet."""
import json
import os
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
    grid = {}
    max_col = 0
    with open(cells_path, encoding="utf-8") as f:
        for line in f:
            c, r, t = line.rstrip("\n").split("\t", 2)
            c, r = int(c), int(r)
            grid[(c, r)] = to_api_grammar(t) if t.startswith("=") else t
            max_col = max(max_col, c)
    profile = tempfile.mkdtemp(prefix="vor-lo-profile-")
    proc, ctx = connect("vorbench%d" % os.getpid(), profile)
    try:
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
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
        print(json.dumps({"build_api_s": build, "full_recalc_s": full, "input_edit_s": inp,
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
