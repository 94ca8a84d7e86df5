#pragma once
// The arithmetic of a table's size as the table options dialog changes it: what a typed count
// means, and whether a smaller table would lose cells that hold something. No window needed.

#include "calc/TSpread.h"

#include <optional>
#include <string>

/// Reads a count or size as typed: a whole number from `least` to `most` with blanks around it;
/// nothing for an empty field, text, a fraction, a sign on zero or a number out of range.
std::optional<int> readWholeNumber(const std::string& text, int least, int most);

/// The first cell (in reading order) beyond `cols` columns or `rows` rows that holds data or a
/// formula; nothing when shrinking to that size drops no contents.
std::optional<sheet::CellPos> firstFilledCellOutside(const TSpread& grid, int cols, int rows);
