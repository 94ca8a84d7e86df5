// The cutting-stock optimiser on the benchmark instances of tests/production/data/instances: time
// per instance, with the bars found, the known optimum, the bars above it, the LP bound, whether the
// plan is proven optimal and the patterns generated as counters.
#include "CutInstances.h"

#include <cut/CutFiles.h>
#include <cut/CuttingStock.h>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

void runInstance(benchmark::State& state, const CutInstance& in) {
    cut::Settings s;
    s.kerf = in.kerf;
    s.unit = 1;
    cut::Result r;
    for (auto _ : state) {
        r = cut::optimise(in.parts, {{in.capacity, 1, -1}}, s);
        benchmark::DoNotOptimize(r.bars);
    }
    state.counters["bars"] = double(r.bars);
    state.counters["optimum"] = double(in.optimum);
    state.counters["above"] = double(r.bars - in.optimum);
    state.counters["lp"] = r.lpBound;
    state.counters["proven"] = r.provenOptimal ? 1 : 0;
    state.counters["columns"] = r.columns;
    if (!cut::checkPlan(in.parts, {{in.capacity, 1, -1}}, s, r).empty()) state.SkipWithError("unsound plan");
}

// Reading a parts file of 10,000 rows and writing the plan's rows back.
void BM_ReadPartsFile(benchmark::State& state) {
    std::vector<cut::Row> rows;
    for (int i = 0; i < state.range(0); ++i)
        rows.push_back(
            {"Mark " + std::to_string(i), std::to_string(300 + i % 5000) + ".5", std::to_string(1 + i % 7)});
    const std::string bytes = cut::joinRows(rows);
    for (auto _ : state) {
        std::vector<cut::FileMessage> messages;
        benchmark::DoNotOptimize(cut::readParts(cut::splitRows(bytes), messages).size());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}
BENCHMARK(BM_ReadPartsFile)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    for (const char* prefix :
         {"t60_", "t120_", "t249_", "t501_", "p20_", "p50_", "p100_", "k20_", "k50_", "k100_"})
        for (const CutInstance& in : cutInstances(VOR_SOURCE_DIR, prefix))
            benchmark::RegisterBenchmark(("cut/" + in.name).c_str(), runInstance, in)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
