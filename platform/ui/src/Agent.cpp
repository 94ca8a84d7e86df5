// The agent registry and the interactive agent, which asks a real person through Qt's dialogs.

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Window.h>

#include "Internal_p.h"

#include <QApplication>
#include <QColorDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace ui {

namespace {
InteractiveAgent g_interactive;
Agent* g_agent = nullptr;

QWidget* ownerWidget(Window* owner) {
    if (owner && owner->widget()) return owner->widget()->window();
    QWidget* active = QApplication::activeWindow();
    return active ? active : mainWindow();
}

/// "Tables (*.sss)|*.sss|All files (*.*)|*.*||" to Qt's "Tables (*.sss);;All files (*)".
QString qtFilter(const std::string& filter, QStringList* patterns = nullptr) {
    QStringList parts = qs(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString pats = parts[i + 1];
        pats.replace(';', ' ');
        pats.replace("*.*", "*");
        QString label = parts[i];
        int paren = static_cast<int>(label.indexOf('('));
        if (paren >= 0) label = label.left(paren).trimmed();
        out << label + " (" + pats + ")";
        if (patterns) *patterns << pats;
    }
    return out.join(";;");
}
} // namespace

Agent& agent() {
    return g_agent ? *g_agent : g_interactive;
}

Agent* setAgent(Agent* a) {
    Agent* previous = g_agent ? g_agent : &g_interactive;
    g_agent = a;
    return previous;
}

int messageBox(const std::string& text, const std::string& caption, unsigned flags, Window* owner) {
    MessageRequest r{text, caption, flags};
    return agent().messageBox(r, owner);
}

void InteractiveAgent::runModal(Dialog& dialog) {
    auto* w = dialog.widget();
    if (!w) return;
    w->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    setDialogLoop(w, &loop); // endDialog quits it
    while (!dialog.hasEnded() && dialog.widget())
        loop.exec(QEventLoop::DialogExec);
    if (dialog.widget()) setDialogLoop(dialog.widget(), nullptr);
}

int InteractiveAgent::messageBox(const MessageRequest& r, Window* owner) {
    QMessageBox box(ownerWidget(owner));
    box.setWindowTitle(qs(r.caption));
    box.setText(qs(r.text));
    switch (r.icon()) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct B {
        QMessageBox::StandardButton qt;
        int answer;
    };
    std::vector<B> buttons;
    switch (r.buttons()) {
    case MB_OKCANCEL:
        buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_ABORTRETRYIGNORE:
        buttons = {
            {QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
        break;
    case MB_YESNOCANCEL:
        buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNO:
        buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
    case MB_RETRYCANCEL:
        buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    default:
        buttons = {{QMessageBox::Ok, IDOK}};
        break;
    }
    QMessageBox::StandardButtons set;
    for (const B& b : buttons)
        set |= b.qt;
    box.setStandardButtons(set);
    size_t def = (r.flags & MB_DEFBUTTON3) ? 2 : (r.flags & MB_DEFBUTTON2) ? 1 : 0;
    if (def < buttons.size()) box.setDefaultButton(buttons[def].qt);
    auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const B& b : buttons)
        if (b.qt == chosen) return b.answer;
    // the close box: Cancel where there is one, else the only button
    for (const B& b : buttons)
        if (b.answer == IDCANCEL) return IDCANCEL;
    return buttons.size() == 1 ? buttons[0].answer : IDCANCEL;
}

bool InteractiveAgent::fileDialog(FileRequest& r, Window* owner) {
    QFileDialog dlg(ownerWidget(owner), qs(r.title));
    dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.save ? QFileDialog::AnyFile
                           : (r.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    if (!r.folder.empty()) dlg.setDirectory(qs(r.folder));
    if (!r.fileName.empty()) dlg.selectFile(qs(r.fileName));
    QStringList patterns;
    QString filter = qtFilter(r.filter, &patterns);
    if (!filter.isEmpty()) {
        dlg.setNameFilter(filter);
        QStringList names = filter.split(";;");
        if (r.filterIndex >= 1 && r.filterIndex <= names.size())
            dlg.selectNameFilter(names[r.filterIndex - 1]);
    }
    if (!r.defaultExtension.empty()) dlg.setDefaultSuffix(qs(r.defaultExtension));
    if (!r.overwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    r.fileName = ss(dlg.selectedFiles().first());
    QStringList names = filter.split(";;");
    r.filterIndex = static_cast<int>(names.indexOf(dlg.selectedNameFilter())) + 1;
    return true;
}

bool InteractiveAgent::colorDialog(ColorRequest& r, Window* owner) {
    QColor c =
        QColorDialog::getColor(QColor(redOf(r.color), greenOf(r.color), blueOf(r.color)), ownerWidget(owner));
    if (!c.isValid()) return false;
    r.color = rgb(c.red(), c.green(), c.blue());
    return true;
}

bool InteractiveAgent::fontDialog(FontRequest& r, Window* owner) {
    QFont f(qs(r.font.face), r.font.pointSize);
    f.setBold(r.font.bold);
    f.setItalic(r.font.italic);
    f.setUnderline(r.font.underline);
    f.setStrikeOut(r.font.strikeOut);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, f, ownerWidget(owner));
    if (!ok) return false;
    r.font.face = ss(chosen.family());
    r.font.pointSize = chosen.pointSize();
    r.font.bold = chosen.bold();
    r.font.italic = chosen.italic();
    r.font.underline = chosen.underline();
    r.font.strikeOut = chosen.strikeOut();
    return true;
}

namespace {
PrinterInfo printerInfoOf(const QPrinter& printer) {
    PrinterInfo info;
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    info.name = pdf ? "PDF" : ss(printer.printerName());
    info.dpiX = printer.logicalDpiX() > 0 ? printer.logicalDpiX() : printer.resolution();
    info.dpiY = printer.logicalDpiY() > 0 ? printer.logicalDpiY() : printer.resolution();
    QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    QRectF page = printer.pageRect(QPrinter::DevicePixel);
    info.offsetX = int(page.left() - paper.left());
    info.offsetY = int(page.top() - paper.top());
    info.drawWidth = int(page.width());
    info.drawHeight = int(page.height());
    QPageLayout l = printer.pageLayout();
    info.landscape = l.orientation() == QPageLayout::Landscape;
    info.paper = ss(l.pageSize().name());
    QSizeF mm = l.fullRect(QPageLayout::Millimeter).size();
    info.paperWidthMm = mm.width();
    info.paperHeightMm = mm.height();
    return info;
}
} // namespace

PrinterInfo InteractiveAgent::defaultPrinter() {
    QPrinterInfo def = QPrinterInfo::defaultPrinter();
    QPrinter printer(QPrinter::HighResolution);
    if (def.isNull()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(true); // a PDF page has no unprintable edge
    } else {
        printer.setPrinterName(def.printerName());
    }
    return printerInfoOf(printer);
}

bool InteractiveAgent::printDialog(PrintRequest& r, Window* owner) {
    QPrinter printer(QPrinter::HighResolution);
    if (QPrinterInfo::defaultPrinter().isNull()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setFullPage(true);
    }
    printer.setPageOrientation(r.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dlg(&printer, ownerWidget(owner));
    dlg.setMinMax(r.minPage, r.maxPage);
    QAbstractPrintDialog::PrintDialogOptions opts = dlg.options() | QAbstractPrintDialog::PrintPageRange;
    if (r.allowSelection)
        opts |= QAbstractPrintDialog::PrintSelection;
    else
        opts &= ~QAbstractPrintDialog::PrintSelection;
    dlg.setOptions(opts);
    if (dlg.exec() != QDialog::Accepted) return false;
    r.printerName = printer.outputFormat() == QPrinter::PdfFormat ? "PDF" : ss(printer.printerName());
    r.outputFile = ss(printer.outputFileName());
    r.pageRange = printer.printRange() == QPrinter::PageRange;
    r.selection = printer.printRange() == QPrinter::Selection;
    r.fromPage = r.pageRange && printer.fromPage() ? printer.fromPage() : 1;
    r.toPage = r.pageRange ? printer.toPage() : 0;
    r.copies = printer.copyCount();
    r.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    r.printer = printerInfoOf(printer);
    return true;
}

bool InteractiveAgent::pageSetupDialog(PageSetupRequest& r, Window* owner) {
    QPrinter printer;
    printer.setPageOrientation(r.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(r.marginLeft, r.marginTop, r.marginRight, r.marginBottom),
                           QPageLayout::Millimeter);
    QPageSetupDialog dlg(&printer, ownerWidget(owner));
    if (dlg.exec() != QDialog::Accepted) return false;
    QPageLayout l = printer.pageLayout();
    r.landscape = l.orientation() == QPageLayout::Landscape;
    QMarginsF m = l.margins(QPageLayout::Millimeter);
    r.marginLeft = static_cast<int>(m.left());
    r.marginTop = static_cast<int>(m.top());
    r.marginRight = static_cast<int>(m.right());
    r.marginBottom = static_cast<int>(m.bottom());
    r.paper = ss(l.pageSize().name());
    return true;
}

int InteractiveAgent::popupMenu(const PopupRequest& r, Window* owner) {
    QMenu menu(ownerWidget(owner));
    for (size_t i = 0; i < r.ids.size(); ++i) {
        if (r.ids[i] == 0) { // id 0 is a separator line
            menu.addSeparator();
            continue;
        }
        QAction* a = menu.addAction(qs(r.texts[i]));
        a->setData(r.ids[i]);
        a->setEnabled(r.enabled[i]);
    }
    QAction* chosen = menu.exec(QPoint(r.screenPos.x, r.screenPos.y));
    return chosen ? chosen->data().toInt() : 0;
}

} // namespace ui
