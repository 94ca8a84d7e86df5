#pragma once
// The properties of a bolt pattern of a tab: rows (left) and columns (right), each with its count
// and one spacing or a distance per gap, the edge distances and the mirror switches. Every change
// goes into the tab and the drawing at once; Cancel puts the pattern back as it was.

#include "calc/Vor_Spread.h"

#include <host/MacroData.h>
#include <ui/Dialog.h>

class DlgMacroPatternProps : public ui::Dialog, private sheet::SpreadListener {
public:
    enum {
        IDD = 222,
        IDC_ROWS_ON = 1359,
        IDC_ROWS_PARTS_LABEL = 1278,
        IDC_ROWS_PARTS = 1279,
        IDC_ROWS_COUNT_LABEL = 1264,
        IDC_ROWS_COUNT = 1265,
        IDC_ROWS_EQUAL = 1356,
        IDC_ROWS_SPACING_LABEL = 1270,
        IDC_ROWS_SPACING = 1266,
        IDC_ROWS_GRID = 1357,
        IDC_COLS_ON = 1361,
        IDC_COLS_PARTS_LABEL = 1280,
        IDC_COLS_PARTS = 1281,
        IDC_COLS_COUNT_LABEL = 1267,
        IDC_COLS_COUNT = 1268,
        IDC_COLS_EQUAL = 1360,
        IDC_COLS_SPACING_LABEL = 1271,
        IDC_COLS_SPACING = 1269,
        IDC_COLS_GRID = 1358,
        IDC_EDGE_TOP_LABEL = 1282,
        IDC_EDGE_TOP = 1283,
        IDC_EDGE_SIDE_LABEL = 1284,
        IDC_EDGE_SIDE = 1285,
        IDC_CLEARANCE_LABEL = 1286,
        IDC_CLEARANCE = 1287,
        IDC_STAGGERED = 1273,
        IDC_MIRROR = 1274,
        IDC_MIRROR_HORIZONTALLY = 1276,
        IDC_MIRROR_VERTICALLY = 1277,
    };
    /// The most gaps a half's grid lists (a count beyond it is the model's to refuse).
    static constexpr int kMaxGaps = 999;

    /// Edits pattern `patternIndex` of tab `tabIndex` of `macros` (which must outlive the dialog);
    /// `slot` is the registry slot of the calling macro dialog, -1 for a modal one.
    DlgMacroPatternProps(MacroData& macros, int tabIndex, int patternIndex, int slot,
                         ui::Window* parent = nullptr);

    MacroPatternProps pattern; ///< the dialog's copy, as the controls last stored it

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onCancel() override;

private:
    struct Half {
        int on, parts, count, equal, spacing, gridId;
    };
    static const Half kHalves[2];

    void load();
    void loadDistances(int half);
    void enableControls();
    void store();
    /// Writes `p` into the tab's pattern list and commits the tab.
    bool commit(const MacroPatternProps& p);
    void changed();
    void dataChanged(sheet::SpreadControl& c, int col, int row) override;

    MacroData& m_macros;
    int m_tab;
    int m_index;
    int m_slot;
    MacroPatternProps m_original;
    Vor_Spread m_grids[2];
    bool m_loading = true;
};
