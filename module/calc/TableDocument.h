#pragma once
// A calculation table as a document: its start in the editor and its table properties.

#include "calc/TablePropertyList.h"

class Vor_Spread;

/// Prepares the grid of a table: engine options, for a new table the 6 x 11 grid of text cells and
/// the new-table properties, then the repair of moved header and footer references, then the text
/// tips. `documentPath` is empty for a new table.
void initTableDocument(Vor_Spread& grid, bool isNew, const Vor_String& documentPath);

/// The table properties from the corner cell's tag; false when the variable lists were uneven.
bool readTableProperties(const Vor_Spread& grid, TableProperties& props);
/// Writes the table properties into the corner cell's tag.
bool writeTableProperties(Vor_Spread& grid, const TableProperties& props);
