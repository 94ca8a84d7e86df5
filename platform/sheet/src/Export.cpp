#include <sheet/Export.h>

#include <sheet/Sheet.h>

#include <base/SafeFile.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace sheet {

namespace {

constexpr double kClipboardCellLimit = 4'000'000;
// A text or HTML export writes every cell of the used block, empty ones included, so its size
// follows the block's area: one value in A1 and one in the far corner of the grid would ask for
// terabytes. Larger blocks are refused.
constexpr double kExportCellLimit = 20'000'000;

std::string cellText(const Sheet& s, int c, int r, bool shown) {
    return shown ? s.data(c, r) : s.valueText(c, r);
}

// A field that holds the separator, a quote or a line break goes in quotes, with its quotes
// doubled; every other field is written as it is. So each line splits back into its cells.
std::string quotedField(const std::string& t, char sep) {
    if (t.find_first_of(std::string("\"\r\n") + sep) == std::string::npos) return t;
    std::string q = "\"";
    for (char ch : t) {
        if (ch == '"') q += '"';
        q += ch;
    }
    return q + "\"";
}

// Text between tags: markup characters as entities, a line break as a break.
std::string htmlEscape(std::string_view t) {
    std::string o;
    o.reserve(t.size());
    for (char ch : t) {
        switch (ch) {
        case '&':
            o += "&amp;";
            break;
        case '<':
            o += "&lt;";
            break;
        case '>':
            o += "&gt;";
            break;
        case '"':
            o += "&quot;";
            break;
        case '\'':
            o += "&#39;";
            break;
        case '\n':
            o += "<br>";
            break;
        case '\0':
            break;
        default:
            o += ch;
        }
    }
    return o;
}

// A quoted attribute value: as text, but a line break stays a line break (a tool tip of several
// lines) instead of markup that would show as "<br>".
std::string attrEscape(std::string_view t) {
    std::string o;
    o.reserve(t.size());
    std::size_t done = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '\n' && t[i] != '\r') continue;
        o += htmlEscape(t.substr(done, i - done));
        o += t[i] == '\n' ? "&#10;" : "&#13;";
        done = i + 1;
    }
    o += htmlEscape(t.substr(done));
    return o;
}

// A font name inside a CSS string: everything but letters, digits, spaces, '-' and '_' (and the
// bytes of non-ASCII letters) as a hexadecimal escape, so no quote, backslash, semicolon or line
// break in a name from a table file can end the string or the declaration.
std::string cssString(std::string_view t) {
    std::string o = "'";
    for (unsigned char ch : t) {
        if (std::isalnum(ch) || ch == ' ' || ch == '-' || ch == '_' || ch >= 0x80) {
            o += char(ch);
        } else if (ch != 0) {
            char b[8];
            std::snprintf(b, sizeof b, "\\%x ", ch);
            o += b;
        }
    }
    return o + "'";
}

// A picture path as an img source: a name that starts like a URL scheme ("javascript:", "data:",
// "http:") is made a relative path so that a table file cannot point the page at a script or
// another site; a drive letter ("C:") is left as it is.
std::string pictureSource(std::string_view path) {
    std::size_t colon = path.find(':');
    bool scheme = colon != std::string_view::npos && colon > 1 && std::isalpha((unsigned char)path[0]);
    for (std::size_t i = 0; scheme && i < colon; ++i) {
        unsigned char ch = path[i];
        scheme = std::isalnum(ch) || ch == '+' || ch == '-' || ch == '.';
    }
    return attrEscape(scheme ? "./" + std::string(path) : std::string(path));
}

// The block an export writes: the declared grid cut down to the cells that hold anything (values,
// formats, notes, header texts, spans). A table file may declare 475,254 columns and 16 million rows
// for a handful of cells; walking the declared grid would cost what the file merely claims.
CellPos exportExtent(const Sheet& s) {
    CellPos e{0, 0};
    s.forEachUsed([&](int c, int r) { e = {std::max(e.col, c), std::max(e.row, r)}; });
    for (const CellRange& sp : s.spans())
        e = {std::max(e.col, sp.col2), std::max(e.row, sp.row2)};
    return {std::min(e.col, s.maxCols()), std::min(e.row, s.maxRows())};
}

std::string cssColor(std::uint32_t c) {
    char b[8];
    std::snprintf(b, sizeof b, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return b;
}

std::string cssBorder(const BorderLine& l) {
    if (l.style == 0) return {};
    const char* kind = l.style == 2 || l.style == 12   ? "dashed"
                       : l.style == 3 || l.style == 13 ? "dotted"
                       : l.style == 6                  ? "double"
                                                       : "solid";
    int width = l.style == 6 ? 3 : (l.style >= 11 ? 2 : 1);
    return std::to_string(width) + "px " + kind + " " + cssColor(l.color);
}

// Empty when the used block fits the export budget; otherwise the reason it is refused.
std::string exportRefusal(const Sheet& s, const char* what) {
    const CellPos end = exportExtent(s);
    if (double(end.col) * double(end.row) <= kExportCellLimit) return {};
    return std::string("export refused: the used part of the table (") + std::to_string(end.col) +
           " columns by " + std::to_string(end.row) + " rows) is too large to write as " + what +
           " (at most 20 million cells)";
}

} // namespace

FileResult writeFileSafely(const std::string& path, std::string_view bytes) {
    if (path.empty()) return {false, "no file name given"};
    std::string error;
    if (!base::writeFileSafely(path, bytes, &error)) return {false, error};
    return {true, {}};
}

std::string exportText(const Sheet& s, unsigned flags) {
    if (!exportRefusal(s, "text").empty()) return {};
    const std::string sep = (flags & kTextBar) ? "|" : "\t";
    const std::string eol = (flags & kTextCrLf) ? "\r\n" : "\n";
    bool shown = flags & kTextShown;
    std::string out;
    int firstRow = (flags & kTextColHeaders) ? 0 : 1;
    int firstCol = (flags & kTextRowHeaders) ? 0 : 1;
    const CellPos end = exportExtent(s);
    for (int r = firstRow; r <= end.row; ++r) {
        for (int c = firstCol; c <= end.col; ++c) {
            if (c > firstCol) out += sep;
            std::string t = cellText(s, c, r, shown);
            if (t.empty() && (r == 0 || c == 0)) t = r == 0 ? columnName(c) : std::to_string(r);
            if (r == 0 && c == 0) t.clear();
            out += quotedField(t, sep[0]);
        }
        out += eol;
    }
    return out;
}

FileResult exportTextFile(const Sheet& s, const std::string& path, unsigned flags) {
    if (std::string why = exportRefusal(s, "text"); !why.empty()) return {false, why};
    return writeFileSafely(path, exportText(s, flags));
}

std::string exportHtml(const Sheet& s, std::string_view title) {
    if (!exportRefusal(s, "a web page").empty()) return {};
    std::string o =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + attrEscape(title) +
        "</title>\n<style>table{border-collapse:collapse}td,th{padding:1px 3px;vertical-align:bottom}"
        "th{background:#e6e6e6;font-weight:normal;border:1px solid #a0a0a0}</style></head><body>\n<table>\n";
    const CellPos end = exportExtent(s);
    o += "<colgroup>";
    for (int c = 0; c <= end.col; ++c)
        o += "<col style=\"width:" + std::to_string(s.colWidthPixels(c)) + "px\">";
    o += "</colgroup>\n<tr><th></th>";
    for (int c = 1; c <= end.col; ++c) {
        std::string h = s.data(c, 0);
        o += "<th>" + htmlEscape(h.empty() ? columnName(c) : h) + "</th>";
    }
    o += "</tr>\n";
    for (int r = 1; r <= end.row; ++r) {
        std::string h = s.data(0, r);
        o += "<tr style=\"height:" + std::to_string(s.rowHeightPixels(r)) + "px\"><th>" +
             htmlEscape(h.empty() ? std::to_string(r) : h) + "</th>";
        for (int c = 1; c <= end.col; ++c) {
            CellRange sp;
            std::string attrs;
            if (s.spanAt(c, r, sp)) {
                if (sp.col1 != c || sp.row1 != r) continue; // covered by the span's first cell
                if (sp.col2 > sp.col1) attrs += " colspan=\"" + std::to_string(sp.col2 - sp.col1 + 1) + "\"";
                if (sp.row2 > sp.row1) attrs += " rowspan=\"" + std::to_string(sp.row2 - sp.row1 + 1) + "\"";
            }
            const CellStyle& st = s.style(c, r);
            const CellType& ty = s.cellType(c, r);
            std::string css;
            if (st.font.face != Font().face) css += "font-family:" + cssString(st.font.face) + ";";
            if (st.font.height != Font().height) css += "font-size:" + std::to_string(st.font.height) + "pt;";
            if (st.font.weight >= 600) css += "font-weight:bold;";
            if (st.font.italic) css += "font-style:italic;";
            if (st.font.underline || st.font.strikeOut)
                css += std::string("text-decoration:") + (st.font.underline ? "underline " : "") +
                       (st.font.strikeOut ? "line-through" : "") + ";";
            Value v = s.value(c, r);
            std::uint32_t fg = st.textColor;
            if ((ty.style & kNegativeRed) && v.isNumber() && v.number < 0) fg = rgb(255, 0, 0);
            if (fg != kDefaultColor) css += "color:" + cssColor(fg) + ";";
            if (st.backColor != kDefaultColor) css += "background:" + cssColor(st.backColor) + ";";
            static const char* const kSide[] = {"left", "right", "top", "bottom"};
            for (int i = 0; i < 4; ++i)
                if (std::string b = cssBorder(st.border[i]); !b.empty())
                    css += std::string("border-") + kSide[i] + ":" + b + ";";
            std::uint32_t h = ty.style & kAlignHMask;
            if (h == kAlignRight || (h == 0 && v.isNumber()))
                css += "text-align:right;";
            else if (h == kAlignCenter)
                css += "text-align:center;";
            std::uint32_t vert = ty.style & kAlignVMask;
            if (vert == kAlignTop)
                css += "vertical-align:top;";
            else if (vert == kAlignVCenter)
                css += "vertical-align:middle;";
            if (!css.empty()) attrs += " style=\"" + attrEscape(css) + "\"";
            std::string note = s.note(c, r);
            if (!note.empty()) attrs += " title=\"" + attrEscape(note) + "\"";
            std::string content;
            if (ty.kind == CellKind::CheckBox)
                content = s.data(c, r) == "1" ? "&#9745;" : "&#9744;";
            else if (ty.kind == CellKind::Picture && !ty.picture.empty())
                content = "<img src=\"" + pictureSource(ty.picture) + "\" alt=\"\">";
            else
                content = htmlEscape(s.data(c, r));
            o += "<td" + attrs + ">" + content + "</td>";
        }
        o += "</tr>\n";
    }
    o += "</table>\n</body></html>\n";
    return o;
}

FileResult exportHtmlFile(const Sheet& s, const std::string& path, std::string_view title) {
    if (std::string why = exportRefusal(s, "a web page"); !why.empty()) return {false, why};
    return writeFileSafely(path, exportHtml(s, title));
}

std::string clipboardCopy(const Sheet& s, const CellRange& block) {
    CellRange b = s.clampRange(block);
    // A selection of a few million cells is copied as it is, empty cells included (pasting it clears
    // the cells it covers). A larger one, such as the whole of a grid declared huge, is cut down to
    // the cells in use, so that copying costs what the table holds.
    if (double(b.col2 - b.col1 + 1) * double(b.row2 - b.row1 + 1) > kClipboardCellLimit) {
        const CellPos end = exportExtent(s);
        b.col2 = std::min(b.col2, std::max(b.col1, end.col));
        b.row2 = std::min(b.row2, std::max(b.row1, end.row));
    }
    std::string out;
    for (int r = b.row1; r <= b.row2; ++r) {
        for (int c = b.col1; c <= b.col2; ++c) {
            if (c > b.col1) out += '\t';
            std::string t = s.data(c, r);
            if (t.find_first_of("\t\r\n\"") != std::string::npos) {
                std::string q = "\"";
                for (char ch : t)
                    q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
                t = q + "\"";
            }
            out += t;
        }
        out += "\r\n";
    }
    return out;
}

CellRange clipboardPaste(Sheet& s, CellPos at, std::string_view text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string cur;
    bool quoted = false, cellStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (quoted) {
            if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"')
                cur += '"', ++i;
            else if (ch == '"')
                quoted = false;
            else
                cur += ch;
            continue;
        }
        if (ch == '"' && cellStart) {
            quoted = true;
            cellStart = false;
            continue;
        }
        cellStart = false;
        if (ch == '\t') {
            rows.back().push_back(std::move(cur));
            cur.clear();
            cellStart = true;
        } else if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            rows.back().push_back(std::move(cur));
            cur.clear();
            rows.emplace_back();
            cellStart = true;
        } else {
            cur += ch;
        }
    }
    if (!cur.empty() || !rows.back().empty()) rows.back().push_back(std::move(cur));
    if (rows.back().empty()) rows.pop_back();
    CellRange written{0, 0, 0, 0};
    if (at.col < 1 || at.row < 1) return written;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            int tc = at.col + int(c), tr = at.row + int(r);
            if (tc > s.maxCols() || tr > s.maxRows()) continue;
            s.setData(tc, tr, rows[r][c]);
            if (written.col1 == 0) written = {tc, tr, tc, tr};
            written.col2 = std::max(written.col2, tc);
            written.row2 = std::max(written.row2, tr);
        }
    return written;
}

} // namespace sheet
