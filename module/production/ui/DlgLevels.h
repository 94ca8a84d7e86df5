#pragma once
// The levels dialog: one level at a time, chosen in a list, with its value; new levels are named
// and measured from a reference level of choice.
#include <host/KrLevelsDlgData.h>
#include <host/ui/CButtonST.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

class DlgLevels : public ui::Dialog {
public:
    enum {
        IDD = 243,
        IDC_LEVELS = 1381,
        IDC_FRAME = 1081,
        IDC_NAME_LABEL = 1123,
        IDC_NAME = 1000,
        IDC_REFERENCE_LABEL = 1124,
        IDC_REFERENCE = 1382,
        IDC_VALUE_LABEL = 1227,
        IDC_VALUE = 1001,
        IDC_ABSOLUTE_LABEL = 1126,
        IDC_ABSOLUTE = 1002,
        IDC_ADD = 1088,
        IDC_DELETE = 1089,
    };
    explicit DlgLevels(ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent) {}

    KrLevelsDlgData data; ///< the dialog's copy; the caller's only on OK

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    void fillLevels();
    void showLevel(int index);
    void storeLevel();
    void addLevel();
    void deleteLevel();

    CButtonST m_add, m_delete;
    int m_current = -1;
    bool m_currentIsNew = false;
};

/// Edits the levels; true and the edited levels on OK, false (data untouched) otherwise.
VOR_EXPORT bool StartDlgLevels(KrLevelsDlgData& data);
