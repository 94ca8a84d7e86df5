#include "production/ui/DlgProfFeatures.h"

#include "frame/DialogOnCopy.h"
#include "frame/LauncherTable.h"
#include "library/SectionLists.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>

namespace {
void setTextOf(ui::Dialog* d, int id, const Vor_String& text) {
    if (ui::Control* c = d->item(id)) c->setText(text.str());
}

/// Shows a row's label and value, or hides both when the label is empty.
void showRow(ui::Dialog* d, int labelId, int valueId, const ProfFeatureRow& row) {
    ShowOrHideCtrl(d, {labelId, valueId}, !row.label.isEmpty());
    setTextOf(d, labelId, row.label);
    setTextOf(d, valueId, row.value);
}
} // namespace

bool DlgProfFeatures::onInitDialog() {
    setWindowText(data.caption.str());
    // texts: dialString 969, 1003
    setTextOf(this, IDC_PROFILE_LABEL, dialString(1003));
    setTextOf(this, IDC_OTHER_PROFILE, dialString(969));
    setTextOf(this, ui::IDOK, dialString(1));
    setTextOf(this, ui::IDCANCEL, dialString(2));
    fillProfileCombo(item(IDC_PROFILE), m_sysNames, data.profName);

    FillCombo(this, IDC_ROW1, data.items1);
    showRow(this, IDC_ROW1_LABEL, IDC_ROW1, data.row1);
    showRow(this, IDC_ROW2_LABEL, IDC_ROW2, data.row2);
    FillCombo(this, IDC_ROW3_COMBO, data.items3);
    ShowOrHideCtrl(this, data.row3Combo ? IDC_ROW3_EDIT : IDC_ROW3_COMBO, false);
    showRow3();
    showRow(this, IDC_ROW4_LABEL, IDC_ROW4, data.row4);

    ShowOrHideCtrl(this, IDC_CHECK, !data.checkLabel.isEmpty());
    setTextOf(this, IDC_CHECK, data.checkLabel);
    if (ui::Control* c = item(IDC_CHECK)) c->setCheck(data.checked ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    return true;
}

void DlgProfFeatures::showRow3() {
    showRow(this, IDC_ROW3_LABEL, row3Id(), data.shownRow3());
}

void DlgProfFeatures::storeRow3() {
    ProfFeatureRow& row = data.shownRow3();
    if (const ui::Control* c = item(row3Id()); c && !row.label.isEmpty()) row.value = c->text();
}

bool DlgProfFeatures::onCommand(int id, int code) {
    switch (id) {
    case IDC_CHECK:
        if (code != ui::BN_CLICKED) return false;
        // The value typed for the pair shown so far stays with that pair.
        storeRow3();
        if (const ui::Control* c = item(IDC_CHECK)) data.checked = c->checkState() == ui::BST_CHECKED;
        showRow3();
        return true;
    case IDC_PROFILE:
        if (code != ui::CBN_SELCHANGE) return false;
        // The last entry stands for "the sections differ" and names no section: the profile stays.
        if (const ui::Control* c = item(IDC_PROFILE);
            c && c->curSel() >= 0 && c->curSel() < m_sysNames.length())
            data.profName = m_sysNames[c->curSel()];
        return true;
    case IDC_OTHER_PROFILE:
        if (code != ui::BN_CLICKED) return false;
        chooseOtherSection(item(IDC_PROFILE), m_sysNames, data.profName);
        return true;
    default:
        return false;
    }
}

void DlgProfFeatures::onOK() {
    const struct {
        int id;
        ProfFeatureRow& row;
    } rows[] = {{IDC_ROW1, data.row1}, {IDC_ROW2, data.row2}, {IDC_ROW4, data.row4}};
    for (const auto& r : rows)
        if (const ui::Control* c = item(r.id); c && !r.row.label.isEmpty()) r.row.value = c->text();
    storeRow3();
    if (const ui::Control* c = item(IDC_CHECK); c && !data.checkLabel.isEmpty())
        data.checked = c->checkState() == ui::BST_CHECKED;
    endDialog(ui::IDOK);
}

bool StartDlgProfFeatures(DlgProfFeaturesData& data) {
    return runDialogOnCopy<DlgProfFeatures>(data);
}

namespace {
const bool registered = registerDataLauncher("StartDlgProfFeatures", &StartDlgProfFeatures,
                                             R"({"caption": "Column features", "profName": "HEA-200",
        "row1": {"label": "Material:", "value": "S355"}, "items1": ["S235", "S275", "S355"],
        "row2": {"label": "Mark:", "value": "K1"},
        "row3": {"label": "Length:", "value": "3600"}, "row3Alt": {"label": "Top level:", "value": "+3600"},
        "row3Combo": false,
        "row4": {"label": "Rotation:", "value": "0"},
        "checkLabel": "Length up to a level", "checked": false})");
} // namespace
