// The spreadsheet editor: opening a 100,000-cell table, and refreshing the edit bar for one cell,
// a selected block of 10,000 cells and a whole 10,000 x 10,000 grid.

#include "calc/ui/DlgSpreadsheet.h"
#include "frame/ModuleResourceScope.h"

#include <sheet/SpreadControl.h>
#include <ui/Application.h>
#include <ui/Script.h>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

std::string bigTable() {
    static std::string path;
    if (!path.empty()) return path;
    path = (std::filesystem::temp_directory_path() / "vor-bench-100k.sss").string();
    sheet::SpreadControl c;
    sheet::SSSetMaxCols(&c, 100);
    sheet::SSSetMaxRows(&c, 1000);
    for (int r = 1; r <= 1000; ++r)
        for (int col = 1; col <= 100; ++col)
            if (col % 10 == 0)
                sheet::SSSetFormula(&c, col, r, "A" + std::to_string(r) + "*2");
            else
                sheet::SSSetData(&c, col, r, std::to_string(r * col));
    sheet::SSSaveToFile(&c, path);
    return path;
}

void BM_OpenTableInEditor(benchmark::State& state) {
    ModuleResourceScope scope;
    const std::string path = bigTable();
    for (auto _ : state) {
        DlgSpreadsheet dlg;
        dlg.fileName = path;
        dlg.create();
        benchmark::DoNotOptimize(dlg.grid().maxRows());
        dlg.destroyWindow();
        ui::processEvents();
    }
}
BENCHMARK(BM_OpenTableInEditor)->Unit(benchmark::kMillisecond);

// The edit bar after a selection of side x side cells over the 100,000-cell table: one cell, a
// block of 10,000 cells, and the whole of a 10,000 x 10,000 grid (100,000,000 cells). The table's
// cells differ, so the comparison ends at the first difference.
void BM_EditBarRefresh(benchmark::State& state) {
    ModuleResourceScope scope;
    DlgSpreadsheet dlg;
    dlg.fileName = bigTable();
    dlg.create();
    const int side = static_cast<int>(state.range(0));
    if (side > 1000) {
        dlg.grid().SetMaxCols(side);
        dlg.grid().SetMaxRows(side);
    }
    if (side == 1)
        dlg.grid().SetActiveCell(50, 500);
    else
        dlg.grid().SetSelectBlock({1, 1}, {side, side});
    for (auto _ : state)
        dlg.refreshEditBar();
    state.SetLabel(side == 1 ? "one cell" : std::to_string(static_cast<long long>(side) * side) + " cells");
    dlg.destroyWindow();
}
BENCHMARK(BM_EditBarRefresh)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The worst case for the edit bar: a selection of 100,000 stored cells that all show the same text,
// so that no difference ends the walk early (in a 10,000 x 10,000 grid).
void BM_EditBarRefreshUniformTable(benchmark::State& state) {
    ModuleResourceScope scope;
    DlgSpreadsheet dlg;
    dlg.create();
    dlg.grid().SetMaxCols(10000);
    dlg.grid().SetMaxRows(10000);
    sheet::SSSetDataRange(dlg.grid().handle(), 1, 1, 100, 1000, "7");
    dlg.grid().SetSelectBlock({1, 1}, {100, 1000});
    for (auto _ : state)
        dlg.refreshEditBar();
    state.SetLabel("100,000 equal cells");
    dlg.destroyWindow();
}
BENCHMARK(BM_EditBarRefreshUniformTable)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    ui::ensureApplication(true);
    ui::ScriptedAgent agent; // nothing may wait for a person
    ui::setAgent(&agent);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    ui::setAgent(nullptr);
    return 0;
}
