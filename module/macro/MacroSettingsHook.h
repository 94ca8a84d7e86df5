#pragma once
// The general macro settings of a macro, opened from the constraint editor's settings button.

#include <cad/acadstd.h>

/// Runs the general macro settings dialog on `macro`; true when it ended with OK (the settings are
/// then kept in the macro). A record that cannot be read is said on the command line.
bool runMacroSettingsDialog(AcDbObjectId macro);
