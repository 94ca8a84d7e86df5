#pragma once
// A dialog in which another module has a table of texts edited row by row.

#include "calc/Vor_Spread.h"
#include "calc/ui/ControlResizer.h"

#include <host/Vor_Array.h>
#include <host/Vor_StringArray.h>
#include <ui/Window.h>

#include "frame/VorExport.h"

class DlgStringGrid : public ui::Dialog {
public:
    enum { IDD = 208, IDC_GRID = 1196, IDC_ADD = 1088, IDC_REMOVE = 1089 };
    DlgStringGrid()
        : ui::Dialog(IDD) {}

    Vor_StringArray columnNames;
    Vor_StringArray rowNames;
    Vor_Array<Vor_StringArray> rows;
    bool canAddRemove = false;
    int columnWidth = 0; ///< pixels of every text column; 0 keeps the grid's standard width
    Vor_String title;
    Vor_String placementKey = "DLG_SS_STRINGARRAY";
    Vor_Spread& grid() { return m_grid; }

protected:
    bool onInitDialog() override;
    void onDestroy() override;
    void onSize(int width, int height) override { m_resizer.resize(width, height); }
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    Vor_Spread m_grid;
    ControlResizer m_resizer;
};

/// Lets the person edit rows of texts; only rows with one text per column name are taken in. On OK
/// the caller's rows become the grid's rows and the result is true.
VOR_EXPORT bool startGridDialog(const Vor_StringArray& columnNames, const Vor_StringArray& rowNames,
                                Vor_Array<Vor_StringArray>& rows, bool canAddRemove, Vor_String title,
                                Vor_String placementKey);
