#include "PagePainter.h"

#include "Pictures.h"

#include <base/SafeFile.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace sheet::control {

namespace {
QRectF qrect(const PageRect& r) {
    return QRectF(r.x, r.y, r.w, r.h);
}
} // namespace

void QtPagePainter::fillRect(const PageRect& r, std::uint32_t color) {
    m_p.fillRect(qrect(r), qtColor(color, Qt::white));
}

void QtPagePainter::drawLine(double x1, double y1, double x2, double y2, std::uint32_t color, double width) {
    m_p.setPen(QPen(qtColor(color, Qt::black), width));
    m_p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtPagePainter::drawText(const PageRect& r, const std::string& text, const Font& font,
                             std::uint32_t color, std::uint32_t align) {
    m_p.save();
    m_p.setFont(qtFont(font, m_pointScale));
    m_p.setPen(qtColor(color, Qt::black));
    m_p.setClipRect(qrect(r));
    int flags = int(qtAlignment(align, Qt::AlignLeft)) | ((align & kWordWrap) ? int(Qt::TextWordWrap) : 0);
    m_p.drawText(qrect(r).adjusted(1.5, 0, -1.5, 0), flags, QString::fromStdString(text));
    m_p.restore();
}

void QtPagePainter::drawImage(const PageRect& r, const std::string& file) {
    QPixmap pix = cellPicture(file);
    if (pix.isNull()) return;
    QSizeF fit = QSizeF(pix.size()).scaled(QSizeF(r.w, r.h), Qt::KeepAspectRatio);
    QRectF target(r.x + (r.w - fit.width()) / 2, r.y + (r.h - fit.height()) / 2, fit.width(), fit.height());
    m_p.drawPixmap(target, pix, QRectF(pix.rect()));
}

QSizeF pageSizePoints(const SpreadControl& grid) {
    PrintLayout layout(grid.sheet(), grid.printOptions);
    const PrintOptions& o = grid.printOptions;
    bool turned = layout.landscape();
    return turned ? QSizeF(o.pageHeight, o.pageWidth) : QSizeF(o.pageWidth, o.pageHeight);
}

void renderPage(QPainter& p, const SpreadControl& grid, int number, double pixelsPerPoint) {
    PrintLayout layout(grid.sheet(), grid.printOptions);
    if (number < 1 || number > layout.pageCount()) return;
    p.save();
    p.scale(pixelsPerPoint, pixelsPerPoint);
    QtPagePainter pp(p, 72.0 / p.device()->logicalDpiY());
    layout.render(number, pp);
    p.restore();
}

bool printGrid(const Sheet& sheet, const PrintOptions& o, const PrintTarget& target,
               const std::string& jobName, std::string& error) {
    PrintLayout layout(sheet, o);
    if (layout.pageCount() == 0) {
        error = "There is nothing to print in the chosen pages.";
        return false;
    }

    QPrinter printer(QPrinter::HighResolution);
    const bool toFile = !target.outputFile.empty();
    // A PDF goes through the careful file writer: the printer fills its temporary file, and only a
    // whole document replaces an older file (keeping its mode, or the symbolic link to it).
    base::SafeFileWriter file(target.outputFile);
    if (toFile) {
        if (!file.open()) {
            error = "The file \"" + target.outputFile + "\" cannot be written: " + file.error();
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file.tempPath()));
    } else {
        if (!target.printerName.empty()) printer.setPrinterName(QString::fromStdString(target.printerName));
        if (!printer.isValid()) {
            error = "The printer \"" + target.printerName + "\" is not available.";
            return false;
        }
    }
    printer.setDocName(QString::fromStdString(jobName));
    printer.setCopyCount(std::max(1, target.copies));
    printer.setFullPage(true); // the layout places the margins itself
    // A printer's page is its drawing area, which lies on the paper at the offsets.
    const QSizeF paper = target.paperWidth > 0 && target.paperHeight > 0
                             ? QSizeF(target.paperWidth, target.paperHeight)
                             : QSizeF(o.pageWidth, o.pageHeight);
    QPageLayout pageLayout(QPageSize(paper, QPageSize::Point),
                           layout.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                           QMarginsF(0, 0, 0, 0));
    printer.setPageLayout(pageLayout);

    QPainter painter;
    if (!painter.begin(&printer)) {
        error = toFile ? "The file \"" + target.outputFile + "\" cannot be written."
                       : "The printer cannot start.";
        return false;
    }
    const double scale = printer.resolution() / 72.0;
    for (int i = 1; i <= layout.pageCount(); ++i) {
        if (i > 1) printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        // The margins are measured from where the printer can start to draw.
        painter.translate(target.offsetX, target.offsetY);
        QtPagePainter pp(painter, 72.0 / printer.logicalDpiY());
        layout.render(i, pp);
        painter.restore();
    }
    if (!painter.end()) {
        error = "Printing failed.";
        return false;
    }
    if (toFile && !file.commit()) {
        error = "The file \"" + target.outputFile + "\" cannot be written: " + file.error();
        return false;
    }
    return true;
}

} // namespace sheet::control
