#include "frame/UnloadHandlers.h"

#include <cad/aced.h>

#include <exception>
#include <utility>
#include <vector>

namespace {
struct Handler {
    UnloadStep step;
    std::string name;
    std::function<void()> run;
};

std::vector<Handler>& handlers() {
    static std::vector<Handler> list;
    return list;
}
} // namespace

bool registerUnloadHandler(UnloadStep step, const std::string& name, std::function<void()> handler) {
    if (name.empty() || !handler) return false;
    for (Handler& h : handlers())
        if (h.step == step && h.name == name) {
            h.run = std::move(handler);
            return true;
        }
    handlers().push_back({step, name, std::move(handler)});
    return true;
}

bool unregisterUnloadHandler(UnloadStep step, const std::string& name) {
    std::vector<Handler>& list = handlers();
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->step == step && it->name == name) {
            list.erase(it);
            return true;
        }
    return false;
}

void runUnloadHandlers(UnloadStep step) {
    std::vector<Handler> run;
    for (const Handler& h : handlers())
        if (h.step == step) run.push_back(h);
    for (const Handler& h : run) {
        // The exported callers are plain C entry points: nothing may leave them as an exception.
        try {
            h.run();
        } catch (const std::exception& e) {
            acutPrintf("Closing %s at unload failed: %s\n", h.name.c_str(), e.what());
        } catch (...) {
            acutPrintf("Closing %s at unload failed.\n", h.name.c_str());
        }
    }
}
