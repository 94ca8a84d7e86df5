#pragma once
// The palette page of the constraint editor (its own template, so its own file).

#include "macro/ui/DlgEditConstraintsPages.h"

/// One picture button per palette command, 1024 to 1037 for the commands 0 to 13.
class ConstraintPalettePage : public ConstraintEditorPage {
public:
    enum {
        IDD = 216,
        IDC_PARALLEL = 1024,
        IDC_PERPENDICULAR = 1025,
        IDC_COINCIDENT = 1026,
        IDC_SYMMETRIC = 1027,
        IDC_TANGENT = 1028,
        IDC_CONCENTRIC = 1029,
        IDC_EQUAL_RADIUS = 1030,
        IDC_DISTANCE = 1031,
        IDC_ANGLE = 1032,
        IDC_RADIUS = 1033,
        IDC_CUT = 1034,
        IDC_ADD_MODULE = 1035,
        IDC_BOLT_PATTERN = 1036,
        IDC_COORD_SYS = 1037,
    };
    explicit ConstraintPalettePage(DlgEditConstraints& editor)
        : ConstraintEditorPage(IDD, editor, 3) {}
};
