// Speed and memory of the spreadsheet engine at a million cells.
#include "SaveLoadTiming.h"

#include <sheet/Sheet.h>
#include <sheet/SssFile.h>
#include <sheet/XlsWriter.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

using namespace sheet;

namespace {
constexpr int kMillion = 1'000'000;

// A(n) = A(n-1) + 1 down a million rows.
std::unique_ptr<Sheet> chainSheet(int n) {
    auto s = std::make_unique<Sheet>();
    s->setMaxCols(3);
    s->setMaxRows(n);
    s->setOption(Sheet::kOptAutoRecalc, false);
    s->setData(1, 1, "1");
    for (int r = 2; r <= n; ++r)
        s->setFormula(1, r, "A" + std::to_string(r - 1) + "+1");
    s->recalc();
    return s;
}

// A column of =B(n)*2+C(n) over inputs in B and C.
std::unique_ptr<Sheet> columnSheet(int n) {
    auto s = std::make_unique<Sheet>();
    s->setMaxCols(3);
    s->setMaxRows(n);
    s->setOption(Sheet::kOptAutoRecalc, false);
    for (int r = 1; r <= n; ++r) {
        s->setNumber(2, r, r);
        s->setNumber(3, r, 1);
        s->setFormula(1, r, "B" + std::to_string(r) + "*2+C" + std::to_string(r));
    }
    s->recalc();
    return s;
}
} // namespace

static void BM_ChainRecalc(benchmark::State& st) {
    auto s = chainSheet(kMillion);
    s->setOption(Sheet::kOptAutoRecalc, true);
    double v = 1;
    for (auto _ : st) {
        s->setNumber(1, 1, ++v); // every cell of the chain depends on A1
    }
    if (s->value(1, kMillion).number != v + kMillion - 1) st.SkipWithError("wrong chain result");
    st.counters["ns_per_cell"] =
        benchmark::Counter(double(kMillion) * double(st.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ChainRecalc)->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_ColumnRecalcAll(benchmark::State& st) {
    auto s = columnSheet(kMillion);
    for (auto _ : st)
        s->recalc();
    st.counters["ns_per_cell"] =
        benchmark::Counter(double(kMillion) * double(st.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ColumnRecalcAll)->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_OneInputChangeInColumn(benchmark::State& st) {
    auto s = columnSheet(kMillion);
    s->setOption(Sheet::kOptAutoRecalc, true);
    double v = 0;
    s->resetEvaluations();
    for (auto _ : st)
        s->setNumber(2, 500000, ++v);
    st.counters["formulas_evaluated_per_change"] = double(s->evaluations()) / double(st.iterations());
}
BENCHMARK(BM_OneInputChangeInColumn)->Unit(benchmark::kMicrosecond);

static void BM_MemoryPerCell(benchmark::State& st) {
    for (auto _ : st) {
        Sheet numbers;
        numbers.setMaxCols(1);
        numbers.setMaxRows(kMillion);
        for (int r = 1; r <= kMillion; ++r)
            numbers.setNumber(1, r, r * 0.5);
        st.counters["bytes_per_numeric_cell"] = double(numbers.memoryUse()) / kMillion;
        auto f = columnSheet(kMillion);
        // The formula cells' share: the whole sheet minus its two million inputs.
        st.counters["bytes_per_formula_cell"] =
            (double(f->memoryUse()) - 2.0 * double(numbers.memoryUse())) / kMillion;
    }
}
BENCHMARK(BM_MemoryPerCell)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_SaveLoadMillion(benchmark::State& st) {
    auto s = columnSheet(kMillion / 2); // 500k formulas + 1M inputs = 1.5M cells
    timeSaveLoad(st, *s, "bench_sheet");
}
BENCHMARK(BM_SaveLoadMillion)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_XlsExport100k(benchmark::State& st) {
    Sheet s;
    s.setMaxCols(10);
    s.setMaxRows(10000);
    for (int r = 1; r <= 10000; ++r)
        for (int c = 1; c <= 10; ++c) {
            if (c % 2)
                s.setNumber(c, r, r * 0.5 + c);
            else
                s.setData(c, r, "t" + std::to_string((r * c) % 5000));
        }
    std::string bytes;
    for (auto _ : st) {
        if (!exportXls(s, bytes)) st.SkipWithError("export failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    st.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_XlsExport100k)->Unit(benchmark::kMillisecond);

// Each row counts and sums the rows sharing its key (ten rows a key) over the whole column: n
// criteria over n cells, which an equality index answers in time linear in n.
static void BM_CountIfEachRow(benchmark::State& st) {
    const int n = int(st.range(0));
    Sheet s;
    s.setMaxCols(4);
    s.setMaxRows(n);
    s.setOption(Sheet::kOptAutoRecalc, false);
    const std::string col = "$A$1:$A$" + std::to_string(n), sums = "$B$1:$B$" + std::to_string(n);
    for (int r = 1; r <= n; ++r) {
        s.setNumber(1, r, (long(r) * 7919) % (n / 10));
        s.setNumber(2, r, r);
        s.setFormula(3, r, "COUNTIF(" + col + ",A" + std::to_string(r) + ")");
        s.setFormula(4, r, "SUMIF(" + col + ",A" + std::to_string(r) + "," + sums + ")");
    }
    for (auto _ : st)
        s.recalc();
    if (s.value(3, n).number != 10) st.SkipWithError("wrong count");
    st.counters["rows"] = n;
}
BENCHMARK(BM_CountIfEachRow)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
