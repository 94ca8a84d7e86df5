#pragma once
// Formulas filled down a column differ only in their row numbers: "=B7*2+C7", "=B8*2+C8", ... all
// compile to the same relative program. This cache learns that from two compiled examples and then
// hands out the program without tokenising, parsing or compiling again.
//
// A formula's shape is its text with every run of digits taken out. Two formulas of one shape, in
// one column, whose compiled programs came out identical, tell for each digit run whether it stays
// (a constant, an absolute row, a digit in a name: the program would differ otherwise) or moves
// with the row (a relative row: it moved exactly as far as the formula did). A later formula of
// that shape in that column whose staying runs are the same text and whose moving runs moved
// exactly as far as the formula did has the same program: nothing else in the text differs.

#include <sheet/Program.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sheet {

class FormulaShapes {
public:
    /// The program of `text` at (col, row) when a learnt shape gives it; null otherwise.
    ProgramPtr find(std::string_view text, int col, int row, std::uint8_t style);
    /// Teaches the program `text` compiled to at (col, row); `prog` is the interned program.
    void learn(std::string_view text, int col, int row, std::uint8_t style, const ProgramPtr& prog);
    /// Compiling may depend on more than the text (custom functions): forget everything.
    void clear() { m_shapes.clear(); }

private:
    enum class Run : std::uint8_t { Stays, Moves };
    struct Entry {
        int col = 0, row = 0;
        std::string runs;       ///< the example's digit runs, each followed by '\0'
        std::vector<Run> kinds; ///< per run, once a second example agreed
        ProgramPtr prog;
        bool learnt = false;
    };
    /// Fills m_shape and m_runs from text; false when the text is not worth a shape.
    bool split(std::string_view text, std::uint8_t style);

    std::unordered_map<std::string, Entry> m_shapes;
    std::string m_shape, m_runs; // scratch, kept to save allocations
};

} // namespace sheet
