// A drawing of 1,000 connection macros (about 50,000 entities): opening its file, and the clash
// query of one macro's boxes against the rest through the spatial index.

#include "MacroDrawing.h"

#include <cad/DrawingFile.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <set>

using namespace cad;

namespace {

struct Fixture {
    std::string path;
    Fixture() {
        Drawing d;
        vorbench::addMacros(d, vorbench::kBenchMacros);
        auto dir = std::filesystem::temp_directory_path() / "vor-bench-drawing";
        std::filesystem::create_directories(dir);
        path = (dir / "Model.dwg").string();
        std::string error;
        if (!saveDrawing(d, path, &error)) throw std::runtime_error(error);
    }
};

const Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_OpenDrawing(benchmark::State& state) {
    const std::string& path = fixture().path;
    for (auto _ : state) {
        std::string error;
        if (!openDrawing(path, &error)) state.SkipWithError(error.c_str());
    }
    state.counters["entities"] = static_cast<double>(curDrawing().size());
    state.counters["MiB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}
BENCHMARK(BM_OpenDrawing)->Unit(benchmark::kMillisecond);

// What a clash check of one macro asks: every box of its entities against the entities of others.
void BM_ClashOneMacro(benchmark::State& state) {
    std::string error;
    if (!openDrawing(fixture().path, &error)) state.SkipWithError(error.c_str());
    const Drawing& d = curDrawing();
    AcDbObjectId macro = d.findByName("M500");
    std::vector<AcDbObjectId> own = d.allMembers(macro);
    std::sort(own.begin(), own.end());
    std::size_t clashes = 0;
    for (auto _ : state) {
        std::set<AcDbObjectId> hits;
        std::vector<AcDbObjectId> found;
        for (AcDbObjectId id : own) {
            found.clear();
            Extents box = d.get(id)->extents();
            if (box.isEmpty()) continue;
            found = d.overlapping(box);
            for (AcDbObjectId f : found)
                if (!std::binary_search(own.begin(), own.end(), f)) hits.insert(f);
        }
        clashes = hits.size();
        benchmark::DoNotOptimize(clashes);
    }
    state.counters["boxes"] = static_cast<double>(own.size());
    state.counters["clashes"] = static_cast<double>(clashes);
}
BENCHMARK(BM_ClashOneMacro)->Unit(benchmark::kMicrosecond);

void BM_SaveDrawing(benchmark::State& state) {
    std::string error;
    if (!openDrawing(fixture().path, &error)) state.SkipWithError(error.c_str());
    std::string out = fixture().path + ".saved";
    for (auto _ : state)
        if (!saveDrawing(curDrawing(), out, &error)) state.SkipWithError(error.c_str());
}
BENCHMARK(BM_SaveDrawing)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
