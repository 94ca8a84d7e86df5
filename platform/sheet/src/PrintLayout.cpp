#include <sheet/PrintLayout.h>

#include <sheet/Sheet.h>

#include <algorithm>
#include <limits>

namespace sheet {

namespace {
constexpr double kPointsPerPixel = 72.0 / 96.0;
}

CellRange printedBlock(const Sheet& s, const PrintOptions& o) {
    // Pages cover what the table holds, never its declared size: whole rows or columns of a block
    // end where the stored cells end.
    CellRange b = o.block;
    const bool used = b.col1 == 0;
    const bool wholeCols = used || b.col1 == kAll || b.col2 == kAll;
    const bool wholeRows = used || b.row1 == kAll || b.row2 == kAll;
    const CellPos e = s.usedExtent();
    if (wholeCols) b.col1 = 1, b.col2 = std::max(1, e.col);
    if (wholeRows) b.row1 = 1, b.row2 = std::max(1, e.row);
    b = s.clampRange(b);
    // A block selected down to the grid's end (a whole column picked by hand) ends with the stored
    // cells too; it keeps at least its first row and column.
    b.col2 = std::min(b.col2, std::max(b.col1, e.col));
    b.row2 = std::min(b.row2, std::max(b.row1, e.row));
    b.col1 = std::max(b.col1, 1);
    b.row1 = std::max(b.row1, 1);
    return b;
}

PrintLayout::PrintLayout(const Sheet& s, const PrintOptions& o)
    : m_s(s)
    , m_o(o) {
    CellRange b = printedBlock(s, o);
    if (b.col2 < b.col1 || b.row2 < b.row1) return;

    auto colW = [&](int c) { return s.colWidthPixels(c) * kPointsPerPixel; };
    auto rowH = [&](int r) { return s.rowHeightPixels(r) * kPointsPerPixel; };
    double tableW = o.rowHeaders ? colW(0) : 0;
    for (int c = b.col1; c <= b.col2; ++c)
        tableW += colW(c);

    auto usableW = [&](bool land) {
        return (land ? o.pageHeight : o.pageWidth) - o.marginLeft - o.marginRight;
    };
    m_landscape = o.landscape;
    m_scale = 1.0;
    if (o.smartPrint) {
        // Fit the width: choose the orientation that needs the least shrinking (portrait on a tie).
        // Every column hidden: nothing to shrink.
        double sp = tableW > 0 ? std::min(1.0, usableW(false) / tableW) : 1.0;
        double sl = tableW > 0 ? std::min(1.0, usableW(true) / tableW) : 1.0;
        m_landscape = sl > sp;
        m_scale = m_landscape ? sl : sp;
    }
    m_pageW = m_landscape ? o.pageHeight : o.pageWidth;
    m_pageH = m_landscape ? o.pageWidth : o.pageHeight;
    double bodyW = (m_pageW - o.marginLeft - o.marginRight) / m_scale;
    // Scaled to fit exactly, usable / (usable / table) may come out a hair below the table's width:
    // that must not push the last column onto a page of its own.
    if (o.smartPrint) bodyW = std::max(bodyW, tableW);
    double bodyH = (m_pageH - o.marginTop - o.marginBottom - o.headerHeight - o.footerHeight) / m_scale;
    double headW = o.rowHeaders ? colW(0) : 0, headH = o.colHeaders ? rowH(0) : 0;

    // Column bands and row bands; a column or row wider than a page gets a page of its own.
    auto bands = [](int from, int to, double room, double head, auto size) {
        std::vector<std::pair<int, int>> out;
        int start = from;
        double used = head;
        for (int i = from; i <= to; ++i) {
            double w = size(i);
            if (i > start && used + w > room) {
                out.push_back({start, i - 1});
                start = i;
                used = head;
            }
            used += w;
        }
        out.push_back({start, to});
        return out;
    };
    m_colBands = bands(b.col1, b.col2, bodyW, headW, colW);
    m_rowBands = bands(b.row1, b.row2, bodyH, headH, rowH);
    const long long total = (long long)m_colBands.size() * (long long)m_rowBands.size();
    m_total = int(std::min<long long>(total, std::numeric_limits<int>::max()));
    m_first = std::max(1, o.firstPage);
    int last = o.lastPage > 0 ? std::min(o.lastPage, m_total) : m_total;
    m_count = std::max(0, last - m_first + 1);
}

PageInfo PrintLayout::page(int number) const {
    PageInfo p;
    if (number < 1 || number > m_count) return p;
    const long long index = (long long)m_first - 1 + number - 1;
    const auto& cb = m_colBands[std::size_t(index / (long long)m_rowBands.size())];
    const auto& rb = m_rowBands[std::size_t(index % (long long)m_rowBands.size())];
    const PrintOptions& o = m_o;
    p.number = int(index + 1);
    p.total = m_total;
    p.cells = {cb.first, rb.first, cb.second, rb.second};
    p.scale = m_scale;
    p.header = {o.marginLeft, o.marginTop, m_pageW - o.marginLeft - o.marginRight, o.headerHeight};
    p.body = {o.marginLeft, o.marginTop + o.headerHeight, m_pageW - o.marginLeft - o.marginRight,
              m_pageH - o.marginTop - o.marginBottom - o.headerHeight - o.footerHeight};
    p.footer = {o.marginLeft, m_pageH - o.marginBottom - o.footerHeight, p.body.w, o.footerHeight};
    return p;
}

void PrintLayout::render(int number, Painter& p) const {
    if (number < 1 || number > pageCount()) return;
    const PageInfo pg = page(number);
    const double k = m_scale * kPointsPerPixel;
    const std::uint32_t gridColor = rgb(192, 192, 192), headBack = rgb(230, 230, 230), black = 0;
    double x0 = pg.body.x, y0 = pg.body.y;
    double headW = m_o.rowHeaders ? m_s.colWidthPixels(0) * k : 0,
           headH = m_o.colHeaders ? m_s.rowHeightPixels(0) * k : 0;
    std::vector<double> xs{x0 + headW}, ys{y0 + headH};
    for (int c = pg.cells.col1; c <= pg.cells.col2; ++c)
        xs.push_back(xs.back() + m_s.colWidthPixels(c) * k);
    for (int r = pg.cells.row1; r <= pg.cells.row2; ++r)
        ys.push_back(ys.back() + m_s.rowHeightPixels(r) * k);
    auto scaled = [&](Font f) {
        f.height = std::max(1, int(f.height * m_scale + 0.5));
        return f;
    };
    Font headFont;
    if (m_o.colHeaders)
        for (int c = pg.cells.col1; c <= pg.cells.col2; ++c) {
            PageRect r{xs[std::size_t(c - pg.cells.col1)], y0, m_s.colWidthPixels(c) * k, headH};
            if (m_o.colors) p.fillRect(r, headBack);
            std::string t = m_s.data(c, 0);
            p.drawText(r, t.empty() ? columnName(c) : t, scaled(headFont), black,
                       kAlignCenter | kAlignVCenter);
        }
    if (m_o.rowHeaders)
        for (int row = pg.cells.row1; row <= pg.cells.row2; ++row) {
            PageRect r{x0, ys[std::size_t(row - pg.cells.row1)], headW, m_s.rowHeightPixels(row) * k};
            if (m_o.colors) p.fillRect(r, headBack);
            std::string t = m_s.data(0, row);
            p.drawText(r, t.empty() ? std::to_string(row) : t, scaled(headFont), black,
                       kAlignCenter | kAlignVCenter);
        }
    for (int row = pg.cells.row1; row <= pg.cells.row2; ++row)
        for (int c = pg.cells.col1; c <= pg.cells.col2; ++c) {
            CellRange span{c, row, c, row};
            if (m_s.spanAt(c, row, span) && (span.col1 != c || span.row1 != row)) {
                // Covered by a span that starts on an earlier page: drawn there, but not lost here.
                if (!(c == pg.cells.col1 && span.col1 < c) && !(row == pg.cells.row1 && span.row1 < row))
                    continue;
            }
            int c2 = std::min(span.col2, pg.cells.col2), r2 = std::min(span.row2, pg.cells.row2);
            double x = xs[std::size_t(c - pg.cells.col1)], y = ys[std::size_t(row - pg.cells.row1)];
            PageRect rect{x, y, xs[std::size_t(c2 - pg.cells.col1 + 1)] - x,
                          ys[std::size_t(r2 - pg.cells.row1 + 1)] - y};
            const CellStyle& st = m_s.style(c, row);
            const CellType& ty = m_s.cellType(c, row);
            if (m_o.colors && st.backColor != kDefaultColor) p.fillRect(rect, st.backColor);
            if (m_o.gridLines) {
                p.drawLine(rect.x, rect.y + rect.h, rect.x + rect.w, rect.y + rect.h, gridColor, 0.5);
                p.drawLine(rect.x + rect.w, rect.y, rect.x + rect.w, rect.y + rect.h, gridColor, 0.5);
            }
            const BorderLine* b = st.border;
            auto edge = [&](const BorderLine& l, double x1, double y1, double x2, double y2) {
                if (l.style)
                    p.drawLine(x1, y1, x2, y2, m_o.colors ? l.color : black,
                               l.style >= 11 || l.style == 6 ? 1.5 : 0.75);
            };
            edge(b[0], rect.x, rect.y, rect.x, rect.y + rect.h);
            edge(b[1], rect.x + rect.w, rect.y, rect.x + rect.w, rect.y + rect.h);
            edge(b[2], rect.x, rect.y, rect.x + rect.w, rect.y);
            edge(b[3], rect.x, rect.y + rect.h, rect.x + rect.w, rect.y + rect.h);
            if (ty.kind == CellKind::Picture && !ty.picture.empty()) {
                p.drawImage(rect, ty.picture);
                continue;
            }
            std::string text =
                ty.kind == CellKind::CheckBox ? (m_s.data(c, row) == "1" ? "[X]" : "[ ]") : m_s.data(c, row);
            if (text.empty()) continue;
            Value v = m_s.value(c, row);
            std::uint32_t color = st.textColor == kDefaultColor || !m_o.colors ? black : st.textColor;
            if (m_o.colors && (ty.style & kNegativeRed) && v.isNumber() && v.number < 0)
                color = rgb(255, 0, 0);
            // As on screen: numbers to the right unless the cell is a text edit cell (digits typed
            // there are text), and long texts wrap where the cell type says so.
            std::uint32_t align = ty.style & (kAlignHMask | kAlignVMask);
            if ((align & kAlignHMask) == 0 && v.isNumber() && ty.kind != CellKind::Edit) align |= kAlignRight;
            if ((ty.style & kWordWrap) || ty.multiLine) align |= kWordWrap;
            p.drawText(rect, text, scaled(st.font), color, align);
        }
    if (m_o.frame) {
        double x1 = x0, y1 = y0, x2 = xs.back(), y2 = ys.back();
        p.drawLine(x1, y1, x2, y1, black, 1), p.drawLine(x2, y1, x2, y2, black, 1);
        p.drawLine(x2, y2, x1, y2, black, 1), p.drawLine(x1, y2, x1, y1, black, 1);
    }
    if (m_o.pageCallback) m_o.pageCallback(p, pg);
}

} // namespace sheet
