#pragma once
// Dialogs that closed themselves. A modeless dialog closes from its own handler (OK, Cancel, the
// close box), which still runs on the object: its window and its place in the module's tables go
// at once, the object waits here and is deleted on a later turn of the event loop, when no modal
// dialog runs above a handler that might still be on it.

namespace ui {
class Dialog;
}

/// Takes the dialog (its window already destroyed) and deletes it later.
void deleteDialogLater(ui::Dialog* dialog);
/// Whether a handler may still run on a closed dialog: while any modal dialog is open.
bool dialogHandlersMayRun();
/// Deletes the dialogs waiting now (unload, tests); the caller knows no handler runs on them.
void deleteClosedDialogs();
/// How many wait.
int closedDialogCount();
