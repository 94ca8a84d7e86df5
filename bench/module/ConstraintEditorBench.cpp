// The constraint editor on macro M1 of the sample hall with 500 constraints in each of two modules:
// the refill of its three lists after a palette command, and a switch between the two modules
// (every list refilled for the module shown).

#include "frame/ModuleResourceScope.h"
#include "macro/ui/DlgEditConstraints.h"

#include <cad/Drawing.h>
#include <cad/DrawingFile.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Application.h>
#include <ui/Script.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kConstraints = 500;

DlgEditConstraints& editor() {
    if (gDlgEditConstraints) return *gDlgEditConstraints;
    std::string error;
    if (!cad::openDrawing(defaultLibDir().str() + "Drawings/Hall.dwg", &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    EditConstrData data;
    Vor_String why;
    if (!GetEditConstrData(cad::curDrawing().findByName("M1"), data, &why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        std::abort();
    }
    const char* objects[] = {"EP1", "B1", "C1"};
    for (int m = 0; m < 2; ++m)
        for (int n = 0; n < kConstraints; ++n) {
            MacroConstraint c;
            c.kind = n % 10;
            c.objects = {objects[n % 3], objects[(n + 1) % 3]};
            if (c.hasValue()) {
                c.name = Vor_String("v" + std::to_string(m) + "_" + std::to_string(n));
                c.value = Vor_String(std::to_string(n));
            }
            data.modules[m].constraints.append(c);
        }
    for (int n = 0; n < 50; ++n)
        data.variables.append(
            {Vor_String("g" + std::to_string(n)), dialString(900), Vor_String(std::to_string(n))});
    if (!SetEditConstrData(data, &why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        std::abort();
    }
    StartDlgEditConstraints(data);
    return *gDlgEditConstraints;
}

void BM_RefillAfterPaletteCommand(benchmark::State& state) {
    DlgEditConstraints& dlg = editor();
    for (auto _ : state)
        dlg.refillAll();
    state.counters["rows"] = dlg.constraintGrid().maxRows();
}
BENCHMARK(BM_RefillAfterPaletteCommand)->Unit(benchmark::kMillisecond);

void BM_SwitchModule(benchmark::State& state) {
    DlgEditConstraints& dlg = editor();
    int module = 0;
    for (auto _ : state) {
        module = 1 - module;
        dlg.switchToModule(module);
    }
    state.counters["rows"] = dlg.constraintGrid().maxRows();
}
BENCHMARK(BM_SwitchModule)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ui::ensureApplication(true);
    configureSettings(defaultLibDir().str(), defaultInstallDir().str(), nullptr);
    loadTextCatalogues(defaultInstallDir().str(), "en");
    ui::ScriptedAgent agent; // nothing may wait for a person
    ui::setAgent(&agent);
    ModuleResourceScope scope;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    EndDlgEditConstraints();
    ui::setAgent(nullptr);
    return 0;
}
