// A sample grid beside its print preview, filled with every cell type, spans, styles and a
// selection; reachable from vorhost's launcher menu and used for screenshots.

#include "calc/Vor_Spread.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <ui/Window.h>

namespace {

class DlgSpreadSample : public ui::Dialog {
public:
    enum { IDD = 8990, IDC_GRID = 1001, IDC_PREVIEW = 1002 };
    DlgSpreadSample()
        : ui::Dialog(IDD) {}
    Vor_Spread grid;

protected:
    bool onInitDialog() override {
        // texts: dialString 9280, dialString 9330-9346
        setWindowText(dialString(9280).str());
        if (ui::Control* ok = item(ui::IDOK)) ok->setText(dialString(1).str());
        if (!grid.attach(this, IDC_GRID)) return true;
        grid.setStandardLook(1);
        grid.setMaxCols(5);
        grid.setMaxRows(9);
        auto text = [](int n) { return dialString(n).str(); };
        for (int c = 0; c < 5; ++c)
            grid.setText(c + 1, 0, text(9330 + c));
        grid.styleHeader({1, 0, 5, 0}, true);
        sheet::CellType t;
        grid.setText(1, 1, text(9335));
        grid.SetCellType(2, 1, *grid.SetTypeEdit(t, 0, 40, true));
        grid.setText(2, 1, "HEA 200");
        grid.setText(1, 2, text(9336));
        grid.SetCellType(2, 2, *grid.SetTypeNumber(t, 0, 2, 0, 1e6, true));
        grid.setText(2, 2, "12500.5");
        grid.setText(1, 3, text(9337));
        grid.SetCellType(2, 3, *grid.SetTypeComboBox(t, 0, "S235\tS275\tS355", false));
        grid.setText(2, 3, "S355");
        grid.setText(1, 4, text(9338));
        grid.setCheckBoxCell(2, 4, true);
        grid.setCheck(2, 4, true);
        grid.setText(1, 5, text(9339));
        grid.SetCellType(2, 5, *grid.SetTypeButton(t, 0, text(9344)));
        grid.setText(1, 6, text(9340));
        grid.SetCellType(2, 6, *grid.SetTypeStaticText(t, 0));
        grid.setText(2, 6, text(9345));
        grid.setText(1, 7, text(9341));
        grid.SetCellType(2, 7, *grid.SetTypePicture(t, 0, "#232"));
        grid.setText(1, 8, text(9342));
        grid.setText(2, 8, text(9346));
        grid.AddCellSpan(2, 8, 2, 1);
        grid.setColumnCheckBoxes(4, false, false);
        for (int r = 1; r <= 9; ++r)
            grid.setCheck(4, r, r % 2 == 1);
        grid.setColumnDoubles(3, {1.5, 2.25, 3, 4.75});
        grid.setFormulaRange(5, 1, 5, 4, "C#*2");
        grid.SetColor(3, 2, sheet::rgb(255, 240, 200), sheet::rgb(160, 0, 0));
        grid.SetBorderRange(1, 9, 5, 9, sheet::kBorderTop | sheet::kBorderBottom, 1, 0);
        grid.setText(1, 9, text(9343));
        grid.setFormula(5, 9, "SUM(E1:E4)");
        grid.ReCalc(); // the standard look leaves automatic recalculation off
        grid.fitAll();
        grid.SetSelectBlock({3, 1}, {5, 4});
        grid.attachPreview(this, IDC_PREVIEW);
        return true;
    }
};

const bool registered = registerJsonLauncher("SpreadSample", [](const nlohmann::json&, nlohmann::json& out) {
    ModuleResourceScope scope;
    DlgSpreadSample dlg;
    out["result"] = dlg.doModal() == ui::IDOK;
});

} // namespace
