// The general macro settings dialog opened on a full record: 100 entries in each filter list, the
// shown section-angle filter with 100 value pairs, 50 designer templates of 20 texts, and 200 rows
// on each of the choices and texts pages. Opening builds the five pages and fills every control.

#include "frame/ModuleResourceScope.h"
#include "macro/ui/DlgMacroSettings.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Application.h>

#include <benchmark/benchmark.h>

namespace {

MacroSettingsData fullRecord(Vor_StringArray& templates) {
    MacroSettingsData s;
    s.angleFiltersOn = s.sizeFiltersOn = true;
    for (int i = 0; i < 100; ++i) {
        const Vor_String name("Filter " + std::to_string(i));
        s.axisAngles.append({name, i % 2 == 0, i % 2, 1.5 * i, 90});
        MacroSectionAngleFilter f{name, true, {}};
        for (int p = 0; p < 100; ++p)
            f.pairs.append({double(p), 180.0 - p});
        s.sectionAngles.append(f);
        s.pathDistances.append({name, true, 0, 100.0 * i});
        s.sectionSizes.append({name, true, {100, 600, 50, 300}});
    }
    for (int t = 0; t < 50; ++t) {
        const Vor_String name("Template" + std::to_string(t));
        templates.append(name);
        MacroTemplateTexts entry{name, {}, "Text 1"};
        for (int k = 0; k < 20; ++k)
            entry.texts.append(Vor_String("Text " + std::to_string(k)));
        s.templates.append(entry);
        s.templateTexts.append(name);
    }
    for (int r = 0; r < 200; ++r) {
        s.choiceRows.append({Vor_String("Row " + std::to_string(r)), 0.5 * r});
        s.textRows.append(
            {Vor_String("R" + std::to_string(r)), Vor_String("Row " + std::to_string(r)), r % 3});
    }
    return s;
}

void BM_OpenMacroSettingsDialog(benchmark::State& state) {
    loadTextCatalogues(defaultInstallDir().str(), "en");
    Vor_StringArray templates;
    const MacroSettingsData record = fullRecord(templates);
    ModuleResourceScope scope;
    int pages = 0;
    for (auto _ : state) {
        DlgMacroSettings dlg(record, templates);
        if (!dlg.create()) state.SkipWithError("not opened");
        state.PauseTiming();
        pages = dlg.pages().count();
        dlg.destroyWindow();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_OpenMacroSettingsDialog)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ui::ensureApplication(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
