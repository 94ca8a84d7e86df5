#include "calc/ui/PrintRun.h"

#include "calc/TableDocument.h"
#include "calc/Vor_Spread.h"
#include "calc/ui/DlgPrintPreview.h"
#include "calc/ui/DlgPrintSettings.h"

#include <host/FileUtils.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Agent.h>

#include <cmath>
#include <memory>

namespace {

constexpr double kTwipsPerPixel = 15; // 1440 twips an inch at 96 pixels an inch
constexpr const char* kJobName = "Vorlane Rekentabel";

// texts: dialString 9618
std::string noRoomText() {
    return dialString(9618).str();
}

void ensurePrinter(TablePrinter& printer) {
    if (printer.chosen) return;
    printer.info = ui::agent().defaultPrinter();
    printer.chosen = true;
}

bool askPrinter(Vor_Spread& grid, const TablePrinter& printer, ui::Window* owner, ui::PrintRequest& r) {
    r.minPage = 1;
    r.maxPage = 999;
    r.landscape = printer.info.landscape;
    r.paper = printer.info.paper;
    sheet::CellPos ul, lr;
    r.allowSelection = grid.GetSelectBlock(ul, lr);
    return ui::agent().printDialog(r, owner);
}

// Step 5 of a run: the columns share the paper's width, each as its part of their sum.
void fitColumns(Vor_Spread& grid, const TableProperties& props, const ui::PrinterInfo& printer,
                bool preview) {
    sheet::CellRange printed;
    if (!grid.GetPrintBlock(printed)) return;
    // Columns past the printed block never print: fitting them would cost what the declared
    // size of the table holds, not what it stores.
    const int last = std::min(grid.GetMaxCols(), printed.col2);
    std::vector<double> widths;
    for (int c = 1; c <= last; ++c) {
        int px = 0;
        if (!grid.GetColWidthInPixels(c, px)) break;
        widths.push_back(px * kTwipsPerPixel);
    }
    int col0 = 0;
    grid.GetColWidthInPixels(0, col0);
    const double offsetInches = preview || printer.dpiX <= 0 ? 0.0 : double(printer.offsetX) / printer.dpiX;
    const double printable =
        printableWidthTwips(printer.drawWidth, printer.dpiX, fitMarginInches(props.marginLeft, offsetInches),
                            fitMarginInches(props.marginRight, offsetInches));
    // Without row headers column 0 takes no room on the page.
    const double head = props.rowHeader ? col0 * kTwipsPerPixel : 0.0;
    if (!fitColumnWidths(widths, head, printable)) return;
    for (std::size_t i = 0; i < widths.size(); ++i)
        grid.SetColWidthInPixels(int(i) + 1, std::max(1, int(std::lround(widths[i] / kTwipsPerPixel))));
}

sheet::PrintTarget targetOf(const ui::PrintRequest& r) {
    sheet::PrintTarget t;
    t.outputFile = r.outputFile;
    if (t.outputFile.empty()) t.printerName = r.printerName;
    t.copies = r.copies;
    if (r.printer.dpiX > 0) t.offsetX = double(r.printer.offsetX) / r.printer.dpiX * 72.0;
    if (r.printer.dpiY > 0) t.offsetY = double(r.printer.offsetY) / r.printer.dpiY * 72.0;
    const double w = r.printer.paperWidthMm / 25.4 * 72.0, h = r.printer.paperHeightMm / 25.4 * 72.0;
    t.paperWidth = std::min(w, h);
    t.paperHeight = std::max(w, h);
    return t;
}

bool printOnce(Vor_Spread& grid, TablePrinter& printer, const ui::PrintRequest& r,
               const Vor_String& documentPath, std::string* failure) {
    printer.info = r.printer; // the printer chosen to print on becomes the table's
    printer.chosen = true;
    std::string why;
    if (!preparePrintRun(grid, printer.info, false, r, documentPath))
        why = noRoomText();
    else if (!grid.PrintTo(targetOf(r), kJobName))
        why = grid.LastError();
    else
        return true;
    if (failure) *failure = why;
    return false;
}

} // namespace

bool preparePrintRun(Vor_Spread& grid, const ui::PrinterInfo& printer, bool preview,
                     const ui::PrintRequest& r, const Vor_String& documentPath) {
    TableProperties props;
    readTableProperties(grid, props);
    gPreviewMode = preview;

    PrintRunSetup setup;
    setup.printer = printer;
    setup.preview = preview;
    auto header = std::make_shared<PageBand>(loadPageBand(props.headerFile, documentPath));
    auto footer = std::make_shared<PageBand>(loadPageBand(props.footerFile, documentPath));
    sheet::PrintOptions o = makePrintOptions(props, setup);
    const double width = o.pageWidth - o.marginLeft - o.marginRight;
    // Bands never take more than a quarter of the page each, however tall their picture.
    const double room = (o.landscape ? o.pageWidth : o.pageHeight) / 4;
    setup.headerHeight = std::min(header->heightFor(width), room);
    setup.footerHeight = std::min(footer->heightFor(width), room);

    auto context = std::make_shared<LabelContext>();
    context->varNames = props.varNames;
    context->varValues = props.varValues;
    auto callback = [header, footer, context](sheet::Painter& p, const sheet::PageInfo& page) {
        context->totalPages = gTotalPages;
        drawPageBand(p, page.header, *header, page.number, *context, page.scale);
        drawPageBand(p, page.footer, *footer, page.number, *context, page.scale);
    };

    // The whole printout first: its page count is what "%totalPages%" and the preview show.
    o = makePrintOptions(props, setup);
    o.pageCallback = callback;
    if (!grid.SetPrintOptions(o)) return false;
    fitColumns(grid, props, printer, preview);
    gTotalPages = grid.GetPrintPageCount();
    if (preview) return true;

    if (r.selection) {
        sheet::CellPos ul, lr;
        if (grid.GetSelectBlock(ul, lr)) o.block = {ul.col, ul.row, lr.col, lr.row};
    } else if (r.pageRange) {
        o.firstPage = std::max(1, r.fromPage);
        o.lastPage = std::max(o.firstPage, r.toPage);
    }
    if (r.selection) {
        if (!grid.SetPrintOptions(o)) return false;
        gTotalPages = grid.GetPrintPageCount(); // the selection is the whole printout
        return true;
    }
    return grid.SetPrintOptions(o);
}

bool printTable(Vor_Spread& grid, bool preview, TablePrinter& printer, ui::Window* owner,
                const Vor_String& documentPath, std::string* failure) {
    if (!grid.attached()) return false;
    ensurePrinter(printer);
    ui::PrintRequest request;
    if (!askPrinter(grid, printer, owner, request)) return false;
    if (!preview) return printOnce(grid, printer, request, documentPath, failure);

    for (;;) {
        if (!preparePrintRun(grid, printer.info, true, request, documentPath)) {
            if (failure) *failure = noRoomText();
            return false;
        }
        DlgPrintPreview dlg(grid, owner);
        const int code = dlg.doModal();
        if (code == DlgPrintPreview::kEndPrint) {
            ui::PrintRequest again;
            std::string why;
            if (askPrinter(grid, printer, owner, again) &&
                !printOnce(grid, printer, again, documentPath, &why))
                ui::messageBox(why, dialString(9259).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, owner);
        } else if (code == DlgPrintPreview::kEndSettings) {
            editPrintSettings(grid, printer, owner, documentPath);
        } else {
            return true;
        }
    }
}

bool editPrintSettings(Vor_Spread& grid, TablePrinter& printer, ui::Window* owner,
                       const Vor_String& documentPath) {
    if (!grid.attached()) return false;
    DlgPrintSettings dlg(printer, owner);
    readTableProperties(grid, dlg.props);
    dlg.folder = documentPath.isEmpty() ? gSettings.libDir + "Calculation Tables/" : getFolder(documentPath);
    if (dlg.doModal() != ui::IDOK) return false;
    writeTableProperties(grid, dlg.props);
    grid.setChanged(true);
    return true;
}
