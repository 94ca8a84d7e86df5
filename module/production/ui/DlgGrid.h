#pragma once
// The grid dialog: the two directions of a grid of axes, each with its count of lines, their
// distances and the name of the first line.
#include "production/KrGridDlgData.h"

#include <ui/Dialog.h>

#include "frame/VorExport.h"

class DlgGrid : public ui::Dialog {
public:
    enum {
        IDD = 242,
        IDC_COUNT1_LABEL = 1366,
        IDC_COUNT1 = 1367,
        IDC_DIST1_LABEL = 1368,
        IDC_DIST1 = 1369,
        IDC_NAME1_LABEL = 1370,
        IDC_NAME1 = 1371,
        IDC_FRAME1 = 1372,
        IDC_COUNT2_LABEL = 1373,
        IDC_COUNT2 = 1374,
        IDC_FRAME2 = 1375,
        IDC_DIST2_LABEL = 1376,
        IDC_DIST2 = 1377,
        IDC_NAME2_LABEL = 1378,
        IDC_NAME2 = 1379,
        IDC_OPTION = 1380,
    };
    explicit DlgGrid(ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent) {}

    KrGridDlgData data; ///< the dialog's copy; the caller's only on OK

protected:
    bool onInitDialog() override;
    void onOK() override;
};

/// Edits the layout of a grid; true and the edited data on OK, false (data untouched) otherwise.
VOR_EXPORT bool StartDlgGrid(KrGridDlgData& data);
