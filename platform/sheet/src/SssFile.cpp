#include <sheet/SssFile.h>

#include "SheetStore_p.h"
#include <sheet/Compiler.h>

#include <base/FileRead.h>
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

namespace {

/// How deeply a table file may nest lists and objects; the deepest part of a real file (a typed
/// text of a column) sits at six. Deeper text is refused as soon as it is met.
constexpr int kMaxFileDepth = 64;

// Small trees from parser events: the members of a table file other than its cells, and the odd
// cell value that is an object ({"error": 7}, {"b64": "..."}).
class TreeBuilder {
public:
    bool done() const { return m_done; }
    json take() {
        m_done = false;
        return std::move(m_root);
    }
    void key(std::string k) { m_key = std::move(k); }
    void put(json v) {
        json* slot;
        if (m_stack.empty()) {
            m_root = std::move(v);
            slot = &m_root;
        } else if (json& top = *m_stack.back(); top.is_array()) {
            top.push_back(std::move(v));
            slot = &top.back();
        } else {
            slot = &(top[m_key] = std::move(v));
        }
        if (slot->is_structured())
            m_stack.push_back(slot);
        else if (m_stack.empty())
            m_done = true;
    }
    void close() {
        m_stack.pop_back();
        if (m_stack.empty()) m_done = true;
    }

private:
    json m_root;
    std::vector<json*> m_stack;
    std::string m_key;
    bool m_done = false;
};

// Reads a table file from parser events straight into a fresh sheet: the cells of each column go
// into the store as they arrive, so a load holds the store and little more. Members may come in any
// order (files written before the streaming writer have the columns ahead of the sizes and the
// formula list): what a cell needs from a later member - a formula, style or type index - is kept
// raw in the cell and resolved when the file is complete.
class SheetReader : public nlohmann::json_sax<json> {
public:
    explicit SheetReader(Sheet& fresh)
        : m_sheet(fresh)
        , m_d(SheetAccess::d(fresh)) {}

    // --- parser events
    bool null() override { return scalar(json(nullptr)); }
    bool boolean(bool v) override { return scalar(json(v)); }
    bool number_integer(number_integer_t v) override { return scalar(json(v)); }
    bool number_unsigned(number_unsigned_t v) override { return scalar(json(v)); }
    bool number_float(number_float_t v, const string_t&) override { return scalar(json(v)); }
    bool string(string_t& v) override { return scalar(json(std::move(v))); }
    bool binary(binary_t&) override { return fail("binary data in a text file"); }
    bool start_object(std::size_t) override { return open(false); }
    bool start_array(std::size_t) override { return open(true); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool key(string_t& k) override {
        if (m_tree) {
            m_builder.key(std::move(k));
        } else if (m_depth == 1) {
            m_rootKey = std::move(k);
        } else if (m_depth == 3 && m_inColumns) {
            m_colKey = std::move(k);
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        m_syntax = true;
        return false;
    }

    // --- outcome
    bool syntaxError() const { return m_syntax; }
    bool notObject() const { return m_notObject; }
    const std::string& error() const { return m_error; }
    /// Applies the members other than the cells and completes the cells; throws LoadError.
    void finish();
    const json& root() const { return m_root; }

private:
    enum class List { None, Rows, Values, Formulas, Styles, Types };
    struct ColumnState {
        long long col = -1;
        std::vector<long long> runs;
        bool runsDone = false, hasValues = false;
        std::vector<int> rows;             // every row of the column, from the runs
        std::vector<Value> pendingValues;  // values met before the column's rows
        std::vector<long long> pending[3]; // formula, style and type indexes met before the rows
        std::size_t counts[4] = {};        // values, formulas, styles, types applied
        json typed;
    };

    bool fail(std::string why) {
        if (m_error.empty()) m_error = std::move(why);
        return false;
    }
    bool checked(auto&& f) {
        try {
            f();
            return true;
        } catch (const LoadError& e) {
            return fail(e.what());
        }
    }

    bool open(bool isArray) {
        if (++m_depth > kMaxFileDepth)
            return fail("lists and objects nested deeper than " + std::to_string(kMaxFileDepth) + " levels");
        if (m_tree) {
            m_builder.put(isArray ? json::array() : json::object());
            return true;
        }
        if (m_depth == 1) {
            if (isArray) m_notObject = true;
            return !isArray;
        }
        if (m_depth == 2) {
            if (m_rootKey == "columns") {
                if (!isArray) return fail("columns: list expected");
                m_inColumns = m_sawColumns = true;
                return true;
            }
            return startTree(isArray);
        }
        if (m_inColumns && m_depth == 3) {
            if (isArray) return fail("columns: object expected");
            m_col = ColumnState();
            return true;
        }
        if (m_inColumns && m_depth == 4) {
            m_list = List::None;
            if (m_colKey == "rows") m_list = List::Rows;
            if (m_colKey == "values") m_list = List::Values, m_col.hasValues = true;
            if (m_colKey == "formulas") m_list = List::Formulas;
            if (m_colKey == "styles") m_list = List::Styles;
            if (m_colKey == "types") m_list = List::Types;
            if (m_list != List::None) {
                if (!isArray) return fail(m_colKey + ": list expected");
                return true;
            }
            if (m_colKey == "col") return fail("column number: whole number expected");
            return startTree(isArray); // "typed", or a member this version does not know
        }
        if (m_inColumns && m_depth == 5 && m_list == List::Values) return startTree(isArray);
        if (m_inColumns && m_depth == 5) return fail(m_colKey + ": whole number expected");
        return fail("unexpected nesting");
    }

    bool startTree(bool isArray) {
        m_tree = true;
        m_treeDepth = m_depth;
        m_builder.put(isArray ? json::array() : json::object());
        return true;
    }

    bool close() {
        const int depth = m_depth--;
        if (m_tree) {
            m_builder.close();
            if (depth == m_treeDepth) {
                m_tree = false;
                return treeDone(m_builder.take());
            }
            return true;
        }
        if (m_inColumns && depth == 4) {
            if (m_list == List::Rows) return checked([&] { rowsDone(); });
            m_list = List::None;
            return true;
        }
        if (m_inColumns && depth == 3) return checked([&] { columnDone(); });
        if (m_inColumns && depth == 2) m_inColumns = false;
        return true;
    }

    bool scalar(json v) {
        if (m_tree) {
            m_builder.put(std::move(v));
            return true;
        }
        if (m_depth == 0) {
            m_notObject = true;
            return false;
        }
        if (m_depth == 1) {
            if (m_rootKey == "columns") return fail("columns: list expected");
            m_root[m_rootKey] = std::move(v);
            return true;
        }
        if (m_inColumns && m_depth == 3) {
            if (m_colKey == "col")
                return checked([&] { m_col.col = integer(v, "column number", 0, kMaxColLimit); });
            if (m_colKey == "rows" || m_colKey == "values") return fail(m_colKey + ": list expected");
            return true; // a member this version does not know
        }
        if (m_inColumns && m_depth == 4) return checked([&] { item(v); });
        if (m_depth == 2) return fail("columns: object expected");
        return true;
    }

    bool treeDone(json t) {
        if (m_depth == 1) {
            m_root[m_rootKey] = std::move(t);
            return true;
        }
        if (m_inColumns && m_depth == 3) {
            if (m_colKey == "typed") m_col.typed = std::move(t);
            return true;
        }
        if (m_inColumns && m_depth == 4) return checked([&] { item(t); });
        return true;
    }

    bool ready() const { return m_col.col >= 0 && m_col.runsDone; }

    // One item of a column's list.
    void item(const json& v) {
        switch (m_list) {
        case List::Rows:
            m_col.runs.push_back(integer(v, "row", 0, kMaxRowLimit));
            return;
        case List::Values:
            if (ready())
                putValue(valueFrom(v));
            else
                m_col.pendingValues.push_back(valueFrom(v));
            return;
        case List::Formulas:
        case List::Styles:
        case List::Types: {
            const int which = int(m_list) - int(List::Formulas);
            static const char* what[] = {"formula index", "style index", "type index"};
            long long x = integer(v, what[which], which == 0 ? -1 : 0, which == 0 ? 0x7FFFFFFE : 0xFFFE);
            if (ready())
                putIndex(which, x);
            else
                m_col.pending[which].push_back(x);
            return;
        }
        default:
            return;
        }
    }

    static Value valueFrom(const json& v) {
        if (v.is_number()) return Value::num(v.get<double>());
        if (v.is_boolean()) return Value::boolean(v.get<bool>());
        if (v.is_null()) return Value::empty();
        if (v.is_object() && v.contains("error"))
            return Value::err(ErrorCode(integer(v["error"], "error code", 1, int(ErrorCode::Circular))));
        return Value::str(textFrom(v, "cell value"));
    }

    void rowsDone() {
        m_list = List::None;
        const auto& runs = m_col.runs;
        if (runs.size() % 2) throw LoadError("rows: pairs of first row and count expected");
        long long lastRow = -1;
        for (std::size_t i = 0; i < runs.size(); i += 2) {
            long long start = runs[i], len = runs[i + 1];
            if (start < lastRow + 1) throw LoadError("row: " + std::to_string(start) + " out of range");
            if (len < 1 || len > kMaxRowLimit - start + 1)
                throw LoadError("row count: " + std::to_string(len) + " out of range");
            for (long long r = start; r < start + len; ++r)
                m_col.rows.push_back(int(r));
            lastRow = start + len - 1;
            m_maxRow = std::max(m_maxRow, lastRow);
        }
        m_col.runsDone = true;
        flushPending();
    }

    void flushPending() {
        if (!ready()) return;
        m_maxCol = std::max(m_maxCol, m_col.col);
        for (const Value& v : m_col.pendingValues)
            putValue(v);
        std::vector<Value>().swap(m_col.pendingValues);
        for (int which = 0; which < 3; ++which) {
            for (long long x : m_col.pending[which])
                putIndex(which, x);
            std::vector<long long>().swap(m_col.pending[which]);
        }
    }

    void putValue(const Value& v) {
        std::size_t& n = m_col.counts[0];
        if (n >= m_col.rows.size())
            throw LoadError("column " + std::to_string(m_col.col) + ": more values than rows");
        m_d.storeValue(m_d.at(int(m_col.col), m_col.rows[n++]), v);
    }

    // A formula, style or type index, kept raw in the cell until the lists it points into are read.
    void putIndex(int which, long long x) {
        std::size_t& n = m_col.counts[1 + which];
        if (n >= m_col.rows.size()) return; // extra entries past the rows mean nothing
        const int c = int(m_col.col), r = m_col.rows[n++];
        CellRec& rec = m_d.at(c, r);
        if (which == 0) {
            if (x < 0) return;
            if (c == 0 || r == 0) throw LoadError("formula in a header cell");
            rec.formula = std::uint32_t(x) + 1;
            m_maxIndex[0] = std::max(m_maxIndex[0], x);
        } else {
            (which == 1 ? rec.style : rec.type) = std::uint16_t(x);
            m_maxIndex[which] = std::max(m_maxIndex[which], x);
        }
    }

    void columnDone() {
        if (m_col.col < 0) throw LoadError("column: 'col' missing");
        if (!m_col.runsDone) throw LoadError("column: 'rows' missing");
        if (!m_col.hasValues) throw LoadError("column: 'values' missing");
        flushPending();
        const std::size_t rows = m_col.rows.size();
        const std::string name = "column " + std::to_string(m_col.col);
        if (m_col.counts[0] < rows) throw LoadError(name + ": fewer values than rows");
        static const char* lists[] = {"formulas", "styles", "types"};
        for (int which = 0; which < 3; ++which)
            if (m_col.counts[1 + which] && m_col.counts[1 + which] < rows)
                throw LoadError(std::string(lists[which]) + ": list shorter than the rows");
        if (!m_col.typed.is_null()) {
            // Numbers shown as they were typed ("12.50"): index into this column's cells.
            for (const json& t : array(m_col.typed, "typed")) {
                if (!t.is_array() || t.size() != 2) throw LoadError("typed: index and text expected");
                std::size_t i = std::size_t(integer(t[0], "typed index", 0, (long long)rows - 1));
                CellRec& rec = m_d.at(int(m_col.col), m_col.rows[i]);
                if (rec.kind != std::uint8_t(ValueKind::Number))
                    throw LoadError("typed: text for a cell that is no number");
                if (rec.text) m_d.freeText(rec.text);
                rec.text = m_d.addText(textFrom(t[1], "typed text"));
                rec.flags |= kKeepText;
            }
        }
        m_col = ColumnState();
    }

    Sheet& m_sheet;
    Sheet::Impl& m_d;
    json m_root = json::object();
    TreeBuilder m_builder;
    bool m_tree = false;
    int m_treeDepth = 0;
    int m_depth = 0;
    std::string m_rootKey, m_colKey;
    bool m_inColumns = false, m_sawColumns = false;
    List m_list = List::None;
    ColumnState m_col;
    long long m_maxCol = -1, m_maxRow = -1;
    long long m_maxIndex[3] = {-1, -1, -1};
    bool m_syntax = false, m_notObject = false;
    std::string m_error;
};

void SheetReader::finish() {
    const json& doc = m_root;
    Sheet& fresh = m_sheet;
    auto& d = m_d;
    int maxCols = int(integer(member(doc, "maxCols", "file"), "maxCols", 0, kMaxColLimit));
    int maxRows = int(integer(member(doc, "maxRows", "file"), "maxRows", 0, kMaxRowLimit));
    if (m_maxCol > maxCols) throw LoadError("column number: " + std::to_string(m_maxCol) + " out of range");
    if (m_maxRow > maxRows) throw LoadError("row: " + std::to_string(m_maxRow) + " out of range");
    if (!m_sawColumns) throw LoadError("file: 'columns' missing");
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
    std::vector<std::uint16_t> ids[2];
    for (const json& j : styles)
        ids[0].push_back(d.styles.intern(styleFrom(j)));
    for (const json& j : types)
        ids[1].push_back(d.types.intern(typeFrom(j)));
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
            throw LoadError("formula " + std::to_string(programs.size()) + " (" + t + "): " + err.message);
        programs.push_back(d.intern(p));
    }
    if (m_maxIndex[0] >= (long long)programs.size())
        throw LoadError("formula index: " + std::to_string(m_maxIndex[0]) + " out of range");
    if (m_maxIndex[1] >= (long long)ids[0].size())
        throw LoadError("style index: " + std::to_string(m_maxIndex[1]) + " out of range");
    if (m_maxIndex[2] >= (long long)ids[1].size())
        throw LoadError("type index: " + std::to_string(m_maxIndex[2]) + " out of range");
    // The cells' raw indexes become formula slots and the sheet's own style and type ids.
    auto identity = [](const std::vector<std::uint16_t>& v) {
        for (std::size_t i = 0; i < v.size(); ++i)
            if (v[i] != i) return false;
        return true;
    };
    const bool remapStyles = !identity(ids[0]), remapTypes = !identity(ids[1]);
    for (std::size_t ci = 0; ci < d.cols.count(); ++ci) {
        const int c = int(d.cols.keyAt(ci));
        auto& chunks = d.cols.itemAt(ci).chunks;
        for (std::size_t k = 0; k < chunks.count(); ++k) {
            CellRec* recs = chunks.itemAt(k);
            for (int i = 0; i < kChunk; ++i) {
                CellRec& rec = recs[i];
                if (rec.formula) {
                    std::uint32_t s = d.allocSlot();
                    d.slots[s].prog = programs[rec.formula - 1];
                    d.slots[s].col = c;
                    d.slots[s].row = int((std::size_t(chunks.keyAt(k)) << kChunkBits) + std::size_t(i));
                    d.slots[s].state = SlotState::Clean; // the saved value is the computed one
                    rec.formula = s + 1;
                }
                if (remapStyles && rec.style) rec.style = ids[0][rec.style];
                if (remapTypes && rec.type) rec.type = ids[1][rec.type];
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
}

template <class Input> FileResult readSheet(Sheet& target, Input&& input) {
    Sheet fresh;
    try {
        SheetReader reader(fresh);
        const bool parsed = json::sax_parse(std::forward<Input>(input), &reader);
        if (!parsed) {
            if (reader.notObject()) return {false, "not a table file: the format name is missing"};
            if (!reader.error().empty()) throw LoadError(reader.error());
            return {false, "not a table file: the text is not valid JSON"};
        }
        const json& doc = reader.root();
        if (!doc.contains("format") || doc["format"] != kFormatName)
            return {false, "not a table file: the format name is missing"};
        long long version = integer(member(doc, "version", "file"), "version", 1, 1 << 20);
        if (version > kSheetFileVersion)
            return {false, "the table was written by a newer version (file version " +
                               std::to_string(version) + ")"};
        reader.finish();
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

// Everything that allocates on behalf of the file is inside: a failure is reported, never thrown.
template <class Input> FileResult readSheetGuarded(Sheet& target, Input&& input) {
    try {
        return readSheet(target, std::forward<Input>(input));
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
    if (text.size() > kMaxTableFileBytes)
        return {false,
                "table refused: the file is larger than " + std::to_string(kMaxTableFileBytes >> 20) + " MB"};
    return readSheetGuarded(target, text);
}

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
    // Only a regular file is read, opened without blocking: a folder, a device (/dev/zero) or a FIFO
    // in a table's place is refused with a message instead of reading for ever. The size is checked
    // before anything is read: an oversized file is refused without being loaded.
    std::string text, error;
    try {
        if (!base::readRegularFile(path, text, kMaxTableFileBytes, &error)) return {false, error};
    } catch (const std::bad_alloc&) {
        return {false, path + ": table refused: not enough memory to open it"};
    }
    FileResult r = readSheetGuarded(s, std::string_view(text));
    if (!r) r.error = path + ": " + r.error;
    return r;
}

} // namespace sheet
