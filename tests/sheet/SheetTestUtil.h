#pragma once
// Helpers shared by the engine tests.
#include <sheet/PrintLayout.h>
#include <sheet/Sheet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace sheet::test {

/// Gives a sheet its grid size and returns it.
inline Sheet& sized(Sheet& s, int cols = 10, int rows = 50) {
    s.setMaxCols(cols);
    s.setMaxRows(rows);
    return s;
}

/// Sets a formula and returns what the cell shows, or the parser's complaint.
inline std::string eval(Sheet& s, const std::string& f, int col = 5, int row = 5) {
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

/// Expects every cell of `a`'s grid, headers included, to read the same in `b`: shown text, value,
/// formula, tag, note, type and style.
inline void expectSameCells(const Sheet& a, const Sheet& b) {
    for (int c = 0; c <= a.maxCols(); ++c)
        for (int row = 0; row <= a.maxRows(); ++row) {
            SCOPED_TRACE(cellName(c, row));
            EXPECT_EQ(b.data(c, row), a.data(c, row));
            EXPECT_EQ(b.value(c, row), a.value(c, row));
            EXPECT_EQ(b.valueText(c, row), a.valueText(c, row));
            EXPECT_EQ(b.formula(c, row, RefStyle::R1C1Exact), a.formula(c, row, RefStyle::R1C1Exact));
            EXPECT_EQ(b.tag(c, row), a.tag(c, row));
            EXPECT_EQ(b.note(c, row), a.note(c, row));
            EXPECT_TRUE(b.cellType(c, row) == a.cellType(c, row));
            EXPECT_TRUE(b.style(c, row) == a.style(c, row));
            EXPECT_EQ(b.isUsed(c, row), a.isUsed(c, row));
        }
}

/// A painter that keeps what was drawn on it.
struct PageRecorder : Painter {
    struct Fill {
        PageRect r;
        std::uint32_t color;
    };
    std::vector<std::string> texts;
    std::vector<std::uint32_t> aligns; ///< the alignment and wrap bits of each text
    std::vector<Fill> fills;
    int lines = 0, images = 0;
    void fillRect(const PageRect& r, std::uint32_t color) override { fills.push_back({r, color}); }
    void drawLine(double, double, double, double, std::uint32_t, double) override { ++lines; }
    void drawText(const PageRect&, const std::string& t, const Font&, std::uint32_t,
                  std::uint32_t align) override {
        texts.push_back(t);
        aligns.push_back(align);
    }
    /// The alignment bits the text was drawn with; 0 when it was not drawn.
    std::uint32_t alignOf(const std::string& t) const {
        for (std::size_t i = 0; i < texts.size(); ++i)
            if (texts[i] == t) return aligns[i];
        return 0;
    }
    void drawImage(const PageRect&, const std::string&) override { ++images; }
    bool drew(const std::string& t) const { return std::find(texts.begin(), texts.end(), t) != texts.end(); }
};

/// A grid whose cells show their own names ("B7").
inline void namedGrid(Sheet& s, int cols, int rows) {
    sized(s, cols, rows);
    for (int c = 1; c <= cols; ++c)
        for (int r = 1; r <= rows; ++r)
            s.setData(c, r, cellName(c, r));
}

} // namespace sheet::test
