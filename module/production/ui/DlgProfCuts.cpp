#include "production/ui/DlgProfCuts.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>

bool DlgProfCuts::onInitDialog() {
    setWindowText(dialString(1123).str());
    // texts: dialString 1121-1125
    const std::pair<int, int> texts[] = {{IDC_NO_PREVIEW, 1125}, {IDC_OTHER_PROFILE, 1124}, {ui::IDOK, 285}};
    setCatalogueTexts(*this, texts);
    m_remove.subclassDlgItem(IDC_REMOVE, this);
    m_remove.setIcon(206);
    m_remove.setTooltipText(dialString(1122));
    m_other.subclassDlgItem(IDC_OTHER_PROFILE, this);
    m_other.setBitmaps(217);
    m_other.setTooltipText(dialString(1121));
    if (ui::Control* c = item(IDC_NO_PREVIEW)) c->setCheck(previewFlag ? ui::BST_UNCHECKED : ui::BST_CHECKED);
    m_previews = std::make_unique<ProfCutsPreviews>(data, previewFlag);
    fillCuts();
    m_previews->select(0);
    if (ui::Control* c = item(IDC_CUTS)) c->setCurSel(m_previews->current());
    return true;
}

void DlgProfCuts::fillCuts() {
    Vor_StringArray cuts;
    data.getCutDescs(cuts);
    FillCombo(this, IDC_CUTS, cuts);
}

void DlgProfCuts::otherProfile() {
    // The person picks in the drawing: the dialog steps aside for as long as the pick lasts.
    const bool changed = m_previews->otherProfile([this] {
        showWindow(ui::SW_HIDE);
        const bool picked = data.selectOtherProf();
        showWindow(ui::SW_SHOW);
        return picked;
    });
    if (!changed) return;
    fillCuts();
    if (ui::Control* c = item(IDC_CUTS)) c->setCurSel(m_previews->current());
}

bool DlgProfCuts::onCommand(int id, int code) {
    ui::Control* cuts = item(IDC_CUTS);
    switch (id) {
    case IDC_CUTS:
        if (code != ui::CBN_SELCHANGE || !cuts) return false;
        m_previews->selectionChanged(cuts->curSel());
        return true;
    case IDC_NO_PREVIEW:
        if (code != ui::BN_CLICKED) return false;
        if (const ui::Control* c = item(IDC_NO_PREVIEW))
            m_previews->setNoPreview(c->checkState() == ui::BST_CHECKED);
        return true;
    case IDC_REMOVE:
        if (code != ui::BN_CLICKED || !cuts || cuts->curSel() < 0) return true;
        m_previews->removeCut(cuts->curSel());
        fillCuts();
        cuts->setCurSel(m_previews->current());
        return true;
    case IDC_OTHER_PROFILE:
        if (code != ui::BN_CLICKED) return false;
        otherProfile();
        return true;
    default:
        return false;
    }
}

void DlgProfCuts::onOK() {
    m_previews->close();
    previewFlag = m_previews->flag();
    endDialog(ui::IDOK);
}

void DlgProfCuts::onCancel() {
    m_previews->close();
    endDialog(ui::IDCANCEL);
}

bool StartEditProfCutsDlg(DlgProfCutsData& data) {
    ModuleResourceScope scope;
    DlgProfCuts dlg;
    dlg.data = data;
    dlg.previewFlag = profCutsPreviewFlag();
    if (dlg.doModal() != ui::IDOK) return false;
    profCutsPreviewFlag() = dlg.previewFlag;
    data = dlg.data;
    return true;
}

namespace {
const bool registered = registerJsonLauncher(
    "StartEditProfCutsDlg",
    [](const nlohmann::json& in, nlohmann::json& out) {
        DlgProfCutsData data = in.get<DlgProfCutsData>();
        out["result"] = StartEditProfCutsDlg(data);
        out["data"] = data;
        out["previewFlag"] = profCutsPreviewFlag();
    },
    R"json({"profiles": [
        {"name": "HEA 200 (K1)", "cuts": ["Mitre 45° at the start", "Notch 120 x 40 at the end", "Cope for IPE 300"]},
        {"name": "IPE 300 (B4)", "cuts": ["Square cut", "Bevel 30° on the top flange"]}], "current": 0})json");
} // namespace
