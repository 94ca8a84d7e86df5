#include "macro/LauncherInput.h"

#include <host/VorJson.h>

#include <stdexcept>

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
        const nlohmann::json& which = in.at("tab");
        bool found = false;
        if (which.is_number_integer()) {
            const long long n = which.get<long long>();
            found = n >= 0 && n < macros.tabs.length();
            if (found) index = static_cast<int>(n);
        } else if (which.is_string()) {
            found = macros.findTab(Vor_String(which.get<std::string>()), index);
        }
        if (!found || !fits(macros.tabs[index]))
            throw std::invalid_argument("the macros have no tab " + which.dump() + " to edit here");
        return index;
    }
    for (int i = 0; i < macros.tabs.length(); ++i)
        if (fits(macros.tabs[i])) return i;
    throw std::invalid_argument("the macros have no tab to edit here");
}

bool readLauncherMacros(const nlohmann::json& in, MacroData& data, int* tab, nlohmann::json& out) {
    try {
        const int index = macrosForLauncher(in, data, [](const MacroTabData&) { return true; });
        if (tab) *tab = index;
        return true;
    } catch (const std::invalid_argument& e) {
        out["result"] = false;
        out["error"] = e.what();
        return false;
    }
}
