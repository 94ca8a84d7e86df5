#pragma once
// The size filters page of the general macro settings.

#include "calc/Vor_Spread.h"

#include <host/MacroSettings.h>
#include <host/ui/CButtonST.h>

#include "macro/ui/DlgMacroSettingsPage.h"

/// Size filters: path-distance filters (two values) and section-size filters (four values).
class DlgSettingsSizePage : public DlgSettingsPage {
public:
    enum {
        IDD = 213,
        IDC_ON = 1179,
        IDC_PATH_GROUP = 1159,
        IDC_PATH_LIST = 1174,
        IDC_PATH_ENABLED = 1160,
        IDC_PATH_FIRST_LABEL = 1161,
        IDC_PATH_FIRST = 1162,
        IDC_PATH_SECOND_LABEL = 1163,
        IDC_PATH_SECOND = 1164,
        IDC_PATH_PICTURE = 1165,
        IDC_SIZE_GROUP = 1166,
        IDC_SIZE_LIST = 1173,
        IDC_SIZE_ENABLED = 1167,
        IDC_SIZE1_LABEL = 1168,
        IDC_SIZE1 = 1169,
        IDC_SIZE2_LABEL = 1170,
        IDC_SIZE2 = 1171,
        IDC_SIZE3_LABEL = 1175,
        IDC_SIZE3 = 1176,
        IDC_SIZE4_LABEL = 1177,
        IDC_SIZE4 = 1178,
        IDC_SIZE_PICTURE = 1172,
    };
    explicit DlgSettingsSizePage(MacroSettingsData* record);
    void store() override;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    SettingsEntryGroup m_path;
    SettingsEntryGroup m_size;
};
