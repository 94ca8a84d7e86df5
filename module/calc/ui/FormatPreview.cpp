#include "calc/ui/FormatPreview.h"

#include <ui/Window.h>

bool setUpFormatPreview(Vor_Spread& grid, ui::Dialog* dialog, int controlId, const int widths[4],
                        const int heights[4]) {
    if (!grid.attach(dialog, controlId, true)) return false;
    sheet::SpreadControl* h = grid.handle();
    grid.setMaxCols(3);
    grid.setMaxRows(3);
    sheet::SSSetUnitType(h, 2); // the sizes are pixels
    for (int i = 0; i < 4; ++i) {
        sheet::SSSetColWidth(h, i, widths[i]);
        sheet::SSSetRowHeight(h, i, heights[i]);
    }
    // Grid lines would hide thin borders; the person only looks at the preview.
    sheet::SSSetBool(h, sheet::kOptGridLines, false);
    sheet::SSSetBool(h, sheet::kOptUserBlockSelect, false);
    sheet::SSSetBool(h, sheet::kOptUserResize, false);
    sheet::SSSetOperationMode(h, int(sheet::OperationMode::ReadOnly));
    sheet::SSSetAppearance(h, 0);
    if (grid.window()) grid.window()->enableWindow(false);
    return true;
}
