#pragma once
// Formulas that read large ranges, filed by where the ranges lie, so that "who reads this cell"
// costs what the answer holds, not how many such formulas the sheet has.

#include <sheet/CellRef.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace sheet {

/// Range listeners: each distinct range is kept once with the formulas that read it (a column of
/// 100,000 look-ups into one table is one range with 100,000 listeners). Ranges are grouped by size
/// class, like the span index: a class holds ranges up to 2^lc columns and 2^lr rows, filed under
/// the bucket of their top-left cell, so a range reaches at most into the next bucket and a point
/// query looks at four buckets per class.
///
/// A listener is (slot, generation); a formula that is replaced or removed moves its slot's
/// generation on, which makes its old listeners stale. `release` counts them per range and sweeps a
/// range's list once half of it is stale, so removing every formula of a column costs linear time.
class RangeIndex {
public:
    struct Listener {
        std::uint32_t slot, gen;
    };

    bool empty() const { return m_byRange.empty(); }
    /// Distinct ranges held.
    std::size_t ranges() const { return m_byRange.size(); }
    void clear() {
        m_entries.clear();
        m_freeEntries.clear();
        m_byRange.clear();
        m_classes.clear();
    }

    void add(const CellRange& r, std::uint32_t slot, std::uint32_t gen) {
        auto [it, added] = m_byRange.try_emplace(rangeKey(r), 0u);
        if (added) {
            std::uint32_t id;
            if (!m_freeEntries.empty()) {
                id = m_freeEntries.back();
                m_freeEntries.pop_back();
            } else {
                id = std::uint32_t(m_entries.size());
                m_entries.emplace_back();
            }
            it->second = id;
            Entry& e = m_entries[id];
            e.range = r;
            e.listeners.clear();
            e.stale = 0;
            Class& k = classFor(r);
            k.buckets[bucketKey(r.col1 >> k.lc, r.row1 >> k.lr)].push_back(id);
            ++k.count;
            k.grow(r);
        }
        m_entries[it->second].listeners.push_back({slot, gen});
    }

    /// One listener of `r` went stale; `alive(slot, gen)` tells the listeners still current.
    template <class Alive> void release(const CellRange& r, Alive&& alive) {
        auto it = m_byRange.find(rangeKey(r));
        if (it == m_byRange.end()) return;
        const std::uint32_t id = it->second;
        Entry& e = m_entries[id];
        if (++e.stale * 2 < e.listeners.size()) return;
        std::erase_if(e.listeners, [&](const Listener& l) { return !alive(l.slot, l.gen); });
        e.stale = 0;
        if (!e.listeners.empty()) return;
        std::vector<Listener>().swap(e.listeners);
        Class& k = classFor(r);
        auto b = k.buckets.find(bucketKey(r.col1 >> k.lc, r.row1 >> k.lr));
        if (b != k.buckets.end()) {
            std::erase(b->second, id);
            if (b->second.empty()) k.buckets.erase(b);
        }
        --k.count;
        m_byRange.erase(it);
        m_freeEntries.push_back(id);
    }

    /// Calls f(listener) for every listener (stale ones included: the caller checks) of every
    /// range holding the cell.
    template <class F> void forEachAt(int c, int r, F&& f) const {
        for (const Class& k : m_classes) {
            if (!k.count || c < k.minCol || c > k.maxCol || r < k.minRow || r > k.maxRow) continue;
            const long bx = long(c) >> k.lc, by = long(r) >> k.lr;
            for (long x = bx - 1; x <= bx; ++x)
                for (long y = by - 1; y <= by; ++y) {
                    if (x < 0 || y < 0) continue;
                    auto it = k.buckets.find(bucketKey(x, y));
                    if (it == k.buckets.end()) continue;
                    for (std::uint32_t id : it->second) {
                        const Entry& e = m_entries[id];
                        if (!e.range.contains(c, r)) continue;
                        for (const Listener& l : e.listeners)
                            f(l);
                    }
                }
        }
    }

    std::size_t memoryBytes() const {
        std::size_t n = m_entries.capacity() * sizeof(Entry) + m_byRange.size() * 48;
        for (const Entry& e : m_entries)
            n += e.listeners.capacity() * sizeof(Listener);
        for (const Class& k : m_classes)
            n += k.buckets.size() * 64;
        return n;
    }

private:
    struct Entry {
        CellRange range;
        std::vector<Listener> listeners;
        std::size_t stale = 0;
    };
    struct Class {
        int lc, lr;
        std::size_t count = 0;
        // Bounds of every range ever filed here: most cells lie outside them and skip the class.
        int minCol = 1 << 30, minRow = 1 << 30, maxCol = -1, maxRow = -1;
        std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> buckets;
        void grow(const CellRange& r) {
            minCol = std::min(minCol, r.col1), minRow = std::min(minRow, r.row1);
            maxCol = std::max(maxCol, r.col2), maxRow = std::max(maxRow, r.row2);
        }
    };
    struct KeyHash {
        std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& k) const {
            return std::size_t((k.first * 0x9E3779B97F4A7C15ull) ^ (k.second + (k.first >> 29)));
        }
    };
    using RangeKey = std::pair<std::uint64_t, std::uint64_t>;

    static RangeKey rangeKey(const CellRange& r) {
        return {bucketKey(r.col1, r.row1), bucketKey(r.col2, r.row2)};
    }
    static int ceilLog2(long n) {
        int l = 0;
        while ((1L << l) < n)
            ++l;
        return l;
    }
    static std::uint64_t bucketKey(long bx, long by) {
        return (std::uint64_t(std::uint32_t(bx)) << 32) | std::uint32_t(by);
    }
    Class& classFor(const CellRange& r) {
        const int lc = ceilLog2(long(r.col2) - r.col1 + 1), lr = ceilLog2(long(r.row2) - r.row1 + 1);
        for (Class& k : m_classes)
            if (k.lc == lc && k.lr == lr) return k;
        m_classes.push_back({lc, lr});
        return m_classes.back();
    }

    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_freeEntries;
    std::unordered_map<RangeKey, std::uint32_t, KeyHash> m_byRange;
    std::vector<Class> m_classes;
};

} // namespace sheet
