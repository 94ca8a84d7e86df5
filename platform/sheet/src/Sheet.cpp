#include <sheet/Sheet.h>

#include "SheetStore_p.h"
#include <sheet/Compiler.h>

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

template <class F> void forEachRecord(Sheet::Impl& d, const CellRange& r, F&& fn) {
    d.forEachRecord(r, std::forward<F>(fn));
}

// The record of a cell, allocated when missing; null when the store cannot grow (out of memory or
// past its budget), which the caller reports as a refused edit.
CellRec* allocate(Sheet::Impl& d, int c, int r) noexcept {
    try {
        return &d.at(c, r);
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::length_error&) {
        return nullptr;
    }
}

bool recordUsed(const CellRec& c) {
    return c.kind != 0 || c.formula || c.style || c.type || (c.flags & (kHasTag | kHasNote));
}

} // namespace

Sheet::Sheet()
    : m_d(std::make_unique<Impl>()) {
    reset();
}
Sheet::~Sheet() = default;

void Sheet::reset() {
    if (refuseWhileRecalculating()) return;
    auto customs = std::move(m_d->customs);
    m_d = std::make_unique<Impl>();
    m_d->customs = std::move(customs);
    m_maxCols = 0;
    m_maxRows = 0;
    m_options.reset();
    m_options[kOptAutoRecalc] = true;
    m_options[kOptRedraw] = true;
    m_refStyle = RefStyle::Default;
    m_unit = UnitType::Normal;
    m_active = {1, 1};
    m_selection = {};
    m_spans.clear();
}

bool Sheet::swapContents(Sheet& other) {
    if (refuseWhileRecalculating() || other.refuseWhileRecalculating()) return false;
    std::swap(m_d->customs, other.m_d->customs);
    std::swap(m_d, other.m_d);
    m_d->shapes.clear(); // learnt with the other sheet's custom functions
    other.m_d->shapes.clear();
    std::swap(m_maxCols, other.m_maxCols);
    std::swap(m_maxRows, other.m_maxRows);
    std::swap(m_options, other.m_options);
    std::swap(m_refStyle, other.m_refStyle);
    std::swap(m_unit, other.m_unit);
    std::swap(m_active, other.m_active);
    std::swap(m_selection, other.m_selection);
    std::swap(m_spans, other.m_spans);
    // What a loaded table's wrapped texts need is measured afresh, for both sheets.
    m_d->grownRows = {};
    other.m_d->grownRows = {};
    markRowsToFit(1, m_maxRows);
    other.markRowsToFit(1, other.m_maxRows);
    return true;
}

bool Sheet::setMaxCols(int n) {
    if (refuseWhileRecalculating()) return false;
    if (n < 0 || n > kMaxColLimit) return false;
    try {
        if (n < m_maxCols) {
            clearAll({n + 1, 0, m_maxCols, m_maxRows});
            if (m_d->recalcDepth == 0) m_d->dropColumns(std::size_t(n) + 1);
            std::erase_if(m_spans, [&](const CellRange& s) { return s.col2 > n; });
            rebuildSpanIndex();
        }
        m_maxCols = n;
        m_d->colWidths.truncate(n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool Sheet::setMaxRows(int n) {
    if (refuseWhileRecalculating()) return false;
    if (n < 0 || n > kMaxRowLimit) return false;
    try {
        if (n < m_maxRows) {
            clearAll({0, n + 1, m_maxCols, m_maxRows});
            if (m_d->recalcDepth == 0)
                for (auto& col : m_d->cols)
                    m_d->dropChunks(col, (std::size_t(n) >> kChunkBits) + 1);
            std::erase_if(m_spans, [&](const CellRange& s) { return s.row2 > n; });
            rebuildSpanIndex();
            m_d->rowHeights.truncate(n);
            m_d->grownRows.truncate(n);
            m_d->rowsToFit.truncate(n);
        }
        m_maxRows = n;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool Sheet::setOption(int n, bool on) {
    if (n < 0 || n >= kOptionCount) return false;
    bool was = m_options[std::size_t(n)];
    m_options[std::size_t(n)] = on;
    if (n == kOptAutoRecalc && on && !was && m_d->recalcDepth == 0) recalcPending();
    return true;
}

bool Sheet::inside(int c, int r) const {
    return c >= 0 && r >= 0 && c <= m_maxCols && r <= m_maxRows;
}

bool Sheet::setData(int col, int row, std::string_view text) {
    if (!inside(col, row)) return false;
    CellRec* recp = allocate(*m_d, col, row);
    if (!recp) return false;
    CellRec& rec = *recp;
    if (rec.formula) removeFormula(rec);
    const CellType& t = m_d->types.get(rec.type);
    std::optional<double> n;
    if (t.kind == CellKind::Number) {
        // Read as a person types it, with a decimal comma or point; a text that is no number, or
        // that allows two readings, stays the text it is rather than becoming a wrong number.
        // A text in the cell's own shown form ("12,500" where thousands are grouped) is read as
        // shown, so that what a caller reads from a cell and writes back keeps its value.
        double typed = 0;
        if (t.thousands) {
            std::string plain(text);
            std::erase(plain, ',');
            if (auto shown = parseNumber(plain); shown && formatFixed(*shown, t.decimals, true) == text)
                n = shown;
        }
        if (!n && readTypedNumber(text, typed) == base::TypedNumber::Number) n = typed;
    } else if (t.kind != CellKind::Edit && t.kind != CellKind::StaticText && t.kind != CellKind::ComboBox &&
               t.kind != CellKind::Button) {
        n = parseNumber(text);
    } else {
        n = parseNumber(text); // a number typed into a text cell still counts as a number in formulas
    }
    if (text.empty()) {
        m_d->storeValue(rec, Value::empty());
    } else if (n) {
        m_d->storeValue(rec, Value::num(*n));
        if (t.kind != CellKind::Number && formatGeneral(*n) != text) {
            rec.text = m_d->addText(text); // shown as typed ("12.50", "007")
            rec.flags |= kKeepText;
        }
    } else {
        m_d->storeValue(rec, Value::str(std::string(text)));
    }
    cellChanged(col, row);
    return true;
}

bool Sheet::setNumber(int col, int row, double v) {
    return setValue(col, row, std::isfinite(v) ? Value::num(v) : Value::err(ErrorCode::Num));
}

bool Sheet::setValue(int col, int row, const Value& v) {
    if (!inside(col, row)) return false;
    CellRec* recp = allocate(*m_d, col, row);
    if (!recp) return false;
    CellRec& rec = *recp;
    if (rec.formula) removeFormula(rec);
    m_d->storeValue(rec, v);
    cellChanged(col, row);
    return true;
}

Value Sheet::value(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    return rec ? m_d->valueOf(*rec) : Value{};
}

bool Sheet::cellNumber(int col, int row, double& out) {
    const CellRec* rec = m_d->find(col, row);
    if (!rec || rec->kind == std::uint8_t(ValueKind::Empty)) return out = 0, true;
    if (rec->kind != std::uint8_t(ValueKind::Number)) return false;
    out = rec->num;
    return true;
}

std::string Sheet::formatValue(const Value& v, const CellType& t) const {
    if (v.isNumber()) {
        if (t.kind == CellKind::Number) return formatFixed(v.number, t.decimals, t.thousands);
        return formatGeneral(v.number);
    }
    return toText(v);
}

std::string Sheet::data(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    if (!rec || rec->kind == std::uint8_t(ValueKind::Empty)) return {};
    if ((rec->flags & kKeepText) && rec->text && !rec->formula) return m_d->texts[rec->text - 1];
    return formatValue(m_d->valueOf(*rec), m_d->types.get(rec->type));
}

std::string Sheet::valueText(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    if (!rec) return {};
    return toText(m_d->valueOf(*rec));
}

bool Sheet::setTag(int col, int row, std::string_view text) {
    if (!inside(col, row)) return false;
    CellRec* recp = allocate(*m_d, col, row);
    if (!recp) return false;
    CellRec& rec = *recp;
    if (text.empty()) {
        m_d->tags.erase(cellKey(col, row));
        rec.flags &= std::uint8_t(~kHasTag);
    } else {
        m_d->tags[cellKey(col, row)] = std::string(text);
        rec.flags |= kHasTag;
    }
    return true;
}

std::string Sheet::tag(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    if (!rec || !(rec->flags & kHasTag)) return {};
    return m_d->tags.at(cellKey(col, row));
}

bool Sheet::blockCommonText(const CellRange& range, CellText kind, std::string& out) const {
    const CellRange b = clampRange(range);
    std::string common;
    if (b.col1 > b.col2 || b.row1 > b.row2) { // no cell at all: nothing differs
        out.clear();
        return true;
    }
    bool seen = false;
    // False as soon as a text differs from the first one seen.
    auto same = [&](std::string_view t) {
        if (!seen) {
            common = t;
            seen = true;
            return true;
        }
        return t == common;
    };
    // A cell's text, without copying what the store holds; a number is formatted once for a run
    // of equal numbers of one type.
    std::string scratch;
    double lastNumber = 0;
    int lastType = -1;
    auto numberText = [&](const CellRec& rec, bool shown) -> std::string_view {
        if (lastType != int(rec.type) || rec.num != lastNumber) {
            scratch =
                shown ? formatValue(Value::num(rec.num), m_d->types.get(rec.type)) : formatGeneral(rec.num);
            lastNumber = rec.num;
            lastType = int(rec.type);
        }
        return scratch;
    };
    auto textOf = [&](const CellRec& rec, int c, int r) -> std::string_view {
        const bool keptText = (rec.flags & kKeepText) && rec.text && !rec.formula;
        switch (kind) {
        case CellText::Data:
            if (keptText) return m_d->texts[rec.text - 1];
            [[fallthrough]];
        case CellText::Value:
            switch (ValueKind(rec.kind)) {
            case ValueKind::Empty:
                return {};
            case ValueKind::Text:
                return rec.text ? std::string_view(m_d->texts[rec.text - 1]) : std::string_view();
            case ValueKind::Number:
                return numberText(rec, kind == CellText::Data);
            default:
                lastType = -1;
                return scratch = toText(m_d->valueOf(rec));
            }
        case CellText::Formula:
            lastType = -1;
            return rec.formula ? (scratch = formula(c, r)) : std::string_view();
        case CellText::Tag:
            return (rec.flags & kHasTag) ? std::string_view(m_d->tags.at(cellKey(c, r))) : std::string_view();
        }
        return {};
    };
    // Only allocated records are looked at; a block with more cells than records holds an empty one.
    const double blockCells = (double(b.col2) - b.col1 + 1) * (double(b.row2) - b.row1 + 1);
    double visited = 0;
    const auto& cols = m_d->cols;
    for (std::size_t ci = cols.lowerBound(std::size_t(b.col1));
         ci < cols.count() && int(cols.keyAt(ci)) <= b.col2; ++ci) {
        const int c = int(cols.keyAt(ci));
        const auto& chunks = cols.itemAt(ci).chunks;
        for (std::size_t k = chunks.lowerBound(std::size_t(b.row1) >> kChunkBits);
             k < chunks.count() && int(chunks.keyAt(k)) <= (b.row2 >> kChunkBits); ++k) {
            const int base = int(chunks.keyAt(k)) << kChunkBits;
            const int from = std::max(b.row1, base), to = std::min(b.row2, base + kChunk - 1);
            const CellRec* recs = chunks.itemAt(k);
            visited += to - from + 1;
            for (int r = from; r <= to; ++r)
                if (!same(textOf(recs[r - base], c, r))) return false;
        }
    }
    if (visited < blockCells && !same(std::string_view())) return false;
    out = common;
    return true;
}

bool Sheet::setNote(int col, int row, std::string_view text) {
    if (!inside(col, row)) return false;
    CellRec* recp = allocate(*m_d, col, row);
    if (!recp) return false;
    CellRec& rec = *recp;
    if (text.empty()) {
        m_d->notes.erase(cellKey(col, row));
        rec.flags &= std::uint8_t(~kHasNote);
    } else {
        m_d->notes[cellKey(col, row)] = std::string(text);
        rec.flags |= kHasNote;
    }
    return true;
}

std::string Sheet::note(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    if (!rec || !(rec->flags & kHasNote)) return {};
    return m_d->notes.at(cellKey(col, row));
}

void Sheet::clearContents(const CellRange& r) {
    std::vector<CellPos> changed;
    forEachRecord(*m_d, r, [&](int c, int row, CellRec& rec) {
        if (!rec.kind && !rec.formula && !(rec.flags & (kHasTag | kHasNote))) return;
        if (rec.formula) removeFormula(rec);
        m_d->storeValue(rec, Value::empty());
        if (rec.flags & kHasTag) m_d->tags.erase(cellKey(c, row));
        if (rec.flags & kHasNote) m_d->notes.erase(cellKey(c, row));
        rec.flags = 0;
        changed.push_back({c, row});
    });
    for (auto p : changed) {
        m_d->markDependents(p.col, p.row);
        markRowsToFit(p.row, p.row);
    }
    autoRecalc();
}

void Sheet::clearAll(const CellRange& r) {
    clearContents(r);
    forEachRecord(*m_d, r, [&](int, int, CellRec& rec) { rec.style = rec.type = 0; });
}

bool Sheet::isUsed(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    return rec && recordUsed(*rec);
}

CellPos Sheet::usedExtent() const {
    CellPos e{0, 0};
    forEachUsed([&](int c, int r) {
        if (c > 0 && r > 0) e = {std::max(e.col, c), std::max(e.row, r)};
    });
    return e;
}

void Sheet::forEachUsed(const std::function<void(int, int)>& fn) const {
    auto& d = *m_d;
    for (std::size_t ci = 0; ci < d.cols.count(); ++ci) {
        const int c = int(d.cols.keyAt(ci));
        const auto& chunks = d.cols.itemAt(ci).chunks;
        for (std::size_t k = 0; k < chunks.count(); ++k) {
            const int base = int(chunks.keyAt(k)) << kChunkBits;
            const CellRec* recs = chunks.itemAt(k);
            for (int i = 0; i < kChunk; ++i)
                if (recordUsed(recs[i])) fn(c, base + i);
        }
    }
}

void Sheet::forEachStoredCell(const CellRange& r,
                              const std::function<void(int, int, const Value&)>& fn) const {
    m_d->forEachRecord(r, [&](int c, int row, const CellRec& rec) {
        if (rec.kind) fn(c, row, m_d->valueOf(rec));
    });
}

void Sheet::forEachCell(const CellRange& r, const std::function<void(int, int, const Value&)>& fn) {
    if (r.col1 == r.col2) {
        forEachStoredCell(r, fn);
        return;
    }
    // Row by row, as spreadsheets walk a block, but only through allocated chunks: the chunks of
    // the block are sorted into bands of rows, and each band is walked across the columns that
    // have it. A block as wide as the grid costs what its stored cells cost.
    struct Piece {
        std::uint32_t band;
        int col;
        const CellRec* recs;
    };
    std::vector<Piece> pieces;
    const auto& cols = m_d->cols;
    const int r1 = std::max(0, r.row1), r2 = r.row2;
    if (r2 < r1) return;
    for (std::size_t ci = cols.lowerBound(std::size_t(std::max(0, r.col1)));
         ci < cols.count() && long(cols.keyAt(ci)) <= long(r.col2); ++ci) {
        const auto& chunks = cols.itemAt(ci).chunks;
        for (std::size_t k = chunks.lowerBound(std::size_t(r1) >> kChunkBits);
             k < chunks.count() && chunks.keyAt(k) <= std::uint32_t(r2 >> kChunkBits); ++k)
            pieces.push_back({chunks.keyAt(k), int(cols.keyAt(ci)), chunks.itemAt(k)});
    }
    std::stable_sort(pieces.begin(), pieces.end(),
                     [](const Piece& a, const Piece& b) { return a.band < b.band; });
    for (std::size_t i = 0; i < pieces.size();) {
        std::size_t j = i;
        while (j < pieces.size() && pieces[j].band == pieces[i].band)
            ++j;
        const int base = int(pieces[i].band) << kChunkBits;
        for (int row = std::max(r1, base); row <= std::min(r2, base + kChunk - 1); ++row)
            for (std::size_t k = i; k < j; ++k) {
                const CellRec& rec = pieces[k].recs[row - base];
                if (rec.kind) fn(pieces[k].col, row, m_d->valueOf(rec));
            }
        i = j;
    }
}

std::size_t Sheet::memoryUse() const {
    const auto& d = *m_d;
    std::size_t n = sizeof(Impl) + d.cols.capacityBytes() + d.chunkPool.heldBytes();
    for (const auto& c : d.cols)
        n += c.chunks.capacityBytes();
    n += d.texts.capacity() * sizeof(std::string);
    for (const auto& s : d.texts)
        n += s.capacity() > 15 ? s.capacity() + 1 : 0;
    n += d.slots.capacity() * sizeof(FormulaSlot);
    n += d.depLists.capacity() * sizeof(std::vector<std::uint32_t>);
    for (const auto& l : d.depLists)
        n += l.capacity() * 4;
    n += d.rangeIndex.memoryBytes() + d.formulaChunks.memoryBytes();
    for (const auto& [key, l] : d.looseDeps)
        n += 48 + l.capacity() * 4;
    n += d.dirty.capacity() * 4;
    // Shared programs: each counted once.
    for (const auto& [key, p] : d.programCache)
        n += key.capacity() + sizeof(Program) + p->code.capacity() * sizeof(Instr) + 64;
    n += (d.tags.size() + d.notes.size()) * 64;
    n += (d.colWidths.runs() + d.rowHeights.runs() + d.grownRows.runs() + d.rowsToFit.runs()) * 48;
    return n;
}

// --- formats

bool Sheet::setCellType(const CellRange& r, const CellType& t) {
    std::uint16_t id = m_d->types.intern(t);
    if (id == 0xFFFF) return false;
    CellRange b = clampRange(r);
    if (b.col1 > b.col2 || b.row1 > b.row2 || !m_d->blockFits(b)) return false;
    try {
        for (int c = b.col1; c <= b.col2; ++c)
            for (int row = b.row1; row <= b.row2; ++row)
                m_d->at(c, row).type = id;
    } catch (const std::bad_alloc&) {
        return false;
    }
    markRowsToFit(b.row1, b.row2);
    return true;
}

const CellType& Sheet::cellType(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    return m_d->types.get(rec ? rec->type : 0);
}

bool Sheet::setStyle(const CellRange& r, const CellStyle& s) {
    return changeStyle(r, [&](CellStyle& x) { x = s; });
}

const CellStyle& Sheet::style(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    return m_d->styles.get(rec ? rec->style : 0);
}

bool Sheet::setFont(const CellRange& r, const Font& f) {
    return changeStyle(r, [&](CellStyle& x) { x.font = f; });
}

bool Sheet::setColors(const CellRange& r, std::uint32_t back, std::uint32_t text) {
    return changeStyle(r, [&](CellStyle& x) {
        x.backColor = back;
        x.textColor = text;
    });
}

bool Sheet::setBorder(const CellRange& r, int sides, int lineStyle, std::uint32_t color) {
    if (lineStyle < 0 || lineStyle > 15) return false;
    return changeStyle(r, [&](CellStyle& x) {
        for (int i = 0; i < 4; ++i)
            if (sides & (1 << i)) x.border[i] = {std::uint8_t(lineStyle), color};
    });
}

bool Sheet::setLock(const CellRange& r, bool locked) {
    return changeStyle(r, [&](CellStyle& x) { x.locked = locked; });
}

CellRange Sheet::clampRange(const CellRange& r) const {
    // kAll in a column or row argument means the whole column or row.
    CellRange b = r;
    if (b.col1 == kAll || b.col2 == kAll) b.col1 = 1, b.col2 = m_maxCols;
    if (b.row1 == kAll || b.row2 == kAll) b.row1 = 1, b.row2 = m_maxRows;
    if (b.col1 > b.col2) std::swap(b.col1, b.col2);
    if (b.row1 > b.row2) std::swap(b.row1, b.row2);
    b.col1 = std::max(b.col1, 0);
    b.row1 = std::max(b.row1, 0);
    b.col2 = std::min(b.col2, m_maxCols);
    b.row2 = std::min(b.row2, m_maxRows);
    return b;
}

bool Sheet::changeStyle(const CellRange& r, const std::function<void(CellStyle&)>& change) {
    CellRange b = clampRange(r);
    if (b.col1 > b.col2 || b.row1 > b.row2 || !m_d->blockFits(b)) return false;
    markRowsToFit(b.row1, b.row2); // a font or its size changes what a wrapped text needs
    try {
        return changeStyleOf(b, change);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool Sheet::changeStyleOf(const CellRange& b, const std::function<void(CellStyle&)>& change) {
    // Cells with the same old style get the same new style: remember the mapping.
    std::unordered_map<std::uint16_t, std::uint16_t> mapped;
    for (int c = b.col1; c <= b.col2; ++c)
        for (int row = b.row1; row <= b.row2; ++row) {
            CellRec& rec = m_d->at(c, row);
            auto it = mapped.find(rec.style);
            if (it == mapped.end()) {
                CellStyle s = m_d->styles.get(rec.style);
                change(s);
                std::uint16_t id = m_d->styles.intern(s);
                if (id == 0xFFFF) return false;
                it = mapped.emplace(rec.style, id).first;
            }
            rec.style = it->second;
        }
    return true;
}

// --- spans

bool Sheet::addSpan(int col, int row, int numCols, int numRows) {
    if (numCols < 1 || numRows < 1 || col < 1 || row < 1) return false;
    if (long(col) + numCols - 1 > m_maxCols || long(row) + numRows - 1 > m_maxRows) return false;
    CellRange s{col, row, col + numCols - 1, row + numRows - 1};
    if (m_d->spanIndex.overlaps(s)) return false;
    try {
        m_spans.push_back(s);
        m_d->spanIndex.add(s);
    } catch (const std::bad_alloc&) {
        rebuildSpanIndex();
        return false;
    }
    markRowsToFit(s.row1, s.row2);
    return true;
}

bool Sheet::removeSpan(int col, int row) {
    const CellRange* s = m_d->spanIndex.at(col, row);
    if (!s || s->col1 != col || s->row1 != row) return false;
    const CellRange gone = *s;
    m_d->spanIndex.remove(gone);
    m_spans.erase(std::find(m_spans.begin(), m_spans.end(), gone));
    markRowsToFit(gone.row1, gone.row2);
    return true;
}

bool Sheet::spanAt(int col, int row, CellRange& out) const {
    const CellRange* s = m_d->spanIndex.at(col, row);
    if (!s) return false;
    out = *s;
    return true;
}

void Sheet::rebuildSpanIndex() {
    m_d->spanIndex.clear();
    for (const CellRange& s : m_spans)
        m_d->spanIndex.add(s);
}

// --- sizes

double Sheet::widthToPixels(double w) const {
    switch (m_unit) {
    case UnitType::Normal:
        return w * 7.0;
    case UnitType::Twips:
        return w / 15.0;
    default:
        return w;
    }
}
double Sheet::pixelsToWidth(double px) const {
    switch (m_unit) {
    case UnitType::Normal:
        return px / 7.0;
    case UnitType::Twips:
        return px * 15.0;
    default:
        return px;
    }
}
double Sheet::heightToPixels(double h) const {
    switch (m_unit) {
    case UnitType::Normal:
        return h * 96.0 / 72.0;
    case UnitType::Twips:
        return h / 15.0;
    default:
        return h;
    }
}
double Sheet::pixelsToHeight(double px) const {
    switch (m_unit) {
    case UnitType::Normal:
        return px * 72.0 / 96.0;
    case UnitType::Twips:
        return px * 15.0;
    default:
        return px;
    }
}

int Sheet::colWidthPixels(int col) const {
    if (col < 0 || col > m_maxCols) return -1;
    float w = m_d->colWidths.get(col);
    if (w == 0) w = col == 0 ? Impl::kDefaultHeaderColPx : Impl::kDefaultColPx;
    return w < 0 ? 0 : int(std::lround(w));
}

bool Sheet::setColWidthPixels(int col, int px) {
    const bool all = col == kAll;
    if ((!all && (col < 0 || col > m_maxCols)) || px < 0 || px > 100000) return all;
    try {
        // -1 keeps "hidden" apart from "default"
        m_d->colWidths.set(all ? 1 : col, all ? m_maxCols : col, px == 0 ? -1.f : float(px));
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Wrapped texts of the column take other heights: only the column's stored cells are visited.
    if (all)
        markRowsToFit(1, m_maxRows);
    else if (col > 0)
        forEachStoredCell({col, 1, col, m_maxRows},
                          [&](int, int row, const Value&) { markRowsToFit(row, row); });
    return true;
}

double Sheet::colWidth(int col) const {
    int px = colWidthPixels(col);
    return px < 0 ? -1 : pixelsToWidth(px);
}

bool Sheet::setColWidth(int col, double w) {
    if (!(w >= 0) || !std::isfinite(w)) return false;
    return setColWidthPixels(col, int(std::lround(widthToPixels(w))));
}

int Sheet::rowHeightPixels(int row) const {
    if (row < 0 || row > m_maxRows) return -1;
    float h = m_d->rowHeights.get(row);
    if (h == 0) h = std::max(Impl::kDefaultRowPx, m_d->grownRows.get(row));
    return h < 0 ? 0 : int(std::lround(h));
}

bool Sheet::rowHeightSet(int row) const {
    return row >= 0 && row <= m_maxRows && m_d->rowHeights.get(row) != 0;
}

int Sheet::grownRowHeight(int row) const {
    return row >= 1 && row <= m_maxRows ? int(m_d->grownRows.get(row)) : 0;
}

void Sheet::setGrownRowHeight(int row, int px) {
    if (row < 1 || row > m_maxRows) return;
    const float h = px > Impl::kDefaultRowPx ? float(std::min(px, kMaxGrownRowPx)) : 0.f;
    if (m_d->grownRows.get(row) == h) return;
    try {
        m_d->grownRows.set(row, row, h);
    } catch (const std::bad_alloc&) {
        // the row keeps its old height: a looks-only loss
    }
}

void Sheet::clearGrownRows(int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, m_maxRows);
    if (first > last) return;
    try {
        m_d->grownRows.set(first, last, 0.f);
    } catch (const std::bad_alloc&) {
    }
}

void Sheet::markRowsToFit(int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, m_maxRows);
    if (first > last || (first == last && m_d->rowsToFit.get(first) != 0)) return;
    try {
        m_d->rowsToFit.set(first, last, 1.f);
    } catch (const std::bad_alloc&) {
    }
}

bool Sheet::hasRowsToFit() const {
    return m_d->rowsToFit.runs() != 0;
}

void Sheet::takeRowsToFit(const std::function<void(int, int)>& fn) {
    SizeRuns runs;
    std::swap(runs, m_d->rowsToFit);
    runs.forEachRun(m_maxRows, [&](int first, int last, float) { fn(first, last); });
}

bool Sheet::setRowHeightPixels(int row, int px) {
    const bool all = row == kAll;
    if ((!all && (row < 0 || row > m_maxRows)) || px < 0 || px > 100000) return all;
    try {
        m_d->rowHeights.set(all ? 1 : row, all ? m_maxRows : row, px == 0 ? -1.f : float(px));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

double Sheet::rowHeight(int row) const {
    int px = rowHeightPixels(row);
    return px < 0 ? -1 : pixelsToHeight(px);
}

bool Sheet::setRowHeight(int row, double h) {
    if (!(h >= 0) || !std::isfinite(h)) return false;
    return setRowHeightPixels(row, int(std::lround(heightToPixels(h))));
}

} // namespace sheet
