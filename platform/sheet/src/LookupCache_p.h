#pragma once
// Indexes of looked-up columns and rows, so that an exact-match look-up, or a count or sum of the
// cells equal to a value, costs one hash probe.

#include <sheet/CellRef.h>
#include <sheet/Evaluator.h>
#include <sheet/Value.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sheet {

/// Vectors shorter than this are searched cell by cell: building an index would cost more.
inline constexpr int kIndexedLength = 32;

/// The first position of each value in one vector of cells (part of a column or of a row), with
/// the matching rules of an exact look-up: numbers by value, booleans by value, texts ignoring the
/// case of ASCII letters; empty cells and errors are never found.
class LookupIndex {
public:
    /// Adds the cell at `pos` (positions arrive in increasing order: the first one of a value wins).
    void add(int pos, const Value& v) {
        switch (v.kind) {
        case ValueKind::Number:
            m_numbers.try_emplace(v.number == 0 ? 0.0 : v.number, pos);
            break;
        case ValueKind::Bool:
            if (m_bools[v.number != 0] < 0) m_bools[v.number != 0] = pos;
            break;
        case ValueKind::Text:
            m_texts.try_emplace(fold(v.text), pos);
            break;
        default:
            break;
        }
    }
    /// Position of the first cell equal to the key, -1 when none. The key must not be a text with
    /// wildcards (the caller searches those by pattern).
    int find(const Value& key) const {
        switch (key.kind) {
        case ValueKind::Number: {
            auto it = m_numbers.find(key.number == 0 ? 0.0 : key.number);
            return it == m_numbers.end() ? -1 : it->second;
        }
        case ValueKind::Bool:
            return m_bools[key.number != 0];
        case ValueKind::Text: {
            auto it = m_texts.find(fold(key.text));
            return it == m_texts.end() ? -1 : it->second;
        }
        default:
            return -1;
        }
    }
    std::size_t size() const { return m_numbers.size() + m_texts.size(); }
    /// True for a text the look-ups read as a pattern.
    static bool isPattern(std::string_view t) { return t.find_first_of("*?~") != std::string_view::npos; }
    static std::string fold(std::string_view t) {
        std::string s(t);
        for (char& c : s)
            if (c >= 'a' && c <= 'z') c = char(c - 32);
        return s;
    }

private:
    std::unordered_map<double, int> m_numbers;
    std::unordered_map<std::string, int> m_texts;
    int m_bools[2] = {-1, -1};
};

/// Every cell of one vector equal to a value, with the equality of COUNTIF and SUMIF criteria:
/// a number matches numbers and texts that read as that number; a plain text matches texts
/// ignoring the case of ASCII letters. Positions are in vector order.
class MatchIndex {
public:
    using Positions = std::vector<int>;
    /// Adds the cell at `pos` (positions arrive in increasing order).
    void add(int pos, const Value& v) {
        if (v.kind == ValueKind::Number) {
            m_numbers[v.number == 0 ? 0.0 : v.number].push_back(pos);
            ++m_size;
        } else if (v.kind == ValueKind::Text && !v.text.empty()) {
            if (auto n = parseNumber(v.text)) m_numbers[*n == 0 ? 0.0 : *n].push_back(pos);
            m_texts[LookupIndex::fold(v.text)].push_back(pos);
            ++m_size;
        }
    }
    /// The cells equal to the number, or null for none.
    const Positions* number(double key) const {
        auto it = m_numbers.find(key == 0 ? 0.0 : key);
        return it == m_numbers.end() ? nullptr : &it->second;
    }
    /// The cells holding the text (not a pattern), or null for none.
    const Positions* text(std::string_view key) const {
        auto it = m_texts.find(LookupIndex::fold(key));
        return it == m_texts.end() ? nullptr : &it->second;
    }
    std::size_t size() const { return m_size; }

private:
    std::unordered_map<double, Positions> m_numbers;
    std::unordered_map<std::string, Positions> m_texts;
    std::size_t m_size = 0;
};

/// One vector of cells: `line` is the column of a vertical vector or the row of a horizontal one;
/// first..last are rows or columns.
struct CellVector {
    bool vertical;
    int line, first, last;
};

/// The indexes of one kind of one sheet, filed by column (vertical vectors) and by row (horizontal
/// ones). A change of any cell drops exactly the indexes whose vector holds it.
template <class Index> class IndexCache {
public:
    using Vector = CellVector;

    bool empty() const { return m_count == 0; }
    std::size_t count() const { return m_count; }
    void clear() {
        m_byCol.clear();
        m_byRow.clear();
        m_count = 0;
        m_entries = 0;
        m_box = {1 << 30, 1 << 30, -1, -1};
    }

    const Index* find(const Vector& v) const {
        const auto& map = v.vertical ? m_byCol : m_byRow;
        auto it = map.find(v.line);
        if (it == map.end()) return nullptr;
        for (const Held& h : it->second)
            if (h.first == v.first && h.last == v.last) return h.index.get();
        return nullptr;
    }
    /// Keeps an index built for a vector; past the cache's size limit older indexes are let go.
    const Index* put(const Vector& v, std::unique_ptr<Index> index) {
        m_entries += index->size();
        if (m_entries > kMaxEntries) {
            clear();
            m_entries = index->size();
        }
        auto& list = (v.vertical ? m_byCol : m_byRow)[v.line];
        list.push_back({v.first, v.last, std::move(index)});
        ++m_count;
        CellRange r = v.vertical ? CellRange{v.line, v.first, v.line, v.last}
                                 : CellRange{v.first, v.line, v.last, v.line};
        m_box = {std::min(m_box.col1, r.col1), std::min(m_box.row1, r.row1), std::max(m_box.col2, r.col2),
                 std::max(m_box.row2, r.row2)};
        return list.back().index.get();
    }
    /// The cell (c, r) changed.
    void invalidate(int c, int r) {
        if (!m_box.contains(c, r)) return;
        drop(m_byCol, c, r);
        drop(m_byRow, r, c);
    }

private:
    // Hashes of many large tables could outgrow the cells they index: a bound keeps them in check.
    static constexpr std::size_t kMaxEntries = std::size_t(4) << 20;
    struct Held {
        int first, last;
        std::unique_ptr<Index> index;
    };
    using Map = std::unordered_map<int, std::vector<Held>>;
    void drop(Map& map, int line, int at) {
        auto it = map.find(line);
        if (it == map.end()) return;
        std::erase_if(it->second, [&](const Held& h) {
            if (at < h.first || at > h.last) return false;
            m_entries -= std::min(m_entries, h.index->size());
            --m_count;
            return true;
        });
        if (it->second.empty()) map.erase(it);
    }

    Map m_byCol, m_byRow;
    std::size_t m_count = 0, m_entries = 0;
    CellRange m_box{1 << 30, 1 << 30, -1, -1}; ///< holds every indexed cell
};

using LookupCache = IndexCache<LookupIndex>;
using MatchCache = IndexCache<MatchIndex>;

/// The index of a vector of the sheet that evaluates (built on first use), or null when the
/// context keeps no indexes.
const LookupIndex* lookupIndexOf(EvalContext& ctx, const CellVector& v);
const MatchIndex* matchIndexOf(EvalContext& ctx, const CellVector& v);

} // namespace sheet
