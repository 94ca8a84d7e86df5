#pragma once
// The table's variables edited in a small grid of names and values: from the editor's Settings
// menu and from the print settings, whose header and footer labels name them ("%Project%").

#include <host/Vor_StringArray.h>

class Vor_Spread;
namespace ui {
class Window;
}

/// Lets the person edit the variables; rows at fault are explained and the grid comes back with
/// them. True when the person chose OK and the variables differ from what they were.
bool editTableVariables(Vor_StringArray& names, Vor_StringArray& values, ui::Window* owner);

/// The same for the variables of a table in its corner cell: a change is written there as one undo
/// step and raises the change flag.
bool editTableVariables(Vor_Spread& grid, ui::Window* owner);
