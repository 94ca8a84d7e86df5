// Formula text in every reference style: parse, print back, reparse and evaluate on a small sheet.
#include <sheet/Compiler.h>
#include <sheet/Sheet.h>

#include <cstdint>
#include <cstdlib>
#include <string>

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
    return 0;
}
