#include "calc/PrintTable.h"

#include <host/FileUtils.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

int gTotalPages = 0;
bool gPreviewMode = false;

namespace {
constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
constexpr double kTwipsPerInch = 1440.0;
constexpr double kSafetyInches = 0.08; // keeps the last column off the printer's edge
constexpr double kDefaultLabelPoints = 10;
} // namespace

double dotsToMm(int dots, int dpi) {
    return dpi > 0 ? double(dots) / dpi * kMmPerInch : 0.0;
}

double engineMarginInches(int marginMm, double offsetMm) {
    return marginMm > offsetMm ? (marginMm - offsetMm) / kMmPerInch : 0.0;
}

double fitMarginInches(int marginMm, double offsetInches) {
    const double margin = marginMm / kMmPerInch;
    return margin > offsetInches ? margin - offsetInches : offsetInches;
}

double printableWidthTwips(int drawWidthDots, int dpi, double leftInches, double rightInches) {
    if (dpi <= 0) return 0;
    return (double(drawWidthDots) / dpi - leftInches - rightInches - kSafetyInches) * kTwipsPerInch;
}

bool fitColumnWidths(std::vector<double>& widths, double col0, double printable) {
    double sum = 0;
    for (double w : widths)
        sum += w;
    if (!(sum > 0)) return false; // all hidden: no shares to give out
    const double total = sum + col0;
    if (std::abs(total - printable) < 0.5 || printable - col0 <= 0) return false;
    for (double& w : widths)
        w = (printable - col0) * (w / sum);
    return true;
}

int marginFromText(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        v = std::min<long long>(v * 10 + (text[i] - '0'), 1LL << 32);
    v = negative ? -v : v;
    return int(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void applyPageSetup(ui::PrinterInfo& pr, const ui::PageSetupRequest& setup) {
    struct Paper {
        const char* name;
        double w, h; // mm, portrait
    };
    static const Paper papers[] = {{"A3", 297, 420},
                                   {"A4", 210, 297},
                                   {"A5", 148, 210},
                                   {"Letter", 215.9, 279.4},
                                   {"Legal", 215.9, 355.6}};
    // The unprintable edges stay what they were; the drawing area follows the paper.
    const double edgeW = pr.dpiX > 0 ? pr.paperWidthMm - double(pr.drawWidth) / pr.dpiX * 25.4 : 0;
    const double edgeH = pr.dpiY > 0 ? pr.paperHeightMm - double(pr.drawHeight) / pr.dpiY * 25.4 : 0;
    double w = std::min(pr.paperWidthMm, pr.paperHeightMm), h = std::max(pr.paperWidthMm, pr.paperHeightMm);
    double ew = pr.landscape ? edgeH : edgeW, eh = pr.landscape ? edgeW : edgeH; // portrait edges
    for (const Paper& p : papers)
        if (Vor_String(setup.paper).toLower() == Vor_String(p.name).toLower()) {
            w = p.w, h = p.h;
            pr.paper = p.name;
        }
    pr.landscape = setup.landscape;
    pr.paperWidthMm = pr.landscape ? h : w;
    pr.paperHeightMm = pr.landscape ? w : h;
    const double drawW = (pr.landscape ? h - eh : w - ew), drawH = (pr.landscape ? w - ew : h - eh);
    pr.drawWidth = int(std::lround(drawW / 25.4 * pr.dpiX));
    pr.drawHeight = int(std::lround(drawH / 25.4 * pr.dpiY));
}

sheet::PrintOptions makePrintOptions(const TableProperties& p, const PrintRunSetup& s) {
    sheet::PrintOptions o;
    const ui::PrinterInfo& pr = s.printer;
    // The engine turns the page itself when it prints landscape: it wants the portrait size.
    double w, h, offX = 0, offY = 0;
    if (s.preview) {
        w = pr.paperWidthMm / kMmPerInch * kPointsPerInch;
        h = pr.paperHeightMm / kMmPerInch * kPointsPerInch;
    } else {
        w = pr.dpiX > 0 ? double(pr.drawWidth) / pr.dpiX * kPointsPerInch : 0;
        h = pr.dpiY > 0 ? double(pr.drawHeight) / pr.dpiY * kPointsPerInch : 0;
        offX = dotsToMm(pr.offsetX, pr.dpiX);
        offY = dotsToMm(pr.offsetY, pr.dpiY);
    }
    o.landscape = pr.landscape;
    o.pageWidth = pr.landscape ? h : w;
    o.pageHeight = pr.landscape ? w : h;
    o.marginLeft = engineMarginInches(p.marginLeft, offX) * kPointsPerInch;
    o.marginRight = engineMarginInches(p.marginRight, offX) * kPointsPerInch;
    o.marginTop = engineMarginInches(p.marginTop, offY) * kPointsPerInch;
    o.marginBottom = engineMarginInches(p.marginBottom, offY) * kPointsPerInch;
    o.headerHeight = s.headerHeight;
    o.footerHeight = s.footerHeight;
    o.gridLines = p.cellSeperators;
    o.colors = p.colors;
    o.frame = p.border;
    o.colHeaders = p.colHeader;
    o.rowHeaders = p.rowHeader;
    o.smartPrint = p.smartPrint;
    o.firstPage = std::max(1, s.fromPage);
    o.lastPage = std::max(0, s.toPage);
    o.block = s.block;
    return o;
}

double PageBand::heightFor(double width) const {
    if (!present || width <= 0) return 0;
    return width * file.origBmpHeight / file.origBmpWidth;
}

namespace {
std::string inDocumentFolder(const Vor_String& path, const Vor_String& documentPath) {
    std::string p = toSlashes(path).str();
    if (p.empty() || p.front() == '/' || documentPath.isEmpty()) return p;
    return folderWithSlash(getFolder(toSlashes(documentPath))).str() + p;
}
} // namespace

PageBand loadPageBand(const Vor_String& path, const Vor_String& documentPath) {
    PageBand band;
    if (path.isEmpty()) return band;
    const std::string file = inDocumentFolder(path, documentPath);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec) || !readHeaderFile(Vor_String(file), band.file))
        return band;
    // Without the picture's size the labels cannot be placed: such a file is damaged.
    if (band.file.origBmpWidth <= 0 || band.file.origBmpHeight <= 0) return band;
    band.present = true;
    if (!band.file.bmpSource.isEmpty()) {
        std::string pic = inDocumentFolder(band.file.bmpSource, documentPath);
        if (!std::filesystem::is_regular_file(pic, ec)) {
            // A picture kept beside its header file is found there too.
            pic = folderWithSlash(getFolder(Vor_String(file))).str() +
                  getFileName(toSlashes(band.file.bmpSource)).str();
        }
        if (std::filesystem::is_regular_file(pic, ec)) band.picture = pic;
    }
    return band;
}

sheet::Font labelFont(const PageBand& band, const RenderedLabel& label, double scale) {
    sheet::Font f;
    if (!band.file.standardFont.isEmpty()) f.face = band.file.standardFont.str();
    if (label.face && !label.face->empty()) f.face = *label.face;
    const double points = label.height ? *label.height : kDefaultLabelPoints;
    f.height = std::max(1, int(std::lround(points * (scale > 0 ? scale : 1.0))));
    f.weight = label.bold.value_or(false) ? 700 : 400;
    f.italic = label.italic.value_or(false);
    f.underline = label.underline.value_or(false);
    return f;
}

void drawPageBand(sheet::Painter& painter, const sheet::PageRect& area, const PageBand& band, int page,
                  const LabelContext& context, double scale) {
    if (!band.present || area.w <= 0 || area.h <= 0) return;
    const HeaderFile& h = band.file;
    const double k = std::min(area.w / h.origBmpWidth, area.h / h.origBmpHeight);
    const double x0 = area.x + (area.w - h.origBmpWidth * k) / 2, y0 = area.y;
    if (!band.picture.empty())
        painter.drawImage({x0, y0, h.origBmpWidth * k, h.origBmpHeight * k}, band.picture);
    for (int i = 0; i < h.labels.length(); ++i) {
        const HeaderLabel& l = h.labels[i];
        RenderedLabel r = renderHeaderLabel(l.text.str(), page, context);
        if (r.text.empty()) continue;
        sheet::PageRect rect{x0 + std::min(l.x1, l.x2) * k, y0 + std::min(l.y1, l.y2) * k,
                             std::abs(l.x2 - l.x1) * k, std::abs(l.y2 - l.y1) * k};
        std::uint32_t align = sheet::kAlignVCenter | (r.align == LabelAlign::Right    ? sheet::kAlignRight
                                                      : r.align == LabelAlign::Center ? sheet::kAlignCenter
                                                                                      : sheet::kAlignLeft);
        painter.drawText(rect, r.text, labelFont(band, r, scale), 0, align);
    }
}
