#pragma once
// The angle filters page of the general macro settings.

#include "calc/Vor_Spread.h"

#include <host/MacroSettings.h>
#include <host/ui/CButtonST.h>

#include "macro/ui/DlgMacroSettingsPage.h"

/// Angle filters: the axis-angle filters (mode and two values) and the section-angle filters
/// (value pairs in a grid).
class DlgSettingsAnglePage : public DlgSettingsPage {
public:
    enum {
        IDD = 8142,
        IDC_ON = 1351,
        IDC_AXIS_GROUP = 1140,
        IDC_AXIS_LIST = 1151,
        IDC_AXIS_ENABLED = 1146,
        IDC_MODE0 = 1144,
        IDC_MODE1 = 1145,
        IDC_MODE0_PICTURE = 1158,
        IDC_MODE1_PICTURE = 1157,
        IDC_FIRST_LABEL = 1147,
        IDC_FIRST = 1149,
        IDC_SECOND_LABEL = 1148,
        IDC_SECOND = 1150,
        IDC_SECTION_GROUP = 1141,
        IDC_SECTION_LIST = 1152,
        IDC_SECTION_ENABLED = 1153,
        IDC_GRID = 1001,
        IDC_ADD = 1155,
        IDC_REMOVE = 1154,
        IDC_SECTION_PICTURE = 1159,
    };
    explicit DlgSettingsAnglePage(MacroSettingsData* record);
    void store() override;
    Vor_Spread& grid() { return m_grid; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    SettingsEntryGroup m_axis;
    SettingsEntryGroup m_section;
    Vor_Spread m_grid;
    CButtonST m_add, m_remove;
};
