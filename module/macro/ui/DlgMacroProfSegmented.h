#pragma once
// The segmented profiles of a tab: one at a time, chosen in a list, with its name, clearance and
// the points of the polyline where it breaks.

#include "calc/Vor_Spread.h"

#include <host/MacroData.h>
#include <host/MacroRecords.h>
#include <host/ui/CButtonST.h>
#include <host/ui/CResizer.h>
#include <ui/Dialog.h>

class DlgMacroProfSegmented : public ui::Dialog {
public:
    enum {
        IDD = 221,
        IDC_PROFILES_LABEL = 1248,
        IDC_PROFILES = 1247,
        IDC_PROFILE_GROUP = 1081,
        IDC_NAME_LABEL = 1123,
        IDC_NAME = 1000,
        IDC_CLEARANCE_LABEL = 1124,
        IDC_CLEARANCE = 1232,
        IDC_BREAK_ALL = 1249,
        IDC_GRID = 1196,
        IDC_ADD_ROW = 1088,
        IDC_DELETE_ROW = 1089,
        IDC_PICK_POINT = 1090,
    };
    DlgMacroProfSegmented()
        : ui::Dialog(IDD) {}

    Vor_Array<MacroSegmentData> segments; ///< the dialog's copy; the caller's only on OK
    Vor_Spread& grid() { return m_grid; }
    /// The profile shown, -1 for none.
    int current() const { return m_current; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onSize(int, int) override { m_resizer.move(); }
    void onDestroy() override;

private:
    void show(int index);
    void storeShown();
    void addRow();
    void deleteRow();

    Vor_Spread m_grid;
    CResizer m_resizer;
    CButtonST m_add, m_delete;
    int m_current = -1;
};

/// The text of a segmented profile in the dialog's list: "name - section".
Vor_String segmentListText(const MacroSegmentData& segment);

/// Edits the segmented profiles of tab `tab` of `data`; on OK they go into the tab, which is
/// committed to the drawing (clash check of registry slot `slot`, -1 for none). True on OK.
bool editSegmentsOfTab(MacroData& data, int tab, int slot);
