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

// A workshop's list: 60 lengths on a 5 mm grid, one to six of each, cut with a 3 mm saw from three
// stock lengths, the longest at a discount but only a few bars of it at hand. No optimum is known;
// the counters show the cost, the bound and whether the plan was proven optimal.
std::vector<cut::Part> workshopParts(std::uint64_t seed) {
    auto next = [&](int lo, int hi) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + int((seed >> 33) % std::uint64_t(hi - lo + 1));
    };
    std::vector<cut::Part> parts;
    for (int i = 0; i < 60; ++i)
        parts.push_back({"W" + std::to_string(i + 1), 5.0 * next(50, 1100), next(1, 6)});
    return parts;
}

const std::vector<cut::StockLength> kWorkshopStock = {{6000, 1, -1}, {9000, 1.5, -1}, {12000, 1.9, 8}};

void BM_Workshop(benchmark::State& state) {
    const std::vector<cut::Part> parts = workshopParts(std::uint64_t(state.range(0)));
    cut::Settings s;
    s.kerf = 3;
    cut::Result r;
    for (auto _ : state) {
        r = cut::optimise(parts, kWorkshopStock, s);
        benchmark::DoNotOptimize(r.bars);
    }
    state.counters["bars"] = double(r.bars);
    state.counters["cost"] = r.cost;
    state.counters["lp"] = r.lpBound;
    state.counters["proven"] = r.provenOptimal ? 1 : 0;
    state.counters["columns"] = r.columns;
    if (!cut::checkPlan(parts, kWorkshopStock, s, r).empty()) state.SkipWithError("unsound plan");
}
BENCHMARK(BM_Workshop)->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->Iterations(1);

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
