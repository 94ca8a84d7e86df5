#include "production/ui/DlgLookUp.h"

#include "frame/CatalogueTexts.h"
#include "frame/DialogOnCopy.h"
#include "frame/LauncherTable.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>

namespace {
// The five value combos and their fields, in the order of the data.
struct ValueCombo {
    int id;
    Vor_String KrLookUpDlgData::*value;
    Vor_StringArray KrLookUpDlgData::*items;
};
constexpr ValueCombo kValues[5] = {
    {DlgLookUp::IDC_VALUE1, &KrLookUpDlgData::value1, &KrLookUpDlgData::items1},
    {DlgLookUp::IDC_VALUE2, &KrLookUpDlgData::value2, &KrLookUpDlgData::items2},
    {DlgLookUp::IDC_VALUE3, &KrLookUpDlgData::value3, &KrLookUpDlgData::items3},
    {DlgLookUp::IDC_VALUE4, &KrLookUpDlgData::value4, &KrLookUpDlgData::items4},
    {DlgLookUp::IDC_VALUE5, &KrLookUpDlgData::value5, &KrLookUpDlgData::items5},
};

/// Index of a fixed list, or -1 for none.
int selectionOf(const ui::Dialog* d, int id) {
    const ui::Control* c = d->item(id);
    return c ? c->curSel() : -1;
}
} // namespace

bool DlgLookUp::onInitDialog() {
    setWindowText(dialString(1499).str());
    // texts: dialString 1500-1506
    const std::pair<int, int> texts[] = {
        {IDC_FRAME, 1500},      {IDC_NAME_LABEL, 87},   {IDC_VALUE4_LABEL, 95},
        {IDC_VALUE5_LABEL, 96}, {IDC_MODE_LABEL, 1501}, {IDC_FLAG, 1502},
        {IDC_SHOW_ALL, 1503},   {ui::IDOK, 1},          {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    if (ui::Control* c = item(IDC_VALUE2_LABEL)) c->setText(string(2262).str());
    if (ui::Control* c = item(IDC_VALUE3_LABEL)) c->setText(string(2263).str());
    for (const ValueCombo& v : kValues) {
        FillCombo(this, v.id, data.*v.items);
        // The value is shown as it is, also when it is none of the items.
        if (ui::Control* c = item(v.id)) c->setText((data.*v.value).str());
    }
    FillCombo(this, IDC_DIRECTION, Vor_StringArray{dialString(88), dialString(89), dialString(1511)},
              data.direction);
    FillCombo(this, IDC_MODE, Vor_StringArray{dialString(1504), dialString(1505), dialString(1506)},
              data.mode);
    if (ui::Control* c = item(IDC_FLAG)) c->setCheck(data.flag ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    return true;
}

void DlgLookUp::store(int result) {
    for (const ValueCombo& v : kValues)
        if (const ui::Control* c = item(v.id)) data.*v.value = c->text();
    // A caller's index outside the list selects nothing; it is handed back as it came.
    if (const int direction = selectionOf(this, IDC_DIRECTION); direction >= 0) data.direction = direction;
    if (const int mode = selectionOf(this, IDC_MODE); mode >= 0) data.mode = mode;
    const ui::Control* flag = item(IDC_FLAG);
    data.flag = flag && flag->checkState() == ui::BST_CHECKED;
    data.result = result;
    endDialog(ui::IDOK);
}

bool DlgLookUp::onCommand(int id, int code) {
    if (id != IDC_SHOW_ALL || code != ui::BN_CLICKED) return false;
    store(KrLookUpDlgData::ResultShowAll);
    return true;
}

void DlgLookUp::onOK() {
    store(KrLookUpDlgData::ResultOk);
}

bool StartDlgLookUp(KrLookUpDlgData& data) {
    return runDialogOnCopy<DlgLookUp>(data);
}

namespace {
const bool registered =
    registerDataLauncher("StartDlgLookUp", &StartDlgLookUp,
                         R"({"value1": "HEA 200", "items1": ["HEA 160", "HEA 180", "HEA 200", "HEA 220"],
        "value2": "S235", "items2": ["S235", "S275", "S355"],
        "value3": "JR", "items3": ["JR", "J0", "J2"],
        "value4": "2500", "items4": ["1000", "2500", "6000"], "direction": 2,
        "value5": "12000", "items5": ["6000", "12000"], "mode": 0, "flag": false})");
} // namespace
