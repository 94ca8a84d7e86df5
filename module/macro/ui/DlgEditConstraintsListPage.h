#pragma once
// The constraints page of the constraint editor (its own template, so its own file).

#include "macro/ui/DlgEditConstraintsPages.h"

/// The constraints of the current module, and the chosen one's name, value and options.
class ConstraintListPage : public ConstraintEditorPage {
public:
    enum {
        IDD = 207,
        IDC_GRID = 1001,
        IDC_GROUP = 1081,
        IDC_NAME = 1000,
        IDC_NAME_LABEL = 1123,
        IDC_VALUE = 1030,
        IDC_VALUE_LABEL = 1122,
        IDC_CUT = 1005,
        IDC_CUT_LABEL = 1015,
        IDC_FIXED = 1283,
        IDC_REVERSED = 1284,
        IDC_EDIT_CUT = 1334,
        IDC_DELETE = 1087,
        IDC_CHOICE1 = 1083,
        IDC_CHOICE2 = 1077,
        IDC_CHOICE3 = 1084,
        IDC_CHOICE4 = 1085,
        IDC_CHOICE5 = 1086,
    };
    explicit ConstraintListPage(DlgEditConstraints& editor)
        : ConstraintEditorPage(IDD, editor, 0) {}

protected:
    void activeCellChanged(sheet::SpreadControl&, sheet::CellPos from, sheet::CellPos to) override;
    void rowMoved(sheet::SpreadControl&, int from, int to) override;
    void rightClick(sheet::SpreadControl&, int col, int row, int x, int y) override;
};
