#pragma once
// The flexibility page of the constraint editor (its own template, so its own file).

#include "macro/ui/DlgEditConstraintsPages.h"

/// How the parts of the current module may move.
class ConstraintFlexPage : public ConstraintEditorPage {
public:
    enum { IDD = 8135, IDC_GRID = 1196 };
    explicit ConstraintFlexPage(DlgEditConstraints& editor)
        : ConstraintEditorPage(IDD, editor, 1) {}

protected:
    void activeCellChanged(sheet::SpreadControl&, sheet::CellPos from, sheet::CellPos to) override;
    void dataChanged(sheet::SpreadControl&, int col, int row) override;
    void checkBoxToggled(sheet::SpreadControl&, int col, int row, bool on) override;
};
