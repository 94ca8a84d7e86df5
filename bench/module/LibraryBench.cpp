// The section library: opening a 5,000-row table in the tables page, filling a profile combo from a
// 500-row table, a fresh key in a 5,000-row table, and opening the editor on the bundled library.

#include "frame/ModuleResourceScope.h"
#include "library/SectionLists.h"
#include "library/Vor_ProfValuesTable.h"
#include "library/ui/DlgEditLibSections.h"
#include "library/ui/LibTablesPage.h"

#include <host/SectionTables.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Application.h>
#include <ui/Control.h>
#include <ui/Script.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

/// A library folder with a table "Big" of `rows` IPE-like rows.
Vor_String bigLibrary(int rows) {
    const fs::path dir = fs::temp_directory_path() / ("vor-bench-lib-" + std::to_string(rows));
    fs::create_directories(dir / "prof");
    std::ofstream out(dir / "prof" / "Big.pr");
    out << "1\nSysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
           "ais;Height;Width;Web thickness;Flange "
           "thickness;Radius;A [cm2];G [kg/m]\n";
    for (int r = 1; r <= rows; ++r)
        out << r << ";1;B " << r << ";B " << r << ";B " << r << ";B " << r << ";" << r << ";" << r / 2 + 1
            << ";5.6;8.5;12;28.48;22.36\n";
    return Vor_String(dir.string() + "/");
}

void BM_OpenTablesPageOn5000Rows(benchmark::State& state) {
    ModuleResourceScope scope;
    gSettings.libDir = bigLibrary(5000);
    for (auto _ : state) {
        LibTablesPage page(Vor_StringArray{"Big"}, "");
        page.create();
        benchmark::DoNotOptimize(page.grid().maxRows());
        page.destroyWindow();
        ui::processEvents();
    }
}
BENCHMARK(BM_OpenTablesPageOn5000Rows)->Unit(benchmark::kMillisecond);

// Linear in the sizes of the table: 100,000 sizes take well under half a second.
void BM_FillProfileCombo(benchmark::State& state) {
    ModuleResourceScope scope;
    const int rows = static_cast<int>(state.range(0));
    gSettings.libDir = bigLibrary(rows);
    gSectionTables.reset();
    ui::Dialog dlg(175);
    dlg.create();
    ui::Control* combo = dlg.item(1005);
    Vor_StringArray names;
    const Vor_String current = "Big-" + Vor_String(rows / 2);
    for (auto _ : state) {
        fillProfileCombo(combo, names, current);
        benchmark::DoNotOptimize(combo->count());
    }
    dlg.destroyWindow();
}
BENCHMARK(BM_FillProfileCombo)->Arg(500)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FindUnusedSysNameIn5000Rows(benchmark::State& state) {
    Vor_ProfValuesTable t;
    for (int r = 1; r <= 5000; ++r)
        t.rows.append(Vor_StringArray{Vor_String(r), "1"});
    for (int k = 1; k <= 20; ++k) // a few fresh keys taken already
        t.rows.append(Vor_StringArray{Vor_String("200_") + Vor_String(k), "1"});
    for (auto _ : state)
        benchmark::DoNotOptimize(t.findUnusedSysName("200"));
}
BENCHMARK(BM_FindUnusedSysNameIn5000Rows)->Unit(benchmark::kMillisecond);

void BM_OpenEditorOnTheBundledLibrary(benchmark::State& state) {
    ModuleResourceScope scope;
    gSettings.libDir = defaultLibDir();
    DlgEditLibData data;
    data.load();
    for (auto _ : state) {
        DlgEditLibSections dlg(data, "HEA-200");
        dlg.create();
        benchmark::DoNotOptimize(dlg.tablesPage()->grid().maxRows());
        dlg.destroyWindow();
        ui::processEvents();
    }
}
BENCHMARK(BM_OpenEditorOnTheBundledLibrary)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ui::ensureApplication(true);
    gSettings.vorDir = defaultInstallDir();
    loadTextCatalogues(defaultInstallDir().str(), "en");
    ui::ScriptedAgent agent; // nothing may wait for a person
    ui::setAgent(&agent);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    ui::setAgent(nullptr);
    return 0;
}
