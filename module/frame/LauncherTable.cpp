#include "frame/LauncherTable.h"

#include <cstdlib>
#include <cstring>
#include <map>

namespace {
struct Entry {
    JsonLauncher launcher;
    std::string sample;
};
std::map<std::string, Entry>& table() {
    static std::map<std::string, Entry> t;
    return t;
}
char* dup(const std::string& s) {
    char* p = static_cast<char*>(std::malloc(s.size() + 1));
    std::memcpy(p, s.c_str(), s.size() + 1);
    return p;
}
} // namespace

bool registerJsonLauncher(const std::string& name, JsonLauncher launcher, const std::string& sample) {
    table()[name] = {std::move(launcher), sample};
    return true;
}

std::vector<std::string> jsonLauncherNames() {
    std::vector<std::string> names;
    for (const auto& [n, e] : table())
        names.push_back(n);
    return names;
}

extern "C" int vorCallLauncher(const char* name, const char* json, char** out) {
    *out = nullptr;
    auto it = table().find(name ? name : "");
    if (it == table().end()) return 0;
    nlohmann::json in;
    try {
        in = json && *json ? nlohmann::json::parse(json) : nlohmann::json::object();
    } catch (const std::exception& e) {
        *out = dup(std::string("malformed JSON: ") + e.what());
        return -1;
    }
    nlohmann::json result = nlohmann::json::object();
    try {
        it->second.launcher(in, result);
    } catch (const std::exception& e) {
        *out = dup(std::string("bad arguments: ") + e.what());
        return -1;
    }
    *out = dup(result.dump());
    return 1;
}

extern "C" char* vorLauncherNames() {
    std::string s;
    for (const auto& n : jsonLauncherNames())
        s += n + "\n";
    return dup(s);
}

extern "C" char* vorLauncherSample(const char* name) {
    auto it = table().find(name ? name : "");
    return dup(it == table().end() ? std::string() : it->second.sample);
}
