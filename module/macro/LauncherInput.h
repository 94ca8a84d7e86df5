#pragma once
// What the JSON launchers of the macro dialogs share: the macros named in the arguments, read from
// the current drawing, and the tab they name.

#include <host/MacroData.h>

#include <nlohmann/json.hpp>

/// Reads the macros of `in["macros"]` (names in the current drawing) into `data`, and, when `tab`
/// is given, the tab of `in["tab"]` (a module name, a caption or an index; 0 when absent). False,
/// with "result": false and "error" in `out`, when a macro or the tab is missing.
bool readLauncherMacros(const nlohmann::json& in, MacroData& data, int* tab, nlohmann::json& out);
