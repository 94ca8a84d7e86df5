#pragma once
// The general settings of a macro: a tabbed dialog over a copy of the macro's settings record, with
// five pages (angle filters, size filters, designer templates, choices, texts). Each page shows its
// part of the record when it is set up and stores its controls back when its window is destroyed,
// so that OK of the dialog finds the record complete; the designer template page hands its part to
// the dialog when asked. Escape on a page cancels the whole dialog.

#include "calc/Vor_Spread.h"
#include "frame/TabbedPages.h"
#include "frame/VorExport.h"

#include <cad/acadstd.h>
#include <host/MacroSettings.h>
#include <host/ui/CButtonST.h>
#include <host/ui/CCheckComboBox.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Dialog.h>

#include <functional>
#include <memory>
#include <vector>

/// What every settings page shares: the record it shows (none: it shows and stores nothing), the
/// link to the settings dialog, and Escape going to that dialog.
class DlgSettingsPage : public ui::Dialog {
public:
    DlgSettingsPage(int templateId, MacroSettingsData* record)
        : ui::Dialog(templateId)
        , m_record(record) {}
    /// Links the page to the dialog it is shown in (getDlgOwner then finds that dialog).
    void setOwner(ui::Dialog* owner) { m_link = std::make_unique<DlgOwnerLink>(this, owner); }
    /// Stores what the page shows into the record (also done when the page is destroyed).
    virtual void store() = 0;

protected:
    bool preTranslateKey(const ui::KeyEvent& key) override;
    void onOK() override {}
    void onCancel() override {}
    void onDestroy() override;

    MacroSettingsData* m_record;

private:
    std::unique_ptr<DlgOwnerLink> m_link;
    bool m_stored = false;
};

/// One entry selector (a check combo or a list) with the controls that show its entries: showing
/// an entry fills them, storing reads them back; the value controls are enabled only while the
/// entry is enabled.
class SettingsEntryGroup {
public:
    struct Ids {
        int selector = 0;
        int enabledCheck = 0; ///< 0: the entries have no enabled flag
        int groupBox = 0;
        std::vector<int> values; ///< controls enabled only while the entry is
    };
    struct Access {
        std::function<int()> count;
        std::function<Vor_String(int)> name;
        std::function<bool(int)> enabled;
        std::function<void(int, bool)> setEnabled;
        std::function<void(int)> showValues;
        std::function<void(int)> storeValues;
    };
    SettingsEntryGroup(ui::Dialog& page, Ids ids, Access access)
        : m_page(page)
        , m_ids(std::move(ids))
        , m_access(std::move(access)) {}

    /// Fills the selector, checks the enabled entries and shows entry 0; with no entries the group
    /// is disabled.
    void setUp(bool checkCombo);
    /// The selector's selection changed or a check mark toggled.
    void selectorChanged();
    /// The enabled check box was clicked.
    void enabledClicked();
    /// Stores the entry shown.
    void store();
    int shown() const { return m_shown; }
    void show(int index);

private:
    void enableValues(bool on);

    ui::Dialog& m_page;
    Ids m_ids;
    Access m_access;
    CCheckComboBox m_combo;
    bool m_checkCombo = false;
    int m_shown = -1;
};

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
