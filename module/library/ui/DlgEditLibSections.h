#pragma once
// The section library editor: groups, types and tables of the section library on three pages.

#include "frame/TabbedPages.h"
#include "frame/VorExport.h"
#include "library/ui/LibGroupsPage.h"
#include "library/ui/LibTablesPage.h"
#include "library/ui/LibTypesPage.h"

#include <host/DlgEditLibData.h>
#include <host/ui/CResizer.h>
#include <ui/Dialog.h>

#include <memory>
#include <utility>
#include <vector>

class DlgEditLibSections : public ui::Dialog {
public:
    enum { IDD = 209, IDC_TABS = 8097 };
    enum Page { kGroupsPage = 0, kTypesPage = 1, kTablesPage = 2 };
    DlgEditLibSections(const DlgEditLibData& data, const Vor_String& sysName)
        : ui::Dialog(IDD)
        , m_data(data)
        , m_sysName(sysName) {}
    ~DlgEditLibSections() override;

    DlgEditLibData m_data; ///< the dialog's copy; the caller's only changes on OK
    Vor_String m_sysName;  ///< the section to open the tables page on, or ""

    /// The tables renamed while the dialog was open (old name, new name), in order: their files are
    /// renamed at once, so the types that list them follow even when the dialog is cancelled.
    std::vector<std::pair<Vor_String, Vor_String>> m_renamedTables;

    ui::Dialog* page(int index) const;
    LibTablesPage* tablesPage() const { return m_tables.get(); }
    /// The pages over the tab control (which is shown, focus kept per page).
    const TabbedPages& pages() const { return m_pages; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onCancel() override;
    void onDestroy() override;
    void onSize(int width, int height) override;

private:
    void storePages();

    std::unique_ptr<LibGroupsPage> m_groups;
    std::unique_ptr<LibTypesPage> m_types;
    std::unique_ptr<LibTablesPage> m_tables;
    TabbedPages m_pages;
    CResizer m_resizer;
};

/// Edits the section library on a copy of `data`; on OK the copy comes back and the result is true.
/// A system name opens the tables page on that section's table and row. Tables renamed on the way
/// are renamed in the types of `data` also on Cancel, since their files are renamed at once.
VOR_EXPORT bool StartDlgEditLibSections(DlgEditLibData& data, const Vor_String& sysName);
/// Points the types that list table `old` at table `name`; the number of types changed.
int renameTableInTypes(DlgEditLibData& data, const Vor_String& old, const Vor_String& name);
