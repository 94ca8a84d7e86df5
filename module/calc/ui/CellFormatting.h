#pragma once
// The editor's formatting commands: each opens its dialog on the current cell (or the top-left
// cell of the selected block) and, on OK, applies the settings to the whole block.

class Vor_Spread;
namespace ui {
class Window;
}

/// Border dialog over the grid's selection; true when something was applied (change flag raised).
bool editBorders(Vor_Spread& grid, ui::Window* parent);
/// Font and colours dialog over the grid's selection; true when applied.
bool editFontAndColors(Vor_Spread& grid, ui::Window* parent);
/// Cell-type dialog over the grid's selection; true when applied.
bool editCellType(Vor_Spread& grid, ui::Window* parent);
