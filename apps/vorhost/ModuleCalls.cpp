#include "ModuleCalls.h"

#include <cad/rxregistry.h>

#include <cstdlib>
#include <sstream>

namespace {
using CallFn = int (*)(const char*, const char*, char**);
using NamesFn = char* (*)();
using SampleFn = char* (*)(const char*);

std::string take(char* p) {
    std::string s = p ? p : "";
    std::free(p);
    return s;
}
} // namespace

bool callLauncher(const std::string& name, const std::string& json, std::string& result, std::string& error) {
    for (const auto& m : acrxDynamicLinker()->loadedModules()) {
        auto call = reinterpret_cast<CallFn>(acrxDynamicLinker()->moduleSymbol(m, "vorCallLauncher"));
        if (!call) continue;
        char* out = nullptr;
        int rc = call(name.c_str(), json.c_str(), &out);
        if (rc == 0) continue;
        if (rc < 0) {
            error = take(out);
            return false;
        }
        result = take(out);
        return true;
    }
    error = "no loaded module has a launcher named " + name;
    return false;
}

std::vector<std::string> launcherNames() {
    std::vector<std::string> names;
    for (const auto& m : acrxDynamicLinker()->loadedModules()) {
        auto fn = reinterpret_cast<NamesFn>(acrxDynamicLinker()->moduleSymbol(m, "vorLauncherNames"));
        if (!fn) continue;
        std::istringstream in(take(fn()));
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) names.push_back(line);
    }
    return names;
}

std::string launcherSample(const std::string& name) {
    for (const auto& m : acrxDynamicLinker()->loadedModules()) {
        auto fn = reinterpret_cast<SampleFn>(acrxDynamicLinker()->moduleSymbol(m, "vorLauncherSample"));
        if (!fn) continue;
        std::string s = take(fn(name.c_str()));
        if (!s.empty()) return s;
    }
    return "{}";
}
