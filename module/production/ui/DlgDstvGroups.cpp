#include "production/ui/DlgDstvGroups.h"

#include "frame/AskText.h"
#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "production/DstvPointRules.h"
#include "production/ui/DlgDstvPointEdit.h"

#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/Texts.h>
#include <ui/Agent.h>
#include <ui/Control.h>

namespace {
// The reader's messages one a line; a file full of bad rows gives a message that still fits a screen.
std::string listed(const std::vector<std::string>& messages) {
    constexpr std::size_t kMaxLines = 12;
    std::string text;
    for (std::size_t i = 0; i < messages.size() && i < kMaxLines; ++i)
        text += "\n" + messages[i];
    if (messages.size() > kMaxLines) text += "\n...";
    return text;
}
} // namespace

bool DlgDstvGroups::onInitDialog() {
    setWindowText(dialString(863).str());
    const std::pair<int, int> texts[] = {
        {IDC_EDIT_GROUP, 862}, {IDC_MAKE_STANDARD, 861}, {ui::IDOK, 285}, {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    if (ui::Control* c = item(IDC_NEW_GROUP)) c->setText("+");
    if (ui::Control* c = item(IDC_DELETE_GROUP)) c->setText("-");
    fillGroups(0);
    // Opening on the group in use shows at once which one production takes.
    if (m_standard >= 0) {
        m_selected = m_standard;
        showSelection();
    }
    return true;
}

void DlgDstvGroups::fillGroups(int select) {
    m_groups = m_points.getAllDstvPointsFiles();
    m_standard = dstvStandardIndex(m_groups, m_points.getStandardDstvPointsFile());
    if (ui::Control* c = item(IDC_GROUPS)) {
        ui::Control::Silence quiet(*c);
        c->resetContent();
        for (const Vor_String& name : m_groups)
            c->addString(name.str());
    }
    m_selected = m_groups.isEmpty() ? -1 : std::clamp(select, 0, m_groups.length() - 1);
    showSelection();
}

void DlgDstvGroups::showSelection() {
    if (ui::Control* c = item(IDC_GROUPS)) {
        ui::Control::Silence quiet(*c);
        for (int i = 0; i < c->count(); ++i)
            c->setItemChecked(i, i == m_standard);
        // The edit part shows the group the buttons act on; the list shows which one is in use.
        c->setCurSel(-1);
        c->setCurSel(m_selected);
        if (m_selected >= 0) c->setText(selectedName().str());
    }
    for (int id : {IDC_DELETE_GROUP, IDC_EDIT_GROUP, IDC_MAKE_STANDARD})
        if (ui::Control* b = item(id)) b->enableWindow(m_selected >= 0);
}

Vor_String DlgDstvGroups::selectedName() const {
    return m_selected >= 0 && m_selected < m_groups.length() ? m_groups[m_selected] : Vor_String();
}

void DlgDstvGroups::newGroup() {
    TextQuestion q{dialString(87), dialString(864), dialString(171), dialString(1), dialString(2)};
    if (!askText(this, q)) return;
    // Spaces around a name would only make two groups that look the same.
    Vor_String name = q.text;
    name.trim();
    switch (checkDstvGroupName(m_groups, name)) {
    case DstvGroupName::InUse:
        ui::messageBox((dialString(857) + ".\n" + dialString(858) + ".").str(), dialString(856).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    case DstvGroupName::NoFileName:
        ui::messageBox((dialString(9890) + ".").str(), dialString(884).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    case DstvGroupName::Fine:
        break;
    }
    const Vor_String folder = m_points.getDstvPointsFolder();
    ObjectExportCreateDirectory(folder);
    std::string error;
    if (!ObjectExportWriteFile(folder + name + ".dat", Vor_StringArray(), &error)) {
        ui::messageBox(dialString(9891).str() + ":\n" + error, dialString(863).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    // The new group is the one chosen: the list sorts it in, so the old place may hold another
    // group now, and the next thing a person does is fill it.
    fillGroups(m_selected);
    if (int at = -1; m_groups.find(name, at)) {
        m_selected = at;
        showSelection();
    }
}

void DlgDstvGroups::deleteGroup() {
    if (m_selected < 0) return;
    deleteFile(m_points.getDstvPointsFolder() + selectedName() + ".dat");
    fillGroups(m_selected);
}

void DlgDstvGroups::makeStandard() {
    if (m_selected < 0) return;
    m_points.setStandardDstvPointsFile(selectedName());
    if (ui::Control* c = item(IDC_GROUPS)) c->setItemChecked(m_selected, true);
    fillGroups(m_selected);
}

void DlgDstvGroups::editGroup() {
    if (m_selected < 0) return;
    const Vor_String name = selectedName();
    Vor_Array<Vor_DstvPointInfo> rules;
    std::vector<std::string> messages;
    if (!m_points.readFromFile(name, rules, &messages)) {
        // Editing an unreadable group would write an empty one over it: the file stays as it is.
        ui::messageBox(dialString(9892).str() + ":" + listed(messages), dialString(863).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    if (!messages.empty()) {
        ui::messageBox(dialString(9893).str() + ":" + listed(messages), dialString(863).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
    }
    DlgDstvPointEdit dlg(this);
    dlg.rules = rules;
    if (dlg.doModal() != ui::IDOK) return;
    if (!m_points.writeToFile(name, dlg.rules))
        ui::messageBox(dialString(9891).str() + ":\n" +
                           (m_points.getDstvPointsFolder() + name + ".dat").str(),
                       dialString(863).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
}

bool DlgDstvGroups::onCommand(int id, int code) {
    switch (id) {
    case IDC_GROUPS: {
        if (code != ui::CBN_SELCHANGE) return false;
        // A pick in the list chooses that group; the check mark stays with the standard group.
        ui::Control* c = item(IDC_GROUPS);
        std::vector<bool> checks;
        for (int i = 0; c && i < c->count(); ++i)
            checks.push_back(c->itemChecked(i));
        // A click on an item's text makes it the current item; a click on its box changes a mark.
        if (const int picked = dstvPickedGroup(checks, m_standard); picked >= 0)
            m_selected = picked;
        else if (c && c->curSel() >= 0)
            m_selected = c->curSel();
        showSelection();
        return true;
    }
    case IDC_NEW_GROUP:
        if (code == ui::BN_CLICKED) newGroup();
        return true;
    case IDC_DELETE_GROUP:
        if (code == ui::BN_CLICKED) deleteGroup();
        return true;
    case IDC_MAKE_STANDARD:
        if (code == ui::BN_CLICKED) makeStandard();
        return true;
    case IDC_EDIT_GROUP:
        if (code == ui::BN_CLICKED) editGroup();
        return true;
    default:
        return false;
    }
}

void StartDSTVPointsDlg() {
    // Other modules call this: their own templates of the same numbers must not be found first.
    ModuleResourceScope scope;
    DlgDstvGroups dlg;
    dlg.doModal();
}

namespace {
const bool registered =
    registerJsonLauncher("StartDSTVPointsDlg", [](const nlohmann::json&, nlohmann::json& out) {
        StartDSTVPointsDlg();
        out["result"] = nullptr; // opens the dialog on the library; nothing comes back
    });
} // namespace
