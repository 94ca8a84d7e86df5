#pragma once
// The choices page of the general macro settings.

#include "calc/Vor_Spread.h"

#include <host/MacroSettings.h>
#include <host/ui/CButtonST.h>

#include "macro/ui/DlgMacroSettingsPage.h"

/// Three choices and a list of rows of a text and a number.
class DlgSettingsChoicesPage : public DlgSettingsPage {
public:
    enum {
        IDD = 214,
        IDC_NOTE = 1175,
        IDC_FIRST_LABEL = 1363,
        IDC_FIRST = 1364,
        IDC_SECOND_LABEL = 1365,
        IDC_SECOND = 1366,
        IDC_NUMBER_LABEL = 1367,
        IDC_NUMBER = 1368,
        IDC_GRID = 1001,
        IDC_ADD = 1088,
        IDC_REMOVE = 1089,
    };
    explicit DlgSettingsChoicesPage(MacroSettingsData* record)
        : DlgSettingsPage(IDD, record) {}
    void store() override;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    Vor_Spread m_grid;
    CButtonST m_add, m_remove;
};
