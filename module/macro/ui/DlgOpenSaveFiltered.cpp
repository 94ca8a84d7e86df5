#include "macro/ui/DlgOpenSaveFiltered.h"

#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"

#include <base/PathPart.h>
#include <host/FileUtils.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Agent.h>
#include <ui/Control.h>

namespace {
constexpr const char* kPlacement = "DLG_OPENSAVEFILTERED";
constexpr int kIconDelete = 206;
} // namespace

Vor_String overwriteQuestion(const Vor_String& name, const Vor_StringArray& allNames) {
    int at = -1;
    Vor_String text = dialString(1128) + "\n";
    if (!allNames.find(name, at, false)) text += dialString(1129) + "\n";
    return text + "\n" + dialString(1130) + "\n";
}

Vor_String deleteQuestion(const Vor_String& name) {
    return dialString(1132) + " \"" + name + "\" " + dialString(1133) + "\n" + dialString(1134) + "\n";
}

Vor_String fileNameFault(const Vor_String& name) {
    const std::string fault = base::pathPartFault(name.str());
    if (fault.empty()) return {};
    return dialString(10500) + "\n\"" + name + "\"\n(" + Vor_String(fault) + ")";
}

bool DlgOpenSaveFiltered::onInitDialog() {
    const bool open = mode == 0;
    if (m_delete.subclassDlgItem(IDC_DELETE, this)) {
        m_delete.setIcon(kIconDelete);
        m_delete.setTooltipText(dialString(10501));
    }
    using R = CResizer;
    const R::Border left{R::eFixed, 0, R::eLeft}, right{R::eFixed, 0, R::eRight}, top{R::eFixed, 0, R::eTop},
        bottom{R::eFixed, 0, R::eBottom}, width{R::eWidth, 0, R::eLeft}, height{R::eHeight, 0, R::eTop};
    m_resizer.init(this, {{IDC_LIST, left, top, right, bottom},
                          {IDC_NAME, left, bottom, right, height},
                          {IDC_DELETE, {R::eFixed, 0, R::eRight}, bottom, width, height},
                          {IDC_FILTERED, left, bottom, right, height},
                          {ui::IDOK, {R::eFixed, 0, R::eRight}, bottom, width, height},
                          {ui::IDCANCEL, {R::eFixed, 0, R::eRight}, bottom, width, height}});
    fillList();
    if (open) EnDisCtrl(this, IDC_NAME, false);
    setWindowText(dialString(open ? 1126 : 1127).str());
    if (ui::Control* c = item(ui::IDOK)) c->setText(dialString(open ? 841 : 842).str());
    if (ui::Control* c = item(ui::IDCANCEL)) c->setText(dialString(2).str());
    if (ui::Control* c = item(IDC_FILTERED)) c->setText(dialString(1498).str());
    setMinTrackSize({200, 250});
    restoreWindowPlacement(this, kPlacement, false, 200, 250);
    return true;
}

void DlgOpenSaveFiltered::onDestroy() {
    saveWindowPlacement(this, kPlacement);
    m_resizer.reset();
}

const Vor_StringArray& DlgOpenSaveFiltered::currentList() const {
    const ui::Control* c = item(IDC_FILTERED);
    return c && c->checkState() == ui::BST_CHECKED ? filteredNames : allNames;
}

void DlgOpenSaveFiltered::fillList() {
    FillList(this, IDC_LIST, currentList());
}

bool DlgOpenSaveFiltered::acceptableName(const Vor_String& name) {
    const Vor_String fault = fileNameFault(name);
    if (fault.isEmpty()) return true;
    ui::messageBox(fault.str(), dialString(mode == 0 ? 1126 : 1127).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION,
                   this);
    return false;
}

bool DlgOpenSaveFiltered::onCommand(int id, int code) {
    switch (id) {
    case IDC_FILTERED:
        if (code != ui::BN_CLICKED) return false;
        fillList();
        return true;
    case IDC_LIST:
        if (code != ui::LBN_SELCHANGE) return false;
        if (const ui::Control* list = item(IDC_LIST); list && list->curSel() >= 0)
            if (ui::Control* edit = item(IDC_NAME)) edit->setText(list->itemText(list->curSel()));
        return true;
    case IDC_DELETE:
        if (code != ui::BN_CLICKED) return false;
        deleteSelected();
        return true;
    default:
        return false;
    }
}

void DlgOpenSaveFiltered::deleteSelected() {
    const ui::Control* list = item(IDC_LIST);
    const int at = list ? list->curSel() : -1;
    const Vor_StringArray& names = currentList();
    if (at < 0 || at >= names.length() || names[at].isEmpty()) return;
    const Vor_String name = names[at];
    if (!acceptableName(name)) return;
    if (ui::messageBox(deleteQuestion(name).str(), dialString(1135).str(), ui::MB_YESNO | ui::MB_ICONWARNING,
                       this) != ui::IDYES)
        return;
    if (!deleteFile(pathOf(name))) {
        ui::messageBox((dialString(10502) + "\n" + pathOf(name)).str(), dialString(1135).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    allNames.removeFirst(name, false);
    filteredNames.removeFirst(name, false);
    fillList();
}

void DlgOpenSaveFiltered::onOK() {
    const ui::Control* edit = item(IDC_NAME);
    const Vor_String name = edit ? Vor_String(edit->text()) : Vor_String();
    if (name.isEmpty()) return; // nothing chosen or typed: the dialog stays open
    if (!acceptableName(name)) return;
    resultName = name;
    if (mode != 0 && fileExists(pathOf(name)) &&
        ui::messageBox(overwriteQuestion(name, allNames).str(), dialString(1131).str(),
                       ui::MB_YESNOCANCEL | ui::MB_ICONWARNING, this) != ui::IDYES)
        return;
    endDialog(ui::IDOK);
}

namespace {
// The dialog on names of a folder, as the macro dialog fills it for property files.
const bool registered = registerJsonLauncher(
    "DlgOpenSaveFiltered",
    [](const nlohmann::json& in, nlohmann::json& out) {
        DlgOpenSaveFiltered dlg;
        dlg.folder = folderWithSlash(in.value("folder", std::string()));
        if (dlg.folder.isEmpty()) {
            out["result"] = false;
            out["error"] = "a folder is needed";
            return;
        }
        dlg.mode = in.value("mode", 0);
        dlg.allNames = in.value("allNames", Vor_StringArray{});
        dlg.filteredNames = in.value("filteredNames", Vor_StringArray{});
        dlg.extension = in.value("extension", std::string(".vmp"));
        ModuleResourceScope scope;
        out["result"] = dlg.doModal() == ui::IDOK;
        out["name"] = dlg.resultName.str();
        out["allNames"] = dlg.allNames;
        out["filteredNames"] = dlg.filteredNames;
    },
    R"({"mode": 1, "allNames": ["Standard", "Heavy", "Light"], "filteredNames": ["Standard"],
        "folder": "/tmp/", "extension": ".vmp"})");
} // namespace
