// One frame of the grid widget drawn offscreen into an image: a 100-row sheet against a
// 1,000,000-row one, at the top and in the middle. Drawing touches only what is visible, so the
// times should agree.
#include <sheet/SpreadControl.h>
#include <sheet/control/GridWidget.h>

#include <ui/Application.h>

#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

using namespace sheet;

namespace {

std::unique_ptr<QWidget> makeGrid(int rows) {
    std::unique_ptr<QWidget> w(createGridWidget());
    SpreadControl* c = spreadControlOf(w.get());
    SSSetMaxCols(c, 12);
    SSSetMaxRows(c, rows);
    SSSetBool(c, Sheet::kOptAutoRecalc, false);
    for (int r = 1; r <= rows; ++r) {
        c->sheet().setNumber(1, r, r);
        c->sheet().setNumber(2, r, r * 0.5);
        c->sheet().setData(3, r, r % 7 == 0 ? "seventh" : "plain");
    }
    CellType check;
    SSSetCellTypeRange(c, 4, 1, 4, kAll, *SSSetTypeCheckBox(c, check, 0, "", "", ""));
    SSSetColorRange(c, 5, 1, 5, kAll, rgb(0xFF, 0xF0, 0xC0), kDefaultColor);
    SSSetBorderRange(c, 6, 1, 6, kAll, kBorderLeft | kBorderBottom, 1, 0);
    w->resize(1000, 700);
    return w;
}

void drawFrame(benchmark::State& st, int rows, int topRow) {
    ui::ensureApplication(true);
    auto w = makeGrid(rows);
    SpreadControl* c = spreadControlOf(w.get());
    SSSetActiveCell(c, 1, topRow);
    QImage img(w->size(), QImage::Format_ARGB32_Premultiplied);
    w->render(&img); // fonts and glyph caches filled before timing
    for (auto _ : st) {
        w->render(&img);
        benchmark::DoNotOptimize(img.bits());
    }
    st.counters["rows"] = rows;
}

void BM_DrawFrame100Rows(benchmark::State& st) {
    drawFrame(st, 100, 1);
}
void BM_DrawFrameMillionRowsTop(benchmark::State& st) {
    drawFrame(st, 1'000'000, 1);
}
void BM_DrawFrameMillionRowsMiddle(benchmark::State& st) {
    drawFrame(st, 1'000'000, 500'000);
}

} // namespace

BENCHMARK(BM_DrawFrame100Rows)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawFrameMillionRowsTop)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawFrameMillionRowsMiddle)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    ui::ensureApplication(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
