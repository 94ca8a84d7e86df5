#pragma once
// The macro dialogs open beside the drawing. Each takes a slot of one process-wide table; the slot
// number is the callers' handle. A close asked for while the host is still busy with the dialog's
// macros (the deferred-close flag) waits on a window-less timer and is tried again every 50 ms.

#include "macro/ui/DlgMacro.h"

#include <host/MacroData.h>
#include <host/Vor_Array.h>

#include "frame/VorExport.h"

/// The open modeless macro dialogs by slot; an empty slot holds null. Trailing empty slots are
/// trimmed, inner ones stay.
extern Vor_Array<DlgMacro*> gMacroDlgs;

/// Retry interval of a deferred close.
inline constexpr int kDelayedEndMs = 50;

/// Opens a modeless macro dialog on a copy of `data` in the last empty slot (or a new one at the
/// end). Without `keepFocus` the main window gets the focus back. False, and `slot` -1, when the
/// dialog could not be made.
VOR_EXPORT bool StartDlgMacroModeless(bool keepFocus, MacroData& data, int& slot);
/// Copies the data of the dialog in `slot`; false (out untouched) for a slot out of range or empty.
VOR_EXPORT bool GetDlgMacroData(int slot, MacroData& out);
/// Closes the dialog in `slot`, or, while its macros' deferred-close flag is set, starts one timer
/// that tries again every 50 ms (one per dialog, however often this is asked). False for a slot out
/// of range or empty.
VOR_EXPORT bool EndDlgMacroModeless(int slot);
/// Ends every slot, from the last down (module unload).
void destroyAllMacroDialogs();

/// For tests: the deferred closes pending (one per dialog waiting).
int pendingMacroDlgEnds();
/// Deletes the dialogs whose windows are gone but whose own handler was still running when they
/// were closed. Runs by itself at the next opportunity; tests call it to be sure.
void deleteClosedMacroDlgs();
