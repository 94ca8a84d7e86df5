#pragma once
// The record of one cell and the chunks of records a column is kept in.

#include <cstdint>
#include <new>

namespace sheet {

/// One cell: 32 bytes. Rare things (tags, notes) live in side maps, texts in a pool.
struct CellRec {
    double num;            ///< number or boolean value; error code for errors
    std::uint32_t text;    ///< 1-based index into the text pool: text value, or the typed text of a number
    std::uint32_t formula; ///< 1-based formula slot
    std::uint32_t deps;    ///< dependents: 0 none, slot+1, or kDepList|index into the dependent lists
    std::uint16_t style;   ///< interned CellStyle
    std::uint16_t type;    ///< interned CellType
    std::uint8_t kind;     ///< ValueKind
    std::uint8_t flags;    ///< CellFlag bits
};
static_assert(sizeof(CellRec) == 32);

enum CellFlag : std::uint8_t {
    kHasTag = 1,
    kHasNote = 2,
    kKeepText = 4, ///< a number whose typed text ("12.50") is kept to be shown as typed
};

inline constexpr std::uint32_t kDepList = 0x80000000u;
// Rows are kept in chunks of 64 records (2 KB): small enough that cells far apart cost little,
// large enough that a filled column is a handful of chunks per thousand rows.
inline constexpr int kChunkBits = 6;
inline constexpr int kChunk = 1 << kChunkBits;

/// Thrown when the cell store would grow past its budget; an allocation failure like any other, so
/// the engine's entry points that catch std::bad_alloc refuse the operation.
struct StoreBudgetExceeded : std::bad_alloc {
    const char* what() const noexcept override { return "the table needs more memory than its budget"; }
};

} // namespace sheet
