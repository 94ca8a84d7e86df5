#!/bin/sh
# Proves that the .xls export opens in LibreOffice with the same values, the merged block and the
# fonts and colours. Needs LibreOffice (Debian: apt-get install -y libreoffice-calc-nogui); the unit
# tests do not. Usage: scripts/check-xls-with-libreoffice.sh [BUILD_DIR]   (default build-eng)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-eng}
command -v soffice >/dev/null || { echo "soffice not found: apt-get install -y libreoffice-calc-nogui" >&2; exit 2; }
cmake --build "$build" -j2 --target sheet_xls_sample >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/sheet_xls_sample" "$work/sample.xls" "$work/expected.csv"
# A private profile: no clash with a LibreOffice the user has open.
export HOME="$work/home"
# CSV options: "," between cells, '"' around texts, UTF-8, cells as shown (number formats applied).
soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true' \
    --outdir "$work" "$work/sample.xls" >"$work/soffice.log" 2>&1 || { cat "$work/soffice.log" >&2; exit 1; }
soffice --headless --convert-to fods --outdir "$work" "$work/sample.xls" >>"$work/soffice.log" 2>&1
fail=0
if diff -u "$work/expected.csv" "$work/sample.csv"; then
    echo "values: LibreOffice shows the same values and texts"
else
    echo "values: LibreOffice reads different values (diff above: - expected, + LibreOffice)"
    fail=1
fi
# Formats, from LibreOffice's own flat document of what it read: the style of the cell holding a text.
if python3 - "$work/sample.fods" <<'PY'
import re, sys
doc = open(sys.argv[1], encoding="utf-8").read()
bad = 0

def style_of(text):
    at = doc.find("<text:p>" + text + "<")
    cell = doc[doc.rfind("<table:table-cell", 0, at):at]
    name = re.search(r'table:style-name="([^"]+)"', cell)
    body = re.search(r'<style:style style:name="%s".*?</style:style>' % (name[1] if name else "-"), doc, re.S)
    return cell, body[0] if body else ""

def check(what, text, needles):
    global bad
    cell, style = style_of(text)
    missing = [n for n in needles if n not in cell + style]
    print("%s: %s" % (what, "ok" if not missing else "MISSING " + ", ".join(missing)))
    bad |= bool(missing)

check("heading font and colours", "Profile",
      ['fo:font-weight="bold"', 'fo:font-style="italic"', 'fo:font-size="14pt"', 'style:font-name="Arial"',
       'fo:background-color="#ffff00"', 'fo:color="#0000c0"'])
check("red text", "-1.5", ['fo:color="#ff0000"'])
check("merged block A6:C7", "merged block", ['number-columns-spanned="3"', 'number-rows-spanned="2"'])
check("two decimals with thousands", "1,234.50", ['office:value="1234.5"'])
check("two decimals keep the whole value", "3.14", ['office:value="3.14159"'])
check("typed with two decimals stays a number", "12.50", ['office:value="12.5"'])
# Column widths travel in characters; LibreOffice draws a character wider than Excel's 7 pixels, so
# compare proportions: D (180 px = 25 characters) against A (64 px = 8.43 characters).
width = {m[0]: float(m[1]) for m in re.findall(
    r'<style:style style:name="(co\d+)"[^>]*>\s*<style:table-column-properties[^>]*style:column-width="([\d.]+)in"', doc)}
cols = []
for name, rep in re.findall(r'<table:table-column table:style-name="(co\d+)"(?: table:number-columns-repeated="(\d+)")?', doc):
    cols += [width[name]] * int(rep or 1)
ratio = cols[3] / cols[0]
ok = abs(ratio - 25 / 8.43) < 0.05 * 25 / 8.43
print("column widths: %s (D / A = %.3f, expected %.3f)" % ("ok" if ok else "WRONG", ratio, 25 / 8.43))
sys.exit(1 if bad or not ok else 0)
PY
then :; else fail=1; fi
exit $fail
