// The macro dialog on a drawing of 100 connection macros of a type with six tabs (the end plate of
// the library with a cleat and a notes tab added): opening the modeless dialog on 10 of them (the
// merged data, every page built and shown), and one value typed on a page and committed to all 100
// (each macro regenerated in the drawing and checked for clashes).

#include "frame/ModuleResourceScope.h"
#include "macro/ui/DlgMacroModeless.h"

#include <cad/Drawing.h>
#include <host/MacroData.h>
#include <host/Settings.h>
#include <ui/Application.h>
#include <ui/Control.h>

#include <nlohmann/json.hpp>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr int kMacros = 100;

// A copy of the library with the six-tab type "Bench6".
void makeLibrary() {
    static bool done = false;
    if (done) return;
    done = true;
    const fs::path lib = fs::temp_directory_path() / "vor-bench-macrodialog";
    fs::remove_all(lib);
    fs::copy(defaultLibDir().str(), lib, fs::copy_options::recursive);
    nlohmann::json def = nlohmann::json::parse(std::ifstream(lib / "Macros" / "Kopplaat.json"));
    def["type"] = "Bench6";
    def["tabs"].push_back({{"kind", 0},
                           {"module", "Cleat"},
                           {"caption", "Cleat"},
                           {"template", "BasePlate"},
                           {"cells",
                            {{{"name", "bp"}, {"value", "300"}},
                             {{"name", "tbp"}, {"value", "20"}},
                             {{"name", "grout"}, {"value", "None"}},
                             {{"name", "tg"}, {"value", "0"}},
                             {{"name", "a"}, {"value", "200"}}}}});
    def["tabs"].push_back({{"kind", 0},
                           {"module", "Notes"},
                           {"caption", "Notes"},
                           {"cells",
                            {{{"name", "mark"}, {"value", "K"}},
                             {{"name", "phase"}, {"value", "1"}},
                             {{"name", "remark"}, {"value", ""}}}}});
    std::ofstream(lib / "Macros" / "Bench6.json") << def.dump(1);
    configureSettings(lib.string() + "/", defaultInstallDir().str(), nullptr);

    cad::Drawing& d = cad::curDrawing();
    d.clear();
    for (int n = 0; n < kMacros; ++n) {
        const cad::Point3d at{(n % 10) * 6000.0, (n / 10) * 6000.0, 0};
        const std::string tag = "N" + std::to_string(n);
        cad::Entity column;
        column.name = tag + ".C";
        column.geometry = cad::Profile{"HEA 200", at, at + cad::Point3d{0, 0, 4000}, 200, 190};
        d.add(column);
        cad::Entity beam;
        beam.name = tag + ".B";
        beam.geometry = cad::Profile{"IPE 300", at + cad::Point3d{115, 0, 3850},
                                     at + cad::Point3d{5885, 0, 3850}, 150, 300};
        d.add(beam);
        std::string error;
        if (createMacro(d, "Bench6", Vor_String("M" + std::to_string(n)),
                        {at + cad::Point3d{95, 0, 3850}, {1, 0, 0}, {0, 1, 0}},
                        {Vor_String(tag + ".B"), Vor_String(tag + ".C")}, {}, &error)
                .isNull()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
    }
}

MacroData macros(int count) {
    Vor_StringArray names;
    for (int n = 0; n < count; ++n)
        names.append(Vor_String("M" + std::to_string(n)));
    MacroData data;
    Vor_String error;
    if (!GetMacroDataByNames(names, data, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    return data;
}

void BM_OpenMacroDialogTenMacros(benchmark::State& state) {
    makeLibrary();
    Vor_StringArray names;
    for (int n = 0; n < 10; ++n)
        names.append(Vor_String("M" + std::to_string(n * 9)));
    int pages = 0;
    for (auto _ : state) {
        MacroData data;
        GetMacroDataByNames(names, data);
        int slot = -1;
        if (!StartDlgMacroModeless(true, data, slot)) state.SkipWithError("not opened");
        state.PauseTiming();
        pages = gMacroDlgs[slot]->item(DlgMacro::IDC_TABS)->count();
        EndDlgMacroModeless(slot);
        deleteClosedMacroDlgs();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_OpenMacroDialogTenMacros)->Unit(benchmark::kMillisecond);

void BM_CommitOneValueToHundredMacros(benchmark::State& state) {
    makeLibrary();
    MacroData data = macros(kMacros);
    int slot = -1;
    if (!StartDlgMacroModeless(true, data, slot)) state.SkipWithError("not opened");
    DlgMacro& dlg = *gMacroDlgs[slot];
    DlgMacroPage* page = dlg.pageOfTab(0);
    const MacroCell* tp = page ? page->tab().findCellWithName("tp") : nullptr;
    ui::Control* edit = tp && tp->ctrlRef > 0 ? page->item(tp->ctrlRef) : nullptr;
    if (!edit) {
        state.SkipWithError("no thickness control");
        return;
    }
    clashSetStatus(true);
    bool thick = false;
    for (auto _ : state) {
        thick = !thick;
        edit->setText(thick ? "22" : "20");
        if (!dlg.commitPage(*page)) state.SkipWithError("refused");
    }
    clashSetStatus(false);
    EndDlgMacroModeless(slot);
    deleteClosedMacroDlgs();
}
BENCHMARK(BM_CommitOneValueToHundredMacros)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ui::ensureApplication(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    destroyAllMacroDialogs();
    deleteClosedMacroDlgs();
    return 0;
}
