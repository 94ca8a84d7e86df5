#include "macro/EditTabRecords.h"

#include "frame/ModuleResourceScope.h"
#include "macro/CommitTab.h"
#include "macro/ui/DlgMacroBoltAdvanced.h"
#include "macro/ui/DlgMacroPatternProps.h"

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
