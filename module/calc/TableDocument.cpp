#include "calc/TableDocument.h"

#include "calc/Vor_Spread.h"

namespace {
constexpr int kNewCols = 6;
constexpr int kNewRows = 11;
constexpr int kNewMaxLength = 100;
} // namespace

void initTableDocument(Vor_Spread& grid, bool isNew, const Vor_String& documentPath) {
    if (!grid.attached()) return;
    for (int option : {12, 25, 7, 21}) grid.SetBool(option, true);
    if (isNew) {
        grid.setMaxCols(kNewCols);
        grid.setMaxRows(kNewRows);
        sheet::CellType t;
        sheet::SSSetTypeEdit(grid.handle(), t, 0, kNewMaxLength, true);
        grid.SetCellTypeRange(1, 1, kNewCols, kNewRows, t);
        writeTableProperties(grid, TableProperties::newTable());
    }
    Vor_String tag;
    grid.getText(0, 0, kTextTag, tag);
    if (checkFileReferences(tag, documentPath)) grid.setTag(0, 0, tag);
    sheet::SSSetTextTip(grid.handle(), 2, 10);
    sheet::SSSetCellNoteIndicator(grid.handle(), 0);
}

bool readTableProperties(const Vor_Spread& grid, TableProperties& props) {
    Vor_String tag;
    grid.getText(0, 0, kTextTag, tag);
    return readTableProperties(tag, props);
}

bool writeTableProperties(Vor_Spread& grid, const TableProperties& props) {
    Vor_String tag;
    bool ok = writeTableProperties(tag, props);
    return grid.setTag(0, 0, tag) && ok;
}
