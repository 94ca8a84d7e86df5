// Formula text in every reference style: parse, print back, reparse and evaluate on a small sheet.
// The text is also filled down a column, with its numbers moved one row at a time: whatever the
// sheet stores for a formula it did not compile itself must be what compiling the text gives.
#include <sheet/Compiler.h>
#include <sheet/Sheet.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
// The text with every run of digits (that fits an int) raised by k, as filling down would move
// relative rows - and, wrongly, constants too.
std::string withNumbersMoved(const std::string& t, int k) {
    std::string out;
    for (std::size_t i = 0; i < t.size();) {
        if (t[i] < '0' || t[i] > '9') {
            out += t[i++];
            continue;
        }
        std::size_t j = i;
        while (j < t.size() && t[j] >= '0' && t[j] <= '9')
            ++j;
        if (j - i <= 8 && t[i] != '0')
            out += std::to_string(std::stol(t.substr(i, j - i)) + k);
        else
            out += t.substr(i, j - i);
        i = j;
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 256 * 1024) return 0; // past the length and nesting limits
    sheet::RefStyle style = sheet::RefStyle(data[0] % 4);
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    static sheet::Sheet* s = [] {
        auto* sh = new sheet::Sheet;
        sh->setMaxCols(8);
        sh->setMaxRows(8);
        sh->setData(1, 1, "3");
        sh->setData(2, 1, "text");
        sh->setFormula(3, 1, "A1*2");
        return sh;
    }();
    sheet::ParseError err;
    sheet::ProgramPtr p = sheet::compileFormula(text, style, {4, 4}, err);
    if (!p) return 0;
    for (sheet::RefStyle st :
         {sheet::RefStyle::Default, sheet::RefStyle::A1, sheet::RefStyle::R1C1, sheet::RefStyle::R1C1Exact}) {
        std::string printed = sheet::printFormula(*p, st, {4, 4});
        sheet::ParseError e2;
        sheet::ProgramPtr q = sheet::compileFormula(printed, st, {4, 4}, e2);
        // What the engine prints it must read back, unless a reference fell off the sheet in A1 form,
        // or the text grew past the length limit in another reference style ("A1" is "R[-3]C[-3]").
        bool longer = e2.code == sheet::ParseErrorCode::TooComplex && printed.size() > text.size();
        if (!q && !longer && printed.find("#REF!") == std::string::npos) std::abort();
    }
    s->setRefStyle(style == sheet::RefStyle::R1C1Exact ? sheet::RefStyle::R1C1 : style);
    s->setFormula(4, 4, text);
    (void)s->data(4, 4);
    s->setFormula(4, 4, "");
    for (int k = 0; k < 3; ++k) {
        const std::string moved = withNumbersMoved(text, k);
        const sheet::CellPos at{5, 2 + k};
        sheet::ParseError e3;
        sheet::ProgramPtr fresh = sheet::compileFormula(moved, s->refStyle(), at, e3, nullptr);
        const bool stored = s->setFormula(at.col, at.row, moved);
        if (stored != bool(fresh)) std::abort();
        if (fresh && s->formula(at.col, at.row) != sheet::printFormula(*fresh, s->refStyle(), at))
            std::abort();
    }
    return 0;
}
