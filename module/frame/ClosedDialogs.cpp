#include "frame/ClosedDialogs.h"

#include <ui/Dialog.h>
#include <ui/Timer.h>

#include <memory>
#include <vector>

namespace {
std::vector<std::unique_ptr<ui::Dialog>>& waiting() {
    static std::vector<std::unique_ptr<ui::Dialog>> list;
    return list;
}
int gSweepTimer = 0;
} // namespace

bool dialogHandlersMayRun() {
    for (ui::Dialog* d : ui::Dialog::openDialogs())
        if (d->isModal()) return true;
    return false;
}

void deleteDialogLater(ui::Dialog* dialog) {
    waiting().emplace_back(dialog);
    if (gSweepTimer) return;
    gSweepTimer = ui::setTimer(1, [] {
        if (!dialogHandlersMayRun()) deleteClosedDialogs();
        if (waiting().empty()) {
            ui::killTimer(gSweepTimer);
            gSweepTimer = 0;
        }
    });
}

void deleteClosedDialogs() {
    // deleting a dialog may close windows that end others: take the list first
    std::vector<std::unique_ptr<ui::Dialog>> closed;
    closed.swap(waiting());
    closed.clear();
}

int closedDialogCount() {
    return static_cast<int>(waiting().size());
}
