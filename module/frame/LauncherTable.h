#pragma once
// Launchers reachable by name with JSON data, so that the host application and scripts can open
// every dialog of the module on data from a file.

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

#include "frame/VorExport.h"

/// Calls a launcher with JSON arguments; fills `out` with {"result": ..., plus the data handed back}.
using JsonLauncher = std::function<void(const nlohmann::json& in, nlohmann::json& out)>;

/// Registers a launcher under its exported name (done by static registrars beside each launcher).
bool registerJsonLauncher(const std::string& name, JsonLauncher launcher, const std::string& sample = "{}");
/// Registers a launcher of `bool start(Data&)`: the JSON arguments are the data, and the answer
/// holds the result and the data as the dialog left it.
template <class Data>
bool registerDataLauncher(const std::string& name, bool (*start)(Data&), const std::string& sample = "{}") {
    return registerJsonLauncher(
        name,
        [start](const nlohmann::json& in, nlohmann::json& out) {
            Data data = in.get<Data>();
            out["result"] = start(data);
            out["data"] = data;
        },
        sample);
}
/// Names of the registered launchers, sorted.
std::vector<std::string> jsonLauncherNames();

extern "C" {
/// Calls launcher `name` with `json`; returns 1 and a malloc'd JSON text in *out, 0 for an unknown
/// launcher, -1 (*out holds the error) for malformed JSON, arguments that are no object or beyond
/// the budgets (1 MiB of text, 16 levels of nesting), and arguments the launcher refuses.
VOR_EXPORT int vorCallLauncher(const char* name, const char* json, char** out);
/// The registered names, newline-separated, malloc'd; and a sample argument for one of them.
VOR_EXPORT char* vorLauncherNames();
VOR_EXPORT char* vorLauncherSample(const char* name);
}
