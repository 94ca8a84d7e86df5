#pragma once
// The texts page of the general macro settings.

#include "calc/Vor_Spread.h"

#include <host/MacroSettings.h>
#include <host/ui/CButtonST.h>

#include "macro/ui/DlgMacroSettingsPage.h"

/// Two texts and a list of rows of two texts and a choice (none or a row number).
class DlgSettingsTextsPage : public DlgSettingsPage {
public:
    enum {
        IDD = 215,
        IDC_LABEL1 = 1180,
        IDC_LABEL2 = 1181,
        IDC_TEXT1 = 1182,
        IDC_TEXT2 = 1018,
        IDC_NOTE = 1175,
        IDC_GRID = 1196,
    };
    explicit DlgSettingsTextsPage(MacroSettingsData* record)
        : DlgSettingsPage(IDD, record) {}
    void store() override;

protected:
    bool onInitDialog() override;

private:
    Vor_Spread m_grid;
};
