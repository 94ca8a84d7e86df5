// The uniform grid of boxes.

#include <cad/SpatialIndex.h>

#include <algorithm>
#include <cmath>

namespace cad {

namespace {
// Cell coordinates are clamped to 21 bits each, so that three fit one key. Clamping keeps the order
// of coordinates, so boxes far out share the outermost cells instead of missing each other.
constexpr std::int32_t kCellLimit = (1 << 20) - 1;

std::int32_t cellCoord(double v, double cell) {
    double c = std::floor(v / cell);
    if (!(c > -kCellLimit)) return -kCellLimit; // also NaN
    if (c > kCellLimit) return kCellLimit;
    return static_cast<std::int32_t>(c);
}

void removeValue(std::vector<std::uint32_t>& v, std::uint32_t x) {
    auto it = std::find(v.begin(), v.end(), x);
    if (it == v.end()) return;
    *it = v.back();
    v.pop_back();
}
} // namespace

SpatialIndex::SpatialIndex(double cellSize)
    : m_cell(cellSize > 0 ? cellSize : 1000.0) {}

long SpatialIndex::CellRange::count() const {
    long n = 1;
    for (int i = 0; i < 3; ++i) {
        n *= static_cast<long>(hi[i]) - lo[i] + 1;
        if (n > (1L << 40)) return n;
    }
    return n;
}

SpatialIndex::CellRange SpatialIndex::cellsOf(const Extents& b) const {
    return {{cellCoord(b.min.x, m_cell), cellCoord(b.min.y, m_cell), cellCoord(b.min.z, m_cell)},
            {cellCoord(b.max.x, m_cell), cellCoord(b.max.y, m_cell), cellCoord(b.max.z, m_cell)}};
}

std::uint64_t SpatialIndex::key(std::int32_t x, std::int32_t y, std::int32_t z) {
    auto part = [](std::int32_t v) { return static_cast<std::uint64_t>(v + kCellLimit) & 0x1fffff; };
    return part(x) | part(y) << 21 | part(z) << 42;
}

template <class F> void SpatialIndex::forCells(const CellRange& r, F f) const {
    for (std::int32_t x = r.lo[0]; x <= r.hi[0]; ++x)
        for (std::int32_t y = r.lo[1]; y <= r.hi[1]; ++y)
            for (std::int32_t z = r.lo[2]; z <= r.hi[2]; ++z)
                f(key(x, y, z));
}

void SpatialIndex::insert(AcDbObjectId id, const Extents& box) {
    erase(id);
    if (box.isEmpty()) return;
    std::uint32_t slot;
    if (!m_free.empty()) {
        slot = m_free.back();
        m_free.pop_back();
    } else {
        slot = static_cast<std::uint32_t>(m_entries.size());
        m_entries.emplace_back();
    }
    Entry& e = m_entries[slot];
    e.box = box;
    e.id = id;
    e.seen = 0;
    CellRange r = cellsOf(box);
    e.large = r.count() > kMaxCellsPerBox;
    if (e.large)
        m_large.push_back(slot);
    else
        forCells(r, [&](std::uint64_t k) { m_cells[k].push_back(slot); });
    m_slotOf[id.handle()] = slot;
    m_bounds.add(box);
}

void SpatialIndex::erase(AcDbObjectId id) {
    auto it = m_slotOf.find(id.handle());
    if (it == m_slotOf.end()) return;
    std::uint32_t slot = it->second;
    Entry& e = m_entries[slot];
    if (e.large) {
        removeValue(m_large, slot);
    } else {
        forCells(cellsOf(e.box), [&](std::uint64_t k) {
            auto c = m_cells.find(k);
            if (c == m_cells.end()) return;
            removeValue(c->second, slot);
            if (c->second.empty()) m_cells.erase(c);
        });
    }
    e = Entry{};
    m_free.push_back(slot);
    m_slotOf.erase(it);
}

void SpatialIndex::clear() {
    m_entries.clear();
    m_free.clear();
    m_slotOf.clear();
    m_cells.clear();
    m_large.clear();
    m_bounds = {};
}

void SpatialIndex::query(const Extents& box, std::vector<AcDbObjectId>& out) const {
    query(box, [&](AcDbObjectId id, const Extents&) { out.push_back(id); });
}

void SpatialIndex::query(const Extents& box,
                         const std::function<void(AcDbObjectId, const Extents&)>& visit) const {
    if (box.isEmpty() || m_slotOf.empty()) return;
    CellRange r = cellsOf(box);
    // A query box wider than the occupied cells reads the list of boxes instead of visiting cells.
    if (static_cast<std::size_t>(r.count()) > m_cells.size()) {
        for (const Entry& e : m_entries)
            if (!e.id.isNull() && e.box.overlaps(box)) visit(e.id, e.box);
        return;
    }
    const std::uint64_t q = ++m_query;
    auto report = [&](std::uint32_t slot) {
        const Entry& e = m_entries[slot];
        if (e.seen == q) return;
        e.seen = q;
        if (e.box.overlaps(box)) visit(e.id, e.box);
    };
    forCells(r, [&](std::uint64_t k) {
        auto c = m_cells.find(k);
        if (c != m_cells.end())
            for (std::uint32_t s : c->second)
                report(s);
    });
    for (std::uint32_t s : m_large)
        report(s);
}

} // namespace cad
