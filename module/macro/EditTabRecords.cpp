#include "macro/EditTabRecords.h"

#include "frame/ModuleResourceScope.h"
#include "macro/CommitTab.h"
#include "macro/ui/DlgMacroBoltAdvanced.h"
#include "macro/ui/DlgMacroPatternProps.h"

#include <host/VorJson.h>

#include <nlohmann/json.hpp>

#include <stdexcept>

bool editBoltsOfTab(MacroData& macros, int tabIndex, int slot) {
    if (tabIndex < 0 || tabIndex >= macros.tabs.length() || !macros.tabs[tabIndex].hasBolts) return false;
    const MacroTabData before = macros.tabs[tabIndex];
    ModuleResourceScope scope;
    DlgMacroBoltAdvanced dlg;
    dlg.data = before.bolts;
    if (dlg.doModal() != ui::IDOK) return false;
    macros.tabs[tabIndex].bolts = dlg.data;
    commitTab(macros, tabIndex, before, slot);
    return true;
}

bool editPatternAt(MacroData& macros, int tabIndex, int patternIndex, int slot) {
    if (tabIndex < 0 || tabIndex >= macros.tabs.length() || patternIndex < 0 ||
        patternIndex >= macros.tabs[tabIndex].patterns.length())
        return false;
    ModuleResourceScope scope;
    DlgMacroPatternProps dlg(macros, tabIndex, patternIndex, slot);
    return dlg.doModal() == ui::IDOK;
}

bool editPatternOfTab(MacroData& macros, int tabIndex, int btnId, int slot) {
    if (tabIndex < 0 || tabIndex >= macros.tabs.length()) return false;
    int index = -1;
    if (!macros.tabs[tabIndex].findPatternWithBtnId(btnId, &index)) return false;
    return editPatternAt(macros, tabIndex, index, slot);
}

int macrosForLauncher(const nlohmann::json& in, MacroData& macros,
                      const std::function<bool(const MacroTabData&)>& fits) {
    if (in.contains("macros")) {
        const Vor_StringArray names = in.at("macros").get<Vor_StringArray>();
        Vor_String error;
        if (!GetMacroDataByNames(names, macros, &error))
            throw std::invalid_argument("the macros cannot be edited: " + error.str());
    } else if (in.contains("data")) {
        macros = in.at("data").get<MacroData>();
    } else {
        throw std::invalid_argument("name the macros (\"macros\") or give their data (\"data\")");
    }
    int index = -1;
    if (in.contains("tab")) {
        const Vor_String tab(in.at("tab").get<std::string>());
        if (!macros.findTab(tab, index) || !fits(macros.tabs[index]))
            throw std::invalid_argument("the macros have no tab \"" + tab.str() + "\" to edit here");
        return index;
    }
    for (int i = 0; i < macros.tabs.length(); ++i)
        if (fits(macros.tabs[i])) return i;
    throw std::invalid_argument("the macros have no tab to edit here");
}
