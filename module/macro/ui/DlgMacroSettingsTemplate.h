#pragma once
// The designer templates page of the general macro settings.

#include "calc/Vor_Spread.h"

#include <host/MacroSettings.h>
#include <host/ui/CButtonST.h>

#include "macro/ui/DlgMacroSettingsPage.h"

/// Designer templates: per template of the designer folder a list of texts and one text. The
/// entries are the record's, keyed by the template's name: a template gets its own entry wherever
/// that stands in the record, one without an entry starts empty, and entries of templates no
/// longer in the folder are kept.
class DlgSettingsTemplatePage : public DlgSettingsPage {
public:
    enum {
        IDD = 8718,
        IDC_CAPTION1 = 1175,
        IDC_CAPTION2 = 1280,
        IDC_CAPTION3 = 1281,
        IDC_CAPTION4 = 1318,
        IDC_TEMPLATES = 1282,
        IDC_GRID = 1001,
        IDC_ADD = 1088,
        IDC_REMOVE = 1089,
        IDC_TEXT = 1322,
    };
    /// The template names shown; by default those the designer folder holds (getModuleImages).
    DlgSettingsTemplatePage(MacroSettingsData* record, Vor_StringArray templateNames);
    void store() override;
    /// The record part as the page holds it now (the dialog asks before it ends).
    void takeInto(MacroSettingsData& record);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    MacroSettingsData m_part; ///< the template texts and entries handed in
    Vor_StringArray m_names;
    SettingsEntryGroup m_entries;
    Vor_Spread m_grid;
    CButtonST m_add, m_remove;
};
