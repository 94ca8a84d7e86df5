#pragma once
// The general settings of a macro: a tabbed dialog over a copy of the macro's settings record, with
// five pages (angle filters, size filters, designer templates, choices, texts). Each page shows its
// part of the record when it is set up and stores its controls back when its window is destroyed,
// so that OK of the dialog finds the record complete; the designer template page hands its part to
// the dialog when asked. Escape on a page cancels the whole dialog.

#include "frame/TabbedPages.h"
#include "frame/VorExport.h"
#include "macro/ui/DlgMacroSettingsAngle.h"
#include "macro/ui/DlgMacroSettingsChoices.h"
#include "macro/ui/DlgMacroSettingsSize.h"
#include "macro/ui/DlgMacroSettingsTemplate.h"
#include "macro/ui/DlgMacroSettingsTexts.h"

#include <cad/acadstd.h>
#include <host/MacroSettings.h>
#include <ui/Dialog.h>

#include <functional>
#include <memory>
#include <vector>

/// The tabbed settings dialog on a copy of `data`; the caller's record changes only with OK.
class DlgMacroSettings : public ui::Dialog {
public:
    enum { IDD = 8141, IDC_TABS = 8097 };
    DlgMacroSettings(const MacroSettingsData& data, Vor_StringArray templateNames);

    MacroSettingsData data;
    TabbedPages& pages() { return m_pages; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onSize(int, int) override { m_pages.place(); }
    void onDestroy() override;

private:
    DlgSettingsAnglePage m_angle;
    DlgSettingsSizePage m_size;
    DlgSettingsTemplatePage m_templates;
    DlgSettingsChoicesPage m_choices;
    DlgSettingsTextsPage m_texts;
    TabbedPages m_pages;
};

/// Shows the settings `data` of a macro in the dialog; on OK `data` holds the edited record and the
/// result is true. `templateNames`: the designer templates offered (getModuleImages when empty).
VOR_EXPORT bool StartDlgMacroSettings(MacroSettingsData& data, const Vor_StringArray& templateNames = {});
/// The same on the settings kept in the macro `macro` of the current drawing, which are written back
/// with OK only. False with a message (nothing shown) when the record cannot be read, and when the
/// dialog is cancelled.
VOR_EXPORT bool StartDlgMacroSettings(AcDbObjectId macro, Vor_String* error = nullptr);

/// The text a settings value shows: 2 decimals.
Vor_String settingsNumberText(double value);
/// The value of a typed text: its leading number, 0 when there is none, kept within the record's range.
double settingsNumberOf(const std::string& text);
