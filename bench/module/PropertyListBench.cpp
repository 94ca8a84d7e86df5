// Loading a corner tag of n keys: the time per key must stay flat as n grows (a tag comes from a
// table file of unknown origin, and a linear search per key made 60,000 keys take minutes).

#include "calc/TablePropertyList.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string tagOf(int keys) {
    std::string text;
    for (int i = 0; i < keys; ++i)
        text += "key" + std::to_string(i) +
                "\xA4"
                "2\xA4" +
                std::to_string(i) + '\xA4';
    return text;
}

void BM_LoadTagOfNKeys(benchmark::State& state) {
    const Vor_String text(tagOf(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        TablePropertyList l;
        l.fromText(text);
        benchmark::DoNotOptimize(l.length());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadTagOfNKeys)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 16)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
