#include "calc/ReportBuilder.h"

#include "calc/TablePropertyList.h"

#include <base/NumberText.h>
#include <host/FileUtils.h>
#include <host/VorJson.h>
#include <ui/Image.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <numeric>

namespace {

/// Style rows of a template table, named by their row header texts.
constexpr const char* kStyleRows[] = {"Title", "Regular", "Merged", "Total", "Column Names"};
enum StyleRow { kTitle, kRegular, kMerged, kTotal, kColumnNames, kStyleRowCount };

constexpr double kPixelsPerMm = 96.0 / 25.4;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return char(std::tolower(ch)); });
    return s;
}

std::string dataText(const TSpread& t, int col, int row) {
    std::string s;
    t.GetData(col, row, s);
    return s;
}

/// A number as a report's data writes it; point or comma, never the process locale.
double reportNumber(const std::string& text) {
    double v = 0;
    if (base::parseNumber(text, v)) return v;
    if (base::readTypedNumber(text, v) == base::TypedNumber::Number) return v;
    return 0; // as atof has it: what is no number counts as 0
}

/// What a template cell gives the cells styled after it.
struct CellLook {
    sheet::CellType type;
    std::uint32_t back = sheet::kDefaultColor, text = sheet::kDefaultColor;
    sheet::Font font;
};

CellLook lookOf(const TSpread& t, int col, int row) {
    CellLook l;
    t.GetCellType(col, row, l.type);
    t.GetColor(col, row, l.back, l.text);
    t.GetFont(col, row, l.font);
    return l;
}

/// Gives a block the template's look. The type comes along only where it does not change what the
/// cells hold: a number or text column keeps its own kind, decimals and limits and takes the
/// template's alignment; a plain template cell leaves the type alone.
void applyLook(TSpread& g, const CellLook& l, int c1, int r1, int c2, int r2) {
    for (int c = c1; c <= c2; ++c)
        for (int r = r1; r <= r2; ++r) {
            sheet::CellType t;
            g.GetCellType(c, r, t);
            if (l.type.kind != sheet::CellKind::General) {
                if (t.kind == l.type.kind || t.kind == sheet::CellKind::Number ||
                    t.kind == sheet::CellKind::Edit || t.kind == sheet::CellKind::Picture)
                    t.style = l.type.style;
                else
                    t = l.type;
                g.SetCellType(c, r, t);
            }
        }
    g.SetColorRange(c1, r1, c2, r2, l.back, l.text);
    g.SetFontRange(c1, r1, c2, r2, l.font);
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

bool defaultPictureSize(const std::string& file, int& w, int& h) {
    ui::Image img = ui::Image::fromFile(file);
    if (img.isNull()) return false;
    w = img.size().cx;
    h = img.size().cy;
    return true;
}

/// Copies the template's looks onto the report, column by column. Only the template's stored cells
/// are walked: a template that declares a huge size costs what it holds.
void applyTemplate(TSpread& g, const TSpread& tpl, const ReportTableData& d, int rows) {
    const int cols = int(d.columnNames.length());
    int styleRow[kStyleRowCount];
    std::fill(std::begin(styleRow), std::end(styleRow), -1);
    const int tplRows = tpl.GetMaxRows(), tplCols = tpl.GetMaxCols();
    tpl.ForEachStoredCell(0, 1, 0, tplRows, [&](int, int r) {
        const std::string name = lower(dataText(tpl, 0, r));
        for (int s = 0; s < kStyleRowCount; ++s)
            if (name == lower(kStyleRows[s]) && (styleRow[s] < 0 || r < styleRow[s])) styleRow[s] = r;
    });
    // Where each name first stands from the "Column Names" row on, row by row, then across.
    std::map<std::string, std::pair<int, int>> named;
    if (styleRow[kColumnNames] > 0 && tplCols >= 1)
        tpl.ForEachStoredCell(1, styleRow[kColumnNames], tplCols, tplRows, [&](int k, int r) {
            auto [at, fresh] = named.try_emplace(lower(dataText(tpl, k, r)), r, k);
            if (!fresh && std::pair(r, k) < at->second) at->second = {r, k};
        });
    for (int c = 0; c < cols; ++c) {
        // The template column that names this column; a column the template does not name looks
        // like its first column.
        int tc = tplCols >= 1 ? 1 : -1;
        const auto found = named.find(lower(d.columnNames[c].str()));
        if (found != named.end()) tc = found->second.second;
        if (tc < 0) continue;
        const int col = c + 1;
        if (styleRow[kTitle] > 0) applyLook(g, lookOf(tpl, tc, styleRow[kTitle]), col, 0, col, 0);
        if (styleRow[kRegular] > 0 && rows > 0)
            applyLook(g, lookOf(tpl, tc, styleRow[kRegular]), col, 1, col, rows);
        if (styleRow[kMerged] > 0)
            for (const ReportSpan& s : d.merged)
                if (s.col1 == c)
                    applyLook(g, lookOf(tpl, tc, styleRow[kMerged]), s.col1 + 1, s.row1 + 1,
                              std::min(s.col2 + 1, cols), std::min(s.row2 + 1, rows));
        if (styleRow[kTotal] > 0)
            for (const ReportSum& s : d.sums)
                if (s.col == c)
                    applyLook(g, lookOf(tpl, tc, styleRow[kTotal]), col, s.row + 1, col, s.row + 1);
    }
}

} // namespace

bool buildReport(TSpread& g, TSpread& tpl, const ReportTableData& d, std::string* error,
                 const PictureSize& pictureSize) {
    const int cols = int(d.columnNames.length());
    if (int(d.decimals.size()) != cols)
        return fail(error, "Report: one decimals number per column is needed");
    for (const Vor_StringArray& row : d.rows)
        if (int(row.length()) != cols) return fail(error, "Report: every row needs one text per column");
    if (std::string fault = reportRangeFault(d); !fault.empty()) return fail(error, fault);
    int rows = int(d.rows.size());
    for (const ReportSum& s : d.sums)
        rows = std::max(rows, s.row + 1); // a total may sit below the data

    // start from an empty table of the right size
    g.SetMaxCols(0);
    g.SetMaxRows(0);
    g.SetMaxCols(cols);
    g.SetMaxRows(rows);
    for (int c = 0; c < cols; ++c)
        g.SetData(c + 1, 0, d.columnNames[c].str());

    for (int c = 0; c < cols; ++c) {
        sheet::CellType t;
        const bool number = d.decimals[std::size_t(c)] >= 0;
        if (number)
            g.SetTypeNumber(t, 0, d.decimals[std::size_t(c)], -99999999999999.0, 99999999999999.0, true);
        else
            g.SetTypeEdit(t, 0, 9999, d.multiLine);
        if (rows > 0) g.SetCellTypeRange(c + 1, 1, c + 1, rows, t);
        for (int r = 0; r < int(d.rows.size()); ++r) {
            const std::string& text = d.rows[std::size_t(r)][c].str();
            if (number && !text.empty())
                g.SetFloat(c + 1, r + 1, reportNumber(text));
            else
                g.SetData(c + 1, r + 1, text);
        }
    }

    const std::vector<double> widths = fitReportWidths(d);
    for (int c = 0; c < cols; ++c)
        if (widths[std::size_t(c)] > 0)
            g.SetColWidthInPixels(c + 1, int(std::lround(widths[std::size_t(c)] * kPixelsPerMm)));

    for (const ReportSum& s : d.sums) {
        const std::string f = "sum(#" + std::to_string(s.from + 1) + ":#" + std::to_string(s.to + 1) + ")";
        g.SetFormula(s.col + 1, s.row + 1, f);
        g.ReCalcCell(s.col + 1, s.row + 1);
    }

    const PictureSize& size = pictureSize ? pictureSize : PictureSize(defaultPictureSize);
    for (const ReportPicture& p : d.pictures) {
        int w = 0, h = 0;
        if (!fileExists(p.file) || !size(p.file.str(), w, h)) continue;
        const int col = p.col + 1, row = p.row + 1;
        if (col < 1 || col > cols || row < 1 || row > rows) continue;
        int span = 0, covered = 0;
        while (col + span <= cols && covered < w) {
            int px = 0;
            g.GetColWidthInPixels(col + span, px);
            covered += px;
            ++span;
        }
        span = std::max(span, 1);
        if (span > 1) g.AddCellSpan(col, row, span, 1);
        g.SetRowHeightInPixels(row, h);
        sheet::CellType t;
        g.SetTypePicture(t, 0, p.file.str());
        g.SetCellTypeRange(col, row, col + span - 1, row, t);
    }

    if (!d.templateFile.isEmpty() && fileExists(d.templateFile) && tpl.LoadFromFile(d.templateFile.str()))
        applyTemplate(g, tpl, d, rows);

    for (const ReportSpan& s : d.merged)
        g.AddCellSpan(s.col1 + 1, s.row1 + 1, s.col2 - s.col1 + 1, s.row2 - s.row1 + 1);

    TableProperties p;
    p.headerFile = d.headerFile;
    p.footerFile = d.footerFile;
    p.marginLeft = 9;
    p.marginRight = 5;
    p.marginTop = 5;
    p.marginBottom = 5;
    p.smartPrint = false;
    p.colors = true;
    p.colHeader = true;
    p.rowHeader = false;
    p.cellSeperators = true;
    p.border = true;
    p.varNames = d.varNames;
    p.varValues = d.varValues;
    Vor_String tag;
    writeTableProperties(tag, p);
    g.SetCellTag(0, 0, tag.str());
    if (!g.SaveToFile(d.outputFile.str())) return fail(error, "Report: " + g.LastError());
    return true;
}
