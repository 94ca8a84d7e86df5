#pragma once
// The cutting stock dialog: entries in a combo, their three lists in three grids, the lists'
// files in each entry's folder, and one action that writes or reads back the files of every entry.
#include "calc/Vor_Spread.h"

#include <host/DlgCSP2Data.h>
#include <host/ui/CButtonST.h>
#include <host/ui/CResizer.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

class DlgCSP2 : public ui::Dialog {
public:
    enum {
        IDD = 8122,
        IDC_ENTRY_LABEL = 9035,
        IDC_ENTRIES = 9036,
        IDC_ADD_ENTRY = 8590,
        IDC_DELETE_ENTRY = 8591,
        IDC_LISTS = 9037,
        IDC_FRAME1 = 9038,
        IDC_FRAME2 = 9041,
        IDC_FRAME3 = 9043,
        IDC_GRID1 = 1321,
        IDC_GRID2 = 1322,
        IDC_GRID3 = 1323,
        IDC_INSERT1 = 8601,
        IDC_DELETE1 = 8605,
        IDC_INSERT2 = 8606,
        IDC_DELETE2 = 8607,
        IDC_INSERT3 = 8608,
        IDC_DELETE3 = 8609,
        IDC_IMPORT2 = 8600,
        IDC_EXPORT2 = 8602,
        IDC_IMPORT3 = 8603,
        IDC_EXPORT3 = 8604,
        IDC_MAIN = 8592,
        IDC_OPTIMISE = 8593,
        IDC_ASK_NAMES = 9074,
        IDC_KERF_LABEL = 9075,
        IDC_KERF = 9076,
        IDC_MIN_OFFCUT_LABEL = 9077,
        IDC_MIN_OFFCUT = 9078,
    };
    explicit DlgCSP2(ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent) {}

    DlgCSP2Data data; ///< the dialog's copy; the caller's only on OK
    int currentId() const { return m_currentId; }
    /// The grid of list 1, 2 or 3 (for checks of its columns).
    const Vor_Spread& sheet(int list) const { return list == 1 ? m_grid1 : list == 2 ? m_grid2 : m_grid3; }
    /// "Optimise all" shows its progress window when a run takes longer than this (milliseconds).
    /// Under a scripted agent, whose clock only moves when the script says so, it shows the window
    /// only when this is set to 0 or more; otherwise the script waits for the run, as a person would
    /// for a short one.
    static inline int showProgressAfterMs = -1;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onSize(int width, int height) override { m_resizer.move(); }
    void onDestroy() override;

private:
    Vor_Spread& grid(int list) { return list == 1 ? m_grid1 : list == 2 ? m_grid2 : m_grid3; }
    void loadSheets();
    void storeSheets();
    void selectionChanged();
    void addEntry();
    void deleteEntry();
    void exchange(int list, bool import, bool withDialog, int entryIndex);
    void mainAction();
    void optimiseAll();
    bool readCutSettings(double& kerf, double& minOffcut);

    Vor_Spread m_grid1, m_grid2, m_grid3;
    CButtonST m_buttons[10];
    CResizer m_resizer;
    int m_currentId = -1;
};

/// Edits the cutting stock data; true and the edited data on OK, false (data untouched) on Cancel.
VOR_EXPORT bool StartDlgCSP2(DlgCSP2Data& data);
