#include "calc/ui/FormatPreview.h"

#include <ui/Window.h>

bool setUpFormatPreview(Vor_Spread& grid, ui::Dialog* dialog, int controlId, const int widths[4],
                        const int heights[4]) {
    if (!grid.attach(dialog, controlId, true)) return false;
    // A fourth column and row of no size hold the active cell, whose frame would otherwise sit on
    // the preview.
    grid.setMaxCols(4);
    grid.setMaxRows(4);
    grid.SetUnitType(2); // the sizes are pixels
    for (int i = 0; i < 5; ++i) {
        grid.SetColWidth(i, i < 4 ? widths[i] : 0);
        grid.SetRowHeight(i, i < 4 ? heights[i] : 0);
    }
    grid.SetActiveCell(4, 4);
    // Grid lines would hide thin borders; the person only looks at the preview.
    grid.SetBool(sheet::kOptGridLines, false);
    grid.SetBool(sheet::kOptUserBlockSelect, false);
    grid.SetBool(sheet::kOptUserResize, false);
    grid.SetOperationMode(int(sheet::OperationMode::ReadOnly));
    grid.SetAppearance(0);
    if (grid.window()) grid.window()->enableWindow(false);
    return true;
}
