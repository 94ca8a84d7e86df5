#pragma once
// Where the chunks of cell records live.

#include "CellRecord_p.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define VOR_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define VOR_ASAN 1
#endif
#endif

namespace sheet {

/// A chunk's records; the sheet's ChunkPool owns the memory.
using Chunk = CellRec*;

/// Memory of the chunks, in slabs of a few chunks each. A column filled row after row gets its
/// next chunk in the slot after its last one, so its records lie in long runs of memory that the
/// processor reads ahead: with every chunk allocated on its own, the chunks of the columns filled
/// side by side interleave, and a walk down one column keeps changing pages. A run's slab is as
/// large as the run already is (2 to 16 chunks), so a column that stops growing leaves at most as
/// many slots unused as it holds. Chunks written here and there (the first of a column, far cells)
/// share slabs of 16 and cost one chunk each. A slab is freed when its last chunk is given back,
/// and all of them with the pool.
class ChunkPool {
public:
    static constexpr std::size_t kMaxSlots = 16;
    static constexpr std::size_t kChunkBytes = sizeof(CellRec) * kChunk;

    ChunkPool() = default;
    ChunkPool(const ChunkPool&) = delete;
    ChunkPool& operator=(const ChunkPool&) = delete;
    ~ChunkPool() {
        for (auto it = m_slabs.begin(); it != m_slabs.end(); ++it) {
            unpoisonSlab(it);
            std::free(reinterpret_cast<char*>(it->first) - it->second.pad);
        }
    }

    /// A zeroed chunk for a column (0 for the first). `after` is the column's chunk just before it
    /// (or null), `run` the number of chunks the column holds right before it. Throws
    /// StoreBudgetExceeded rather than holding more than `limitSlots` slots.
    CellRec* take(std::size_t column, CellRec* after, std::size_t run, std::size_t limitSlots) {
        CellRec* recs = nullptr;
        if (after) {
            auto it = slabOf(after);
            const std::size_t next = std::size_t(after - it->first) / kChunk + 1;
            if (next < it->second.slots && !(it->second.used & (1u << next))) recs = use(it, next);
        }
        if (!recs && run >= 2) {
            std::size_t slots = 2;
            while (slots * 2 <= std::min(run, kMaxSlots))
                slots *= 2;
            // A run's slab starts at one of four offsets by column: the same row of columns filled
            // side by side then falls in different cache sets instead of competing for one.
            recs = use(newSlab(slots, 64 * (std::size_t(column) % 4), limitSlots), 0);
        }
        if (!recs) recs = takeShared(limitSlots);
        unpoison(recs);
        std::memset(static_cast<void*>(recs), 0, kChunkBytes);
        return recs;
    }
    /// Gives a chunk back; it must not be used any more.
    void release(CellRec* recs) noexcept {
        auto it = slabOf(recs);
        Slab& slab = it->second;
        slab.used &= std::uint16_t(~(1u << (std::size_t(recs - it->first) / kChunk)));
        poison(recs);
        if (!slab.used) {
            m_held -= slab.slots;
            m_padBytes -= slab.pad;
            unpoisonSlab(it);
            std::free(reinterpret_cast<char*>(it->first) - slab.pad);
            m_slabs.erase(it);
            return;
        }
        if (!slab.open) {
            slab.open = true;
            try {
                m_open.push_back(it->first);
            } catch (...) {
                slab.open = false; // the slot is found again when the slab is freed or searched
            }
        }
    }
    /// Slots held in slabs, used or not.
    std::size_t heldSlots() const { return m_held; }
    /// Bytes held in slabs, used or not.
    std::size_t heldBytes() const { return m_held * kChunkBytes + m_padBytes; }

private:
    struct Slab {
        std::uint16_t slots; ///< chunks the slab holds
        std::uint16_t used;  ///< a bit per slot
        bool open;           ///< listed in m_open
        std::uint16_t pad;   ///< bytes allocated before the first slot
    };
    using Slabs = std::map<CellRec*, Slab, std::less<>>;

    Slabs::iterator slabOf(const CellRec* recs) {
        auto it = m_slabs.upper_bound(recs);
        return std::prev(it); // every chunk lies in a slab that starts at or before it
    }
    CellRec* use(Slabs::iterator it, std::size_t slot) {
        it->second.used |= std::uint16_t(1u << slot);
        return it->first + slot * kChunk;
    }
    Slabs::iterator newSlab(std::size_t slots, std::size_t pad, std::size_t limitSlots) {
        if (m_held + slots > limitSlots) throw StoreBudgetExceeded();
        char* mem = static_cast<char*>(std::malloc(slots * kChunkBytes + pad));
        if (!mem) throw std::bad_alloc();
        auto* base = reinterpret_cast<CellRec*>(mem + pad);
        std::pair<Slabs::iterator, bool> placed;
        try {
            placed = m_slabs.emplace(base, Slab{std::uint16_t(slots), 0, false, std::uint16_t(pad)});
        } catch (...) {
            std::free(mem);
            throw;
        }
        m_held += slots;
        m_padBytes += pad;
        for (std::size_t i = 0; i < slots; ++i)
            poison(base + i * kChunk);
        return placed.first;
    }
    /// A slot in a slab of chunks that are not part of runs.
    CellRec* takeShared(std::size_t limitSlots) {
        while (!m_open.empty()) {
            auto it = m_slabs.find(m_open.back());
            if (it != m_slabs.end() && it->second.open) {
                Slab& slab = it->second;
                for (std::size_t i = 0; i < slab.slots; ++i)
                    if (!(slab.used & (1u << i))) {
                        CellRec* recs = use(it, i);
                        if (slab.used == (1u << slab.slots) - 1) {
                            slab.open = false;
                            m_open.pop_back();
                        }
                        return recs;
                    }
                slab.open = false;
            }
            m_open.pop_back();
        }
        auto it = newSlab(kMaxSlots, 0, limitSlots);
        m_open.push_back(it->first);
        it->second.open = true;
        return use(it, 0);
    }
    static void poison([[maybe_unused]] CellRec* recs) {
#ifdef VOR_ASAN
        ASAN_POISON_MEMORY_REGION(recs, kChunkBytes);
#endif
    }
    static void unpoison([[maybe_unused]] CellRec* recs) {
#ifdef VOR_ASAN
        ASAN_UNPOISON_MEMORY_REGION(recs, kChunkBytes);
#endif
    }
    static void unpoisonSlab(Slabs::iterator it) {
        for (std::size_t i = 0; i < it->second.slots; ++i)
            unpoison(it->first + i * kChunk);
    }

    Slabs m_slabs;
    std::vector<CellRec*> m_open; ///< slabs that had a free slot when listed, the newest last
    std::size_t m_held = 0;
    std::size_t m_padBytes = 0;
};

} // namespace sheet
