#pragma once
// The step every macro dialog takes after a control changed: what differs between the tab as it
// was and as it is now goes into the drawing at once, and the edited macros are checked for clashes.

#include <host/MacroData.h>

/// Writes the differences between `before` and `data.tabs[tabIndex]` into every macro of `data`
/// (UpdateModule) and runs the clash check of the dialog in registry slot `slot` (-1 for a modal
/// one). False when the tab does not exist or the drawing refused the change; true when nothing
/// differed.
bool commitTab(const MacroData& data, int tabIndex, const MacroTabData& before, int slot);
