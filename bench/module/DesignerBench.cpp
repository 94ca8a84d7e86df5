// The designer engine: loading and drawing a 500-control template, one mouse move while dragging a
// selection of 50 controls, the tab-order sort of 1,000 controls and reading every value of a
// 500-control page.

#include "designer/DesignerFolder.h"
#include "designer/TabOrder.h"
#include "designer/Vor_DlgDesignerData.h"
#include "frame/ModuleResourceScope.h"

#include <host/Settings.h>
#include <ui/Application.h>
#include <ui/Dialog.h>
#include <ui/Image.h>
#include <ui/Painter.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

namespace {

constexpr int kHost = 8960;

/// n controls of every window kind in a grid of rows over a 1000 x 800 picture.
std::vector<Vor_DesignerControl> layout(int n) {
    static const int types[] = {ctText,         ctVarEdit,    ctVarCombo,   ctCheckBox,    ctChoiceCombo,
                                ctPatternEdit1, ctFlexButton, ctArrayEdit1, ctCellButton1, ctProfSection};
    std::vector<Vor_DesignerControl> out;
    const int perRow = 20;
    for (int i = 0; i < n; ++i) {
        Vor_DesignerControl c;
        c.type = types[i % 10];
        c.topLeftX = (i % perRow) * 0.05;
        c.topLeftY = (i / perRow) * 0.03;
        c.bottomRightX = c.topLeftX + 0.045;
        c.bottomRightY = c.topLeftY + 0.025;
        c.contents = ("v" + std::to_string(i)).c_str();
        out.push_back(c);
    }
    return out;
}

/// A template of n controls with its picture, in a library folder of its own.
std::string templateOf(int n) {
    const auto lib = std::filesystem::temp_directory_path() / "vor-bench-designer";
    gSettings.libDir = (lib.string() + "/").c_str();
    const std::string path = getDesignerRootFolder().str() + "Bench" + std::to_string(n) + ".txt";
    if (!std::filesystem::exists(path)) {
        std::filesystem::create_directories(getDesignerRootFolder().str());
        ui::Image::filled(1000, 800, ui::rgb(220, 230, 240))
            .save(getDesignerRootFolder().str() + "Bench" + std::to_string(n) + ".bmp");
        Vor_DlgDesignerData e;
        for (Vor_DesignerControl& c : layout(n))
            e.append(c);
        e.writeToFile(path.c_str());
    }
    return path;
}

void BM_LoadAndDrawTemplate(benchmark::State& state) {
    ModuleResourceScope scope;
    const std::string path = templateOf(static_cast<int>(state.range(0)));
    ui::Dialog host(kHost);
    host.create();
    for (auto _ : state) {
        Vor_DlgDesignerData e;
        e.initialize(&host, 40000, 40999, 0, 0, 0, 0, 0, false);
        e.readFromFile(path.c_str(), true);
        e.redrawAllControls();
        ui::processEvents();
        benchmark::DoNotOptimize(e.getNrDrawnControls());
    }
    host.destroyWindow();
}
BENCHMARK(BM_LoadAndDrawTemplate)->Arg(500)->Unit(benchmark::kMillisecond);

// One mouse move of a drag of 50 selected controls, with the repaint it causes.
void BM_DragSelectionMove(benchmark::State& state) {
    ModuleResourceScope scope;
    const std::string path = templateOf(500);
    ui::Dialog host(kHost);
    host.create();
    Vor_DlgDesignerData e;
    e.initialize(&host, 40000, 40999, 0, 0, 0, 0, 0, true);
    e.readFromFile(path.c_str(), true);
    e.redrawAllControls();
    std::vector<int> ids;
    for (int i = 0; i < 50; ++i)
        ids.push_back(e.getControl(i)->resId);
    e.selectCtrls(ids);
    const CControlRect* first = e.getDrawnControl(0);
    const ui::Point start{first->rect().left + 2, first->rect().top + 2};
    e.OnLButtonDown(false, false, start);
    int step = 0;
    for (auto _ : state) {
        ++step;
        e.OnMouseMove({start.x + step % 40, start.y + step % 30});
        ui::processEvents(); // the repaint the move asked for
    }
    e.OnLButtonUp(start);
    host.destroyWindow();
}
BENCHMARK(BM_DragSelectionMove)->Unit(benchmark::kMillisecond);

void BM_TabOrderSort(benchmark::State& state) {
    std::vector<Vor_DesignerControl> controls = layout(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        sortTabOrder(controls);
        benchmark::DoNotOptimize(controls.back().tabOrder);
    }
}
BENCHMARK(BM_TabOrderSort)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_ReadEveryValue(benchmark::State& state) {
    ModuleResourceScope scope;
    const std::string path = templateOf(500);
    ui::Dialog host(kHost);
    host.create();
    Vor_DlgDesignerData e;
    e.initialize(&host, 40000, 40999, 0, 0, 0, 0, 0, false);
    e.readFromFile(path.c_str(), true);
    e.redrawAllControls();
    for (auto _ : state) {
        Vor_String v;
        int read = 0;
        for (int i = 0; i < e.getNrControls(); ++i)
            read += e.getCtrlValue(e.getControl(i)->resId, v);
        benchmark::DoNotOptimize(read);
    }
    host.destroyWindow();
}
BENCHMARK(BM_ReadEveryValue)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    ui::ensureApplication(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
