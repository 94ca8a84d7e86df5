#!/usr/bin/env bash
# Measures the mixed sheet (bench/sheet/MixedSheet.h) in the engine and in LibreOffice Calc on this
# machine, one run beside the other, and prints the medians and ratios.
# Installs what it needs (LibreOffice's headless Calc and its Python bridge) with apt, which may take
# a few minutes the first time. Usage: scripts/compare-with-libreoffice.sh [ROWS] [REPETITIONS] [enter|load]
# LibreOffice sets up a listener per look-up as formulas are entered through its scripting
# interface, in time that grows with the square of the look-ups sharing the table: 10,000 rows take
# minutes, 100,000 about a hundred times as long. So past 20,000 rows (or with "load") LibreOffice
# opens the same sheet from a flat OpenDocument file instead, which groups the formulas as its own
# files do; its "build" figure is then the opening of that file.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rows=${1:-10000}
reps=${2:-5}
mode=${3:-}
if [ -z "$mode" ]; then
    if [ "$rows" -gt 20000 ]; then mode=load; else mode=enter; fi
fi

need=()
command -v soffice >/dev/null || need+=(libreoffice-calc-nogui)
/usr/bin/python3 -c 'import uno' 2>/dev/null || need+=(python3-uno)
if [ ${#need[@]} -gt 0 ]; then
    echo "compare: installing ${need[*]} with apt (LibreOffice's headless Calc; this takes minutes)"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

cd "$top"
./vor setup >/dev/null
build=build-bench
if [ ! -f "$build/build.ninja" ]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$build" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release -DVOR_TESTS=OFF -DVOR_BENCH=ON >/dev/null
fi
echo "compare: building the engine's benchmark (Release)"
cmake --build "$build" --target bench_mixed >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/bench_mixed" --cells "$rows" >"$work/cells.tsv"

# The engine runs before and after LibreOffice and its medians take both runs, so that a change of
# the machine's load during the comparison does not favour either side.
engine_run() {
    QT_QPA_PLATFORM=offscreen "$build/bin/bench_mixed" \
        --benchmark_filter="BM_Mixed(FullRecalc|InputEdit|TableEdit)/$rows\$|BM_MixedBuildThroughApi/$rows/0/" \
        --benchmark_repetitions="$reps" --benchmark_format=json >"$1"
}
echo "compare: engine, $rows rows, $reps repetitions"
engine_run "$work/engine.json"
how="entered through its scripting interface"
[ "$mode" = load ] && how="opened from a flat OpenDocument file"
echo "compare: LibreOffice $(soffice --version 2>/dev/null | head -1 | cut -d' ' -f2), same sheet, $how"
/usr/bin/python3 scripts/compare-with-libreoffice.py "$work/cells.tsv" "$rows" "$reps" "$mode" >"$work/lo.json"
echo "compare: engine again, after LibreOffice"
engine_run "$work/engine2.json"

/usr/bin/python3 - "$work/engine.json" "$work/lo.json" "$rows" "$work/engine2.json" <<'PY'
import json, statistics, sys
eng = json.load(open(sys.argv[1]))
eng["benchmarks"] += json.load(open(sys.argv[4]))["benchmarks"]
lo = json.load(open(sys.argv[2]))
rows = sys.argv[3]
unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
def median(prefix):
    runs = [b for b in eng["benchmarks"] if b["name"].startswith(prefix) and b.get("run_type") == "iteration"]
    if not runs:
        return None
    return statistics.median(b["real_time"] * unit[b["time_unit"]] for b in runs)
rowsets = [("full recalculation", "BM_MixedFullRecalc/%s" % rows, "full_recalc_s"),
           ("one input edit + dependents", "BM_MixedInputEdit/%s" % rows, "input_edit_s"),
           ("one look-up-table edit + dependents", "BM_MixedTableEdit/%s" % rows, "table_edit_s"),
           ("building the sheet through the API*", "BM_MixedBuildThroughApi/%s/0/" % rows, "build_api_s")]
print("%-38s %14s %14s %10s" % ("mixed sheet, %s rows (medians)" % rows, "engine", "LibreOffice", "ratio"))
for label, ours, theirs in rowsets:
    e, l = median(ours), lo[theirs]
    if e is None:
        print("%-38s %14s %12.4f s %10s" % (label, "-", l, "-"))
        continue
    print("%-38s %12.6f s %12.6f s %9.1fx" % (label, e, l, l / e))
if lo.get("mode") == "load":
    print("* the engine cell by cell, then one recalculation; LibreOffice opening the sheet from a flat ODS file")
else:
    print("* the engine cell by cell, then one recalculation; LibreOffice in blocks of 5,000 rows (setFormulaArray)")
print("LibreOffice's look-up in the last row: %g" % lo["last_lookup"])
PY
