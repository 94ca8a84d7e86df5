#include "frame/LauncherTable.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>

namespace {
struct Entry {
    JsonLauncher launcher;
    std::string sample;
};
std::map<std::string, Entry>& table() {
    static std::map<std::string, Entry> t;
    return t;
}
// Launcher arguments are a few texts, numbers and small tables: budgets far above any real call, so
// that a hostile or broken payload is refused before it costs memory or time without bound.
constexpr std::size_t kMaxPayloadBytes = std::size_t(1) << 20;
constexpr int kMaxDepth = 16;

nlohmann::json parsePayload(const char* json) {
    if (!json || !*json) return nlohmann::json::object();
    const std::size_t size = std::strlen(json);
    if (size > kMaxPayloadBytes)
        throw std::length_error("the arguments have " + std::to_string(size) + " bytes, more than the " +
                                std::to_string(kMaxPayloadBytes) + " a launcher takes");
    // The depth is checked while parsing, before a deeply nested value is built.
    const nlohmann::json::parser_callback_t depthCheck = [](int depth, nlohmann::json::parse_event_t,
                                                            nlohmann::json&) {
        if (depth > kMaxDepth)
            throw std::length_error("the arguments are nested deeper than " + std::to_string(kMaxDepth) +
                                    " levels");
        return true;
    };
    nlohmann::json in = nlohmann::json::parse(json, json + size, depthCheck);
    if (!in.is_object())
        throw std::invalid_argument(std::string("the arguments must be a JSON object, not ") +
                                    in.type_name());
    return in;
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
        in = parsePayload(json);
    } catch (const nlohmann::json::parse_error& e) {
        *out = dup(std::string("malformed JSON: ") + e.what());
        return -1;
    } catch (const std::exception& e) {
        *out = dup(std::string("refused arguments: ") + e.what());
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
