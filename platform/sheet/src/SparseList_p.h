#pragma once
// A sparse, ordered list of items by index: the cell store's list of columns and of the chunks of
// each column.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sheet {

/// A sparse, ordered list of items by index: only stored items cost memory, so an item at index
/// 16,000,000 costs what one at index 1 costs. Look-ups come in three speeds: while the stored
/// indices form one unbroken run (a filled column, the chunks of a filled table) an item's position
/// is its index minus the first; while they are mostly unbroken (a table with a few empty columns)
/// a position table answers; only a truly scattered list is searched.
template <class T> class SparseList {
public:
    SparseList() = default;
    SparseList(const SparseList&) = default;
    SparseList& operator=(const SparseList&) = default;
    // A moved-from list is empty, its look-up shape included.
    SparseList(SparseList&& o) noexcept
        : m_keys(std::move(o.m_keys))
        , m_items(std::move(o.m_items))
        , m_pos(std::move(o.m_pos))
        , m_first(o.m_first)
        , m_span(o.m_span)
        , m_dense(o.m_dense) {
        o.clear();
    }
    SparseList& operator=(SparseList&& o) noexcept {
        m_keys = std::move(o.m_keys);
        m_items = std::move(o.m_items);
        m_pos = std::move(o.m_pos);
        m_first = o.m_first;
        m_span = o.m_span;
        m_dense = o.m_dense;
        o.clear();
        return *this;
    }

    /// One past the highest stored index (0 when empty).
    std::size_t size() const { return m_keys.empty() ? 0 : std::size_t(m_keys.back()) + 1; }
    /// Stored items, in index order.
    std::size_t count() const { return m_keys.size(); }
    bool empty() const { return m_keys.empty(); }
    std::uint32_t keyAt(std::size_t i) const { return m_keys[i]; }
    T& itemAt(std::size_t i) { return m_items[i]; }
    const T& itemAt(std::size_t i) const { return m_items[i]; }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    /// Position of the first stored item with an index >= k.
    std::size_t lowerBound(std::size_t k) const {
        if (k - m_first < m_dense) return k - m_first;
        return std::size_t(std::lower_bound(m_keys.begin(), m_keys.end(), k) - m_keys.begin());
    }
    // Cell look-ups come here several times per formula and per cell shown or exported: the
    // unbroken case is inlined, the others are out of line.
    [[gnu::always_inline]] T* find(std::size_t k) {
        const std::size_t i = k - m_first; // wraps to a huge value below the first index
        if (i < m_dense) [[likely]]
            return &m_items[i];
        return findBroken(k);
    }
    [[gnu::always_inline]] const T* find(std::size_t k) const {
        return const_cast<SparseList*>(this)->find(k);
    }
    /// The item at k, created (value-initialised) when missing; `created` tells which.
    T& get(std::size_t k, bool& created) {
        created = false;
        if (T* t = find(k)) return *t;
        std::size_t i = std::size_t(std::lower_bound(m_keys.begin(), m_keys.end(), k) - m_keys.begin());
        m_keys.insert(m_keys.begin() + std::ptrdiff_t(i), std::uint32_t(k));
        try {
            m_items.insert(m_items.begin() + std::ptrdiff_t(i), T());
        } catch (...) {
            m_keys.erase(m_keys.begin() + std::ptrdiff_t(i));
            throw;
        }
        created = true;
        if (i + 1 == m_keys.size() && i > 0)
            noteAppend(); // the usual way a list fills: no rebuild
        else
            noteShape();
        return m_items[i];
    }
    /// Removes stored items i0 .. i1-1 (positions, not indices).
    void erasePositions(std::size_t i0, std::size_t i1) {
        m_keys.erase(m_keys.begin() + std::ptrdiff_t(i0), m_keys.begin() + std::ptrdiff_t(i1));
        m_items.erase(m_items.begin() + std::ptrdiff_t(i0), m_items.begin() + std::ptrdiff_t(i1));
        noteShape();
    }
    /// Moves every item with index >= from by `by` (which may be negative; the caller keeps order).
    void shiftFrom(std::size_t from, long by) {
        for (std::size_t i = lowerBound(from); i < m_keys.size(); ++i)
            m_keys[i] = std::uint32_t(long(m_keys[i]) + by);
        noteShape();
    }
    void clear() {
        m_keys.clear();
        m_items.clear();
        noteShape();
    }
    void shrink() {
        m_keys.shrink_to_fit();
        m_items.shrink_to_fit();
        m_pos.shrink_to_fit();
    }
    std::size_t capacityBytes() const {
        return m_keys.capacity() * 4 + m_items.capacity() * sizeof(T) + m_pos.capacity() * 4;
    }

    /// A missing item as a shared empty value (read access only).
    const T& operator[](std::size_t k) const {
        static const T none{};
        const T* t = find(k);
        return t ? *t : none;
    }

private:
    /// A position table may cover up to this many indices: four per stored item and a little.
    std::size_t tableLimit() const { return 4 * m_keys.size() + 64; }

    /// Chooses the look-up after any change of the stored indices (they are sorted and distinct).
    void noteShape() {
        chooseShape();
        m_dense = m_pos.empty() ? m_span : 0;
    }
    /// An item was added after the last one.
    void noteAppend() {
        extendShape();
        m_dense = m_pos.empty() ? m_span : 0;
    }
    void chooseShape() {
        m_pos.clear();
        if (m_keys.empty()) {
            m_first = 0;
            m_span = 0;
            return;
        }
        m_first = m_keys.front();
        const std::size_t span = std::size_t(m_keys.back()) - m_first + 1;
        if (span == m_keys.size()) {
            m_span = span; // unbroken
        } else if (span <= tableLimit()) {
            m_pos.assign(span, -1);
            for (std::size_t p = 0; p < m_keys.size(); ++p)
                m_pos[m_keys[p] - m_first] = std::int32_t(p);
            m_span = span;
        } else {
            m_span = 0; // scattered: searched
        }
    }
    void extendShape() {
        const std::size_t k = m_keys.back(), p = m_keys.size() - 1;
        if (m_span == 0) {
            if (m_keys.size() % 64 == 0) chooseShape(); // a scattered list may have filled in
            return;
        }
        const std::size_t span = k - m_first + 1;
        if (m_pos.empty() && span == m_keys.size()) {
            m_span = span; // still unbroken
            return;
        }
        if (span > tableLimit()) {
            m_pos.clear();
            m_span = 0;
            return;
        }
        if (m_pos.empty()) { // was unbroken: its table is the identity
            m_pos.resize(m_span);
            for (std::size_t i = 0; i < m_span; ++i)
                m_pos[i] = std::int32_t(i);
        }
        m_pos.resize(span, -1);
        m_pos[k - m_first] = std::int32_t(p);
        m_span = span;
    }
    [[gnu::noinline]] T* findBroken(std::size_t k) {
        const std::size_t i = k - m_first;
        if (i < m_span) {
            const std::int32_t p = m_pos[i];
            return p >= 0 ? &m_items[std::size_t(p)] : nullptr;
        }
        if (m_span != 0 || m_keys.empty()) return nullptr;
        const std::size_t at =
            std::size_t(std::lower_bound(m_keys.begin(), m_keys.end(), k) - m_keys.begin());
        return at < m_keys.size() && m_keys[at] == k ? &m_items[at] : nullptr;
    }

    std::vector<std::uint32_t> m_keys;
    std::vector<T> m_items;
    std::vector<std::int32_t> m_pos; ///< position per index from m_first, -1 for none (mostly unbroken lists)
    std::size_t m_first = 0;         ///< the first stored index
    std::size_t m_span = 0;          ///< indices the fast look-up covers from m_first; 0 when scattered
    std::size_t m_dense = 0; ///< m_span while the indices are unbroken, else 0: the one-compare look-up
};

} // namespace sheet
