#pragma once
// The module's commands by name, registered by each area beside its own code (as launchers are), so
// that the entry point registers them without knowing the dialogs behind them.

#include <string>
#include <vector>

/// One command of the module's group.
struct ModuleCommand {
    std::string name; ///< global and local name, "TEST"
    void (*run)() = nullptr;
};

/// Adds a command to the table (done by static registrars); a second one of a name replaces the first.
bool registerModuleCommand(const std::string& name, void (*run)());
/// Every registered command, sorted by name.
std::vector<ModuleCommand> moduleCommands();
