// Printing a 10,000-row calculation table: the preview's first page and each page change, and
// printing the whole table to PDF (pages per second).

#include "calc/TableDocument.h"
#include "calc/ui/DlgPrintPreview.h"
#include "calc/ui/DlgSpreadsheet.h"
#include "calc/ui/PrintRun.h"
#include "frame/ModuleResourceScope.h"

#include <sheet/control/GridWidget.h>
#include <ui/Application.h>
#include <ui/Control.h>
#include <ui/Script.h>

#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const std::string kKop = std::string(VOR_SOURCE_DIR) + "/data/lib/Calculation Tables/Kop.ssh";

/// The editor on a table of 10,000 rows of six columns, printed with the library's header file.
struct Table {
    DlgSpreadsheet ed;
    Table() {
        ed.create();
        Vor_Spread& g = ed.grid();
        g.setMaxRows(10000);
        for (int r = 1; r <= 10000; ++r) {
            g.setText(1, r, "Ligger " + std::to_string(r));
            for (int c = 2; c <= 6; ++c)
                g.setDouble(c, r, r * 0.5 + c);
        }
        TableProperties p;
        readTableProperties(g, p);
        p.headerFile = kKop;
        writeTableProperties(g, p);
    }
    ~Table() { ed.destroyWindow(); }
};

void renderPreview(DlgPrintPreview& dlg, QImage& img) {
    ui::Control* c = dlg.item(DlgPrintPreview::IDC_PREVIEW);
    QWidget* w = c ? c->embedded() : nullptr;
    if (!w) return;
    if (img.size() != w->size()) img = QImage(w->size(), QImage::Format_ARGB32);
    w->render(&img);
}

void BM_PreviewFirstPage(benchmark::State& state) {
    ModuleResourceScope scope;
    Table t;
    const ui::PrinterInfo printer = ui::agent().defaultPrinter();
    QImage img;
    for (auto _ : state) {
        preparePrintRun(t.ed.grid(), printer, true, ui::PrintRequest{}, "");
        DlgPrintPreview dlg(t.ed.grid(), &t.ed);
        dlg.create();
        renderPreview(dlg, img);
        dlg.destroyWindow();
    }
    state.counters["pages"] = gTotalPages;
}
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond);

void BM_PreviewPageChange(benchmark::State& state) {
    ModuleResourceScope scope;
    Table t;
    preparePrintRun(t.ed.grid(), ui::agent().defaultPrinter(), true, ui::PrintRequest{}, "");
    DlgPrintPreview dlg(t.ed.grid(), &t.ed);
    dlg.create();
    QImage img;
    renderPreview(dlg, img);
    for (auto _ : state) {
        if (dlg.currentPage() >= gTotalPages) {
            state.PauseTiming();
            while (dlg.currentPage() > 1)
                dlg.sendCommand(DlgPrintPreview::IDC_PREV);
            state.ResumeTiming();
        }
        dlg.sendCommand(DlgPrintPreview::IDC_NEXT);
        renderPreview(dlg, img);
    }
    dlg.destroyWindow();
}
BENCHMARK(BM_PreviewPageChange)->Unit(benchmark::kMillisecond);

void BM_PrintToPdf(benchmark::State& state) {
    ModuleResourceScope scope;
    Table t;
    const std::string pdf = (std::filesystem::temp_directory_path() / "vor-bench-print.pdf").string();
    ui::PrintRequest r;
    r.printer = ui::agent().defaultPrinter();
    sheet::PrintTarget target;
    target.outputFile = pdf;
    long pages = 0;
    for (auto _ : state) {
        preparePrintRun(t.ed.grid(), r.printer, false, r, "");
        if (!t.ed.grid().PrintTo(target, "bench")) state.SkipWithError("printing failed");
        pages += gTotalPages;
    }
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
    std::filesystem::remove(pdf);
}
BENCHMARK(BM_PrintToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

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
