#include "library/ui/DlgEditLibSections.h"

#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"

#include <host/Texts.h>
#include <ui/Agent.h>
#include <ui/Control.h>

namespace {
const char* const kPlacement = "DLG_EDIT_SECTIONLIB";
} // namespace

DlgEditLibSections::~DlgEditLibSections() = default;

bool DlgEditLibSections::onInitDialog() {
    // texts: dialString 754-755, 9707-9708
    setWindowText(dialString(754).str());
    item(ui::IDOK)->setText(dialString(1).str());
    item(ui::IDCANCEL)->setText(dialString(2).str());
    restoreWindowPlacement(this, kPlacement, false, 0, 0);
    m_data.GetAvailableFiles();

    m_groups = std::make_unique<LibGroupsPage>(m_data);
    m_types = std::make_unique<LibTypesPage>(m_data);
    m_tables = std::make_unique<LibTablesPage>(m_data.m_tableNames, m_sysName);
    m_tables->setRenamedHandler([this](const Vor_String& old, const Vor_String& name) {
        // the types page shows the data anew, so that storing it later cannot bring the old name back
        m_types->storeShown();
        renameTableInTypes(m_data, old, name);
        m_data.m_tableNames = m_tables->tables();
        m_renamedTables.emplace_back(old, name);
        m_types->refresh();
    });
    m_pages.attach(this, IDC_TABS);
    m_pages.addPage(*m_groups, dialString(755).str());
    m_pages.addPage(*m_types, dialString(9707).str());
    m_pages.addPage(*m_tables, dialString(9708).str());
    m_pages.setBeforeShow([this](int, int next) {
        storePages();
        if (next == kTypesPage) m_types->refresh(); // groups may have changed
    });
    // the tab control grows with the dialog, OK and Cancel keep to its lower right corner
    using R = CResizer;
    m_resizer.init(this, {{IDC_TABS,
                           {R::eFixed, 0, R::eLeft},
                           {R::eFixed, 0, R::eTop},
                           {R::eFixed, 0, R::eRight},
                           {R::eFixed, 0, R::eBottom}},
                          {ui::IDOK,
                           {R::eFixed, 0, R::eRight},
                           {R::eFixed, 0, R::eBottom},
                           {R::eWidth, 0, R::eLeft},
                           {R::eHeight, 0, R::eTop}},
                          {ui::IDCANCEL,
                           {R::eFixed, 0, R::eRight},
                           {R::eFixed, 0, R::eBottom},
                           {R::eWidth, 0, R::eLeft},
                           {R::eHeight, 0, R::eTop}}});
    m_pages.place();
    m_pages.show(m_sysName.isEmpty() ? kGroupsPage : kTablesPage);
    if (!m_data.m_readFaults.empty()) {
        // said before any change is made: groups and types of damaged files are not written back
        // texts: dialString 9713
        Vor_String text = dialString(9713);
        text.replace("%1", Vor_String(m_data.m_readFaults));
        ui::messageBox(text.str(), dialString(754).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
    }
    return false; // the page shown has the focus
}

void DlgEditLibSections::onSize(int, int) {
    if (!m_resizer.isInitialized()) return;
    m_resizer.move();
    m_pages.place();
}

ui::Dialog* DlgEditLibSections::page(int index) const {
    return m_pages.page(index);
}

void DlgEditLibSections::storePages() {
    if (m_groups) m_groups->storeShown();
    if (m_types) m_types->storeShown();
}

bool DlgEditLibSections::onCommand(int id, int code) {
    return m_pages.onCommand(id, code);
}

void DlgEditLibSections::onOK() {
    storePages();
    if (!m_tables->askSaveChanges()) return;
    endDialog(ui::IDOK);
}

void DlgEditLibSections::onCancel() {
    // table files are written at once: a changed table is not dropped without asking
    if (!m_tables->askSaveChanges()) return;
    endDialog(ui::IDCANCEL);
}

void DlgEditLibSections::onDestroy() {
    saveWindowPlacement(this, kPlacement);
    m_resizer.reset();
    m_pages.destroy();
}

int renameTableInTypes(DlgEditLibData& data, const Vor_String& old, const Vor_String& name) {
    int changed = 0;
    for (SectionType& t : data.m_types)
        if (t.m_table == old) {
            t.m_table = name;
            ++changed;
        }
    return changed;
}

bool StartDlgEditLibSections(DlgEditLibData& data, const Vor_String& sysName) {
    ModuleResourceScope scope;
    DlgEditLibSections dlg(data, sysName);
    if (dlg.doModal() != ui::IDOK) {
        for (const auto& [old, name] : dlg.m_renamedTables)
            renameTableInTypes(data, old, name);
        return false;
    }
    data = dlg.m_data;
    return true;
}

namespace {
// The library of the library folder: groups and types are read, edited and written back on OK.
const bool registered = registerJsonLauncher(
    "StartDlgEditLibSections",
    [](const nlohmann::json& in, nlohmann::json& out) {
        DlgEditLibData data;
        std::string error;
        data.load(&error);
        const DlgEditLibData before = data;
        const bool ok = StartDlgEditLibSections(data, in.value("systemName", std::string()));
        out["result"] = ok;
        // a renamed table renames its types also on Cancel: its file is renamed already
        if (ok || !(data == before)) out["saved"] = data.save(&error);
        if (!error.empty()) out["error"] = error;
    },
    R"({"systemName": "HEA-200"})");
} // namespace
