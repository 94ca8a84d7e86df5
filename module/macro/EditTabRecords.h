#pragma once
// What a designer page does when its bolt row's advanced button or a pattern button is clicked:
// the tab's record is edited in its dialog, run with the module's resources, and the change goes
// into the drawing through the shared commit step.

#include <host/MacroData.h>

/// Edits the bolt data of tab `tabIndex` of `macros` in the bolt dialog. On OK the edited bolt data
/// goes into the tab and the tab is committed (registry slot `slot`, -1 for a modal macro dialog);
/// true then. False, with the tab untouched, on Cancel or when the tab has no bolt data.
bool editBoltsOfTab(MacroData& macros, int tabIndex, int slot);

/// Edits pattern `patternIndex` of tab `tabIndex` in the pattern dialog, which commits every change
/// while it is open; Cancel commits the pattern as it was. True on OK; false on Cancel or when there
/// is no such pattern.
bool editPatternAt(MacroData& macros, int tabIndex, int patternIndex, int slot);

/// editPatternAt for the pattern whose "..." button (a designed control) has resource id `btnId`.
bool editPatternOfTab(MacroData& macros, int tabIndex, int btnId, int slot);
