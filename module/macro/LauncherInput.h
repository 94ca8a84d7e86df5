#pragma once
// What the JSON launchers of the macro dialogs share: the macros named in the arguments, read from
// the current drawing, and the tab they name.

#include <host/MacroData.h>

#include <nlohmann/json.hpp>

#include <functional>

/// The macros a launcher's arguments name: {"macros": ["M1", "M2"]} by name in the current
/// drawing, or {"data": <MacroData>} as given; and the tab {"tab": a module name, a caption or an
/// index}, or else the first tab for which `fits` holds. Throws std::invalid_argument, naming what
/// is wrong, when the macros or the tab cannot be had.
int macrosForLauncher(const nlohmann::json& in, MacroData& macros,
                      const std::function<bool(const MacroTabData&)>& fits);

/// macrosForLauncher for any tab, with what is wrong reported in `out` ("result": false and
/// "error") instead of thrown; `tab` may be null when the launcher needs no tab.
bool readLauncherMacros(const nlohmann::json& in, MacroData& data, int* tab, nlohmann::json& out);
