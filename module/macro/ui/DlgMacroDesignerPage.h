#pragma once
// The designer page of the macro dialog: the tab's designed controls over the template's picture,
// bound to the tab's values; below them a grid of the values no designed control shows, and, for a
// tab with bolt data, the bolt row (assembly, diameter and the bolt dialog).

#include "calc/Vor_Spread.h"
#include "macro/ui/DesignedTabBinding.h"
#include "macro/ui/DlgMacroPage.h"

#include <sheet/SpreadControl.h>

class DlgMacroDesignerPage : public DlgMacroPage, private sheet::SpreadListener {
public:
    enum {
        IDD = 8137,
        IDC_GRID = 1001,
        IDC_ASSEMBLY_LABEL = 1109,
        IDC_ASSEMBLY = 1091,
        IDC_DIAMETER_LABEL = 1110,
        IDC_DIAMETER = 1092,
        IDC_BOLTS_ADVANCED = 1114,
    };
    /// Columns of the grid.
    enum { kColName = 1, kColValue = 2, kCols = kColValue };
    /// Most rows the grid shows without scrolling.
    static constexpr int kMaxVisibleRows = 8;

    DlgMacroDesignerPage(MacroPageHost& host, int tabIndex)
        : DlgMacroPage(IDD, host, tabIndex)
        , m_binding(*this) {}

    void loadFromTab() override;
    bool storeToTab() override;
    void finishEdits() override;
    ui::Size neededSize() const override;

    DesignedTabBinding& binding() { return m_binding; }
    Vor_Spread& grid() { return m_grid; }
    /// Rows of the grid (the elements no designed control shows).
    int gridRows() const { return m_rows; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    bool preTranslateKey(const ui::KeyEvent& key) override;
    void onPaint(ui::Painter& p) override { m_binding.designed().paint(p); }
    void onDestroy() override;

private:
    void fillGrid();
    void storeGrid();
    void fillBoltRow();
    void fillDiameters(const Vor_String& assembly, const Vor_String& current);
    void layOut();
    void commit();
    void dataChanged(sheet::SpreadControl& c, int col, int row) override;
    void doubleClick(sheet::SpreadControl& c, int col, int row) override;

    DesignedTabBinding m_binding;
    Vor_Spread m_grid;
    ui::Rect m_picture; ///< where the designed controls lie, empty without a template
    int m_rows = 0;
    bool m_loading = false;
};
