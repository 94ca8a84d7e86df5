#include "calc/TableSize.h"

#include <cctype>

std::optional<int> readWholeNumber(const std::string& text, int least, int most) {
    size_t i = 0, end = text.size();
    while (i < end && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (i < end && text[i] == '+') ++i;
    if (i == end || end - i > 9) return std::nullopt; // nine digits cannot overflow an int
    long long v = 0;
    for (; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        v = v * 10 + (text[i] - '0');
    }
    if (v < least || v > most) return std::nullopt;
    return int(v);
}

std::optional<sheet::CellPos> firstFilledCellOutside(const TSpread& grid, int cols, int rows) {
    const int maxCols = grid.GetMaxCols(), maxRows = grid.GetMaxRows();
    if (cols >= maxCols && rows >= maxRows) return std::nullopt;
    std::string s;
    for (int r = 1; r <= maxRows; ++r)
        for (int c = r > rows ? 1 : cols + 1; c <= maxCols; ++c) {
            if ((grid.GetData(c, r, s) > 0) || (grid.GetFormula(c, r, s) > 0)) return sheet::CellPos{c, r};
        }
    return std::nullopt;
}
