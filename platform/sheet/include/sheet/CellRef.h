#pragma once
// Cell addresses: columns and rows count from 1; row 0 and column 0 hold the header texts.

#include <cstdint>
#include <string>
#include <string_view>

namespace sheet {

/// Column or row argument meaning "the header" or "all", as the grid binding passes it.
inline constexpr int kAll = -32767;
/// Largest row number the engine addresses.
inline constexpr int kMaxRowLimit = 16'000'000;
/// Largest column number (four letters, "ZZZZ").
inline constexpr int kMaxColLimit = 475'254;

/// How a formula writes its cell references.
enum class RefStyle : std::uint8_t {
    Default = 0,   ///< A1 plus '#' for the current column or row: #3, B#
    A1 = 1,        ///< A1, $A$1
    R1C1 = 2,      ///< R1C1, R[-1]C
    R1C1Exact = 3, ///< R1C1 that also keeps '#' references ("R3C#"); used inside the table file
};

/// True for the R1C1 styles.
inline bool isR1C1(RefStyle s) {
    return s == RefStyle::R1C1 || s == RefStyle::R1C1Exact;
}

/// A cell position (column, row).
struct CellPos {
    int col = 0;
    int row = 0;
    bool operator==(const CellPos&) const = default;
};

/// A block of cells, corners inclusive.
struct CellRange {
    int col1 = 0, row1 = 0, col2 = 0, row2 = 0;
    bool contains(int c, int r) const { return c >= col1 && c <= col2 && r >= row1 && r <= row2; }
    bool operator==(const CellRange&) const = default;
};

/// Column letters of a column number (1 -> "A", 27 -> "AA").
std::string columnName(int col);
/// Column number of leading letters; returns number of letters used (0 when none or too long).
std::size_t parseColumnLetters(std::string_view s, int& col);
/// "B3" for column 2 row 3.
std::string cellName(int col, int row);

} // namespace sheet
