#include <sheet/SssFile.h>

#include "SheetStore_p.h"
#include <sheet/Compiler.h>

#include <base/SafeFile.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

namespace sheet {

using nlohmann::json;

namespace {

constexpr const char* kFormatName = "vorlane-sheet";

// --- texts: JSON holds UTF-8; any other bytes (a tag may carry raw 0xA4 separators) go as base64.
bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

const char* kB64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(std::string_view s) {
    std::string out;
    std::size_t i = 0;
    while (i + 2 < s.size()) {
        unsigned v = (unsigned char)s[i] << 16 | (unsigned char)s[i + 1] << 8 | (unsigned char)s[i + 2];
        out += kB64[v >> 18], out += kB64[(v >> 12) & 63], out += kB64[(v >> 6) & 63], out += kB64[v & 63];
        i += 3;
    }
    if (i + 1 == s.size()) {
        unsigned v = (unsigned char)s[i] << 16;
        out += kB64[v >> 18], out += kB64[(v >> 12) & 63], out += "==";
    } else if (i + 2 == s.size()) {
        unsigned v = (unsigned char)s[i] << 16 | (unsigned char)s[i + 1] << 8;
        out += kB64[v >> 18], out += kB64[(v >> 12) & 63], out += kB64[(v >> 6) & 63], out += '=';
    }
    return out;
}

struct LoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string unbase64(const std::string& s) {
    std::string out;
    unsigned v = 0;
    int bits = 0;
    for (char c : s) {
        if (c == '=') break;
        const char* p = std::strchr(kB64, c);
        if (!p || !c) throw LoadError("damaged base64 text");
        v = (v << 6) | unsigned(p - kB64);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += char((v >> bits) & 0xFF);
        }
    }
    return out;
}

json textJson(const std::string& s) {
    return validUtf8(s) ? json(s) : json{{"b64", base64(s)}};
}

std::string textFrom(const json& j, const char* what) {
    if (j.is_string()) return j.get<std::string>();
    if (j.is_object() && j.contains("b64") && j["b64"].is_string())
        return unbase64(j["b64"].get<std::string>());
    throw LoadError(std::string(what) + ": text expected");
}

// --- checked readers: every fault names what it was reading.
const json& member(const json& o, const char* key, const char* where) {
    auto it = o.find(key);
    if (it == o.end()) throw LoadError(std::string(where) + ": '" + key + "' missing");
    return *it;
}
long long integer(const json& j, const char* what, long long lo, long long hi) {
    if (!j.is_number_integer() && !j.is_number_unsigned())
        throw LoadError(std::string(what) + ": whole number expected");
    long long v = j.is_number_unsigned()
                      ? (long long)std::min<unsigned long long>(j.get<unsigned long long>(), 1ULL << 62)
                      : j.get<long long>();
    if (v < lo || v > hi) throw LoadError(std::string(what) + ": " + std::to_string(v) + " out of range");
    return v;
}
double number(const json& j, const char* what) {
    if (!j.is_number()) throw LoadError(std::string(what) + ": number expected");
    return j.get<double>();
}
bool boolean(const json& j, const char* what) {
    if (!j.is_boolean()) throw LoadError(std::string(what) + ": true or false expected");
    return j.get<bool>();
}
const json& array(const json& j, const char* what) {
    if (!j.is_array()) throw LoadError(std::string(what) + ": list expected");
    return j;
}

// JSON has no infinities: an open bound is stored as the largest double, which bounds nothing.
double finiteBound(double v, int side) {
    if (std::isfinite(v)) return v;
    if (std::isnan(v)) return side * 1e15;
    return std::copysign(std::numeric_limits<double>::max(), v);
}

json fontJson(const Font& f) {
    return {{"face", textJson(f.face)}, {"height", f.height},       {"weight", f.weight},
            {"italic", f.italic},       {"underline", f.underline}, {"strikeOut", f.strikeOut},
            {"charset", f.charset}};
}
Font fontFrom(const json& j) {
    Font f;
    f.face = textFrom(member(j, "face", "font"), "font face");
    f.height = int(integer(member(j, "height", "font"), "font height", 0, 2000));
    f.weight = int(integer(member(j, "weight", "font"), "font weight", 0, 1000));
    f.italic = boolean(member(j, "italic", "font"), "font italic");
    f.underline = boolean(member(j, "underline", "font"), "font underline");
    f.strikeOut = boolean(member(j, "strikeOut", "font"), "font strikeOut");
    f.charset = int(integer(member(j, "charset", "font"), "font charset", 0, 255));
    return f;
}

json styleJson(const CellStyle& s) {
    json b = json::array();
    for (const auto& l : s.border)
        b.push_back({l.style, l.color});
    return {{"font", fontJson(s.font)},
            {"textColor", s.textColor},
            {"backColor", s.backColor},
            {"borders", b},
            {"locked", s.locked}};
}
CellStyle styleFrom(const json& j) {
    CellStyle s;
    s.font = fontFrom(member(j, "font", "style"));
    s.textColor = std::uint32_t(integer(member(j, "textColor", "style"), "text colour", 0, 0xFFFFFFFFLL));
    s.backColor = std::uint32_t(integer(member(j, "backColor", "style"), "back colour", 0, 0xFFFFFFFFLL));
    const json& b = array(member(j, "borders", "style"), "borders");
    if (b.size() != 4) throw LoadError("borders: four sides expected");
    for (int i = 0; i < 4; ++i) {
        const json& l = array(b[std::size_t(i)], "border");
        if (l.size() != 2) throw LoadError("border: style and colour expected");
        s.border[i].style = std::uint8_t(integer(l[0], "border style", 0, 15));
        s.border[i].color = std::uint32_t(integer(l[1], "border colour", 0, 0xFFFFFFFFLL));
    }
    s.locked = boolean(member(j, "locked", "style"), "locked");
    return s;
}

json typeJson(const CellType& t) {
    return {{"kind", int(t.kind)},
            {"style", t.style},
            {"maxLength", t.maxLength},
            {"multiLine", t.multiLine},
            {"decimals", t.decimals},
            {"minimum", finiteBound(t.minimum, -1)},
            {"maximum", finiteBound(t.maximum, 1)},
            {"thousands", t.thousands},
            {"picture", textJson(t.picture)},
            {"picture2", textJson(t.picture2)},
            {"items", textJson(t.items)},
            {"editable", t.editable},
            {"framed", t.framed},
            {"text", textJson(t.text)}};
}
CellType typeFrom(const json& j) {
    CellType t;
    t.kind = CellKind(integer(member(j, "kind", "type"), "type kind", 0, 7));
    t.style = std::uint32_t(integer(member(j, "style", "type"), "type style", 0, 0xFFFFFFFFLL));
    t.maxLength = int(integer(member(j, "maxLength", "type"), "maxLength", 0, 1 << 30));
    t.multiLine = boolean(member(j, "multiLine", "type"), "multiLine");
    t.decimals = int(integer(member(j, "decimals", "type"), "decimals", 0, 15));
    t.minimum = number(member(j, "minimum", "type"), "minimum");
    t.maximum = number(member(j, "maximum", "type"), "maximum");
    t.thousands = boolean(member(j, "thousands", "type"), "thousands");
    t.picture = textFrom(member(j, "picture", "type"), "picture");
    t.picture2 = textFrom(member(j, "picture2", "type"), "picture2");
    t.items = textFrom(member(j, "items", "type"), "items");
    t.editable = boolean(member(j, "editable", "type"), "editable");
    t.framed = boolean(member(j, "framed", "type"), "framed");
    t.text = textFrom(member(j, "text", "type"), "type text");
    return t;
}

FileResult readSheet(Sheet& target, std::string_view text);

} // namespace

namespace {

// The JSON text of a table, written piece by piece: `flush(text)` receives it in parts of about a
// megabyte, so a save never holds a tree of the table nor the whole text. The members come in the
// order a streaming reader wants them: sizes, styles, types and formulas before the columns.
class SheetWriter {
public:
    using Flush = std::function<bool(std::string_view)>;
    SheetWriter(const Sheet& s, Flush flush)
        : m_s(s)
        , m_d(SheetAccess::d(s))
        , m_flush(std::move(flush)) {}

    bool write() {
        const Sheet& s = m_s;
        json head;
        head["format"] = kFormatName;
        head["version"] = kSheetFileVersion;
        head["maxCols"] = s.maxCols();
        head["maxRows"] = s.maxRows();
        json opts = json::array();
        // A saved file is by definition not changed since its save: the change-made option stays out.
        for (int i = 0; i < Sheet::kOptionCount; ++i)
            if (s.option(i) && i != Sheet::kOptChangeMade) opts.push_back(i);
        head["options"] = opts;
        head["refStyle"] = int(s.refStyle());
        head["unitType"] = int(s.unitType());
        head["activeCell"] = {s.activeCell().col, s.activeCell().row};
        CellRange sel = s.selection();
        head["selection"] = {sel.col1, sel.row1, sel.col2, sel.row2};
        json widths = json::array(), heights = json::array();
        m_d.colWidths.forEachRun(s.maxCols(), [&](int first, int last, float) {
            for (int c = first; c <= last; ++c)
                widths.push_back({c, s.colWidthPixels(c)});
        });
        m_d.rowHeights.forEachRun(s.maxRows(), [&](int first, int last, float) {
            for (int r = first; r <= last; ++r)
                heights.push_back({r, s.rowHeightPixels(r)});
        });
        json styles = json::array(), types = json::array(), spans = json::array();
        for (std::size_t i = 0; i < m_d.styles.size(); ++i)
            styles.push_back(styleJson(m_d.styles.get(std::uint16_t(i))));
        for (std::size_t i = 0; i < m_d.types.size(); ++i)
            types.push_back(typeJson(m_d.types.get(std::uint16_t(i))));
        for (const auto& sp : s.spans())
            spans.push_back({sp.col1, sp.row1, sp.col2, sp.row2});
        m_buf += '{';
        bool first = true;
        auto member = [&](const char* key, const json& v) {
            if (!first) m_buf += ',';
            first = false;
            m_buf += '"';
            m_buf += key;
            m_buf += "\":";
            m_buf += v.dump();
        };
        for (const char* key : {"format", "version", "maxCols", "maxRows", "options", "refStyle", "unitType",
                                "activeCell", "selection"})
            member(key, head[key]);
        member("colWidths", widths);
        member("rowHeights", heights);
        member("styles", styles);
        member("types", types);
        member("spans", spans);
        // Formulas are written once each in position-independent R1C1 form; cells point into this list.
        m_buf += ",\"formulas\":[";
        for (std::size_t ci = 0; ci < m_d.cols.count(); ++ci)
            forEachCell(ci, [&](int c, int row, const CellRec& rec) {
                if (!rec.formula) return;
                const Program* p = m_d.slots[rec.formula - 1].prog.get();
                auto [it, added] = m_formulaIndex.try_emplace(p, m_formulaIndex.size());
                if (!added) return;
                if (it->second) m_buf += ',';
                text(printFormula(*p, RefStyle::R1C1Exact, {c, row}));
                if (!spill()) m_failed = true;
            });
        m_buf += "],\"columns\":[";
        bool firstCol = true;
        for (std::size_t ci = 0; ci < m_d.cols.count() && !m_failed; ++ci)
            if (column(ci, firstCol)) firstCol = false;
        m_buf += ']';
        json tags = json::array(), notes = json::array();
        for (const auto& [k, v] : m_d.tags)
            tags.push_back({int(k >> 32), int(k & 0xFFFFFFFFu), textJson(v)});
        for (const auto& [k, v] : m_d.notes)
            notes.push_back({int(k >> 32), int(k & 0xFFFFFFFFu), textJson(v)});
        member("tags", tags);
        member("notes", notes);
        m_buf += '}';
        return !m_failed && m_flush(m_buf);
    }

private:
    static bool stored(const CellRec& rec) { return rec.kind || rec.formula || rec.style || rec.type; }

    // Calls fn(col, row, rec) for the saved cells of the column at position ci, in row order.
    template <class F> void forEachCell(std::size_t ci, F&& fn) const {
        const int c = int(m_d.cols.keyAt(ci));
        const auto& ch = m_d.cols.itemAt(ci).chunks;
        for (std::size_t k = 0; k < ch.count(); ++k)
            for (int i = 0; i < kChunk; ++i) {
                const CellRec& rec = ch.itemAt(k)[std::size_t(i)];
                if (stored(rec)) fn(c, int((std::size_t(ch.keyAt(k)) << kChunkBits) + std::size_t(i)), rec);
            }
    }

    // One column: its runs of rows first, then one list per aspect, each in the order of the runs.
    bool column(std::size_t ci, bool firstCol) {
        bool anyFormula = false, anyStyle = false, anyType = false, anyKept = false;
        std::string runs;
        int runStart = -1, runLen = 0;
        auto closeRun = [&] {
            if (runStart < 0) return;
            if (!runs.empty()) runs += ',';
            runs += std::to_string(runStart) + ',' + std::to_string(runLen);
        };
        forEachCell(ci, [&](int, int row, const CellRec& rec) {
            if (runStart >= 0 && runStart + runLen == row) {
                ++runLen;
            } else {
                closeRun();
                runStart = row, runLen = 1;
            }
            anyFormula |= rec.formula != 0;
            anyStyle |= rec.style != 0;
            anyType |= rec.type != 0;
            anyKept |= (rec.flags & kKeepText) && rec.text;
        });
        closeRun();
        if (runStart < 0) return false;
        if (!firstCol) m_buf += ',';
        m_buf += "{\"col\":" + std::to_string(m_d.cols.keyAt(ci)) + ",\"rows\":[" + runs + "],\"values\":[";
        list(ci, [&](const CellRec& rec) {
            switch (ValueKind(rec.kind)) {
            case ValueKind::Number:
                // A number that is not finite has no JSON text; it is the error it stands for.
                if (std::isfinite(rec.num))
                    number(rec.num);
                else
                    m_buf += "{\"error\":" + std::to_string(int(ErrorCode::Num)) + '}';
                break;
            case ValueKind::Text:
                text(m_d.texts[rec.text - 1]);
                break;
            case ValueKind::Bool:
                m_buf += rec.num != 0 ? "true" : "false";
                break;
            case ValueKind::Error:
                m_buf += "{\"error\":" + std::to_string(int(rec.num)) + '}';
                break;
            default:
                m_buf += "null";
                break;
            }
        });
        m_buf += ']';
        if (anyKept) {
            m_buf += ",\"typed\":[";
            std::size_t n = 0;
            bool firstKept = true;
            forEachCell(ci, [&](int, int, const CellRec& rec) {
                if ((rec.flags & kKeepText) && rec.text) {
                    if (!firstKept) m_buf += ',';
                    firstKept = false;
                    m_buf += '[' + std::to_string(n) + ',';
                    text(m_d.texts[rec.text - 1]);
                    m_buf += ']';
                }
                ++n;
            });
            m_buf += ']';
        }
        if (anyFormula) {
            m_buf += ",\"formulas\":[";
            list(ci, [&](const CellRec& rec) {
                m_buf += rec.formula
                             ? std::to_string(m_formulaIndex.at(m_d.slots[rec.formula - 1].prog.get()))
                             : std::string("-1");
            });
            m_buf += ']';
        }
        if (anyStyle) {
            m_buf += ",\"styles\":[";
            list(ci, [&](const CellRec& rec) { m_buf += std::to_string(rec.style); });
            m_buf += ']';
        }
        if (anyType) {
            m_buf += ",\"types\":[";
            list(ci, [&](const CellRec& rec) { m_buf += std::to_string(rec.type); });
            m_buf += ']';
        }
        m_buf += '}';
        return true;
    }

    // Writes one list item per saved cell of a column, separated by commas.
    template <class F> void list(std::size_t ci, F&& item) {
        bool first = true;
        forEachCell(ci, [&](int, int, const CellRec& rec) {
            if (!first) m_buf += ',';
            first = false;
            item(rec);
            if (!spill()) m_failed = true;
        });
    }

    void number(double v) {
        char b[32];
        auto r = std::to_chars(b, b + sizeof b, v);
        m_buf.append(b, r.ptr);
    }
    void text(const std::string& t) { m_buf += textJson(t).dump(); }

    // Hands a full buffer on; false once the sink failed.
    bool spill() {
        if (m_buf.size() < (std::size_t(1) << 20) || m_failed) return !m_failed;
        if (!m_flush(m_buf)) return false;
        m_buf.clear();
        return true;
    }

    const Sheet& m_s;
    const Sheet::Impl& m_d;
    Flush m_flush;
    std::string m_buf;
    std::unordered_map<const Program*, std::size_t> m_formulaIndex;
    bool m_failed = false;
};

} // namespace

std::string sheetToJson(const Sheet& s) {
    std::string out;
    SheetWriter(s, [&](std::string_view part) {
        out += part;
        return true;
    }).write();
    return out;
}

FileResult sheetFromJson(Sheet& target, std::string_view text) {
    // Everything that allocates on behalf of the file is inside: a failure is reported, never thrown.
    try {
        return readSheet(target, text);
    } catch (const StoreBudgetExceeded&) {
        return {false, "table refused: its cells would need more than " +
                           std::to_string(kStoreBudgetBytes >> 20) +
                           " MB of memory (cells spread far apart, or too many of them)"};
    } catch (const std::bad_alloc&) {
        return {false, "table refused: not enough memory to open it"};
    } catch (const std::length_error&) {
        return {false, "table refused: not enough memory to open it"};
    }
}

namespace {
FileResult readSheet(Sheet& target, std::string_view text) {
    if (text.size() > kMaxTableFileBytes)
        return {false,
                "table refused: the file is larger than " + std::to_string(kMaxTableFileBytes >> 20) + " MB"};
    json doc = json::parse(text.begin(), text.end(), nullptr, false);
    if (doc.is_discarded()) return {false, "not a table file: the text is not valid JSON"};
    if (!doc.is_object() || !doc.contains("format") || doc["format"] != kFormatName)
        return {false, "not a table file: the format name is missing"};
    Sheet fresh;
    try {
        long long version = integer(member(doc, "version", "file"), "version", 1, 1 << 20);
        if (version > kSheetFileVersion)
            return {false, "the table was written by a newer version (file version " +
                               std::to_string(version) + ")"};
        auto& d = SheetAccess::d(fresh);
        int maxCols = int(integer(member(doc, "maxCols", "file"), "maxCols", 0, kMaxColLimit));
        int maxRows = int(integer(member(doc, "maxRows", "file"), "maxRows", 0, kMaxRowLimit));
        fresh.setMaxCols(maxCols);
        fresh.setMaxRows(maxRows);
        fresh.setOption(Sheet::kOptAutoRecalc, false);
        std::vector<int> options;
        for (const json& o : array(member(doc, "options", "file"), "options"))
            options.push_back(int(integer(o, "option", 0, Sheet::kOptionCount - 1)));
        fresh.setRefStyle(RefStyle(integer(member(doc, "refStyle", "file"), "refStyle", 0, 2)));
        fresh.setUnitType(UnitType(integer(member(doc, "unitType", "file"), "unitType", 0, 2)));
        const json& ac = array(member(doc, "activeCell", "file"), "activeCell");
        if (ac.size() != 2) throw LoadError("activeCell: column and row expected");
        fresh.setActiveCell(int(integer(ac[0], "activeCell", 0, kMaxColLimit)),
                            int(integer(ac[1], "activeCell", 0, kMaxRowLimit)));
        const json& sel = array(member(doc, "selection", "file"), "selection");
        if (sel.size() != 4) throw LoadError("selection: four numbers expected");
        fresh.setSelection({int(integer(sel[0], "selection", 0, kMaxColLimit)),
                            int(integer(sel[1], "selection", 0, kMaxRowLimit)),
                            int(integer(sel[2], "selection", 0, kMaxColLimit)),
                            int(integer(sel[3], "selection", 0, kMaxRowLimit))});
        for (const json& w : array(member(doc, "colWidths", "file"), "colWidths")) {
            if (!w.is_array() || w.size() != 2) throw LoadError("colWidths: column and width expected");
            if (!fresh.setColWidthPixels(int(integer(w[0], "column", 0, maxCols)),
                                         int(integer(w[1], "width", 0, 100000))))
                throw LoadError("colWidths: bad entry");
        }
        for (const json& h : array(member(doc, "rowHeights", "file"), "rowHeights")) {
            if (!h.is_array() || h.size() != 2) throw LoadError("rowHeights: row and height expected");
            if (!fresh.setRowHeightPixels(int(integer(h[0], "row", 0, maxRows)),
                                          int(integer(h[1], "height", 0, 100000))))
                throw LoadError("rowHeights: bad entry");
        }
        const json& styles = array(member(doc, "styles", "file"), "styles");
        const json& types = array(member(doc, "types", "file"), "types");
        if (styles.size() > 0xFFFE || types.size() > 0xFFFE) throw LoadError("too many styles or types");
        std::vector<std::uint16_t> styleIds, typeIds;
        for (const json& j : styles)
            styleIds.push_back(d.styles.intern(styleFrom(j)));
        for (const json& j : types)
            typeIds.push_back(d.types.intern(typeFrom(j)));
        for (const json& sp : array(member(doc, "spans", "file"), "spans")) {
            if (!sp.is_array() || sp.size() != 4) throw LoadError("spans: four numbers expected");
            int c1 = int(integer(sp[0], "span", 1, maxCols)), r1 = int(integer(sp[1], "span", 1, maxRows));
            int c2 = int(integer(sp[2], "span", c1, maxCols)), r2 = int(integer(sp[3], "span", r1, maxRows));
            if (!fresh.addSpan(c1, r1, c2 - c1 + 1, r2 - r1 + 1)) throw LoadError("spans: overlapping spans");
        }
        // Formula texts compile once each; the programs are shared by every cell that uses them.
        std::vector<ProgramPtr> programs;
        for (const json& f : array(member(doc, "formulas", "file"), "formulas")) {
            ParseError err;
            std::string t = textFrom(f, "formula");
            ProgramPtr p = compileFormula(t, RefStyle::R1C1Exact, {1, 1}, err);
            if (!p)
                throw LoadError("formula " + std::to_string(programs.size()) + " (" + t +
                                "): " + err.message);
            programs.push_back(d.intern(p));
        }
        for (const json& col : array(member(doc, "columns", "file"), "columns")) {
            if (!col.is_object()) throw LoadError("columns: object expected");
            int c = int(integer(member(col, "col", "column"), "column number", 0, maxCols));
            const json& runs = array(member(col, "rows", "column"), "rows");
            const json& values = array(member(col, "values", "column"), "values");
            const json* fidx = col.contains("formulas") ? &array(col["formulas"], "formulas") : nullptr;
            const json* sidx = col.contains("styles") ? &array(col["styles"], "styles") : nullptr;
            const json* tidx = col.contains("types") ? &array(col["types"], "types") : nullptr;
            if (runs.size() % 2) throw LoadError("rows: pairs of first row and count expected");
            std::size_t n = 0;
            long long lastRow = -1;
            for (std::size_t i = 0; i < runs.size(); i += 2) {
                long long start = integer(runs[i], "row", lastRow + 1, maxRows);
                long long len = integer(runs[i + 1], "row count", 1, maxRows - start + 1);
                for (long long r = start; r < start + len; ++r, ++n) {
                    if (n >= values.size())
                        throw LoadError("column " + std::to_string(c) + ": fewer values than rows");
                    CellRec& rec = d.at(c, int(r));
                    const json& v = values[n];
                    if (v.is_number())
                        d.storeValue(rec, Value::num(v.get<double>()));
                    else if (v.is_boolean())
                        d.storeValue(rec, Value::boolean(v.get<bool>()));
                    else if (v.is_null())
                        d.storeValue(rec, Value::empty());
                    else if (v.is_object() && v.contains("error"))
                        d.storeValue(rec, Value::err(ErrorCode(integer(v["error"], "error code", 1,
                                                                       int(ErrorCode::Circular)))));
                    else
                        d.storeValue(rec, Value::str(textFrom(v, "cell value")));
                    if (fidx) {
                        if (n >= fidx->size()) throw LoadError("formulas: list shorter than the rows");
                        long long f =
                            integer((*fidx)[n], "formula index", -1, (long long)programs.size() - 1);
                        if (f >= 0) {
                            if (c == 0 || r == 0) throw LoadError("formula in a header cell");
                            std::uint32_t s = d.allocSlot();
                            d.slots[s].prog = programs[std::size_t(f)];
                            d.slots[s].col = c;
                            d.slots[s].row = int(r);
                            d.slots[s].state = SlotState::Clean; // the saved value is the computed one
                            rec.formula = s + 1;
                        }
                    }
                    if (sidx) {
                        if (n >= sidx->size()) throw LoadError("styles: list shorter than the rows");
                        rec.style = styleIds.at(std::size_t(
                            integer((*sidx)[n], "style index", 0, (long long)styleIds.size() - 1)));
                    }
                    if (tidx) {
                        if (n >= tidx->size()) throw LoadError("types: list shorter than the rows");
                        rec.type = typeIds.at(
                            std::size_t(integer((*tidx)[n], "type index", 0, (long long)typeIds.size() - 1)));
                    }
                }
                lastRow = start + len - 1;
            }
            if (n != values.size())
                throw LoadError("column " + std::to_string(c) + ": more values than rows");
            if (col.contains("typed")) {
                // Numbers shown as they were typed ("12.50"): index into this column's cells.
                std::vector<std::pair<std::size_t, int>> order; // cell index -> row
                for (std::size_t i = 0, k = 0; i < runs.size(); i += 2)
                    for (long long r = runs[i].get<long long>();
                         r < runs[i].get<long long>() + runs[i + 1].get<long long>(); ++r)
                        order.push_back({k++, int(r)});
                for (const json& t : array(col["typed"], "typed")) {
                    if (!t.is_array() || t.size() != 2) throw LoadError("typed: index and text expected");
                    std::size_t i = std::size_t(integer(t[0], "typed index", 0, (long long)order.size() - 1));
                    CellRec& rec = d.at(c, order[i].second);
                    if (rec.kind != std::uint8_t(ValueKind::Number))
                        throw LoadError("typed: text for a cell that is no number");
                    if (rec.text) d.freeText(rec.text);
                    rec.text = d.addText(textFrom(t[1], "typed text"));
                    rec.flags |= kKeepText;
                }
            }
        }
        for (const char* which : {"tags", "notes"}) {
            for (const json& t : array(member(doc, which, "file"), which)) {
                if (!t.is_array() || t.size() != 3)
                    throw LoadError(std::string(which) + ": column, row and text expected");
                int c = int(integer(t[0], "column", 0, maxCols)), r = int(integer(t[1], "row", 0, maxRows));
                std::string v = textFrom(t[2], which);
                if (which[0] == 't')
                    fresh.setTag(c, r, v);
                else
                    fresh.setNote(c, r, v);
            }
        }
        d.rebuildDependencies();
        // Older files stored the change-made option; a table that was just opened is unchanged.
        for (int o : options)
            if (o != Sheet::kOptChangeMade) fresh.setOption(o, true);
    } catch (const LoadError& e) {
        return {false, std::string("damaged table file: ") + e.what()};
    } catch (const json::exception& e) {
        return {false, std::string("damaged table file: ") + e.what()};
    } catch (const std::out_of_range& e) {
        return {false, std::string("damaged table file: ") + e.what()};
    }
    if (!target.swapContents(fresh)) return {false, "the table is being recalculated"};
    return {true, {}};
}
} // namespace

FileResult saveSheet(const Sheet& s, const std::string& path) {
    if (path.empty()) return {false, "no file name given"};
    try {
        base::SafeFileWriter w(path);
        bool ok = w.open() && SheetWriter(s, [&](std::string_view part) { return w.write(part); }).write() &&
                  w.commit();
        if (!ok) {
            std::string error = w.error();
            w.discard();
            return {false, error.empty() ? "cannot write " + path : error};
        }
    } catch (const std::bad_alloc&) {
        return {false, "not enough memory to save the table"};
    }
    return {true, {}};
}

FileResult loadSheet(Sheet& s, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {false, "cannot open " + path + ": " + std::strerror(errno)};
    // The size is checked before anything is read: an oversized file is refused without being loaded.
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > std::streamoff(kMaxTableFileBytes))
        return {false, path + ": table refused: the file is larger than " +
                           std::to_string(kMaxTableFileBytes >> 20) + " MB"};
    std::string bytes;
    try {
        std::ostringstream ss;
        ss << in.rdbuf();
        if (in.bad()) return {false, "cannot read " + path};
        bytes = std::move(ss).str();
    } catch (const std::bad_alloc&) {
        return {false, path + ": table refused: not enough memory to open it"};
    }
    FileResult r = sheetFromJson(s, bytes);
    if (!r) r.error = path + ": " + r.error;
    return r;
}

} // namespace sheet
