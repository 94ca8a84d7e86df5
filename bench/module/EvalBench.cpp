// Evaluation services and undo: reading a 10,000-row table, a FROMTABLE look-up by key into a
// 10,000-row table, undo and redo of a one-cell edit in a 1,000,000-cell table, and what 1,000 such
// steps hold.

#include "calc/EditHistory.h"
#include "calc/FromTable.h"
#include "calc/ui/DlgFormulas.h"
#include "frame/ModuleResourceScope.h"

#include <sheet/SpreadControl.h>
#include <ui/Application.h>
#include <ui/Script.h>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

/// A profile table of 10,000 rows: name, height, weight, remark.
std::string tenThousandRows() {
    static std::string path;
    if (!path.empty()) return path;
    path = (std::filesystem::temp_directory_path() / "vor-bench-eval-10k.sss").string();
    sheet::SpreadControl c;
    sheet::SSSetMaxCols(&c, 4);
    sheet::SSSetMaxRows(&c, 10000);
    const char* names[] = {"Naam", "Hoogte", "Gewicht", "Opmerking"};
    for (int col = 1; col <= 4; ++col)
        sheet::SSSetData(&c, col, 0, names[col - 1]);
    for (int r = 1; r <= 10000; ++r) {
        sheet::SSSetData(&c, 1, r, "P " + std::to_string(r));
        sheet::SSSetData(&c, 2, r, std::to_string(100 + r % 900));
        sheet::SSSetFormula(&c, 3, r, "B" + std::to_string(r) + "*0.5");
        sheet::SSSetData(&c, 4, r, "rij " + std::to_string(r));
    }
    sheet::SSSaveToFile(&c, path);
    return path;
}

void BM_ReadSSFile10kRows(benchmark::State& state) {
    ModuleResourceScope scope;
    const std::string path = tenThousandRows();
    for (auto _ : state) {
        Vor_String title;
        Vor_StringArray names;
        Vor_Array<Vor_StringArray> values;
        ReadSSFile(path, title, names, values);
        if (values.length() != 10000) state.SkipWithError("the table did not read");
        benchmark::DoNotOptimize(values);
    }
}
BENCHMARK(BM_ReadSSFile10kRows)->Unit(benchmark::kMillisecond);

/// FROMTABLE(file, "Naam", "Gewicht", key) with the key in the last row: loading the consulted
/// table, finding the columns and the row, recalculating and reading the cell (without the window
/// that shows the consulted table).
void BM_FromTableByKey10kRows(benchmark::State& state) {
    const std::string path = tenThousandRows();
    sheet::SpreadControl tableControl, callerControl;
    TSpread table(&tableControl), caller(&callerControl);
    std::vector<sheet::FnValue> args(4);
    const char* texts[] = {"", "naam", "GEWICHT", "p 10000"};
    for (int i = 0; i < 4; ++i) {
        args[std::size_t(i)].status = sheet::FnValue::Ok;
        args[std::size_t(i)].kind = sheet::FnValue::Text;
        args[std::size_t(i)].text = i == 0 ? path : texts[i];
    }
    for (auto _ : state) {
        sheet::FnValue result;
        evaluateFromTable(table, &caller, &result, args,
                          [&](const std::string& p) { return table.LoadFromFile(p); });
        if (result.status != sheet::FnValue::Ok) state.SkipWithError("no result");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_FromTableByKey10kRows)->Unit(benchmark::kMillisecond);

/// A sheet of 1,000 x 1,000 numbers.
void fillMillion(sheet::Sheet& s) {
    s.setMaxCols(1000);
    s.setMaxRows(1000);
    for (int c = 1; c <= 1000; ++c)
        for (int r = 1; r <= 1000; ++r)
            s.setNumber(c, r, c + r * 0.001);
}

void BM_UndoRedoOneCellIn1MCells(benchmark::State& state) {
    sheet::Sheet s;
    fillMillion(s);
    EditHistory h(s);
    h.beginChange();
    h.aboutToChange({500, 500, 500, 500});
    s.setData(500, 500, "bewerkt");
    h.endChange(0);
    for (auto _ : state) {
        h.undo();
        h.redo();
    }
    if (s.data(500, 500) != "bewerkt") state.SkipWithError("redo lost the edit");
    state.SetLabel("one undo and one redo");
}
BENCHMARK(BM_UndoRedoOneCellIn1MCells)->Unit(benchmark::kMicrosecond);

void BM_ThousandOneCellStepsIn1MCells(benchmark::State& state) {
    sheet::Sheet s;
    fillMillion(s);
    std::size_t bytes = 0;
    int round = 0;
    for (auto _ : state) {
        ++round; // every round writes new values: a value written again is no change and no step
        EditHistory h(s);
        for (int i = 0; i < 1000; ++i) {
            const int c = 1 + i % 1000, r = 1 + (i * 7) % 1000;
            h.beginChange();
            h.aboutToChange({c, r, c, r});
            s.setNumber(c, r, round * 10000 + i);
            h.endChange(0);
        }
        if (h.steps() != 1000) state.SkipWithError("a step was lost");
        bytes = h.memoryUse();
    }
    state.counters["history_bytes"] = double(bytes);
    state.counters["bytes_per_step"] = double(bytes) / 1000.0;
}
BENCHMARK(BM_ThousandOneCellStepsIn1MCells)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    ui::ensureApplication(true);
    ui::ScriptedAgent agent;
    ui::setAgent(&agent);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    ui::setAgent(nullptr);
    return 0;
}
