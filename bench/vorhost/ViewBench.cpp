// vorhost's drawing view on the benchmark drawing of 1,000 macros (about 50,000 entities): a whole
// repaint at zoom extents and one zoomed in to a tenth of the extent, both into an offscreen image of
// 1200 × 800 through the view's own paint function, and the hit test of a click.

#include "../cad/MacroDrawing.h"

#include "DrawingPaint.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 1200, kHeight = 800;
constexpr double kMarginPx = 20;

cad::Drawing& drawing() {
    static cad::Drawing d;
    if (d.size() == 0) {
        vorbench::addMacros(d, vorbench::kBenchMacros);
        d.zoomExtents();
    }
    return d;
}

/// The zoom box: everything, or a tenth of it (in each direction) around the middle.
cad::Extents zoomBox(bool tenth) {
    cad::Extents box = drawing().zoomBox();
    if (!tenth) return box;
    cad::Point3d mid = (box.min + box.max) * 0.5, half = (box.max - box.min) * 0.05;
    return {mid - half, mid + half};
}

void paint(benchmark::State& state, cad::ViewDirection direction, bool tenth) {
    const cad::Drawing& d = drawing();
    view::ViewBasis basis = view::viewBasis(cad::viewVector(direction));
    view::ScreenFit fit = view::fitBox(basis, zoomBox(tenth), kWidth, kHeight, kMarginPx);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    view::PaintCount count;
    for (auto _ : state) {
        QPainter p(&image);
        count = view::paintDrawing(p, image.size(), d, basis, fit);
    }
    state.counters["entities"] = static_cast<double>(count.entities);
    state.counters["dots"] = static_cast<double>(count.dots);
    state.counters["specks"] = static_cast<double>(count.specks);
    state.counters["px/m"] = fit.scale * 1000;
}

void BM_PaintWhole(benchmark::State& state) {
    paint(state, static_cast<cad::ViewDirection>(state.range(0)), false);
}
BENCHMARK(BM_PaintWhole)->Unit(benchmark::kMillisecond)->Arg(3)->Arg(2)->Arg(0);

void BM_PaintTenth(benchmark::State& state) {
    paint(state, static_cast<cad::ViewDirection>(state.range(0)), true);
}
BENCHMARK(BM_PaintTenth)->Unit(benchmark::kMillisecond)->Arg(3)->Arg(2)->Arg(0);

// A click in the middle of the zoomed-in view, with the view's tolerance of 6 pixels.
void BM_HitTest(benchmark::State& state) {
    const cad::Drawing& d = drawing();
    view::ViewBasis basis = view::viewBasis(cad::viewVector(static_cast<cad::ViewDirection>(state.range(0))));
    view::ScreenFit fit = view::fitBox(basis, zoomBox(true), kWidth, kHeight, kMarginPx);
    cad::Point2d at = fit.toPlane(kWidth / 2.0, kHeight / 2.0);
    AcDbObjectId hit;
    for (auto _ : state) {
        hit = view::nearestEntity(d, basis, at, 6 / fit.scale, {}, view::kMarkerPx / fit.scale);
        benchmark::DoNotOptimize(hit);
    }
    state.counters["hit"] = static_cast<double>(hit.handle());
}
BENCHMARK(BM_HitTest)->Unit(benchmark::kMicrosecond)->Arg(3)->Arg(2)->Arg(0);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
