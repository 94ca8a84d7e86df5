// The macro model on a drawing of 1,000 end-plate macros (about 50,000 entities: each node a
// column, a beam and a macro whose rule makes an end plate, a bolt group, a coordinate system and
// 44 stiffeners): opening its file, committing one changed value to 10 selected macros (UpdateModule
// and the clash check), and the clash check of one macro against the rest.

#include <host/MacroData.h>
#include <host/Settings.h>

#include <cad/DrawingFile.h>

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace cad;

namespace {

constexpr int kMacros = 1000;

std::string drawingPath() {
    static const std::string path = [] {
        configureSettings("", "", nullptr);
        Drawing d;
        const std::string stiffeners =
            R"({"name":"Stiffeners","kind":1,"dims":["lb","",""],"third":"44","startOffset":"100","endOffset":"100"})";
        for (int n = 0; n < kMacros; ++n) {
            const Point3d at{(n % 20) * 6000.0, (n / 20 % 17) * 6000.0, (n / 340) * 4000.0};
            const std::string tag = "N" + std::to_string(n);
            Entity column;
            column.name = tag + ".C";
            column.geometry = Profile{"HEA 200", at, at + Point3d{0, 0, 4000}, 200, 190};
            d.add(column);
            Entity beam;
            beam.name = tag + ".B";
            beam.geometry =
                Profile{"IPE 300", at + Point3d{115, 0, 3850}, at + Point3d{5885, 0, 3850}, 150, 300};
            d.add(beam);
            std::string error;
            if (createMacro(d, "Kopplaat", Vor_String("M" + std::to_string(n)),
                            {at + Point3d{95, 0, 3850}, {1, 0, 0}, {0, 1, 0}},
                            {Vor_String(tag + ".B"), Vor_String(tag + ".C")},
                            {{"Stiffeners.lb", "5000"}, {"Stiffeners.@array.Stiffeners", stiffeners}}, &error)
                    .isNull()) {
                std::fprintf(stderr, "%s\n", error.c_str());
                std::abort();
            }
        }
        const std::string file = (std::filesystem::temp_directory_path() / "vor-bench-macros.dwg").string();
        if (!saveDrawing(d, file)) std::abort();
        std::fprintf(stderr, "%zu entities\n", d.size());
        return file;
    }();
    return path;
}

void BM_OpenMacroDrawing(benchmark::State& state) {
    const std::string file = drawingPath();
    for (auto _ : state) {
        Drawing d;
        if (!loadDrawing(file, d)) state.SkipWithError("not read");
        benchmark::DoNotOptimize(d.size());
    }
}
BENCHMARK(BM_OpenMacroDrawing)->Unit(benchmark::kMillisecond);

void openCurrent() {
    std::string error;
    if (curDrawing().size() == 0 && !openDrawing(drawingPath(), &error)) std::abort();
}

void BM_CommitTenMacros(benchmark::State& state) {
    openCurrent();
    Vor_StringArray names;
    for (int n = 0; n < 10; ++n)
        names.append(Vor_String("M" + std::to_string(n * 97)));
    MacroData data;
    if (!GetMacroDataByNames(names, data)) state.SkipWithError("no macros");
    MacroTabData* plate = data.findTabWithModule("Endplate");
    int tp = -1;
    plate->findCellWithName("tp", &tp);
    clashSetStatus(true);
    clashInitDlgStarted(1);
    bool thick = false;
    for (auto _ : state) {
        thick = !thick;
        plate->cells[tp].value = thick ? "22" : "20";
        if (!UpdateModule("Endplate", data, {tp}, {})) state.SkipWithError("refused");
        benchmark::DoNotOptimize(clashcheck(1, data.ids));
    }
    clashDlgClosed(1);
    clashSetStatus(false);
}
BENCHMARK(BM_CommitTenMacros)->Unit(benchmark::kMillisecond);

void BM_ClashOneMacro(benchmark::State& state) {
    openCurrent();
    const Vor_Array<AcDbObjectId> ids{curDrawing().findByName("M500")};
    clashSetStatus(true);
    clashInitDlgStarted(2);
    for (auto _ : state)
        benchmark::DoNotOptimize(clashcheck(2, ids));
    clashDlgClosed(2);
    clashSetStatus(false);
}
BENCHMARK(BM_ClashOneMacro)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
