#pragma once
// The general macro settings of a macro, opened from the constraint editor's settings button.

#include <cad/acadstd.h>

/// Runs the general macro settings dialog on `macro`; true when it ended with OK (the settings are
/// then kept in the macro). The settings dialog provides it; until it is linked in, a weak
/// placeholder answers false and nothing opens.
bool runMacroSettingsDialog(AcDbObjectId macro);
