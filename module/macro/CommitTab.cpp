#include "macro/CommitTab.h"

bool commitTab(const MacroData& data, int tabIndex, const MacroTabData& before, int slot) {
    if (tabIndex < 0 || tabIndex >= data.tabs.length()) return false;
    const MacroTabData& tab = data.tabs[tabIndex];
    Vor_StringArray names;
    Vor_Array<int> first;
    Vor_Array<int> second;
    if (!tab.differences(before, names, first, second)) return true;
    const bool written = UpdateModule(tab.moduleName, data, first, second);
    clashcheck(slot, data.ids);
    return written;
}
