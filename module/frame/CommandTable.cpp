#include "frame/CommandTable.h"

#include <map>

namespace {
std::map<std::string, void (*)()>& table() {
    static std::map<std::string, void (*)()> t;
    return t;
}
} // namespace

bool registerModuleCommand(const std::string& name, void (*run)()) {
    if (name.empty() || !run) return false;
    table()[name] = run;
    return true;
}

std::vector<ModuleCommand> moduleCommands() {
    std::vector<ModuleCommand> out;
    for (const auto& [name, run] : table())
        out.push_back({name, run});
    return out;
}
