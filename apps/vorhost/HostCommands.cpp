#include "HostCommands.h"

#include <cad/DrawingFile.h>
#include <cad/Pick.h>
#include <cad/aced.h>
#include <ui/Dialog.h>

#include <string>

namespace {

constexpr const char* kGroup = "VORHOST";

/// The entity a person picks, or null when the pick was cancelled.
const cad::Entity* pickEntity(const char* prompt) {
    cad::PickResult r = cad::pick({cad::PickKind::Object, prompt, {}});
    if (!r.ok || r.ids.empty()) {
        acutPrintf("*Cancel*\n");
        return nullptr;
    }
    acutPrintf("\n");
    return cad::curDrawing().get(r.ids.front());
}

void idCommand() {
    cad::PickResult r = cad::pick({cad::PickKind::Point, "Specify point: ", {}});
    if (!r.ok) {
        acutPrintf("*Cancel*\n");
        return;
    }
    acutPrintf("\nX = %g  Y = %g  Z = %g\n", r.point.x, r.point.y, r.point.z);
}

void listCommand() {
    const cad::Entity* e = pickEntity("Select object: ");
    if (!e) return;
    std::string line;
    for (const auto& [key, value] : cad::entityFields(*e))
        line += (line.empty() ? "" : "  ") + key + "=" + value;
    acutPrintf("%s\n", line.c_str());
}

void highlightCommand() {
    cad::Drawing& d = cad::curDrawing();
    cad::PickResult r = cad::pick({cad::PickKind::Object, "Select object to highlight: ", {}});
    if (!r.ok || r.ids.empty()) {
        d.clearHighlights();
        acutPrintf("*Cancel*\n");
        return;
    }
    acutPrintf("\n");
    d.highlight(r.ids.front());
}

void eraseCommand() {
    if (const cad::Entity* e = pickEntity("Select object to erase: ")) cad::curDrawing().erase(e->id);
}

template <cad::ViewDirection D> void viewCommand() {
    cad::curDrawing().changeView(D);
}

void zoomExtentsCommand() {
    cad::curDrawing().zoomExtents();
}

/// Steps a dialog aside for a pick. The bracket names its dialog by an opaque pointer; only one that
/// is an open dialog is touched.
class DialogStepAside : public cad::EditorCommandHook {
public:
    void beginEditorCommand(void* dialog) override {
        if (ui::Dialog* d = openDialog(dialog)) d->showWindow(ui::SW_HIDE);
    }
    void completeEditorCommand(void* dialog, bool restoreDialog) override {
        if (ui::Dialog* d = openDialog(dialog); d && restoreDialog) d->showWindow(ui::SW_SHOW);
    }

private:
    static ui::Dialog* openDialog(void* dialog) {
        if (!dialog) return nullptr;
        for (ui::Dialog* d : ui::Dialog::openDialogs())
            if (static_cast<void*>(d) == dialog) return d;
        return nullptr;
    }
};

} // namespace

void registerEditorCommandHook() {
    static DialogStepAside hook;
    cad::setEditorCommandHook(&hook);
}

void registerHostCommands() {
    if (acedRegCmds()->hasGroup(kGroup)) return;
    const struct {
        const char* name;
        AcRxFunctionPtr function;
    } commands[] = {
        {"ID", &idCommand},
        {"LIST", &listCommand},
        {"HIGHLIGHT", &highlightCommand},
        {"ERASE", &eraseCommand},
        {"VIEWFRONT", &viewCommand<cad::ViewDirection::Front>},
        {"VIEWSIDE", &viewCommand<cad::ViewDirection::Side>},
        {"VIEWTOP", &viewCommand<cad::ViewDirection::Top>},
        {"VIEWSTANDARD", &viewCommand<cad::ViewDirection::Standard>},
        {"ZOOMEXTENTS", &zoomExtentsCommand},
    };
    for (const auto& c : commands)
        acedRegCmds()->addCommand(kGroup, c.name, c.name, ACRX_CMD::kModal, c.function);
}
