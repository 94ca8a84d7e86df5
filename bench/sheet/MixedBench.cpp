// The mixed sheet (MixedSheet.h): full recalculation, one input edit, one look-up-table edit,
// building it through the API, and the peak memory of loading it. `--cells N` prints the sheet's
// cells as tab-separated lines for the LibreOffice side of the comparison; `--load-peak FILE` loads
// a file in a clean process and prints its peak memory beside the engine's own count.
#include "MixedSheet.h"
#include "SaveLoadTiming.h"

#include <base/NumberText.h>
#include <sheet/Sheet.h>
#include <sheet/SssFile.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace sheet;

namespace {

// One cell as a caller holds it: a number, or a formula's text.
struct Cell {
    int col, row;
    double number;
    std::string formula;
};

// Fills the sheet cell by cell. The cells are made in batches of rows before they are handed to
// the sheet; with `timing`, making them is left out of the measurement, so that it times the API
// and not the text formatting of this generator.
std::unique_ptr<Sheet> buildMixed(int n, bool autoRecalc, benchmark::State* timing = nullptr) {
    auto s = std::make_unique<Sheet>();
    s->setMaxCols(mixed::kTableCol + 1);
    s->setMaxRows(n);
    s->setOption(Sheet::kOptAutoRecalc, autoRecalc);
    bool ok = true;
    std::vector<Cell> batch;
    constexpr int kBatchRows = 10'000;
    for (int first = 1; first <= n && ok; first += kBatchRows) {
        if (timing) timing->PauseTiming();
        batch.clear();
        mixed::generate(
            n,
            [&](int c, int r, const std::string& t) {
                Cell cell{c, r, 0, {}};
                if (t[0] == '=')
                    cell.formula = t;
                else
                    ok &= base::parseNumber(t, cell.number);
                batch.push_back(std::move(cell));
            },
            first, std::min(n, first + kBatchRows - 1));
        if (timing) timing->ResumeTiming();
        for (const Cell& c : batch)
            ok &= c.formula.empty() ? s->setNumber(c.col, c.row, c.number)
                                    : s->setFormula(c.col, c.row, c.formula);
    }
    if (!ok) return nullptr;
    if (!autoRecalc) {
        s->recalc();
        s->setOption(Sheet::kOptAutoRecalc, true);
    }
    return s;
}

// The value a row's look-up must find: the table maps key k to 1.5 x (the row holding k).
double expectedLookup(const Sheet& s, int row) {
    double key = s.value(4, row).number;
    for (int r = 1; r <= mixed::kTableRows; ++r)
        if (s.value(mixed::kTableCol, r).number == key) return s.value(mixed::kTableCol + 1, r).number;
    return -1;
}

std::size_t statusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::strtoul(line.c_str() + std::strlen(field), nullptr, 10);
    return 0;
}

} // namespace

// Cell by cell through the API, row by row; argument 2 is automatic recalculation (on: every
// formula computes as it is entered, and each table cell recomputes the look-ups entered before it;
// off: one recalculation at the end, as a program filling a sheet would do).
static void BM_MixedBuildThroughApi(benchmark::State& st) {
    const int n = int(st.range(0));
    for (auto _ : st) {
        auto s = buildMixed(n, st.range(1) != 0, &st);
        if (!s)
            st.SkipWithError("a cell was refused");
        else if (s->value(8, n).number != expectedLookup(*s, n))
            st.SkipWithError("wrong look-up result");
    }
    st.counters["rows"] = n;
}
BENCHMARK(BM_MixedBuildThroughApi)
    ->Args({10'000, 0})
    ->Args({100'000, 0})
    ->Args({1'000'000, 0})
    ->Args({10'000, 1})
    ->Args({100'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

static void BM_MixedFullRecalc(benchmark::State& st) {
    auto s = buildMixed(int(st.range(0)), false);
    for (auto _ : st)
        s->recalc();
}
BENCHMARK(BM_MixedFullRecalc)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

static void BM_MixedInputEdit(benchmark::State& st) {
    const int n = int(st.range(0));
    auto s = buildMixed(n, false);
    double v = 0;
    s->resetEvaluations();
    for (auto _ : st)
        s->setNumber(1, n / 2, ++v); // read by ten moving sums and one text join
    if (s->value(6, n / 2).number < v) st.SkipWithError("the moving sum was not recalculated");
    st.counters["formulas_per_edit"] = double(s->evaluations()) / double(st.iterations());
}
BENCHMARK(BM_MixedInputEdit)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

static void BM_MixedTableEdit(benchmark::State& st) {
    const int n = int(st.range(0));
    auto s = buildMixed(n, false);
    double v = 0;
    s->resetEvaluations();
    for (auto _ : st)
        s->setNumber(mixed::kTableCol + 1, mixed::kTableRows / 2, 1e6 + ++v); // every look-up reads it
    for (int r : {1, n / 2, n})
        if (s->value(8, r).number != expectedLookup(*s, r)) st.SkipWithError("wrong look-up after the edit");
    st.counters["formulas_per_edit"] = double(s->evaluations()) / double(st.iterations());
}
BENCHMARK(BM_MixedTableEdit)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

static void BM_MixedSaveLoad(benchmark::State& st) {
    auto s = buildMixed(int(st.range(0)), false);
    timeSaveLoad(st, *s, "bench_mixed");
}
BENCHMARK(BM_MixedSaveLoad)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--cells") == 0) {
        mixed::generate(std::atoi(argv[2]), [](int c, int r, const std::string& t) {
            std::printf("%d\t%d\t%s\n", c, r, t.c_str());
        });
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "--save") == 0) {
        auto s = buildMixed(std::atoi(argv[2]), false);
        return s && saveSheet(*s, argv[3]) ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--load-peak") == 0) {
        const std::size_t before = statusKb("VmRSS:");
        Sheet s;
        auto t0 = std::chrono::steady_clock::now();
        FileResult r = loadSheet(s, argv[2]);
        auto t1 = std::chrono::steady_clock::now();
        if (!r) {
            std::fprintf(stderr, "%s\n", r.error.c_str());
            return 1;
        }
        const double peak = double(statusKb("VmHWM:") - before) / 1024.0;
        const double store = double(s.memoryUse()) / 1048576.0;
        std::printf("load_s %.3f peak_MB %.1f memoryUse_MB %.1f ratio %.2f\n",
                    std::chrono::duration<double>(t1 - t0).count(), peak, store, peak / store);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
