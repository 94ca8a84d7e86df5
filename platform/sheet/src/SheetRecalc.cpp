// Formulas of a sheet: dependencies, recalculation and custom functions.
#include <sheet/Sheet.h>

#include "SheetStore_p.h"
#include <sheet/Compiler.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sheet {

namespace {
// Ranges up to this many cells register each cell; larger ones are kept as range listeners.
constexpr long kSmallRange = 64;

bool validTarget(int c, int r) {
    return c >= 0 && r >= 0 && c <= kMaxColLimit && r <= kMaxRowLimit;
}

template <class F> void forEachReference(const Program& p, CellPos host, F&& f) {
    for (const Instr& in : p.code) {
        if (in.op == Op::PushRef && (in.spare & kPositionRef)) continue; // a position, not an input
        if (in.op == Op::PushRef) {
            f(CellRange{in.axis(0).resolve(host.col), in.axis(1).resolve(host.row), 0, 0}, false);
        } else if (in.op == Op::PushRange) {
            int c1 = in.axis(0).resolve(host.col), r1 = in.axis(1).resolve(host.row);
            int c2 = in.axis(2).resolve(host.col), r2 = in.axis(3).resolve(host.row);
            f(CellRange{std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)}, true);
        }
    }
}
} // namespace

namespace {
// True when a record already holds the value, as its readers see it (0 and -0 differ in print).
bool sameValue(const Sheet::Impl& d, const CellRec& rec, const Value& v) {
    if (rec.kind != std::uint8_t(v.kind) || (rec.flags & kKeepText)) return false;
    switch (v.kind) {
    case ValueKind::Empty:
        return true;
    case ValueKind::Text:
        return rec.text ? d.texts[rec.text - 1] == v.text : v.text.empty();
    case ValueKind::Error:
        return int(rec.num) == int(v.error);
    default:
        return rec.num == v.number && std::signbit(rec.num) == std::signbit(v.number);
    }
}
} // namespace

// --- dependency bookkeeping

void Sheet::Impl::addDep(int c, int r, std::uint32_t slot) {
    CellRec* found = find(c, r);
    if (!found) {
        looseDeps[cellKey(c, r)].push_back(slot);
        return;
    }
    CellRec& rec = *found;
    if (rec.deps == 0) {
        rec.deps = slot + 1;
        return;
    }
    if (!(rec.deps & kDepList)) {
        std::uint32_t i;
        if (!freeDepLists.empty())
            i = freeDepLists.back(), freeDepLists.pop_back();
        else
            i = std::uint32_t(depLists.size()), depLists.emplace_back();
        depLists[i] = {rec.deps - 1};
        rec.deps = kDepList | i;
    }
    depLists[rec.deps & ~kDepList].push_back(slot);
}

void Sheet::Impl::removeDep(int c, int r, std::uint32_t slot) {
    // A reader registered before the cell's chunk existed sits in the loose list.
    auto removeLoose = [&] {
        if (looseDeps.empty()) return;
        auto it = looseDeps.find(cellKey(c, r));
        if (it == looseDeps.end()) return;
        auto at = std::find(it->second.begin(), it->second.end(), slot);
        if (at != it->second.end()) {
            *at = it->second.back();
            it->second.pop_back();
        }
        if (it->second.empty()) looseDeps.erase(it);
    };
    CellRec* rec = find(c, r);
    if (!rec || !rec->deps) return removeLoose();
    if (!(rec->deps & kDepList)) {
        if (rec->deps == slot + 1)
            rec->deps = 0;
        else
            removeLoose();
        return;
    }
    std::uint32_t i = rec->deps & ~kDepList;
    auto& l = depLists[i];
    auto it = std::find(l.begin(), l.end(), slot);
    if (it == l.end()) return removeLoose();
    *it = l.back();
    l.pop_back();
    if (l.empty()) {
        std::vector<std::uint32_t>().swap(l);
        freeDepLists.push_back(i);
        rec->deps = 0;
    }
}

void Sheet::Impl::registerSlot(std::uint32_t s) {
    const FormulaSlot& sl = slots[s];
    formulaChunks.add(sl.col, sl.row);
    forEachReference(*sl.prog, {sl.col, sl.row}, [&](CellRange r, bool range) {
        if (!range) {
            if (validTarget(r.col1, r.row1)) addDep(r.col1, r.row1, s);
            return;
        }
        if (!validTarget(r.col1, r.row1) || !validTarget(r.col2, r.row2)) return;
        long cells = long(r.col2 - r.col1 + 1) * long(r.row2 - r.row1 + 1);
        if (cells <= kSmallRange) {
            for (int c = r.col1; c <= r.col2; ++c)
                for (int row = r.row1; row <= r.row2; ++row)
                    addDep(c, row, s);
        } else {
            rangeIndex.add(r, s, sl.gen);
        }
    });
}

void Sheet::Impl::unregisterSlot(std::uint32_t s) {
    FormulaSlot& sl = slots[s];
    formulaChunks.remove(sl.col, sl.row);
    ++sl.gen; // range listeners of the old formula are recognised as stale by this
    auto alive = [&](std::uint32_t slot, std::uint32_t gen) {
        return slots[slot].prog && slots[slot].gen == gen;
    };
    forEachReference(*sl.prog, {sl.col, sl.row}, [&](CellRange r, bool range) {
        if (!range) {
            removeDep(r.col1, r.row1, s);
            return;
        }
        if (!validTarget(r.col1, r.row1) || !validTarget(r.col2, r.row2)) return;
        long cells = long(r.col2 - r.col1 + 1) * long(r.row2 - r.row1 + 1);
        if (cells <= kSmallRange) {
            for (int c = r.col1; c <= r.col2; ++c)
                for (int row = r.row1; row <= r.row2; ++row)
                    removeDep(c, row, s);
        } else {
            rangeIndex.release(r, alive);
        }
    });
}

void Sheet::Impl::rebuildDependencies() {
    for (auto& col : cols)
        for (auto& ch : col.chunks)
            if (ch)
                for (int i = 0; i < kChunk; ++i)
                    ch[std::size_t(i)].deps = 0;
    depLists.clear();
    freeDepLists.clear();
    looseDeps.clear();
    rangeIndex.clear();
    formulaChunks.clear();
    lookups.clear(); // cells moved or were loaded: every index is out of date
    matches.clear();
    for (std::uint32_t s = 0; s < slots.size(); ++s)
        if (slots[s].prog) registerSlot(s);
}

template <class F> void Sheet::Impl::forEachDependent(int c, int r, F&& f) {
    if (const CellRec* rec = find(c, r); rec && rec->deps) {
        if (!(rec->deps & kDepList)) {
            f(rec->deps - 1);
        } else {
            // Copied: marking never changes the lists, but keep iteration independent of them anyway.
            auto& l = depLists[rec->deps & ~kDepList];
            for (std::size_t i = 0; i < l.size(); ++i)
                f(l[i]);
        }
    }
    if (!looseDeps.empty())
        if (auto it = looseDeps.find(cellKey(c, r)); it != looseDeps.end())
            for (std::size_t i = 0; i < it->second.size(); ++i)
                f(it->second[i]);
    if (!rangeIndex.empty())
        rangeIndex.forEachAt(c, r, [&](const RangeIndex::Listener& l) {
            if (slots[l.slot].prog && slots[l.slot].gen == l.gen) f(l.slot);
        });
}

void Sheet::Impl::markDependents(int c, int r) {
    valueChanged(c, r);
    if (rangeIndex.empty() && looseDeps.empty()) {
        const CellRec* rec = find(c, r);
        if (!rec || !rec->deps) return; // nothing reads this cell
    }
    // The cell's own readers run again. What reads them only is suspect: it runs when one of its
    // inputs comes out changed, so an edit that changes few results recalculates little beyond its
    // readers. While a recalculation is under way everything marked simply runs again.
    const bool suspects = recalcDepth == 0;
    std::vector<CellPos>& work = markWork; // kept between edits: no allocation per edit
    work.clear();
    forEachDependent(
        c, r, [&](std::uint32_t s) __attribute__((always_inline)) {
            FormulaSlot& sl = slots[s];
            if (!sl.prog) return;
            if (sl.state == SlotState::Clean) {
                dirty.push_back(s);
                work.push_back({sl.col, sl.row});
            } else if (sl.state == SlotState::InProgress) {
                sl.mustRun = true;
            }
            if (sl.state != SlotState::InProgress) sl.state = SlotState::Dirty;
        });
    while (!work.empty()) {
        CellPos p = work.back();
        work.pop_back();
        forEachDependent(
            p.col, p.row, [&](std::uint32_t s) __attribute__((always_inline)) {
                FormulaSlot& sl = slots[s];
                if (sl.prog && sl.state == SlotState::Clean) {
                    sl.state = suspects ? SlotState::Suspect : SlotState::Dirty;
                    cutoff |= suspects && !sl.prog->arithOnly;
                    dirty.push_back(s);
                    work.push_back({sl.col, sl.row});
                }
            });
    }
}

void Sheet::Impl::wakeReaders(int col, int row) {
    forEachDependent(
        col, row, [&](std::uint32_t t) __attribute__((always_inline)) {
            FormulaSlot& x = slots[t];
            if (x.state == SlotState::Suspect)
                x.state = SlotState::Dirty;
            else if (x.state == SlotState::InProgress)
                x.mustRun = true;
        });
}

std::uint32_t Sheet::Impl::allocSlot() {
    ++liveSlots;
    if (!freeSlots.empty()) {
        std::uint32_t s = freeSlots.back();
        freeSlots.pop_back();
        return s;
    }
    slots.emplace_back();
    return std::uint32_t(slots.size() - 1);
}

void Sheet::Impl::releaseSlot(std::uint32_t s) {
    --liveSlots;
    slots[s].prog.reset();
    slots[s].state = SlotState::Clean;
    // A slot freed while recalculating may still sit on the evaluation path: reuse it only afterwards.
    (recalcDepth > 0 ? pendingFree : freeSlots).push_back(s);
}

ProgramPtr Sheet::Impl::intern(ProgramPtr p) {
    std::string key;
    key.reserve(p->code.size() * 24 + 16);
    auto raw = [&](const void* b, std::size_t n) { key.append(static_cast<const char*>(b), n); };
    for (const Instr& in : p->code) {
        raw(&in.op, 1);
        raw(&in.modes, 1);
        raw(&in.argc, 1);
        raw(&in.spare, 1);
        raw(&in.arg, 4);
        raw(in.v, 16);
    }
    for (const auto* list : {&p->strings, &p->names}) {
        std::uint32_t n = std::uint32_t(list->size());
        raw(&n, 4);
        for (const auto& s : *list) {
            std::uint32_t l = std::uint32_t(s.size());
            raw(&l, 4);
            key += s;
        }
    }
    raw(p->tables.data(), p->tables.size() * 4);
    auto [it, added] = programCache.try_emplace(std::move(key), p);
    if (!added) return it->second;
    if (programCache.size() > 4096 && programCache.size() > 2 * liveSlots + 1024)
        std::erase_if(programCache,
                      [&](const auto& e) { return e.second.use_count() == 1 && e.second != p; });
    return p;
}

// --- formulas

void Sheet::removeFormula(CellRec& rec) {
    std::uint32_t s = rec.formula - 1;
    m_d->unregisterSlot(s);
    m_d->releaseSlot(s);
    rec.formula = 0;
}

bool Sheet::setFormula(int col, int row, std::string_view text, ParseError* err) {
    ParseError local;
    ParseError& e = err ? *err : local;
    e = {};
    if (refuseWhileRecalculating()) {
        e = {ParseErrorCode::BadReference, 0, "the sheet is being recalculated"};
        return false;
    }
    if (!inside(col, row) || col == 0 || row == 0) {
        e = {ParseErrorCode::BadReference, 0, "cell outside the sheet"};
        return false;
    }
    std::string_view t = text;
    while (!t.empty() && (t.front() == ' ' || t.front() == '='))
        t.remove_prefix(1);
    if (t.empty()) {
        CellRec* rec = m_d->find(col, row);
        if (rec && rec->formula) {
            removeFormula(*rec);
            cellChanged(col, row);
        }
        return true;
    }
    // In A1 references every relative row is written as the row it reaches, so a formula filled
    // down differs only in those numbers: its program is known without compiling (R1C1 offsets
    // would look the same at every row, valid or not).
    const bool a1 = m_refStyle == RefStyle::Default || m_refStyle == RefStyle::A1;
    const auto style = std::uint8_t(m_refStyle);
    if (a1)
        if (ProgramPtr known = m_d->shapes.find(text, col, row, style))
            return installProgram(col, row, std::move(known));
    ProgramPtr p = compileFormula(text, m_refStyle, {col, row}, e, m_d.get());
    if (!p) return false;
    p = m_d->intern(std::move(p));
    if (a1) m_d->shapes.learn(text, col, row, style, p);
    return installProgram(col, row, std::move(p));
}

bool Sheet::setProgram(int col, int row, ProgramPtr p) {
    if (refuseWhileRecalculating()) return false;
    if (!p || !inside(col, row) || col == 0 || row == 0) return false;
    return installProgram(col, row, m_d->intern(std::move(p)));
}

bool Sheet::installProgram(int col, int row, ProgramPtr p) {
    CellRec& rec = m_d->at(col, row);
    std::uint32_t s;
    if (rec.formula) {
        s = rec.formula - 1;
        m_d->unregisterSlot(s);
    } else {
        s = m_d->allocSlot();
        rec.formula = s + 1;
    }
    rec.flags &= std::uint8_t(~kKeepText);
    FormulaSlot& sl = m_d->slots[s];
    sl.prog = std::move(p);
    sl.col = col;
    sl.row = row;
    m_d->registerSlot(s);
    if (sl.state == SlotState::Clean) m_d->dirty.push_back(s);
    sl.state = SlotState::Dirty;
    m_d->markDependents(col, row);
    autoRecalc();
    return true;
}

bool Sheet::hasFormula(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    return rec && rec->formula;
}

ProgramPtr Sheet::program(int col, int row) const {
    const CellRec* rec = m_d->find(col, row);
    return rec && rec->formula ? m_d->slots[rec->formula - 1].prog : nullptr;
}

std::string Sheet::formula(int col, int row) const {
    return formula(col, row, m_refStyle);
}

std::string Sheet::formula(int col, int row, RefStyle style) const {
    ProgramPtr p = program(col, row);
    return p ? printFormula(*p, style, {col, row}) : std::string();
}

// --- recalculation

void Sheet::cellChanged(int col, int row) {
    m_d->markDependents(col, row);
    markRowsToFit(row, row);
    autoRecalc();
}

void Sheet::autoRecalc() {
    if (m_options[kOptAutoRecalc] && m_d->recalcDepth == 0) recalcPending();
}

void Sheet::recalcPending() {
    auto& d = *m_d;
    ++d.recalcDepth;
    d.forgetChunkHints();
    // Writes made by custom functions append to the list; the index loop picks them up. Two custom
    // functions that write each other's inputs would take turns for ever: past a few rounds of the
    // whole sheet the formulas still pending are a cycle and show it.
    const std::size_t budget = d.dirty.size() + 4 * d.liveSlots + 1024;
    for (std::size_t i = 0; i < d.dirty.size(); ++i) {
        std::uint32_t s = d.dirty[i];
        FormulaSlot& sl = d.slots[s];
        if (!sl.prog || (sl.state != SlotState::Dirty && sl.state != SlotState::Suspect)) continue;
        if (i < budget) {
            evalSlot(s);
        } else {
            if (CellRec* rec = d.find(sl.col, sl.row)) d.storeValue(*rec, Value::err(ErrorCode::Circular));
            d.settled(s, true);
        }
    }
    d.dirty.clear();
    if (--d.recalcDepth == 0) {
        d.cutoff = false; // nothing is suspect any more
        d.freeSlots.insert(d.freeSlots.end(), d.pendingFree.begin(), d.pendingFree.end());
        d.pendingFree.clear();
    }
}

void Sheet::recalc() {
    if (refuseWhileRecalculating()) return;
    auto& d = *m_d;
    for (std::uint32_t s = 0; s < d.slots.size(); ++s) {
        FormulaSlot& sl = d.slots[s];
        if (!sl.prog) continue;
        if (sl.state == SlotState::Clean) d.dirty.push_back(s);
        sl.state = SlotState::Dirty;
    }
    if (d.recalcDepth == 0) recalcPending();
}

bool Sheet::recalcCell(int col, int row) {
    if (refuseWhileRecalculating()) return false;
    CellRec* rec = m_d->find(col, row);
    if (!inside(col, row) || !rec || !rec->formula) return false;
    std::uint32_t s = rec->formula - 1;
    FormulaSlot& sl = m_d->slots[s];
    if (sl.state == SlotState::Clean) m_d->dirty.push_back(s);
    if (sl.state != SlotState::InProgress) sl.state = SlotState::Dirty;
    if (m_d->recalcDepth > 0) return true; // runs when the recalculation under way reaches it
    ++m_d->recalcDepth;
    m_d->forgetChunkHints();
    evalSlot(s);
    --m_d->recalcDepth;
    m_d->markDependents(col, row);
    autoRecalc();
    if (!m_options[kOptAutoRecalc] && m_d->dirty.size() > 2 * m_d->liveSlots + 1024)
        std::erase_if(m_d->dirty, [&](std::uint32_t x) {
            return m_d->slots[x].state != SlotState::Dirty && m_d->slots[x].state != SlotState::Suspect;
        });
    return true;
}

// Plain arithmetic whose inputs are settled numbers or empty cells, read straight from the cell
// records: no operands, values or virtual calls, and one look at each input instead of two (most
// formulas of big tables are like this). Anything else - a text or error input, a pending input,
// division by zero, an overflow - returns false and goes the general way, which gives the same
// numbers and knows all the error rules.
bool Sheet::Impl::evalArith(std::uint32_t s) {
    FormulaSlot& sl = slots[s];
    const Program& p = *sl.prog;
    if (!p.arithOnly) return false;
    // An arithmetic program is checked when compiled: it never takes more than 16 operands and
    // never pops more than it pushed, and leaves one value.
    double st[16];
    std::size_t n = 0;
    for (const Instr& in : p.code) {
        switch (in.op) {
        case Op::PushNumber:
            st[n++] = in.num;
            break;
        case Op::PushRef: {
            const int c = in.axis(0).resolve(sl.col), r = in.axis(1).resolve(sl.row);
            if (unsigned(c - 1) >= unsigned(kMaxColLimit) || unsigned(r - 1) >= unsigned(kMaxRowLimit))
                return false;
            double x = 0;
            if (const CellRec* rec = findHinted(c, r)) {
                if (rec->formula && slots[rec->formula - 1].prog &&
                    slots[rec->formula - 1].state != SlotState::Clean)
                    return false;
                if (rec->kind == std::uint8_t(ValueKind::Number))
                    x = rec->num;
                else if (rec->kind != std::uint8_t(ValueKind::Empty))
                    return false;
            }
            st[n++] = x;
            break;
        }
        case Op::Neg:
            st[n - 1] = -st[n - 1];
            break;
        case Op::Percent:
            st[n - 1] /= 100.0;
            break;
        case Op::Paren:
            break;
        case Op::Add:
            --n;
            st[n - 1] += st[n];
            if (!std::isfinite(st[n - 1])) return false;
            break;
        case Op::Sub:
            --n;
            st[n - 1] -= st[n];
            if (!std::isfinite(st[n - 1])) return false;
            break;
        case Op::Mul:
            --n;
            st[n - 1] *= st[n];
            if (!std::isfinite(st[n - 1])) return false;
            break;
        case Op::Div:
            --n;
            if (st[n] == 0) return false;
            st[n - 1] /= st[n];
            if (!std::isfinite(st[n - 1])) return false;
            break;
        default:
            return false;
        }
    }
    bool changed = true;
    if (CellRec* rec = findHinted(sl.col, sl.row)) {
        // Only a recalculation that skips unchanged readers needs to know; reading the old value
        // otherwise turns the store into a cache miss that waits.
        if (cutoff)
            changed = rec->kind != std::uint8_t(ValueKind::Number) || rec->num != st[0] ||
                      std::signbit(rec->num) != std::signbit(st[0]);
        rec->flags &= std::uint8_t(~kKeepText);
        rec->kind = std::uint8_t(ValueKind::Number);
        rec->num = st[0];
        freeText(rec->text);
    }
    settled(s, changed);
    return true;
}

// Evaluates one formula after the pending formulas it reads.
void Sheet::evalSlot(std::uint32_t start) {
    auto& d = *m_d;
    // Plain arithmetic whose inputs are settled needs no evaluation path; a suspect formula takes
    // the path, which finds out whether any input came out changed.
    const bool suspect = d.cutoff && d.slots[start].state == SlotState::Suspect;
    if (!suspect && d.evalArith(start)) [[likely]] {
        ++m_evaluations;
        return;
    }
    evalPath(start);
}

// The general way: the pending formulas a formula reads first, depth first with an explicit stack
// (a chain of a million formulas costs heap, not call stack), then the formula itself.
[[gnu::noinline]] void Sheet::evalPath(std::uint32_t start) {
    auto& d = *m_d;
    using Frame = EvalFrame;
    std::vector<Frame> frames;
    frames.swap(d.framePool); // reuse the allocation of the last run
    frames.clear();
    frames.push_back({start, d.slots[start].gen});
    auto enter = [&](std::uint32_t s) {
        FormulaSlot& sl = d.slots[s];
        sl.mustRun = sl.state != SlotState::Suspect || !d.cutoff || sl.prog->hasCustom;
        sl.state = SlotState::InProgress;
    };
    enter(start);

    enum class Next { None, Pending, Cycle };
    // Finds the next formula the top frame reads that is still pending.
    auto nextPending = [&](Frame& f, std::uint32_t& out) -> Next {
        const Program& p = *d.slots[f.slot].prog;
        CellPos host{d.slots[f.slot].col, d.slots[f.slot].row};
        auto check = [&](int c, int r) -> Next {
            const CellRec* rec = d.find(c, r);
            if (!rec || !rec->formula) return Next::None;
            std::uint32_t s = rec->formula - 1;
            SlotState st = d.slots[s].state;
            if (!d.slots[s].prog || st == SlotState::Clean) return Next::None;
            out = s;
            return st == SlotState::InProgress ? Next::Cycle : Next::Pending;
        };
        while (true) {
            if (f.inRange) {
                // Only chunks holding formulas can hold pending cells: a range of values is passed
                // over without looking at its cells.
                while (d.formulaChunks.next(f.range, f.c, f.r)) {
                    Next n = check(f.c, f.r);
                    if (n != Next::None) return n;
                    ++f.r;
                }
                f.inRange = false;
                ++f.ip;
                continue;
            }
            if (f.ip >= p.code.size()) return Next::None;
            const Instr& in = p.code[f.ip];
            if (in.op == Op::PushRef) {
                int c = in.axis(0).resolve(host.col), r = in.axis(1).resolve(host.row);
                // A position a custom function takes (FROMTABLE's cell of another table) is not read.
                Next n = validTarget(c, r) && !(in.spare & kPositionRef) ? check(c, r) : Next::None;
                if (n != Next::None) return n;
                ++f.ip;
            } else if (in.op == Op::PushRange) {
                int c1 = in.axis(0).resolve(host.col), r1 = in.axis(1).resolve(host.row);
                int c2 = in.axis(2).resolve(host.col), r2 = in.axis(3).resolve(host.row);
                if (!validTarget(c1, r1) || !validTarget(c2, r2)) {
                    ++f.ip;
                    continue;
                }
                f.range = {std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)};
                f.inRange = true;
                f.c = f.range.col1;
                f.r = f.range.row1;
            } else {
                ++f.ip;
            }
        }
    };

    auto store = [&](std::uint32_t s, const Value& v) {
        FormulaSlot& sl = d.slots[s];
        bool changed = true;
        if (CellRec* rec = d.find(sl.col, sl.row)) {
            if (d.cutoff) changed = !sameValue(d, *rec, v);
            // A text result may wrap over another number of lines than the value before it.
            if (changed && (rec->kind == std::uint8_t(ValueKind::Text) || v.kind == ValueKind::Text))
                markRowsToFit(sl.row, sl.row);
            d.storeValue(*rec, v);
        }
        d.settled(s, changed);
    };

    while (!frames.empty()) {
        Frame& f = frames.back();
        FormulaSlot& sl = d.slots[f.slot];
        if (!sl.prog || sl.gen != f.gen) { // replaced or removed by a custom function meanwhile
            frames.pop_back();
            continue;
        }
        std::uint32_t next = 0;
        Next n = nextPending(f, next);
        if (n == Next::Pending) {
            enter(next);
            frames.push_back({next, d.slots[next].gen});
            continue;
        }
        if (n == Next::Cycle) {
            // Every frame from the one that is read again up to the top is part of the cycle.
            std::size_t j = frames.size() - 1;
            while (j > 0 && frames[j].slot != next)
                --j;
            if (frames[j].slot != next) j = frames.size() - 1;
            for (std::size_t k = j; k < frames.size(); ++k)
                store(frames[k].slot, Value::err(ErrorCode::Circular));
            frames.resize(j);
            continue;
        }
        if (!sl.mustRun) { // suspect, and every input it reads came out unchanged
            d.settled(f.slot, false);
            frames.pop_back();
            continue;
        }
        if (d.evalArith(f.slot)) {
            ++m_evaluations;
            frames.pop_back();
            continue;
        }
        ProgramPtr hold = sl.prog->hasCustom ? sl.prog : nullptr; // a custom function may replace it
        const Program& prog = *sl.prog;
        std::uint32_t s = f.slot, gen = f.gen;
        CellPos host{sl.col, sl.row};
        Value v = evaluate(prog, *this, host, d.stack);
        if (hold) d.forgetChunkHints();
        ++m_evaluations;
        if (d.slots[s].prog && d.slots[s].gen == gen) store(s, v);
        frames.pop_back();
    }
    frames.swap(d.framePool);
}

// --- look-up indexes

namespace {
// The index of a vector from one of the sheet's caches, built on first use. A row crosses columns,
// which are visited in order, so positions arrive in order either way.
template <class Index>
const Index* indexOf(EvalContext& ctx, const CellVector& v, IndexCache<Index> Sheet::Impl::*cache) {
    auto* sheet = dynamic_cast<Sheet*>(&ctx);
    if (!sheet || v.first > v.last) return nullptr;
    auto& d = SheetAccess::d(*sheet);
    if (const Index* found = (d.*cache).find(v)) return found;
    auto index = std::make_unique<Index>();
    const CellRange b =
        v.vertical ? CellRange{v.line, v.first, v.line, v.last} : CellRange{v.first, v.line, v.last, v.line};
    d.forEachRecord(b, [&](int c, int r, const CellRec& rec) {
        if (rec.kind) index->add(v.vertical ? r - v.first : c - v.first, d.valueOf(rec));
    });
    return (d.*cache).put(v, std::move(index));
}
} // namespace

const LookupIndex* lookupIndexOf(EvalContext& ctx, const CellVector& v) {
    return indexOf(ctx, v, &Sheet::Impl::lookups);
}

const MatchIndex* matchIndexOf(EvalContext& ctx, const CellVector& v) {
    return indexOf(ctx, v, &Sheet::Impl::matches);
}

// --- custom functions

bool Sheet::refuseWhileRecalculating() {
    if (m_customDepth == 0) return false;
    ++m_refusedCalls;
    return true;
}

void Sheet::addCustomFunction(std::string_view name, int minArgs, int maxArgs, CustomFunction fn) {
    std::string key = upper(name);
    m_d->customs[key] = CustomEntry{key, minArgs, maxArgs, std::move(fn)};
    m_d->shapes.clear(); // formulas calling it may compile differently now
}

bool Sheet::hasCustomFunction(std::string_view name) const {
    return m_d->customs.count(upper(name)) > 0;
}

bool Sheet::callCustom(std::string_view upperName, std::span<Operand> args, CellPos host, Value& out) {
    auto it = m_d->customs.find(std::string(upperName));
    if (it == m_d->customs.end()) return false;
    if (int(args.size()) < it->second.minArgs || int(args.size()) > it->second.maxArgs) {
        out = Value::err(ErrorCode::Value);
        return true;
    }
    CustomFunction fn = it->second.fn; // the function may register functions itself
    std::vector<FnValue> in(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        const Operand& o = args[i];
        FnValue& a = in[i];
        a.status = FnValue::Ok;
        switch (o.kind) {
        case Operand::Kind::Missing:
            a.status = FnValue::NoResult;
            break;
        case Operand::Kind::Ref:
            a.kind = FnValue::Cell;
            a.cells = o.range;
            break;
        case Operand::Kind::Range:
            a.kind = FnValue::Range;
            a.cells = o.range;
            break;
        case Operand::Kind::Value: {
            const Value& v = o.value;
            if (v.isNumber() || v.isBool()) {
                double x = v.number;
                if (x == std::trunc(x) && x >= -2147483648.0 && x <= 2147483647.0) {
                    a.kind = FnValue::Whole;
                    a.whole = std::int32_t(x);
                } else {
                    a.kind = FnValue::Floating;
                }
                a.floating = x;
            } else if (v.isText()) {
                a.kind = FnValue::Text;
                a.text = v.text;
            } else if (v.isError()) {
                a.status = FnValue::Unreadable;
            } else {
                a.status = FnValue::NoResult;
            }
            break;
        }
        }
    }
    FnValue r;
    const std::uint64_t refusedBefore = m_refusedCalls;
    // A function that tried to reshape or reload this sheet did not do what it meant to: its result
    // cannot be trusted.
    bool ok;
    {
        struct Depth {
            int& n;
            explicit Depth(int& d)
                : n(++d) {}
            ~Depth() { --n; }
        } running(m_customDepth);
        ok = fn(*this, host, r, in);
    }
    if (!ok || m_refusedCalls != refusedBefore) {
        out = Value::err(ErrorCode::Value);
        return true;
    }
    if (r.status == FnValue::NoResult)
        out = Value::empty();
    else if (r.status != FnValue::Ok)
        out = Value::err(ErrorCode::Value);
    else
        switch (r.kind) {
        case FnValue::Whole:
            out = Value::num(r.whole);
            break;
        case FnValue::Floating:
            out = Value::num(r.floating);
            break;
        case FnValue::Text:
            out = Value::str(r.text);
            break;
        case FnValue::Cell:
            out = value(r.cells.col1, r.cells.row1);
            break;
        default:
            out = Value::err(ErrorCode::Value);
            break;
        }
    return true;
}

} // namespace sheet
