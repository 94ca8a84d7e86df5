#include "calc/ui/CellFormatting.h"

#include "calc/CellFormat.h"
#include "calc/Vor_Spread.h"
#include "calc/ui/DlgSpreadBorder.h"
#include "calc/ui/DlgSpreadCellType.h"
#include "calc/ui/DlgSpreadFont.h"

namespace {

/// The selected block, or the active cell alone; false without a grid or outside its cells.
bool selection(Vor_Spread& grid, sheet::CellRange& block) {
    sheet::CellPos ul, lr;
    if (!grid.attached()) return false;
    grid.GetSelectBlock(ul, lr); // false only says that no block is selected: ul = lr = the active cell
    block = {ul.col, ul.row, lr.col, lr.row};
    return block.col1 >= 1 && block.row1 >= 1 && block.col2 >= block.col1 && block.row2 >= block.row1;
}

bool finish(Vor_Spread& grid, bool applied) {
    if (applied) grid.setChanged(true);
    return applied;
}

} // namespace

bool editBorders(Vor_Spread& grid, ui::Window* parent) {
    sheet::CellRange block;
    if (!selection(grid, block)) return false;
    DlgSpreadBorder dlg(parent);
    dlg.settings = cellformat::bordersOf(grid, block.col1, block.row1);
    if (dlg.doModal() != ui::IDOK) return false;
    return finish(grid, cellformat::applyBorders(grid, block, dlg.settings));
}

bool editFontAndColors(Vor_Spread& grid, ui::Window* parent) {
    sheet::CellRange block;
    if (!selection(grid, block)) return false;
    DlgSpreadFont dlg(parent);
    dlg.settings = cellformat::fontOf(grid, block.col1, block.row1);
    if (dlg.doModal() != ui::IDOK) return false;
    return finish(grid, cellformat::applyFont(grid, block, dlg.settings));
}

bool editCellType(Vor_Spread& grid, ui::Window* parent) {
    sheet::CellRange block;
    if (!selection(grid, block)) return false;
    sheet::CellType current;
    grid.GetCellType(block.col1, block.row1, current);
    DlgSpreadCellType dlg(parent);
    dlg.settings = cellformat::cellTypeSettingsOf(current);
    if (dlg.doModal() != ui::IDOK) return false;
    sheet::CellType t;
    if (!cellformat::makeCellType(grid, dlg.settings, t)) return false;
    return finish(grid, grid.SetCellTypeRange(block.col1, block.row1, block.col2, block.row2, t));
}
