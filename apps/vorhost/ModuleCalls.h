#pragma once
// Calls into loaded modules by name: launchers with JSON data.

#include <string>
#include <vector>

/// Calls a launcher of any loaded module. Returns false with `error` when no module has it or the
/// data is malformed; `result` is the JSON the launcher handed back.
bool callLauncher(const std::string& name, const std::string& json, std::string& result, std::string& error);
/// Launcher names of all loaded modules, and a sample argument for one.
std::vector<std::string> launcherNames();
std::string launcherSample(const std::string& name);
