#pragma once
// The variables and equations page of the constraint editor (its own template, so its own file).

#include "macro/ui/DlgEditConstraintsPages.h"

/// The macro's variables in a grid, its equations one a line.
class ConstraintVarsPage : public ConstraintEditorPage {
public:
    enum {
        IDD = 8099,
        IDC_GROUP = 1130,
        IDC_GLOBALS_GROUP = 1133,
        IDC_EQUATIONS_GROUP = 1134,
        IDC_GRID = 1127,
        IDC_EQUATIONS = 1129,
        IDC_EQUATIONS_FRAME = 1128, ///< a hidden frame: the equations are a plain multi-line edit
        IDC_ADD_ROW = 1131,
        IDC_DELETE_ROW = 1132,
    };
    explicit ConstraintVarsPage(DlgEditConstraints& editor)
        : ConstraintEditorPage(IDD, editor, 2) {}

protected:
    void dataChanged(sheet::SpreadControl&, int col, int row) override;
    void comboSelected(sheet::SpreadControl&, int col, int row, int index) override;
};
