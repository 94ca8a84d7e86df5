// A table file is untrusted input: a handful of cells may declare the largest grid there is and sit
// far apart. Opening, recalculating and exporting must cost what the cells hold. Each benchmark runs
// on 1,000 cells in a grid declared 475,254 columns by 16,000,000 rows, once packed into a block at
// A1 (arg 0) and once spread over the whole grid (arg 1); the two should be the same order.
#include <sheet/Export.h>
#include <sheet/Sheet.h>
#include <sheet/SssFile.h>
#include <sheet/XlsWriter.h>

#include <benchmark/benchmark.h>

#include <string>

using namespace sheet;

namespace {
constexpr int kCells = 1000;
constexpr int kSide = 40; // the packed block: 40 rows by 25 columns

CellPos place(int i, bool far) {
    if (!far) return {1 + i / kSide, 1 + i % kSide};
    // Spread: each cell in its own column and row band, reaching the far corner.
    return {1 + int(long(i) * (kMaxColLimit - 1) / (kCells - 1)),
            1 + int(long(i) * (kMaxRowLimit - 1) / (kCells - 1))};
}

std::string ref(CellPos p) {
    return columnName(p.col) + std::to_string(p.row);
}

// 900 numbers and 100 formulas: each tenth cell adds up the whole grid or reads its neighbours.
void fill(Sheet& s, bool far) {
    s.setMaxCols(kMaxColLimit);
    s.setMaxRows(kMaxRowLimit);
    s.setOption(Sheet::kOptAutoRecalc, false);
    for (int i = 0; i < kCells; ++i) {
        CellPos p = place(i, far);
        if (i % 10 != 9)
            s.setNumber(p.col, p.row, i * 0.5);
        else if (i % 20 == 9)
            s.setFormula(p.col, p.row, "SUM(A1:" + ref({kMaxColLimit, kMaxRowLimit}) + ")/1000");
        else
            s.setFormula(p.col, p.row, ref(place(i - 1, far)) + "*2+" + ref(place(i - 9, far)));
    }
    s.recalc();
}

std::string tableJson(bool far) {
    Sheet s;
    fill(s, far);
    return sheetToJson(s);
}
} // namespace

static void BM_OpenFarAndNear(benchmark::State& st) {
    const std::string json = tableJson(st.range(0) != 0);
    for (auto _ : st) {
        Sheet s;
        if (!sheetFromJson(s, json)) st.SkipWithError("load failed");
        benchmark::DoNotOptimize(s.maxRows());
    }
    st.counters["file_bytes"] = double(json.size());
}
BENCHMARK(BM_OpenFarAndNear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

static void BM_RecalcFarAndNear(benchmark::State& st) {
    Sheet s;
    fill(s, st.range(0) != 0);
    for (auto _ : st) {
        s.recalc();
    }
    st.counters["memory_kb"] = double(s.memoryUse()) / 1024;
}
BENCHMARK(BM_RecalcFarAndNear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The packed table is written; the spread one is refused (its used block is the whole grid), and
// the refusal must be as quick as the writing.
static void BM_ExportTextFarAndNear(benchmark::State& st) {
    Sheet s;
    fill(s, st.range(0) != 0);
    std::size_t bytes = 0;
    for (auto _ : st) {
        bytes = exportText(s, kTextBar).size();
        benchmark::DoNotOptimize(bytes);
    }
    st.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_ExportTextFarAndNear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

static void BM_ExportXlsFarAndNear(benchmark::State& st) {
    Sheet s;
    fill(s, st.range(0) != 0);
    std::string bytes;
    for (auto _ : st) {
        bytes.clear();
        FileResult r = exportXls(s, bytes);
        benchmark::DoNotOptimize(r.ok);
    }
    st.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_ExportXlsFarAndNear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 200,000 joined pairs of cells: each new span is checked against the spans near it, not all of them.
static void BM_LoadManySpans(benchmark::State& st) {
    const int rows = int(st.range(0)) / 250;
    std::string f = R"({"format":"vorlane-sheet","version":1,"maxCols":500,"maxRows":)" +
                    std::to_string(rows) +
                    R"(,"options":[7,8],"refStyle":0,"unitType":0,"activeCell":[1,1],"selection":[0,0,0,0],)"
                    R"("colWidths":[],"rowHeights":[],"styles":[],"types":[],"spans":[)";
    for (int r = 1, n = 0; r <= rows; ++r)
        for (int c = 1; c < 500; c += 2, ++n)
            f += (n ? ",[" : "[") + std::to_string(c) + "," + std::to_string(r) + "," +
                 std::to_string(c + 1) + "," + std::to_string(r) + "]";
    f += R"(],"formulas":[],"columns":[],"tags":[],"notes":[]})";
    for (auto _ : st) {
        Sheet s;
        if (!sheetFromJson(s, f)) st.SkipWithError("load failed");
        benchmark::DoNotOptimize(s.spans().size());
    }
}
BENCHMARK(BM_LoadManySpans)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);
