#include "macro/ui/DlgMacroModeless.h"

#include "frame/ClosedDialogs.h"
#include "frame/CommandTable.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/UnloadHandlers.h"
#include "macro/LauncherInput.h"

#include <cad/Pick.h>
#include <cad/aced.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <ui/Dialog.h>
#include <ui/Timer.h>

#include <algorithm>
#include <memory>
#include <vector>

Vor_Array<DlgMacro*> gMacroDlgs;

namespace {
// A close put off while the host was busy: the timer that retries it and the dialog it is for. The
// dialog, not only its slot, is kept: slots are reused, and a leftover timer must never end the
// newer dialog of a reused slot.
struct DelayedEnd {
    int timer = 0;
    int slot = -1;
    DlgMacro* dialog = nullptr;
};
std::vector<DelayedEnd> gDelayedMacroDlgEnds;

// Drops the pending closes of a dialog whose slot was freed.
void dropDelayedEnds(const DlgMacro* dlg) {
    for (auto it = gDelayedMacroDlgEnds.begin(); it != gDelayedMacroDlgEnds.end();) {
        if (it->dialog == dlg) {
            ui::killTimer(it->timer);
            it = gDelayedMacroDlgEnds.erase(it);
        } else {
            ++it;
        }
    }
}

void delayedEndCallback(int timerId) {
    acutPrintf("Delayed timer called.\n");
    const auto found = std::find_if(gDelayedMacroDlgEnds.begin(), gDelayedMacroDlgEnds.end(),
                                    [timerId](const DelayedEnd& e) { return e.timer == timerId; });
    if (found == gDelayedMacroDlgEnds.end()) return;
    const DelayedEnd end = *found;
    gDelayedMacroDlgEnds.erase(found);
    ui::killTimer(end.timer);
    // the slot may hold another dialog by now: only the dialog this close was for is ended
    if (end.slot < gMacroDlgs.length() && gMacroDlgs[end.slot] == end.dialog) EndDlgMacroModeless(end.slot);
}

DlgMacro* dialogInSlot(int slot) {
    return slot >= 0 && slot < gMacroDlgs.length() ? gMacroDlgs[slot] : nullptr;
}
} // namespace

bool StartDlgMacroModeless(bool keepFocus, MacroData& data, int& slot) {
    ModuleResourceScope scope;
    if (!dialogHandlersMayRun()) deleteClosedMacroDlgs();
    slot = -1;
    for (int i = 0; i < gMacroDlgs.length(); ++i)
        if (!gMacroDlgs[i]) slot = i; // the last empty slot is taken
    const bool appended = slot < 0;
    if (appended) {
        slot = gMacroDlgs.length();
        gMacroDlgs.append(nullptr);
    }
    auto dlg = std::make_unique<DlgMacro>(nullptr);
    dlg->registryIndex = slot;
    dlg->data = data;
    if (!dlg->create(nullptr) || !dlg->exists()) {
        // a dialog without a window never sits in a slot
        if (appended) gMacroDlgs.removeAt(gMacroDlgs.length() - 1);
        slot = -1;
        return false;
    }
    dlg->showWindow(ui::SW_SHOW);
    gMacroDlgs[slot] = dlg.release();
    if (!keepFocus)
        if (ui::Window* main = ui::Dialog::defaultParent()) main->setFocus();
    return true;
}

bool GetDlgMacroData(int slot, MacroData& out) {
    ModuleResourceScope scope;
    const DlgMacro* dlg = dialogInSlot(slot);
    if (!dlg) return false;
    out = dlg->data;
    return true;
}

bool EndDlgMacroModeless(int slot) {
    DlgMacro* dlg = dialogInSlot(slot);
    if (!dlg) return false;
    if (dlg->data.deferredCloseSet()) {
        const bool pending = std::any_of(gDelayedMacroDlgEnds.begin(), gDelayedMacroDlgEnds.end(),
                                         [dlg](const DelayedEnd& e) { return e.dialog == dlg; });
        if (!pending) {
            auto id = std::make_shared<int>(0);
            *id = ui::setTimer(kDelayedEndMs, [id] { delayedEndCallback(*id); });
            gDelayedMacroDlgEnds.push_back({*id, slot, dlg});
        }
        return true;
    }
    dlg->destroyWindow();
    if (dlg->exists()) return false; // a window that stays stays in the table
    dropDelayedEnds(dlg);
    gMacroDlgs[slot] = nullptr;
    deleteDialogLater(dlg); // its own handler may be running on it still
    if (slot == gMacroDlgs.length() - 1)
        while (!gMacroDlgs.isEmpty() && !gMacroDlgs.last())
            gMacroDlgs.removeAt(gMacroDlgs.length() - 1);
    acedPostCommandPrompt();
    return true;
}

void destroyAllMacroDialogs() {
    for (int slot = gMacroDlgs.length() - 1; slot >= 0; --slot)
        EndDlgMacroModeless(slot);
    if (!dialogHandlersMayRun()) deleteClosedMacroDlgs();
}

int pendingMacroDlgEnds() {
    return static_cast<int>(gDelayedMacroDlgEnds.size());
}

void deleteClosedMacroDlgs() {
    deleteClosedDialogs();
}

namespace {
const bool unloadRegistered =
    registerUnloadHandler(UnloadStep::DestroyAllMacroDlgs, "macro dialogs", [] { destroyAllMacroDialogs(); });

const bool startRegistered = registerJsonLauncher(
    "StartDlgMacroModeless",
    [](const nlohmann::json& in, nlohmann::json& out) {
        MacroData data;
        if (!readLauncherMacros(in, data, nullptr, out)) return;
        if (in.contains("activeTab")) data.activeTabName = in.at("activeTab").get<Vor_String>();
        int slot = -1;
        out["result"] = StartDlgMacroModeless(in.value("keepFocus", true), data, slot);
        out["slot"] = slot;
    },
    R"({"macros": ["M1", "M2"], "keepFocus": true})");

const bool getRegistered = registerJsonLauncher(
    "GetDlgMacroData",
    [](const nlohmann::json& in, nlohmann::json& out) {
        MacroData data;
        const bool ok = GetDlgMacroData(in.value("slot", -1), data);
        out["result"] = ok;
        if (ok) out["data"] = data;
    },
    R"({"slot": 0})");

const bool endRegistered = registerJsonLauncher(
    "EndDlgMacroModeless",
    [](const nlohmann::json& in, nlohmann::json& out) {
        out["result"] = EndDlgMacroModeless(in.value("slot", -1));
    },
    R"({"slot": 0})");
} // namespace

namespace {
// The command a detailer types: pick the macros in the drawing, and their dialog opens beside it.
void editMacrosCommand() {
    cad::PickRequest request;
    request.kind = cad::PickKind::Objects;
    request.prompt = string(10346).str();
    request.allowed = {cad::EntityKind::MacroGroup};
    const cad::PickResult picked = cad::pick(request);
    if (!picked.ok || picked.ids.empty()) return;
    Vor_Array<AcDbObjectId> ids;
    for (AcDbObjectId id : picked.ids)
        if (!ids.contains(id)) ids.append(id);
    MacroData data;
    Vor_String error;
    if (!GetMacroData(ids, data, &error)) {
        acutPrintf("%s\n", error.c_str());
        return;
    }
    int slot = -1;
    StartDlgMacroModeless(true, data, slot);
}
const bool commandRegistered = registerModuleCommand("MACRO", &editMacrosCommand);
} // namespace
