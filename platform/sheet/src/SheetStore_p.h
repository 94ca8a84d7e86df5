#pragma once
// Internal storage of a Sheet: chunked columns of compact cell records plus side tables.

#include <sheet/Sheet.h>

#include "CellRecord_p.h"
#include "ChunkPool_p.h"
#include "FormulaShapes_p.h"
#include "LookupCache_p.h"
#include "RangeIndex_p.h"
#include "SparseList_p.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>

namespace sheet {

/// Rows of one column in chunks of kChunk records, allocated when first written.
struct Column {
    SparseList<Chunk> chunks;
};

/// Column widths or row heights as runs: each key starts a run of one value that lasts to the next
/// key; before the first key, and where the value is 0, the default applies. Setting every row of a
/// 16-million-row grid is one run.
class SizeRuns {
public:
    float get(int i) const {
        auto it = m_runs.upper_bound(i);
        return it == m_runs.begin() ? 0.f : std::prev(it)->second;
    }
    /// Gives indices from..to the value v.
    void set(int from, int to, float v) {
        if (from > to) return;
        float after = get(to + 1);
        m_runs.erase(m_runs.lower_bound(from), m_runs.upper_bound(to + 1));
        m_runs[from] = v;
        m_runs[to + 1] = after;
        tidy(from, to + 1);
    }
    /// Opens n default entries at `at`, moving later ones up; entries past `last` are dropped.
    void insert(int at, int n, int last) {
        float before = get(at);
        std::map<int, float> out;
        for (auto& [k, v] : m_runs)
            out[k < at ? k : k + n] = v;
        m_runs.swap(out);
        // The opened entries are default even inside or just after a run of another value.
        m_runs[at + n] = before;
        m_runs[at] = 0;
        tidy(at, at + n);
        truncate(last);
    }
    /// Removes entries at .. at+n-1, moving later ones down.
    void erase(int at, int n) {
        float resume = get(at + n);
        std::map<int, float> out;
        for (auto& [k, v] : m_runs)
            if (k < at)
                out[k] = v;
            else if (k >= at + n)
                out[k - n] = v;
        m_runs.swap(out);
        m_runs[at] = resume;
        tidy(at, at);
    }
    /// Everything after `last` back to the default.
    void truncate(int last) {
        if (get(last + 1) == 0 && m_runs.lower_bound(last + 1) == m_runs.end()) return;
        m_runs.erase(m_runs.lower_bound(last + 1), m_runs.end());
        m_runs[last + 1] = 0;
        tidy(last + 1, last + 1);
    }
    /// Calls fn(first, last, value) for every run that is not the default; `end` bounds the last run.
    template <class F> void forEachRun(int end, F&& fn) const {
        for (auto it = m_runs.begin(); it != m_runs.end(); ++it) {
            auto next = std::next(it);
            if (it->second == 0) continue;
            int last = next == m_runs.end() ? end : std::min(end, next->first - 1);
            if (it->first <= last) fn(it->first, last, it->second);
        }
    }
    std::size_t runs() const { return m_runs.size(); }

private:
    // Drops keys that repeat the value before them (around the changed keys a and b).
    void tidy(int a, int b) {
        for (int k : {a, b}) {
            auto it = m_runs.find(k);
            if (it == m_runs.end()) continue;
            float prev = it == m_runs.begin() ? 0.f : std::prev(it)->second;
            if (prev == it->second) m_runs.erase(it);
        }
        if (!m_runs.empty() && m_runs.rbegin()->second == 0 &&
            (m_runs.size() == 1 || std::prev(m_runs.end(), 2)->second == 0))
            m_runs.erase(std::prev(m_runs.end()));
    }
    std::map<int, float> m_runs;
};

/// Joined blocks by size class, so that "which span covers this cell" and "does this block touch a
/// span" look at a few spans, not all of them. A class holds spans up to 2^lc columns and 2^lr rows
/// wide; in it a span is filed under the bucket (2^lc x 2^lr cells) of its top-left cell. Spans do
/// not overlap, so a bucket holds at most 16 spans of its class, and a span reaches into the next
/// bucket at most.
class SpanIndex {
public:
    void clear() { m_classes.clear(); }
    void add(const CellRange& s) {
        Class& k = classFor(s);
        k.buckets[bucketKey(s.col1 >> k.lc, s.row1 >> k.lr)].push_back(s);
        ++k.count;
    }
    void remove(const CellRange& s) {
        Class& k = classFor(s);
        auto it = k.buckets.find(bucketKey(s.col1 >> k.lc, s.row1 >> k.lr));
        if (it == k.buckets.end()) return;
        auto& v = it->second;
        auto at = std::find(v.begin(), v.end(), s);
        if (at == v.end()) return;
        v.erase(at);
        --k.count;
        if (v.empty()) k.buckets.erase(it);
    }
    /// The span covering a cell, or null.
    const CellRange* at(int c, int r) const {
        const CellRange* found = nullptr;
        visit({c, r, c, r}, [&](const CellRange& s) {
            found = &s;
            return false;
        });
        return found;
    }
    /// True when some span shares a cell with the block.
    bool overlaps(const CellRange& b) const {
        bool any = false;
        visit(b, [&](const CellRange&) {
            any = true;
            return false;
        });
        return any;
    }

private:
    struct Class {
        int lc, lr;
        std::size_t count = 0;
        std::unordered_map<std::uint64_t, std::vector<CellRange>> buckets;
    };
    static int ceilLog2(int n) {
        int l = 0;
        while ((1L << l) < long(n))
            ++l;
        return l;
    }
    static std::uint64_t bucketKey(long bx, long by) {
        return (std::uint64_t(std::uint32_t(bx)) << 32) | std::uint32_t(by);
    }
    Class& classFor(const CellRange& s) {
        int lc = ceilLog2(s.col2 - s.col1 + 1), lr = ceilLog2(s.row2 - s.row1 + 1);
        for (auto& k : m_classes)
            if (k.lc == lc && k.lr == lr) return k;
        m_classes.push_back({lc, lr, 0, {}});
        return m_classes.back();
    }
    // Calls fn for spans sharing a cell with b until it returns false.
    template <class F> void visit(const CellRange& b, F&& fn) const {
        auto touches = [&](const CellRange& s) {
            return !(b.col2 < s.col1 || s.col2 < b.col1 || b.row2 < s.row1 || s.row2 < b.row1);
        };
        for (const Class& k : m_classes) {
            if (!k.count) continue;
            long bx1 = (long(b.col1) >> k.lc) - 1, bx2 = long(b.col2) >> k.lc;
            long by1 = (long(b.row1) >> k.lr) - 1, by2 = long(b.row2) >> k.lr;
            // A block much larger than the class's spans: look at the spans rather than the buckets.
            if (double(bx2 - bx1 + 1) * double(by2 - by1 + 1) > double(k.buckets.size())) {
                for (const auto& [key, v] : k.buckets)
                    for (const CellRange& s : v)
                        if (touches(s) && !fn(s)) return;
                continue;
            }
            for (long bx = bx1; bx <= bx2; ++bx)
                for (long by = by1; by <= by2; ++by) {
                    if (bx < 0 || by < 0) continue;
                    auto it = k.buckets.find(bucketKey(bx, by));
                    if (it == k.buckets.end()) continue;
                    for (const CellRange& s : it->second)
                        if (touches(s) && !fn(s)) return;
                }
        }
    }
    std::vector<Class> m_classes;
};

/// Most memory the cells of one sheet may take (records in chunks); a file that would need more is
/// refused, and an edit that would need more fails instead of exhausting the machine.
inline constexpr std::size_t kStoreBudgetBytes = std::size_t(512) << 20;

enum class SlotState : std::uint8_t {
    Clean,
    Dirty,      ///< an input changed: runs again
    InProgress, ///< on the evaluation path
    Suspect,    ///< only reads formulas that may change: runs if one of them comes out changed
};

/// A formula in the sheet.
struct FormulaSlot {
    ProgramPtr prog; ///< null for a free slot
    int col = 0, row = 0;
    std::uint32_t gen = 0; ///< changes whenever the slot's formula is replaced or removed
    SlotState state = SlotState::Clean;
    bool mustRun = false; ///< while in progress: it was dirty, or an input came out changed
};

/// Where the formulas are: a count per 64-row chunk of each column. A walk looking for pending
/// formulas in a range visits only the chunks that hold formulas, so a look-up into a table of
/// values costs nothing, however large the table.
class FormulaChunks {
public:
    void add(int c, int r) {
        bool created;
        ++m_cols.get(std::size_t(c), created).get(std::size_t(r) >> kChunkBits, created);
    }
    void remove(int c, int r) {
        SparseList<std::uint32_t>* col = m_cols.find(std::size_t(c));
        std::uint32_t* n = col ? col->find(std::size_t(r) >> kChunkBits) : nullptr;
        if (n && *n) --*n;
    }
    void clear() { m_cols.clear(); }
    /// True when some chunk of the block may hold a formula.
    bool any(const CellRange& b) const {
        int c = b.col1, r = b.row1;
        return next(b, c, r);
    }
    /// Moves (c, r) to the first cell at or after it, in column order inside the block, that lies in
    /// a chunk holding formulas. False when none is left.
    bool next(const CellRange& b, int& c, int& r) const {
        if (c < b.col1) c = b.col1, r = b.row1;
        if (r < b.row1) r = b.row1;
        for (std::size_t ci = m_cols.lowerBound(std::size_t(std::max(0, c)));
             ci < m_cols.count() && long(m_cols.keyAt(ci)) <= long(b.col2); ++ci) {
            if (int(m_cols.keyAt(ci)) != c) c = int(m_cols.keyAt(ci)), r = b.row1;
            if (r > b.row2) continue;
            const auto& ks = m_cols.itemAt(ci);
            for (std::size_t k = ks.lowerBound(std::size_t(std::max(0, r)) >> kChunkBits); k < ks.count();
                 ++k) {
                const int first = int(std::size_t(ks.keyAt(k)) << kChunkBits);
                if (first > b.row2) break;
                if (!ks.itemAt(k)) continue;
                r = std::max(r, first);
                return true;
            }
            r = b.row2 + 1;
        }
        return false;
    }
    std::size_t memoryBytes() const {
        std::size_t n = m_cols.capacityBytes();
        for (const auto& col : m_cols)
            n += col.capacityBytes();
        return n;
    }

private:
    SparseList<SparseList<std::uint32_t>> m_cols;
};

/// One formula on the evaluation path, with the position of the next reference to look at.
struct EvalFrame {
    std::uint32_t slot, gen;
    std::uint32_t ip = 0;
    bool inRange = false;
    CellRange range{};
    int c = 0, r = 0; // range cursor
};

struct CustomEntry {
    std::string name;
    int minArgs, maxArgs;
    CustomFunction fn;
};

inline std::uint64_t cellKey(int c, int r) {
    return (std::uint64_t(std::uint32_t(c)) << 32) | std::uint32_t(r);
}

struct Sheet::Impl : NameArity {
    ChunkPool chunkPool; ///< first, so that it outlives the chunks
    SparseList<Column> cols;
    std::size_t chunkCount = 0; ///< allocated chunks, checked against the budget
    std::size_t budgetChunks = kStoreBudgetBytes / (sizeof(CellRec) * kChunk);
    SpanIndex spanIndex;
    std::vector<std::string> texts;
    std::vector<std::uint32_t> freeTexts;
    std::vector<FormulaSlot> slots;
    std::vector<std::uint32_t> freeSlots;
    std::vector<std::uint32_t> pendingFree; ///< slots released during a recalculation
    std::size_t liveSlots = 0;
    std::vector<std::vector<std::uint32_t>> depLists;
    std::vector<std::uint32_t> freeDepLists;
    /// Readers of cells whose chunk was never allocated (a reference far below the data): kept
    /// aside rather than allocating a chunk per reference.
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> looseDeps;
    RangeIndex rangeIndex;       ///< formulas reading ranges larger than kSmallRange
    FormulaChunks formulaChunks; ///< where the formulas are
    FormulaShapes shapes;        ///< programs of formulas filled down a column
    LookupCache lookups;         ///< indexes of looked-up columns and rows
    MatchCache matches;          ///< indexes of columns and rows that COUNTIF and SUMIF search
    std::unordered_map<std::uint64_t, std::string> tags, notes;
    InternTable<CellStyle> styles;
    InternTable<CellType> types;
    SizeRuns colWidths;  ///< pixels; 0 = default, -1 = hidden
    SizeRuns rowHeights; ///< pixels; 0 = default, -1 = hidden
    SizeRuns grownRows;  ///< pixels a default-height row grew to for its wrapped texts; 0 = none
    SizeRuns rowsToFit;  ///< 1 = the row's grown height is to be measured again
    std::unordered_map<std::string, ProgramPtr> programCache;
    std::unordered_map<std::string, CustomEntry> customs;
    std::vector<std::uint32_t> dirty;
    std::vector<CellPos> markWork; ///< scratch of markDependents
    int recalcDepth = 0;
    /// Suspect formulas that are not plain arithmetic are waiting: a formula whose value changes
    /// then tells its readers, and suspect formulas whose inputs all came out the same are skipped.
    bool cutoff = false;
    std::vector<Operand> stack;
    std::vector<EvalFrame> framePool;

    static constexpr float kDefaultColPx = 64, kDefaultHeaderColPx = 40, kDefaultRowPx = 20;

    bool customArity(const std::string& upperName, int& lo, int& hi) const override {
        auto it = customs.find(upperName);
        if (it == customs.end()) return false;
        lo = it->second.minArgs;
        hi = it->second.maxArgs;
        return true;
    }

    [[gnu::always_inline]] CellRec* find(int c, int r) {
        if (c < 0 || r < 0) return nullptr;
        Column* col = cols.find(std::size_t(c));
        if (!col) return nullptr;
        Chunk* ch = col->chunks.find(std::size_t(r) >> kChunkBits);
        return ch ? &(*ch)[std::size_t(r) & (kChunk - 1)] : nullptr;
    }
    const CellRec* find(int c, int r) const { return const_cast<Impl*>(this)->find(c, r); }

    /// The chunk evalArith read last in each of a few columns: a recalculation reads the same few
    /// chunks for 64 formulas in a row. Only good while a recalculation evaluates: nothing frees or
    /// moves a chunk then, except a custom function, after which they are forgotten.
    struct ChunkHint {
        std::uint64_t key = ~std::uint64_t(0); ///< column << 32 | chunk index
        CellRec* recs = nullptr;
    };
    std::array<ChunkHint, 8> chunkHints;
    void forgetChunkHints() { chunkHints.fill({}); }
    /// find() for evalArith; c and r are valid cell coordinates.
    [[gnu::always_inline]] CellRec* findHinted(int c, int r) {
        const std::uint64_t key = (std::uint64_t(std::uint32_t(c)) << 32) | (std::uint32_t(r) >> kChunkBits);
        ChunkHint& h = chunkHints[std::size_t(c) & (chunkHints.size() - 1)];
        if (h.key == key) [[likely]]
            return h.recs + (r & (kChunk - 1));
        CellRec* rec = find(c, r);
        if (rec) h = {key, rec - (r & (kChunk - 1))};
        return rec;
    }
    /// The record of a cell, allocated when missing; throws StoreBudgetExceeded (a std::bad_alloc)
    /// rather than growing past the budget.
    CellRec& at(int c, int r) {
        bool newColumn = false, newChunk = false;
        Column& col = cols.get(std::size_t(c), newColumn);
        Chunk* ch = col.chunks.find(std::size_t(r) >> kChunkBits);
        if (!ch) {
            if (chunkCount >= budgetChunks) {
                if (newColumn) dropColumnIfEmpty(c);
                throw StoreBudgetExceeded();
            }
            const std::size_t k = std::size_t(r) >> kChunkBits;
            std::size_t run = 0;
            while (run < ChunkPool::kMaxSlots && run < k && col.chunks.find(k - 1 - run))
                ++run;
            Chunk fresh = nullptr;
            try {
                fresh = chunkPool.take(std::size_t(std::max(c - 1, 0)),
                                       run ? *col.chunks.find(k - 1) : nullptr, run, budgetChunks);
                ch = &col.chunks.get(k, newChunk);
            } catch (...) {
                if (fresh) chunkPool.release(fresh);
                if (newColumn) dropColumnIfEmpty(c);
                throw;
            }
            *ch = fresh;
            ++chunkCount;
        }
        return (*ch)[std::size_t(r) & (kChunk - 1)];
    }
    void dropColumnIfEmpty(int c) {
        std::size_t i = cols.lowerBound(std::size_t(c));
        if (i < cols.count() && cols.keyAt(i) == std::uint32_t(c) && cols.itemAt(i).chunks.empty())
            cols.erasePositions(i, i + 1);
    }
    /// Frees the chunks of a column at positions i0 .. i1-1 of its list.
    void freeChunks(Column& col, std::size_t i0, std::size_t i1) {
        for (std::size_t i = i0; i < i1; ++i)
            chunkPool.release(col.chunks.itemAt(i));
        chunkCount -= i1 - i0;
        col.chunks.erasePositions(i0, i1);
    }
    /// Frees the columns at positions i0 .. i1-1 of the column list.
    void freeColumns(std::size_t i0, std::size_t i1) {
        for (std::size_t i = i0; i < i1; ++i) {
            Column& col = cols.itemAt(i);
            freeChunks(col, 0, col.chunks.count());
        }
        cols.erasePositions(i0, i1);
    }
    /// Frees the chunks of a column from chunk index `fromChunk` on.
    void dropChunks(Column& col, std::size_t fromChunk) {
        freeChunks(col, col.chunks.lowerBound(fromChunk), col.chunks.count());
    }
    /// Frees the columns from `from` on.
    void dropColumns(std::size_t from) { freeColumns(cols.lowerBound(from), cols.count()); }
    /// Calls fn(c, r, rec) for every allocated record of a block, column by column; cost follows the
    /// chunks inside the block, never its size.
    template <class F> void forEachRecord(const CellRange& b, F&& fn) {
        if (b.col2 < b.col1 || b.row2 < b.row1) return;
        const std::size_t r1 = std::size_t(std::max(0, b.row1)), r2 = std::size_t(std::max(0, b.row2));
        for (std::size_t ci = cols.lowerBound(std::size_t(std::max(0, b.col1)));
             ci < cols.count() && long(cols.keyAt(ci)) <= long(b.col2); ++ci) {
            const int c = int(cols.keyAt(ci));
            auto& chunks = cols.itemAt(ci).chunks;
            for (std::size_t k = chunks.lowerBound(r1 >> kChunkBits);
                 k < chunks.count() && chunks.keyAt(k) <= (r2 >> kChunkBits); ++k) {
                const std::size_t base = std::size_t(chunks.keyAt(k)) << kChunkBits;
                const std::size_t from = std::max(base, r1), to = std::min(base + kChunk - 1, r2);
                CellRec* recs = chunks.itemAt(k);
                for (std::size_t row = from; row <= to; ++row)
                    fn(c, int(row), recs[row - base]);
            }
        }
    }
    /// True when allocating every record of the block stays within the budget.
    bool blockFits(const CellRange& b) const {
        const std::size_t k1 = std::size_t(b.row1) >> kChunkBits, k2 = std::size_t(b.row2) >> kChunkBits;
        const double needed = (double(b.col2) - b.col1 + 1) * double(k2 - k1 + 1);
        if (needed <= double(budgetChunks - chunkCount)) return true;
        if (needed > double(budgetChunks)) return false;
        double existing = 0;
        for (std::size_t ci = cols.lowerBound(std::size_t(b.col1));
             ci < cols.count() && int(cols.keyAt(ci)) <= b.col2; ++ci) {
            const auto& chunks = cols.itemAt(ci).chunks;
            existing += double(chunks.lowerBound(k2 + 1) - chunks.lowerBound(k1));
        }
        return needed - existing <= double(budgetChunks - chunkCount);
    }
    /// The next allocated record at or after (c, r) in column order inside a block: the cursor a
    /// range walk uses to skip what was never written. False when none is left.
    bool nextRecord(const CellRange& b, int& c, int& r) const {
        if (c < b.col1) c = b.col1, r = b.row1;
        if (r < b.row1) r = b.row1;
        for (std::size_t ci = cols.lowerBound(std::size_t(std::max(0, c)));
             ci < cols.count() && long(cols.keyAt(ci)) <= long(b.col2); ++ci) {
            if (int(cols.keyAt(ci)) != c) c = int(cols.keyAt(ci)), r = b.row1;
            if (r > b.row2) continue;
            const auto& chunks = cols.itemAt(ci).chunks;
            std::size_t k = chunks.lowerBound(std::size_t(std::max(0, r)) >> kChunkBits);
            if (k < chunks.count()) {
                int first = int(std::size_t(chunks.keyAt(k)) << kChunkBits);
                int row = std::max(r, first);
                if (row <= b.row2) {
                    r = row;
                    return true;
                }
            }
            r = b.row2 + 1; // nothing further down this column
        }
        return false;
    }

    std::uint32_t addText(std::string_view s) {
        if (!freeTexts.empty()) {
            std::uint32_t i = freeTexts.back();
            freeTexts.pop_back();
            texts[i - 1] = s;
            return i;
        }
        texts.emplace_back(s);
        return std::uint32_t(texts.size());
    }
    void freeText(std::uint32_t& i) {
        if (!i) return;
        std::string().swap(texts[i - 1]);
        freeTexts.push_back(i);
        i = 0;
    }

    [[gnu::always_inline]] Value valueOf(const CellRec& c) const {
        switch (ValueKind(c.kind)) {
        case ValueKind::Number:
            return Value::num(c.num);
        case ValueKind::Text:
            return Value::str(c.text ? texts[c.text - 1] : std::string());
        case ValueKind::Bool:
            return Value::boolean(c.num != 0);
        case ValueKind::Error:
            return Value::err(ErrorCode(int(c.num)));
        default:
            return {};
        }
    }
    /// Stores a value into a record (formula and format untouched).
    void storeValue(CellRec& c, const Value& v) {
        c.flags &= std::uint8_t(~kKeepText);
        c.kind = std::uint8_t(v.kind);
        switch (v.kind) {
        case ValueKind::Text:
            if (c.text)
                texts[c.text - 1] = v.text;
            else
                c.text = addText(v.text);
            c.num = 0;
            return;
        case ValueKind::Error:
            c.num = double(int(v.error));
            break;
        case ValueKind::Empty:
            c.num = 0;
            break;
        default:
            c.num = v.number;
            break;
        }
        freeText(c.text);
    }

    // Dependency bookkeeping (SheetRecalc.cpp).
    void addDep(int c, int r, std::uint32_t slot);
    void removeDep(int c, int r, std::uint32_t slot);
    void registerSlot(std::uint32_t slot);
    void unregisterSlot(std::uint32_t slot);
    void rebuildDependencies();
    template <class F> void forEachDependent(int c, int r, F&& f);
    void markDependents(int c, int r);
    /// A formula's new value is in place: it is clean, and when the value changed while readers
    /// wait as suspects, they must run.
    [[gnu::always_inline]] void settled(std::uint32_t slot, bool changed) {
        FormulaSlot& sl = slots[slot];
        sl.state = SlotState::Clean;
        valueChanged(sl.col, sl.row);
        if (changed && cutoff) wakeReaders(sl.col, sl.row);
    }
    void wakeReaders(int col, int row);
    /// A cell's value changed: forget the look-up indexes that hold it.
    [[gnu::always_inline]] void valueChanged(int c, int r) {
        if (!lookups.empty()) lookups.invalidate(c, r);
        if (!matches.empty()) matches.invalidate(c, r);
    }
    bool evalArith(std::uint32_t slot);
    std::uint32_t allocSlot();
    void releaseSlot(std::uint32_t slot);
    ProgramPtr intern(ProgramPtr p);
};

} // namespace sheet

namespace sheet {
/// Direct access to a sheet's storage for the file reader and writer.
struct SheetAccess {
    static Sheet::Impl& d(Sheet& s) { return *s.m_d; }
    static const Sheet::Impl& d(const Sheet& s) { return *s.m_d; }
};
} // namespace sheet
