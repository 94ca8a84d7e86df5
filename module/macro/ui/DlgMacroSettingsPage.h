#pragma once
// What the pages of the general macro settings dialog share: the record a page shows, its link to
// the dialog (Escape on a page cancels the dialog), storing when the page's window goes, and the
// entry selectors that show one entry of a list at a time.

#include <host/MacroSettings.h>
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
