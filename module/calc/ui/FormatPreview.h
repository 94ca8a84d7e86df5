#pragma once
// The small grid that the cell formatting dialogs show their settings on.

#include "calc/Vor_Spread.h"

namespace ui {
class Dialog;
}

/// Puts `grid` over placeholder `controlId` as a 3 × 3 preview (cell 2, 2 in the middle) with column widths
/// and row heights (index 0 = the headers, hidden with 0) in pixels; no grid lines, nothing to select or
/// edit.
bool setUpFormatPreview(Vor_Spread& grid, ui::Dialog* dialog, int controlId, const int widths[4],
                        const int heights[4]);
