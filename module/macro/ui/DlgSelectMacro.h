#pragma once
// The macro selection: thumbnails of the macro drawings, narrowed by a grid of modules and their
// property values; the caller gets the chosen drawing, or learns that the extra button ended it.

#include "calc/Vor_Spread.h"

#include <cad/acadstd.h>
#include <host/Vor_MacroPropsFilter.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>
#include <host/ui/CImageListCtrl.h>
#include <host/ui/CResizer.h>
#include <sheet/SpreadControl.h>
#include <ui/Dialog.h>
#include <ui/Image.h>

#include "frame/VorExport.h"

#include <map>
#include <string>
#include <vector>

class DlgSelectMacro : public ui::Dialog, private sheet::SpreadListener {
public:
    enum {
        IDD = 8717,
        IDC_HEADING = 1175,
        IDC_GRID = 1196,
        IDC_THUMBNAILS = 9091,
        IDC_INFO = 1353,
        IDC_PREVIEWS = 9093,
        IDC_EXTRA = 1352,
    };
    /// Grid notifications: a check cell switched on, and off.
    enum { kGridCheckOn = 0x3B, kGridCheckOff = 0x3C };

    DlgSelectMacro()
        : ui::Dialog(IDD) {}

    Vor_String title;
    Vor_MacroPropsFilter filter;
    bool extraButton = false; ///< in: button 1352 offered; out: the dialog was ended with it
    bool showInfo = false;    ///< the information text, when there is no extra button
    Vor_String selection;     ///< out: the chosen drawing
    Vor_StringArray previews, labels;
    Vor_Array<Vor_StringArray> gridRows;
    bool gridReady = false;

    /// A grid cell was switched (what the grid's 0x3B and 0x3C notifications do).
    void gridCellSwitched(int col, int row, bool on);
    Vor_Spread& grid() { return m_grid; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onSize(int, int) override { m_resizer.move(); }
    void onDestroy() override;

private:
    void makeMissingPreviews();
    void fillGrid();
    void filterThumbnails();
    bool choose();
    // sheet::SpreadListener
    void checkBoxToggled(sheet::SpreadControl&, int col, int row, bool on) override {
        gridCellSwitched(col, row, on);
    }

    Vor_Spread m_grid;
    CImageListCtrl m_thumbnails;
    CResizer m_resizer;
    std::map<std::string, ui::Image> m_inMemory; ///< previews that could not be kept beside their drawing
};

/// What the filter grid shows: one row per module, a pair of columns per entry (a narrow check cell,
/// then the entry's text), pairs beyond a row's entries grey and locked. A pair's heading stands over
/// its text column, where it can be read (the check column is three characters wide, and a heading
/// cell cannot span the pair); the check column's heading is empty.
struct MacroGridLayout {
    struct Cell {
        enum Kind { Check, Text, Grey };
        Kind kind = Grey;
        bool locked = true;
        bool on = false; ///< a check cell's state
        Vor_String text; ///< a text cell's text
    };
    int cols = 0;
    Vor_StringArray headings;            ///< per column from 1 (index 0 unused); "" over check columns
    std::vector<std::vector<Cell>> rows; ///< per row, per column from 1 (index 0 unused)
};
MacroGridLayout macroGridLayout(const Vor_Array<Vor_StringArray>& rows, const Vor_Array<Vor_Array<bool>>& on);

/// The labels of the thumbnails: each drawing's file name without folder and extension, translated;
/// without its trailing digits unless that makes two labels alike (without regard to case).
Vor_StringArray macroLabels(const Vor_StringArray& drawings);
/// The preview picture of a drawing: its ".bmp" when there is one, else its ".abm".
Vor_String macroPreviewOf(const Vor_String& drawing);

/// Lets the user choose a macro drawing. True on OK: `selected` is the drawing (empty when the extra
/// button ended the dialog) and `extraButton` says whether it did; false leaves both alone.
VOR_EXPORT bool StartDlgSelectMacro(const Vor_String& title, const Vor_StringArray& texts,
                                    const AcArray<bool>& flags, const int& first, const int& second,
                                    Vor_String& selected, bool& extraButton, bool showInfo);
