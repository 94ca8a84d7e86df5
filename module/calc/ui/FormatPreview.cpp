#include "calc/ui/FormatPreview.h"

#include <ui/Window.h>

bool setUpFormatPreview(Vor_Spread& grid, ui::Dialog* dialog, int controlId, const int widths[4],
                        const int heights[4]) {
    if (!grid.attach(dialog, controlId, true)) return false;
    sheet::SpreadControl* h = grid.handle();
    // A fourth column and row of no size hold the active cell, whose frame would otherwise sit on
    // the preview.
    grid.setMaxCols(4);
    grid.setMaxRows(4);
    sheet::SSSetUnitType(h, 2); // the sizes are pixels
    for (int i = 0; i < 5; ++i) {
        sheet::SSSetColWidth(h, i, i < 4 ? widths[i] : 0);
        sheet::SSSetRowHeight(h, i, i < 4 ? heights[i] : 0);
    }
    grid.SetActiveCell(4, 4);
    // Grid lines would hide thin borders; the person only looks at the preview.
    sheet::SSSetBool(h, sheet::kOptGridLines, false);
    sheet::SSSetBool(h, sheet::kOptUserBlockSelect, false);
    sheet::SSSetBool(h, sheet::kOptUserResize, false);
    sheet::SSSetOperationMode(h, int(sheet::OperationMode::ReadOnly));
    sheet::SSSetAppearance(h, 0);
    if (grid.window()) grid.window()->enableWindow(false);
    return true;
}
