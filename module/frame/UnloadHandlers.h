#pragma once
// What the areas close when the module is unloaded. The frame knows no area's windows: an area that
// opens modeless windows registers a handler here, and the exported DestroyAllMacroDlgs and
// EndDlgEditConstraints, which the unload entry message calls first, run them.

#include <functional>
#include <string>

/// The two moments of the unload, each also an exported function of the module.
enum class UnloadStep {
    DestroyAllMacroDlgs,   ///< close every modeless macro dialog
    EndDlgEditConstraints, ///< close the modeless constraint editor
};

/// Registers `handler` under `name` for `step` (done by static registrars or when an area first
/// opens a window); a second handler of the same step and name replaces the first. False for an
/// empty name or handler.
bool registerUnloadHandler(UnloadStep step, const std::string& name, std::function<void()> handler);
/// Removes the handler `name` of `step`; false when there is none.
bool unregisterUnloadHandler(UnloadStep step, const std::string& name);
/// Calls the handlers of `step` in the order of their registration. A handler may register or
/// remove handlers (the run goes over the handlers as they were when it began); one that throws is
/// reported on the command line and the others still run, so the unload goes on.
void runUnloadHandlers(UnloadStep step);
