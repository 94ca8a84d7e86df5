#include "macro/ui/DlgArray.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "macro/ArrayLayout.h"
#include "macro/CommitTab.h"
#include "macro/LauncherInput.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>

namespace {
constexpr int kMaxEntryText = 100;
constexpr int kDimensionCombos[3] = {DlgArray::IDC_DIM1, DlgArray::IDC_DIM2, DlgArray::IDC_DIM3};

std::string textOf(const ui::Dialog* d, int id) {
    const ui::Control* c = d->item(id);
    return c ? c->text() : std::string();
}
void setTextOf(ui::Dialog* d, int id, const Vor_String& text) {
    if (ui::Control* c = d->item(id)) c->setText(text.str());
}
} // namespace

bool DlgArray::onInitDialog() {
    // texts: dialString 10462-10463
    setWindowText((dialString(1056) + " (" + name + ")").str());
    const std::pair<int, int> texts[] = {{IDC_KIND_LABEL, 228},     {IDC_NAME_LABEL, 1057},
                                         {IDC_DIM1_LABEL, 1058},    {IDC_DIM2_LABEL, 1059},
                                         {IDC_THIRD_LABEL, 1077},   {IDC_DISTANCE_LABEL, 1060},
                                         {IDC_START_LABEL, 1064},   {IDC_END_LABEL, 1065},
                                         {IDC_MINIMUM_LABEL, 1062}, {IDC_MAXIMUM_LABEL, 1063},
                                         {IDC_MIRROR, 1066},        {IDC_ENTRIES_GROUP, 1067},
                                         {IDC_SKIP, 1068},          {IDC_NEW, 171},
                                         {IDC_DELETE, 172},         {ui::IDOK, 1},
                                         {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    FillCombo(this, IDC_KIND,
              {dialString(1071), dialString(1072), dialString(1073), dialString(1074), dialString(695)});
    FillCombo(this, IDC_NAME, {data.name});

    m_grid.attach(this, IDC_GRID);
    m_grid.setStandardLook(1);
    m_grid.setMaxCols(kCols);
    const int headings[kCols] = {1069, 989, 10462, 10463, 1070};
    for (int c = 0; c < kCols; ++c)
        m_grid.setText(c + 1, 0, dialString(headings[c]));
    loadControls();
    return true;
}

void DlgArray::layOut() {
    const ArrayKindLayout l = arrayKindLayout(data.kind);
    ShowOrHideCtrl(this, {IDC_DIM1_LABEL, IDC_DIM1}, l.firstDimension);
    ShowOrHideCtrl(this, {IDC_DIM3_LABEL, IDC_DIM3}, l.thirdDimension);
    ShowOrHideCtrl(this, {IDC_THIRD_LABEL, IDC_THIRD}, l.thirdValue);
    ShowOrHideCtrl(this, {IDC_ENTRIES_GROUP, IDC_GRID, IDC_SKIP}, l.entries);
    setTextOf(this, IDC_DIM3_LABEL, l.thirdLabelText ? dialString(l.thirdLabelText) : Vor_String());
    for (int d = 0; d < 3; ++d) {
        if (!l.refillAllDimensions && d != 1) continue;
        FillCombo(this, kDimensionCombos[d], data.getValidDimNames(d == 0, d == 1, d == 2));
        setTextOf(this, kDimensionCombos[d], data.dimNames[d]); // the stored text, listed or not
    }
}

void DlgArray::loadControls() {
    if (ui::Control* c = item(IDC_KIND)) c->setCurSel(arrayKindComboIndex(data.kind));
    // every dimension combo holds its text from the start, also one the kind hides, since storing
    // reads them all
    for (int d = 0; d < 3; ++d) {
        FillCombo(this, kDimensionCombos[d], data.getValidDimNames(d == 0, d == 1, d == 2));
        setTextOf(this, kDimensionCombos[d], data.dimNames[d]);
    }
    layOut();
    setTextOf(this, IDC_NAME, data.name);
    setTextOf(this, IDC_THIRD, data.third);
    setTextOf(this, IDC_DISTANCE, data.distance);
    setTextOf(this, IDC_MINIMUM, data.minimum);
    setTextOf(this, IDC_MAXIMUM, data.maximum);
    setTextOf(this, IDC_START, data.startOffset);
    setTextOf(this, IDC_END, data.endOffset);
    if (ui::Control* c = item(IDC_MIRROR)) c->setCheck(data.mirror ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    fillEntries();
}

void DlgArray::fillEntries() {
    const int rows = data.entries.length();
    m_grid.setMaxRows(rows);
    if (rows > 0) {
        sheet::CellType t;
        m_grid.SetTypeEdit(t, 0, kMaxEntryText);
        m_grid.SetCellTypeRange(kColOffset, 1, kColNote, rows, t);
        sheet::CellType fixed; // the number and the action are the array's, not typed
        m_grid.SetTypeStaticText(fixed, 0);
        m_grid.SetCellTypeRange(kColNumber, 1, kColNumber, rows, fixed);
        m_grid.SetCellTypeRange(kColAction, 1, kColAction, rows, fixed);
    }
    for (int r = 0; r < rows; ++r) {
        const DynArrayEntry& e = data.entries[r];
        m_grid.setRow(r + 1, {e.number, e.offset, e.part, e.note, entryActionText(e.action)});
    }
    for (int c = 0; c <= kCols; ++c) // headings and texts of either language readable
        m_grid.fitColumn(c);
}

void DlgArray::storeControls() {
    m_grid.SetEditMode(false); // an open cell edit counts
    if (const ui::Control* c = item(IDC_KIND)) data.kind = arrayKindOfComboIndex(c->curSel(), data.kind);
    data.third = textOf(this, IDC_THIRD);
    data.name = textOf(this, IDC_NAME);
    for (int d = 0; d < 3; ++d)
        data.dimNames[d] = textOf(this, kDimensionCombos[d]);
    data.distance = textOf(this, IDC_DISTANCE);
    data.minimum = textOf(this, IDC_MINIMUM);
    data.maximum = textOf(this, IDC_MAXIMUM);
    data.startOffset = textOf(this, IDC_START);
    data.endOffset = textOf(this, IDC_END);
    if (const ui::Control* c = item(IDC_MIRROR)) data.mirror = c->checkState() == ui::BST_CHECKED;
    for (int r = 0; r < data.entries.length() && r < m_grid.maxRows(); ++r) {
        DynArrayEntry& e = data.entries[r];
        m_grid.getText(kColOffset, r + 1, kTextData, e.offset);
        m_grid.getText(kColPart, r + 1, kTextData, e.part);
        m_grid.getText(kColNote, r + 1, kTextData, e.note);
    }
}

void DlgArray::markChosenEntry() {
    int col = 1, row = 0;
    m_grid.GetActiveCell(col, row);
    if (row < 1 || row > m_grid.maxRows() || !data.setEntryAction(row - 1, KrEntryAction::Skip))
        return; // no entry chosen
    m_grid.setText(kColAction, row, entryActionText(KrEntryAction::Skip));
}

bool DlgArray::onCommand(int id, int code) {
    switch (id) {
    case IDC_KIND:
        if (code != ui::CBN_SELCHANGE) return false;
        storeControls();
        layOut();
        return true;
    case IDC_SKIP:
        if (code != ui::BN_CLICKED) return false;
        markChosenEntry();
        return true;
    default:
        return false;
    }
}

void DlgArray::onOK() {
    storeControls();
    endDialog(ui::IDOK);
}

bool StartArrayDlg(DynArrayData& data, const Vor_Array<AcDbObjectId>& ids, const Vor_String& name) {
    ModuleResourceScope scope;
    DlgArray dlg;
    dlg.data = data;
    dlg.ids = ids;
    dlg.name = name;
    if (dlg.doModal() != ui::IDOK) return false;
    data = dlg.data;
    return true;
}

bool editArrayAt(MacroData& data, int tab, int index, int slot) {
    if (tab < 0 || tab >= data.tabs.length() || index < 0 || index >= data.tabs[tab].arrays.length())
        return false;
    DynArrayData array = data.tabs[tab].arrays[index];
    if (!StartArrayDlg(array, data.ids, array.name)) return false;
    const MacroTabData before = data.tabs[tab];
    data.tabs[tab].arrays[index] = array;
    commitTab(data, tab, before, slot);
    return true;
}

bool editArrayOfTab(MacroData& data, int tab, int btnId, int slot) {
    if (tab < 0 || tab >= data.tabs.length()) return false;
    int index = -1;
    if (!data.tabs[tab].findArrayWithBtnId(btnId, &index)) return false;
    return editArrayAt(data, tab, index, slot);
}

namespace {
const bool registered = registerJsonLauncher(
    "StartArrayDlg",
    [](const nlohmann::json& in, nlohmann::json& out) {
        if (in.contains("data")) { // an array of its own, no drawing
            DynArrayData array = in.at("data").get<DynArrayData>();
            out["result"] = StartArrayDlg(array, {}, in.value("name", array.name.str()));
            out["data"] = array;
            return;
        }
        MacroData data;
        int tab = 0;
        if (!readLauncherMacros(in, data, &tab, out)) return;
        int index = 0;
        const Vor_String name = in.value("array", std::string());
        if (!name.isEmpty() && !data.tabs[tab].findArrayWithName(name, &index)) {
            out["result"] = false;
            out["error"] = "the tab has no array " + name.str();
            return;
        }
        out["result"] = editArrayAt(data, tab, index, -1);
        if (index < data.tabs[tab].arrays.length()) out["data"] = data.tabs[tab].arrays[index];
    },
    R"({"data": {"name": "Stiffeners", "kind": 0, "dims": ["L", "", ""], "distance": "500",
        "validDims": [["L", "H"], ["B"], ["T"]],
        "entries": [{"number": "1", "offset": "0", "part": "PL10"}, {"number": "2", "offset": "0", "part": "PL10"}]},
        "name": "Stiffeners"})");
} // namespace
