#pragma once
// The array dialog: the kind of a macro's repeated part, its name, the dimensions that drive it,
// its values and its entries.

#include "calc/Vor_Spread.h"

#include <cad/acadstd.h>
#include <host/MacroData.h>
#include <host/MacroRecords.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

class DlgArray : public ui::Dialog {
public:
    enum {
        IDD = 236,
        IDC_KIND_LABEL = 1015,
        IDC_KIND = 1005,
        IDC_NAME_LABEL = 1125,
        IDC_NAME = 1345,
        IDC_DIM1_LABEL = 1129,
        IDC_DIM1 = 1347,
        IDC_DIM2_LABEL = 1130,
        IDC_DIM2 = 1350,
        IDC_DIM3_LABEL = 1131,
        IDC_DIM3 = 1351,
        IDC_THIRD_LABEL = 1134,
        IDC_THIRD = 1011,
        IDC_DISTANCE_LABEL = 1126,
        IDC_DISTANCE = 1002,
        IDC_START_LABEL = 1132,
        IDC_START = 1009,
        IDC_END_LABEL = 1133,
        IDC_END = 1010,
        IDC_MINIMUM_LABEL = 1127,
        IDC_MINIMUM = 1003,
        IDC_MAXIMUM_LABEL = 1128,
        IDC_MAXIMUM = 1004,
        IDC_MIRROR = 1346,
        IDC_ENTRIES_GROUP = 1349,
        IDC_GRID = 1196,
        IDC_SKIP = 1089,
        IDC_NEW = 1348,
        IDC_DELETE = 1087,
    };
    /// Columns of the entry grid.
    enum { kColNumber = 1, kColOffset, kColPart, kColNote, kColAction, kCols = kColAction };

    DlgArray()
        : ui::Dialog(IDD) {}

    DynArrayData data;           ///< the dialog's copy; the caller's only on OK
    Vor_Array<AcDbObjectId> ids; ///< the macros the array belongs to
    Vor_String name;             ///< shown in the caption
    Vor_Spread& grid() { return m_grid; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    void layOut();
    void loadControls();
    void fillEntries();
    void storeControls();
    void markChosenEntry();

    Vor_Spread m_grid;
};

/// Edits an array in a copy; on OK `data` becomes the edited array and the result is true.
VOR_EXPORT bool StartArrayDlg(DynArrayData& data, const Vor_Array<AcDbObjectId>& ids, const Vor_String& name);

/// Edits array `index` of tab `tab` of `data`; on OK it goes into the tab, which is committed to the
/// drawing (clash check of registry slot `slot`). True on OK.
bool editArrayAt(MacroData& data, int tab, int index, int slot);
/// The same for the array whose button has resource id `btnId`; false when the tab has none.
bool editArrayOfTab(MacroData& data, int tab, int btnId, int slot);
