#include "macro/LauncherInput.h"

#include <host/VorJson.h>

bool readLauncherMacros(const nlohmann::json& in, MacroData& data, int* tab, nlohmann::json& out) {
    Vor_String error;
    if (!GetMacroDataByNames(in.value("macros", Vor_StringArray()), data, &error)) {
        out["result"] = false;
        out["error"] = error;
        return false;
    }
    if (!tab) return true;
    const nlohmann::json which = in.value("tab", nlohmann::json(0));
    bool found = false;
    if (which.is_number_integer()) {
        const long long index = which.get<long long>();
        found = index >= 0 && index < data.tabs.length();
        if (found) *tab = static_cast<int>(index);
    } else if (which.is_string()) {
        found = data.findTab(which.get<std::string>(), *tab);
    }
    if (!found) {
        out["result"] = false;
        out["error"] = "the macros have no tab " + which.dump();
    }
    return found;
}
