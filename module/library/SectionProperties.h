#pragma once
// Area, mass and section properties of a size, derived from its dimensions as the bundled profile
// tables derive them (docs/formats.md, "The section library"): closed forms where the shape has
// them, integration over the outline with its fillets where it has not.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <string>
#include <utility>
#include <vector>

class Vor_ProfValuesTable;

/// Derived values by column header ("A [cm2]", "G [kg/m]", "Iy [cm4]", ...).
using DerivedValues = std::vector<std::pair<std::string, double>>;

/// The values derived from the dimensions of a size of section type `typeCode`, the dimensions in
/// the order of the type's property columns (mm; a channel of type 2 has its root radius after the
/// flange thickness). False, with nothing derived, for a type without formulas here or dimensions
/// that do not make a section (missing, not positive, a wall thicker than half the size).
bool deriveSectionValues(int typeCode, const std::vector<double>& dimensions, DerivedValues& out);

/// True for the headers of the derived columns of the bundled tables: a new size never copies them.
/// "Depth between fillets" is derived for the tapered sections (types 6 and 7) only.
bool isDerivedColumn(int typeCode, const Vor_String& header);

/// The type code a table's type text stands for here: its number, or 0 for a drawing's name.
int derivedTypeCode(const Vor_String& typeText);

/// How a derived value is written in its column: area and mass with two decimals, the section
/// properties to four figures with at most two decimals ("8356", "557.1", "12.46").
std::string derivedValueText(const std::string& header, double value);

/// Sets the derived columns of `row` (a row of `table`, "SysName", "I/O", descriptions, values) from
/// its dimension cells. Columns listed in `keep` (the person typed them) stay as they are. Derived
/// columns that cannot be computed are emptied, and their headers are added to `leftEmpty`.
void fillDerivedColumns(const Vor_ProfValuesTable& table, int firstValueColumn, const std::vector<int>& keep,
                        Vor_StringArray& row, Vor_StringArray& leftEmpty);
