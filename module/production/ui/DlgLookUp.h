#pragma once
// The look-up dialog: five values typed or chosen from their lists, a direction and a search
// method; "Show All" closes it as OK does, with its own result.
#include "production/KrLookUpDlgData.h"

#include <ui/Dialog.h>

#include "frame/VorExport.h"

class DlgLookUp : public ui::Dialog {
public:
    enum {
        IDD = 244,
        IDC_SHOW_ALL = 3,
        IDC_NAME_LABEL = 1123,
        IDC_VALUE1 = 1384,
        IDC_VALUE2_LABEL = 1385,
        IDC_VALUE2 = 1386,
        IDC_VALUE3_LABEL = 1124,
        IDC_VALUE3 = 1387,
        IDC_VALUE4_LABEL = 1388,
        IDC_VALUE4 = 1389,
        IDC_VALUE5_LABEL = 1390,
        IDC_VALUE5 = 1391,
        IDC_MODE_LABEL = 1392,
        IDC_MODE = 1393,
        IDC_FLAG = 1394,
        IDC_FRAME = 1395,
        IDC_DIRECTION = 1398,
    };
    explicit DlgLookUp(ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent) {}

    KrLookUpDlgData data; ///< the dialog's copy; the caller's only on OK or "Show All"

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    void store(int result);
};

/// Asks the values of a look-up; true on OK (`result` 0) and on "Show All" (`result` 2) with the
/// values taken, false (data untouched) otherwise.
VOR_EXPORT bool StartDlgLookUp(KrLookUpDlgData& data);
