// The cutting stock dialog's files: reading back the newest parts and plan files of 50 entries of
// 10,000 rows each (import all), and writing the parts list of every entry (export all).
#include "production/CuttingStockFiles.h"

#include <host/Settings.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kEntries = 50;

DlgCSP2Data bigData(int rows) {
    DlgCSP2Data d;
    for (int e = 0; e < kEntries; ++e) {
        d.entryIds.append(e + 1);
        d.entryNames.append("Profile " + std::to_string(e));
        Vor_Array<Vor_StringArray> list;
        for (int r = 0; r < rows; ++r)
            list.append(Vor_StringArray{"Mark " + std::to_string(r), std::to_string(300 + r % 5000) + ".5",
                                        std::to_string(1 + r % 7)});
        d.list2.storeRowsOf(e + 1, list);
    }
    return d;
}

struct LibFolder {
    LibFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vorcut-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern + "/";
        gSettings.libDir = path;
    }
    ~LibFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

void BM_ExportAllEntries(benchmark::State& state) {
    LibFolder lib;
    const DlgCSP2Data d = bigData(int(state.range(0)));
    for (auto _ : state) {
        for (int e = 0; e < kEntries; ++e) {
            Vor_String folder;
            if (!csp2EntryFolder(d.entryNames[e], folder)) continue;
            std::filesystem::create_directories(folder.str());
            writeCsp2File(folder + "Stock1.shp", d.list2.rowsOf(d.entryIds[e]));
        }
    }
}
BENCHMARK(BM_ExportAllEntries)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ImportAllEntries(benchmark::State& state) {
    LibFolder lib;
    DlgCSP2Data d = bigData(int(state.range(0)));
    for (int e = 0; e < kEntries; ++e) {
        Vor_String folder;
        if (!csp2EntryFolder(d.entryNames[e], folder)) continue;
        std::filesystem::create_directories(folder.str());
        writeCsp2File(folder + "Stock1.shp", d.list2.rowsOf(d.entryIds[e]));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(importAllCsp2(d).length());
}
BENCHMARK(BM_ImportAllEntries)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
