// The JSON of a macro's cut as the cuts dialog's launcher reads it, and the cut written into the
// macro's tabs and read back. Malformed input must be refused with an exception, never a crash; an
// accepted cut survives its round trip, and a cut written into a tab comes back with the same names
// and values.
#include <host/MacroCuts.h>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <string_view>

using nlohmann::json;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) return 0;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    json j = json::parse(text.begin(), text.end(), nullptr, false);
    if (j.is_discarded()) return 0;
    DlgMacroCutsData cut;
    try {
        cut = j.get<DlgMacroCutsData>();
    } catch (const json::exception&) {
        return 0; // refused with a message: fine
    }
    const json out = cut;
    if (!(out.get<DlgMacroCutsData>() == cut)) std::abort();
    const bool valid = cut.AreVarNamesValid();
    (void)cut.CutNameInUse();

    // the cut's modules become the tabs of a macro; the cut goes into the one it names
    MacroData macro;
    for (int i = 0; i < cut.macros.modules.length() && i < 8; ++i) {
        macro.tabs.append(MacroTabData());
        macro.tabs[i].moduleName = cut.macros.modules[i];
    }
    const MacroData before = macro;
    if (!applyMacroCutDlgData(macro, 0, "", cut)) {
        if (!(macro == before)) std::abort(); // refused: nothing changed
        return 0;
    }
    int tab = -1;
    if (!macro.findTab(cut.macroName, tab)) std::abort();
    DlgMacroCutsData back;
    if (cut.cutName.isEmpty() || !macroCutDlgDataOf(macro, tab, cut.cutName, back)) std::abort();
    if (back.varNames != cut.varNames) std::abort();
    if (valid && !back.AreVarNamesValid()) std::abort();
    return 0;
}
