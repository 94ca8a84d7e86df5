// Inserting, deleting, copying, moving and swapping rows, columns and blocks, with the references
// of every formula adjusted as spreadsheets do.
#include <sheet/Sheet.h>

#include "SheetStore_p.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace sheet {

namespace {

bool validCell(int c, int r) {
    return c >= 1 && r >= 1 && c <= kMaxColLimit && r <= kMaxRowLimit;
}

RefAxis encode(RefAxis old, int pos, int newHost) {
    if (old.mode == AxisMode::Absolute) return {AxisMode::Absolute, pos};
    if (old.mode == AxisMode::Current) return old;
    return {AxisMode::Relative, pos - newHost};
}

// A copy of `p` whose references point where mapCell/mapRange send their old targets, written for
// the formula's new cell; `p` itself when nothing changes.
template <class MapCell, class MapRange>
ProgramPtr adjustProgram(const ProgramPtr& p, CellPos oldHost, CellPos newHost, MapCell& mapCell,
                         MapRange& mapRange) {
    if (!p->hasRefs) return p;
    std::shared_ptr<Program> out;
    auto mutableCode = [&]() -> std::vector<Instr>& {
        if (!out) out = std::make_shared<Program>(*p);
        return out->code;
    };
    for (std::size_t i = 0; i < p->code.size(); ++i) {
        const Instr& in = p->code[i];
        Instr n = in;
        if (in.op == Op::PushRef) {
            int c = in.axis(0).resolve(oldHost.col), r = in.axis(1).resolve(oldHost.row);
            if (!validCell(c, r)) {
                // Already off the sheet: keeps its written form.
            } else if (!mapCell(c, r)) {
                n = Instr();
                n.op = Op::PushError;
                n.arg = std::uint32_t(ErrorCode::Ref);
            } else {
                n.setAxis(0, encode(in.axis(0), c, newHost.col));
                n.setAxis(1, encode(in.axis(1), r, newHost.row));
            }
        } else if (in.op == Op::PushRange) {
            CellRange r{in.axis(0).resolve(oldHost.col), in.axis(1).resolve(oldHost.row),
                        in.axis(2).resolve(oldHost.col), in.axis(3).resolve(oldHost.row)};
            bool swappedC = r.col1 > r.col2, swappedR = r.row1 > r.row2;
            if (swappedC) std::swap(r.col1, r.col2);
            if (swappedR) std::swap(r.row1, r.row2);
            if (!validCell(r.col1, r.row1) || !validCell(r.col2, r.row2)) {
            } else if (!mapRange(r)) {
                n = Instr();
                n.op = Op::PushError;
                n.arg = std::uint32_t(ErrorCode::Ref);
            } else {
                // Corners keep the order in which they were written.
                int c1 = swappedC ? r.col2 : r.col1, c2 = swappedC ? r.col1 : r.col2;
                int r1 = swappedR ? r.row2 : r.row1, r2 = swappedR ? r.row1 : r.row2;
                n.setAxis(0, encode(in.axis(0), c1, newHost.col));
                n.setAxis(1, encode(in.axis(1), r1, newHost.row));
                n.setAxis(2, encode(in.axis(2), c2, newHost.col));
                n.setAxis(3, encode(in.axis(3), r2, newHost.row));
            }
        } else {
            continue;
        }
        if (n.op != in.op || n.modes != in.modes || std::memcmp(n.v, in.v, sizeof n.v) != 0 ||
            n.arg != in.arg)
            mutableCode()[i] = n;
    }
    if (!out) return p;
    out->arithOnly = isArithOnly(*out); // a reference turned into #REF! is no longer arithmetic
    return out;
}

} // namespace

// Gives every formula its adjusted program and new cell; mapHost(c, r) moves formula cells.
template <class MapCell, class MapRange> void Sheet::relocate(MapCell&& mapCell, MapRange&& mapRange) {
    auto& d = *m_d;
    for (std::uint32_t s = 0; s < d.slots.size(); ++s) {
        FormulaSlot& sl = d.slots[s];
        if (!sl.prog) continue;
        CellPos oldHost{sl.col, sl.row};
        CellPos newHost = oldHost;
        if (!mapCell(newHost.col, newHost.row)) continue; // removed with its cell
        ProgramPtr np = adjustProgram(sl.prog, oldHost, newHost, mapCell, mapRange);
        if (np != sl.prog) sl.prog = d.intern(np);
        sl.col = newHost.col;
        sl.row = newHost.row;
    }
}

namespace {
// Removes everything of one record (the caller rebuilds dependencies afterwards).
void dropRecord(Sheet::Impl& d, int c, int r, CellRec& rec) {
    if (rec.formula) {
        d.releaseSlot(rec.formula - 1);
        rec.formula = 0;
    }
    d.freeText(rec.text);
    if (rec.flags & kHasTag) d.tags.erase(cellKey(c, r));
    if (rec.flags & kHasNote) d.notes.erase(cellKey(c, r));
    std::memset(static_cast<void*>(&rec), 0, sizeof rec);
}

bool recordEmpty(const CellRec& rec) {
    return !rec.kind && !rec.formula && !rec.style && !rec.type && !rec.flags && !rec.text;
}

// Moves the records of one column at rows >= at by `by` rows (the rows a deletion removes were
// emptied before); records pushed past `limit` are dropped, chunks left empty are freed.
void shiftColumnRows(Sheet::Impl& d, std::uint32_t col, int at, int by, int limit) {
    struct Moved {
        int row;
        CellRec rec;
    };
    std::vector<Moved> moved;
    d.forEachRecord(CellRange{int(col), at, int(col), kMaxRowLimit}, [&](int, int r, CellRec& rec) {
        if (recordEmpty(rec)) return;
        moved.push_back({r + by, rec});
        std::memset(static_cast<void*>(&rec), 0, sizeof rec);
    });
    if (Column* c = d.cols.find(col)) {
        // Free the chunks that hold nothing any more before the records land again.
        auto& chunks = c->chunks;
        for (std::size_t k = chunks.lowerBound(std::size_t(at) >> kChunkBits); k < chunks.count();) {
            const CellRec* recs = chunks.itemAt(k);
            bool empty = true;
            for (int i = 0; i < kChunk && empty; ++i)
                empty = recordEmpty(recs[i]);
            if (empty) {
                d.freeChunks(*c, k, k + 1);
            } else {
                ++k;
            }
        }
    }
    for (const Moved& m : moved)
        if (m.row <= limit) d.at(int(col), m.row) = m.rec;
}

template <class F> void rekey(std::unordered_map<std::uint64_t, std::string>& m, F&& map) {
    std::unordered_map<std::uint64_t, std::string> out;
    out.reserve(m.size());
    for (auto& [k, v] : m) {
        int c = int(k >> 32), r = int(k & 0xFFFFFFFFu);
        if (map(c, r)) out.emplace(cellKey(c, r), std::move(v));
    }
    m.swap(out);
}
} // namespace

bool Sheet::shiftBand(bool rows, int at, int count) {
    if (refuseWhileRecalculating()) return false;
    auto& d = *m_d;
    const int limit = rows ? m_maxRows : m_maxCols;
    if (count == 0) return true;
    bool insert = count > 0;
    int n = insert ? count : -count;
    if (at < 1 || at > limit || n > limit) return false;
    if (!insert && at + n - 1 > limit) n = limit - at + 1;

    ++d.recalcDepth;
    // Cells that leave the grid: the deleted band, or what an insertion pushes past the end.
    CellRange gone =
        rows ? CellRange{0, insert ? limit - n + 1 : at, int(d.cols.size()), insert ? limit : at + n - 1}
             : CellRange{insert ? limit - n + 1 : at, 0, insert ? limit : at + n - 1, kMaxRowLimit};
    d.forEachRecord(gone, [&](int c, int r, CellRec& rec) { dropRecord(d, c, r, rec); });

    auto mapPos = [&](int& p) {
        if (insert) {
            if (p >= at) p += n;
            return p <= limit || p <= kMaxRowLimit;
        }
        if (p < at) return true;
        if (p < at + n) return false;
        p -= n;
        return true;
    };
    auto mapCell = [&](int& c, int& r) { return mapPos(rows ? r : c); };
    auto mapRange = [&](CellRange& rg) {
        int& lo = rows ? rg.row1 : rg.col1;
        int& hi = rows ? rg.row2 : rg.col2;
        if (insert) {
            mapPos(lo);
            mapPos(hi);
            return true;
        }
        if (lo >= at && hi < at + n) return false;
        int nlo = lo, nhi = hi;
        if (!mapPos(nlo)) nlo = at;
        if (!mapPos(nhi)) nhi = at - 1;
        lo = nlo, hi = nhi;
        return true;
    };
    relocate(mapCell, mapRange);

    // Move the records themselves: only those that exist, so the cost follows the stored cells.
    if (rows) {
        for (std::size_t ci = 0; ci < d.cols.count(); ++ci)
            shiftColumnRows(d, d.cols.keyAt(ci), at, insert ? n : -n, limit);
        if (insert) {
            d.rowHeights.insert(at, n, limit);
            d.grownRows.insert(at, n, limit);
            d.rowsToFit.insert(at, n, limit);
        } else {
            d.rowHeights.erase(at, n);
            d.grownRows.erase(at, n);
            d.rowsToFit.erase(at, n);
        }
    } else {
        if (insert) {
            d.cols.shiftFrom(std::size_t(at), n);
            d.dropColumns(std::size_t(limit) + 1);
            d.colWidths.insert(at, n, m_maxCols);
        } else {
            d.freeColumns(d.cols.lowerBound(std::size_t(at)), d.cols.lowerBound(std::size_t(at + n)));
            d.cols.shiftFrom(std::size_t(at), -n);
            d.colWidths.erase(at, n);
        }
    }
    auto keyMap = [&](int& c, int& r) { return mapPos(rows ? r : c) && (rows ? r : c) <= limit; };
    rekey(d.tags, keyMap);
    rekey(d.notes, keyMap);
    std::vector<CellRange> spans;
    for (CellRange s : m_spans)
        if (mapRange(s)) spans.push_back(s);
    m_spans = std::move(spans);
    rebuildSpanIndex();

    d.rebuildDependencies();
    --d.recalcDepth;
    recalc();
    return true;
}

bool Sheet::insertRows(int row, int count) {
    return count >= 0 && shiftBand(true, row, count);
}
bool Sheet::deleteRows(int row, int count) {
    return count >= 0 && shiftBand(true, row, -count);
}
bool Sheet::insertCols(int col, int count) {
    return count >= 0 && shiftBand(false, col, count);
}
bool Sheet::deleteCols(int col, int count) {
    return count >= 0 && shiftBand(false, col, -count);
}

namespace {
struct Snapshot {
    CellRec rec;
    std::string text, tag, note;
    ProgramPtr prog;
};
} // namespace

bool Sheet::copyRange(const CellRange& src, CellPos dst) {
    if (refuseWhileRecalculating()) return false;
    CellRange s = src;
    if (s.col1 > s.col2 || s.row1 > s.row2 || s.col1 < 1 || s.row1 < 1 || s.col2 > m_maxCols ||
        s.row2 > m_maxRows)
        return false;
    int w = s.col2 - s.col1, h = s.row2 - s.row1;
    if (dst.col < 1 || dst.row < 1 || long(dst.col) + w > m_maxCols || long(dst.row) + h > m_maxRows)
        return false;
    auto& d = *m_d;
    const CellRange t{dst.col, dst.row, dst.col + w, dst.row + h};
    // Only the cells that hold something are copied; every other target cell ends up empty, as the
    // source cell it copies. So a block as large as the grid costs what its stored cells cost.
    std::vector<std::pair<CellPos, Snapshot>> snap;
    d.forEachRecord(s, [&](int c, int r, const CellRec& rec) {
        if (recordEmpty(rec)) return;
        Snapshot x{};
        x.rec = rec;
        if (rec.text) x.text = d.texts[rec.text - 1];
        if (rec.flags & kHasTag) x.tag = d.tags[cellKey(c, r)];
        if (rec.flags & kHasNote) x.note = d.notes[cellKey(c, r)];
        if (rec.formula) x.prog = d.slots[rec.formula - 1].prog;
        snap.push_back({{c - s.col1, r - s.row1}, std::move(x)});
    });
    if (!d.blockFits(t)) {
        // Too large to allocate whole: the records the copy writes must fit.
        std::size_t chunks = 0;
        for (std::size_t i = 0; i < snap.size(); ++i)
            if (i == 0 || snap[i].first.col != snap[i - 1].first.col ||
                ((snap[i].first.row + t.row1) >> kChunkBits) !=
                    ((snap[i - 1].first.row + t.row1) >> kChunkBits))
                ++chunks;
        if (chunks > d.budgetChunks - d.chunkCount) return false;
    }
    ++d.recalcDepth;
    bool ok = true;
    try {
        clearContents(t);
        d.forEachRecord(t, [&](int, int, CellRec& rec) { rec.style = rec.type = 0; });
        for (const auto& [off, x] : snap) {
            int tc = dst.col + off.col, tr = dst.row + off.row;
            CellRec& rec = d.at(tc, tr);
            rec.style = x.rec.style;
            rec.type = x.rec.type;
            if (x.prog) {
                setProgram(tc, tr, x.prog); // relative references follow the copy
            } else {
                Value v;
                v.kind = ValueKind(x.rec.kind);
                v.number = x.rec.num;
                v.error = v.kind == ValueKind::Error ? ErrorCode(int(x.rec.num)) : ErrorCode::None;
                v.text = v.kind == ValueKind::Text ? x.text : std::string();
                d.storeValue(rec, v);
                if (x.rec.flags & kKeepText) {
                    d.at(tc, tr).text = d.addText(x.text);
                    d.at(tc, tr).flags |= kKeepText;
                }
                d.markDependents(tc, tr);
            }
            setTag(tc, tr, x.tag);
            setNote(tc, tr, x.note);
        }
        for (const CellRange& sp : std::vector<CellRange>(m_spans))
            if (sp.col1 >= s.col1 && sp.col2 <= s.col2 && sp.row1 >= s.row1 && sp.row2 <= s.row2)
                addSpan(sp.col1 - s.col1 + dst.col, sp.row1 - s.row1 + dst.row, sp.col2 - sp.col1 + 1,
                        sp.row2 - sp.row1 + 1);
    } catch (const std::bad_alloc&) {
        ok = false; // what was copied so far stays; the caller learns the copy is incomplete
    }
    --d.recalcDepth;
    markRowsToFit(t.row1, t.row2);
    autoRecalc();
    return ok;
}

// Moves records as listed (from -> to) in one step; with keepSource false the sources are emptied
// unless they are themselves targets. References were already adjusted by the caller.
void Sheet::moveCells(const std::vector<std::pair<CellPos, CellPos>>& moves, bool) {
    auto& d = *m_d;
    struct Moving {
        CellRec rec;
        std::string tag, note;
        bool hasTag, hasNote;
    };
    std::vector<Moving> taken;
    taken.reserve(moves.size());
    for (const auto& [from, to] : moves) {
        Moving m{};
        if (CellRec* rec = d.find(from.col, from.row)) {
            m.rec = *rec;
            if ((m.hasTag = (rec->flags & kHasTag) != 0))
                m.tag = std::move(d.tags[cellKey(from.col, from.row)]),
                d.tags.erase(cellKey(from.col, from.row));
            if ((m.hasNote = (rec->flags & kHasNote) != 0))
                m.note = std::move(d.notes[cellKey(from.col, from.row)]),
                d.notes.erase(cellKey(from.col, from.row));
            std::memset(static_cast<void*>(rec), 0, sizeof(CellRec));
        }
        taken.push_back(std::move(m));
    }
    for (std::size_t i = 0; i < moves.size(); ++i) {
        CellPos to = moves[i].second;
        if (CellRec* old = d.find(to.col, to.row);
            old && (old->kind || old->formula || old->flags || old->text))
            dropRecord(d, to.col, to.row, *old); // overwritten
        CellRec& rec = d.at(to.col, to.row);
        rec = taken[i].rec;
        if (taken[i].hasTag) d.tags[cellKey(to.col, to.row)] = std::move(taken[i].tag);
        if (taken[i].hasNote) d.notes[cellKey(to.col, to.row)] = std::move(taken[i].note);
    }
    for (const auto& [from, to] : moves) {
        markRowsToFit(from.row, from.row);
        markRowsToFit(to.row, to.row);
    }
}

bool Sheet::moveRange(const CellRange& src, CellPos dst) {
    if (refuseWhileRecalculating()) return false;
    CellRange s = src;
    if (s.col1 > s.col2 || s.row1 > s.row2 || s.col1 < 1 || s.row1 < 1 || s.col2 > m_maxCols ||
        s.row2 > m_maxRows)
        return false;
    int w = s.col2 - s.col1, h = s.row2 - s.row1;
    if (dst.col < 1 || dst.row < 1 || dst.col + w > m_maxCols || dst.row + h > m_maxRows) return false;
    int dc = dst.col - s.col1, dr = dst.row - s.row1;
    if (dc == 0 && dr == 0) return true;
    auto& d = *m_d;
    CellRange t{dst.col, dst.row, dst.col + w, dst.row + h};
    ++d.recalcDepth;
    // Formulas in the overwritten cells go first, so they are not relocated.
    d.forEachRecord(t, [&](int c, int r, CellRec& rec) {
        if (!s.contains(c, r) && rec.formula) {
            d.releaseSlot(rec.formula - 1);
            rec.formula = 0;
        }
    });
    auto mapCell = [&](int& c, int& r) {
        if (s.contains(c, r)) {
            c += dc, r += dr;
            return true;
        }
        return !t.contains(c, r); // a reference to an overwritten cell is lost
    };
    auto mapRange = [&](CellRange& rg) {
        if (rg.col1 >= s.col1 && rg.col2 <= s.col2 && rg.row1 >= s.row1 && rg.row2 <= s.row2) {
            rg = {rg.col1 + dc, rg.row1 + dr, rg.col2 + dc, rg.row2 + dr};
        }
        return true;
    };
    relocate(mapCell, mapRange);
    // The stored cells move; what they leave behind in the target is overwritten by empty cells.
    std::vector<std::pair<CellPos, CellPos>> moves;
    d.forEachRecord(s, [&](int c, int r, CellRec& rec) {
        if (!recordEmpty(rec)) moves.push_back({{c, r}, {c + dc, r + dr}});
    });
    d.forEachRecord(t, [&](int c, int r, CellRec& rec) {
        if (!s.contains(c, r) && !recordEmpty(rec)) dropRecord(d, c, r, rec);
    });
    moveCells(moves, false);
    for (auto& sp : m_spans)
        if (sp.col1 >= s.col1 && sp.col2 <= s.col2 && sp.row1 >= s.row1 && sp.row2 <= s.row2)
            sp = {sp.col1 + dc, sp.row1 + dr, sp.col2 + dc, sp.row2 + dr};
    rebuildSpanIndex();
    d.rebuildDependencies();
    --d.recalcDepth;
    recalc();
    return true;
}

bool Sheet::swapRange(const CellRange& a, CellPos b) {
    if (refuseWhileRecalculating()) return false;
    CellRange s = a;
    if (s.col1 > s.col2 || s.row1 > s.row2 || s.col1 < 1 || s.row1 < 1 || s.col2 > m_maxCols ||
        s.row2 > m_maxRows)
        return false;
    int w = s.col2 - s.col1, h = s.row2 - s.row1;
    CellRange t{b.col, b.row, b.col + w, b.row + h};
    if (t.col1 < 1 || t.row1 < 1 || t.col2 > m_maxCols || t.row2 > m_maxRows) return false;
    if (!(s.col2 < t.col1 || t.col2 < s.col1 || s.row2 < t.row1 || t.row2 < s.row1)) return false; // overlap
    int dc = t.col1 - s.col1, dr = t.row1 - s.row1;
    auto& d = *m_d;
    ++d.recalcDepth;
    auto mapCell = [&](int& c, int& r) {
        if (s.contains(c, r))
            c += dc, r += dr;
        else if (t.contains(c, r))
            c -= dc, r -= dr;
        return true;
    };
    auto inside = [](const CellRange& rg, const CellRange& b) {
        return rg.col1 >= b.col1 && rg.col2 <= b.col2 && rg.row1 >= b.row1 && rg.row2 <= b.row2;
    };
    auto mapRange = [&](CellRange& rg) {
        if (inside(rg, s))
            rg = {rg.col1 + dc, rg.row1 + dr, rg.col2 + dc, rg.row2 + dr};
        else if (inside(rg, t))
            rg = {rg.col1 - dc, rg.row1 - dr, rg.col2 - dc, rg.row2 - dr};
        return true;
    };
    relocate(mapCell, mapRange);
    std::vector<std::pair<CellPos, CellPos>> moves;
    d.forEachRecord(s, [&](int c, int r, CellRec& rec) {
        if (!recordEmpty(rec)) moves.push_back({{c, r}, {c + dc, r + dr}});
    });
    d.forEachRecord(t, [&](int c, int r, CellRec& rec) {
        if (!recordEmpty(rec)) moves.push_back({{c, r}, {c - dc, r - dr}});
    });
    moveCells(moves, true);
    d.rebuildDependencies();
    --d.recalcDepth;
    recalc();
    return true;
}

} // namespace sheet
