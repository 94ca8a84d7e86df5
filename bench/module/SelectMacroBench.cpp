// The macro selection on 200 macro drawings: its first show when every preview must be made, and a
// show when the previews exist (targets: 500 ms and 100 ms).

#include "frame/ModuleResourceScope.h"
#include "macro/ui/DlgSelectMacro.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Application.h>
#include <ui/Script.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kDrawings = 200;

/// 200 macro drawings: the bundled ones over and over, each variant under a number of its own.
std::string drawingsFolder() {
    const fs::path dir = fs::temp_directory_path() / "vor-bench-macro-drawings";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::vector<fs::path> bundled;
    for (const auto& e : fs::directory_iterator(defaultLibDir().str() + "Macros/Drawings/"))
        if (e.path().extension() == ".dwg") bundled.push_back(e.path());
    std::sort(bundled.begin(), bundled.end());
    for (int n = 0; n < kDrawings; ++n) {
        const fs::path& from = bundled[static_cast<std::size_t>(n) % bundled.size()];
        fs::copy_file(from, dir / (from.stem().string() + "_" + std::to_string(n) + ".dwg"));
    }
    return dir.string() + "/";
}

void removePreviews(const std::string& folder) {
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".abm") fs::remove(e.path());
}

void showOnce(const std::string& folder) {
    DlgSelectMacro dlg;
    dlg.filter.initialize({Vor_String(folder)}, {}, 96, 72);
    dlg.create();
    ui::processEvents();
    benchmark::DoNotOptimize(dlg.previews.length());
    if (dlg.previews.length() != kDrawings) std::abort();
    dlg.destroyWindow();
    ui::processEvents();
}

void BM_FirstShowMakingEveryPreview(benchmark::State& state) {
    ModuleResourceScope scope;
    const std::string folder = drawingsFolder();
    for (auto _ : state) {
        state.PauseTiming();
        removePreviews(folder);
        state.ResumeTiming();
        showOnce(folder);
    }
}
BENCHMARK(BM_FirstShowMakingEveryPreview)->Unit(benchmark::kMillisecond);

void BM_ShowWithThePreviewsMade(benchmark::State& state) {
    ModuleResourceScope scope;
    const std::string folder = drawingsFolder();
    showOnce(folder); // makes them
    for (auto _ : state)
        showOnce(folder);
}
BENCHMARK(BM_ShowWithThePreviewsMade)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ui::ensureApplication(true);
    gSettings.libDir = defaultLibDir();
    gSettings.vorDir = defaultInstallDir();
    loadTextCatalogues(defaultInstallDir().str(), "en");
    ui::ScriptedAgent agent; // nothing may wait for a person
    ui::setAgent(&agent);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    ui::setAgent(nullptr);
    return 0;
}
