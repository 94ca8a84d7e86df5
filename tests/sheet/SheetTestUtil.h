#pragma once
// Helpers shared by the engine tests.
#include <sheet/Sheet.h>

#include <string>

namespace sheet::test {

/// Gives a sheet its grid size and returns it.
inline Sheet& sized(Sheet& s, int cols = 10, int rows = 50) {
    s.setMaxCols(cols);
    s.setMaxRows(rows);
    return s;
}

/// Sets a formula and returns what the cell shows, or the parser's complaint.
inline std::string eval(Sheet& s, const std::string& f, int col, int row) {
    ParseError err;
    if (!s.setFormula(col, row, f, &err)) return "parse error: " + err.message;
    return s.data(col, row);
}

/// A cell addressed by its A1 name ("B12"), for readable tables of cases.
inline CellPos at(const std::string& a1) {
    CellPos p{0, 0};
    std::size_t i = 0;
    while (i < a1.size() && a1[i] >= 'A' && a1[i] <= 'Z')
        p.col = p.col * 26 + (a1[i++] - 'A' + 1);
    p.row = std::stoi(a1.substr(i));
    return p;
}

} // namespace sheet::test
