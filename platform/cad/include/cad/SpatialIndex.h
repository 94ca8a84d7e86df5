#pragma once
// Which entities' boxes overlap a box: a uniform grid of cubic cells hashed by cell coordinates.
// A box is listed in every cell it touches; a box that touches more than `kMaxCellsPerBox` cells (a
// very long member, a huge plate) goes on a short list that every query reads whole. A query visits
// only the cells its own box touches, so its cost follows what lies near it, not the drawing's size.

#include <cad/Geometry.h>
#include <cad/acadstd.h>

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace cad {

class SpatialIndex {
public:
    /// Boxes that touch more cells than this are kept on the list of large boxes.
    static constexpr long kMaxCellsPerBox = 64;

    /// `cellSize` in millimetres: about the size of a typical entity (a plate, a short member).
    explicit SpatialIndex(double cellSize = 1000.0);

    /// Adds or replaces the box of `id`; an empty box removes it.
    void insert(AcDbObjectId id, const Extents& box);
    void erase(AcDbObjectId id);
    void clear();
    std::size_t size() const { return m_slotOf.size(); }
    bool contains(AcDbObjectId id) const { return m_slotOf.count(id.handle()) != 0; }
    /// A box that holds every box listed: it grows with each insertion and shrinks only at `clear`,
    /// so after erasures it may be larger than what is left needs. Empty when nothing was listed.
    const Extents& bounds() const { return m_bounds; }

    /// Appends to `out` every id whose box overlaps `box` (touching counts), each once, in no order.
    void query(const Extents& box, std::vector<AcDbObjectId>& out) const;
    std::vector<AcDbObjectId> query(const Extents& box) const {
        std::vector<AcDbObjectId> out;
        query(box, out);
        return out;
    }
    /// Calls `visit` with every id whose box overlaps `box` and that box, each once, in no order (a
    /// caller that sifts further by the box is spared looking each entity up).
    void query(const Extents& box, const std::function<void(AcDbObjectId, const Extents&)>& visit) const;

private:
    struct Entry {
        Extents box;
        AcDbObjectId id;
        bool large = false;
        mutable std::uint64_t seen = 0; ///< the query that last reported it
    };
    struct CellRange {
        std::int32_t lo[3], hi[3];
        long count() const;
    };
    CellRange cellsOf(const Extents& box) const;
    static std::uint64_t key(std::int32_t x, std::int32_t y, std::int32_t z);
    template <class F> void forCells(const CellRange& r, F f) const;

    double m_cell;
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_free;
    std::unordered_map<std::int64_t, std::uint32_t> m_slotOf;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> m_cells;
    std::vector<std::uint32_t> m_large;
    Extents m_bounds;
    mutable std::uint64_t m_query = 0;
};

} // namespace cad
