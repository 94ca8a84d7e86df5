#include "macro/ui/DlgMacroCuts.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"
#include "macro/CommitTab.h"
#include "macro/LauncherInput.h"

#include <cad/Pick.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Agent.h>
#include <ui/Control.h>
#include <ui/Image.h>

namespace {
constexpr const char* kPlacementKey = "DLG_MACRO_CUTS";
constexpr int kOptions[3] = {DlgMacroCuts::IDC_OPTION1, DlgMacroCuts::IDC_OPTION2, DlgMacroCuts::IDC_OPTION3};
/// Texts of the cut kinds in the picture list, in the order of the kinds.
constexpr int kKindTexts[kCutKinds] = {1084, 1085, 1086, 1087, 1088, 1089};
/// Entries of the method combo (1283) before its empty one.
constexpr int kMethodTexts[4] = {1395, 1396, 1397, 1398};

std::string textOf(const ui::Dialog* d, int id) {
    const ui::Control* c = d->item(id);
    return c ? c->text() : std::string();
}
void setTextOf(ui::Dialog* d, int id, const Vor_String& text) {
    if (ui::Control* c = d->item(id)) c->setText(text.str());
}
bool checked(const ui::Dialog* d, int id) {
    const ui::Control* c = d->item(id);
    return c && c->checkState() == ui::BST_CHECKED;
}
void setChecked(ui::Dialog* d, int id, bool on) {
    if (ui::Control* c = d->item(id)) c->setCheck(on ? ui::BST_CHECKED : ui::BST_UNCHECKED);
}
Vor_String textOrEmpty(int n) {
    return n ? dialString(n) : Vor_String();
}
} // namespace

int CutKindLayout::options() const {
    int n = 0;
    for (int t : optionTexts)
        n += t != 0;
    return n;
}

CutKindLayout cutKindLayout(int kind, bool fixed) {
    CutKindLayout l;
    switch (kind) {
    case 1: // profile against profile
        l.optionTexts[0] = 1105;
        l.optionTexts[1] = 1106;
        l.methodLabel = 1394;
        l.check1Text = 1108;
        l.check2Text = fixed ? 0 : 1109;
        l.check3Text = 1399;
        break;
    case 3: // three segments
        l.check1Text = 1113;
        break;
    case 4: // chamfer
        l.optionTexts[0] = 1110;
        l.optionTexts[1] = 1111;
        l.optionTexts[2] = 1112;
        break;
    default: // against a plate, inside a profile, fillet: none of them
        break;
    }
    return l;
}

int cutOptionForKind(int kind, int option) {
    const int n = cutKindLayout(kind, false).options();
    if (n == 0) return option;
    return option < 1 ? 1 : option > n ? n : option;
}

int cutValueLabel(int kind, int option) {
    if (kind == 1 && option == 2) return 1114; // the plane's distance
    if (kind == 4 && option == 1) return 1114; // one distance for both sides
    if (kind == 4 && option == 3) return 1115; // the angle beside the distance
    return 0;                                  // the variables hold everything
}

Vor_String cutVariableDisplayName(const Vor_String& name) {
    static const std::pair<const char*, int> kShown[] = {
        {"Offset", 1099},       {"PolyOffset", 1099},    {"LengthOffset", 1100}, {"CenterOffset", 1101},
        {"InsideOffset", 1102}, {"OutsideOffset", 1103}, {"Radius", 740}};
    for (const auto& [own, text] : kShown)
        if (name == Vor_String(own)) return dialString(text);
    if (name == Vor_String("Offset1") || name == Vor_String("Offset2")) {
        Vor_String shown = dialString(1104);
        shown.append(name == Vor_String("Offset1") ? 1 : 2);
        return shown;
    }
    return name;
}

bool DlgMacroCuts::onInitDialog() {
    setWindowText(dialString(1080).str());
    const std::pair<int, int> texts[] = {
        {IDC_NAME_LABEL, 1081},  {IDC_THIS_MACRO, 710}, {IDC_OTHER_MACRO, 711}, {IDC_PICK, 1082},
        {IDC_MACRO_LABEL, 1083}, {ui::IDOK, 1},         {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    restoreWindowPlacement(this, kPlacementKey, true, 0, 0);
    if (ui::Control* kinds = item(IDC_KIND)) {
        kinds->resetContent();
        for (int k = 0; k < kCutKinds; ++k)
            kinds->addString(dialString(kKindTexts[k]).str(), ui::Image::fromResource(kKindPictures[k]));
    }
    Vor_StringArray methods;
    for (int t : kMethodTexts)
        methods.append(dialString(t));
    methods.append(Vor_String());
    FillCombo(this, IDC_METHOD, methods);
    if (ui::Control* c = item(IDC_NAME)) c->setLimitText(kMaxCutText);
    if (ui::Control* c = item(IDC_VALUE)) c->setLimitText(kMaxCutText);

    m_grid.attach(this, IDC_GRID);
    m_grid.setStandardLook(1);
    m_grid.setMaxCols(kCols);
    const int headings[kCols] = {1078, 881, 87};
    for (int c = 0; c < kCols; ++c)
        m_grid.setText(c + 1, 0, dialString(headings[c]));
    loadControls();
    return true;
}

void DlgMacroCuts::loadControls() {
    data.option = cutOptionForKind(data.cutKind, data.option);
    if (ui::Control* c = item(IDC_KIND)) c->setCurSel(data.cutKind);
    setTextOf(this, IDC_NAME, data.cutName);
    setTextOf(this, IDC_VALUE, data.secondText);
    fillGrid();
    for (int i = 0; i < 3; ++i)
        setChecked(this, kOptions[i], data.option == i + 1);
    setChecked(this, IDC_CHECK1, data.check1);
    setChecked(this, IDC_CHECK2, data.check2);
    setChecked(this, IDC_CHECK3, data.check3);
    if (ui::Control* c = item(IDC_METHOD))
        c->setCurSel(data.method >= 0 && data.method <= 4 ? data.method : 4);
    setChecked(this, IDC_THIS_MACRO, data.macroChoice == 1);
    setChecked(this, IDC_OTHER_MACRO, data.macroChoice == 2);
    fillMacros();
    layOut();
    EnDisCtrl(this, {IDC_KIND, IDC_NAME}, !data.fixed);
    if (data.fixed)
        ShowOrHideCtrl(this, {IDC_THIS_MACRO, IDC_OTHER_MACRO, IDC_PICK, IDC_MACRO_LABEL, IDC_MACRO}, false);
}

void DlgMacroCuts::fillGrid() {
    const int rows = data.varNames.length();
    m_grid.setMaxRows(rows);
    if (rows > 0) {
        sheet::CellType fixed; // the names are the cut's, not typed
        m_grid.SetTypeStaticText(fixed, 0);
        m_grid.SetCellTypeRange(kColShown, 1, kColShown, rows, fixed);
        m_grid.SetCellTypeRange(kColName, 1, kColName, rows, fixed);
        sheet::CellType value;
        m_grid.SetTypeEdit(value, 0, kMaxCutText);
        m_grid.SetCellTypeRange(kColValue, 1, kColValue, rows, value);
    }
    for (int r = 0; r < rows; ++r) {
        const Vor_String value = r < data.values.length() ? data.values[r] : Vor_String();
        m_grid.setRow(r + 1, {cutVariableDisplayName(data.varNames[r]), value, data.varNames[r]});
    }
    for (int c = 0; c <= kCols; ++c) // headings and names of either language readable
        m_grid.fitColumn(c);
}

void DlgMacroCuts::layOut() {
    const CutKindLayout l = cutKindLayout(data.cutKind, data.fixed);
    for (int i = 0; i < 3; ++i) {
        ShowOrHideCtrl(this, kOptions[i], l.optionTexts[i] != 0);
        setTextOf(this, kOptions[i], textOrEmpty(l.optionTexts[i]));
    }
    ShowOrHideCtrl(this, {IDC_METHOD_LABEL, IDC_METHOD}, l.methodLabel != 0);
    setTextOf(this, IDC_METHOD_LABEL, textOrEmpty(l.methodLabel));
    const std::pair<int, int> checks[] = {
        {IDC_CHECK1, l.check1Text}, {IDC_CHECK2, l.check2Text}, {IDC_CHECK3, l.check3Text}};
    for (const auto& [id, text] : checks) {
        ShowOrHideCtrl(this, id, text != 0);
        setTextOf(this, id, textOrEmpty(text));
    }
    const int valueLabel = cutValueLabel(data.cutKind, data.option);
    ShowOrHideCtrl(this, {IDC_VALUE_LABEL, IDC_VALUE}, valueLabel != 0);
    setTextOf(this, IDC_VALUE_LABEL, textOrEmpty(valueLabel));
    enableDependents();
}

void DlgMacroCuts::enableDependents() {
    EnDisCtrl(this, IDC_PICK, !checked(this, IDC_THIS_MACRO));
    const bool check1 = checked(this, IDC_CHECK1), check2 = checked(this, IDC_CHECK2);
    EnDisCtrl(this, IDC_CHECK3, check2 && !check1);
    const bool exclusive = data.cutKind == 1; // cutting both profiles leaves no weld preparation
    EnDisCtrl(this, IDC_CHECK1, !(exclusive && check2));
    EnDisCtrl(this, IDC_CHECK2, !(exclusive && check1));
}

void DlgMacroCuts::fillMacros() {
    Vor_StringArray mods;
    data.macros.GetAllMods(mods);
    const Vor_String current = data.macroName;
    int index = -1;
    mods.find(current, index);
    FillCombo(this, IDC_MACRO, mods, index);
    setTextOf(this, IDC_MACRO, current); // the name as it is, listed or not
}

void DlgMacroCuts::storeControls() {
    m_grid.SetEditMode(false); // an open cell edit counts
    if (const ui::Control* c = item(IDC_KIND); c && c->curSel() >= 0 && c->curSel() < kCutKinds)
        data.cutKind = c->curSel();
    data.cutName = textOf(this, IDC_NAME);
    data.secondText = textOf(this, IDC_VALUE);
    for (int i = 0; i < 3; ++i)
        if (checked(this, kOptions[i]) && cutKindLayout(data.cutKind, data.fixed).optionTexts[i])
            data.option = i + 1;
    data.check1 = checked(this, IDC_CHECK1);
    data.check2 = checked(this, IDC_CHECK2);
    data.check3 = checked(this, IDC_CHECK3);
    if (const ui::Control* c = item(IDC_METHOD); c && c->curSel() >= 0) data.method = c->curSel();
    // each row keeps its own variable name: the grid shows display names, which two names can share
    for (int r = 0; r < data.varNames.length() && r < m_grid.maxRows(); ++r) {
        while (data.values.length() <= r)
            data.values.append(Vor_String());
        m_grid.getText(kColValue, r + 1, kTextData, data.values[r]);
    }
    data.macroChoice = checked(this, IDC_THIS_MACRO) ? 1 : 2;
    data.macroName = textOf(this, IDC_MACRO);
}

void DlgMacroCuts::pickMacro() {
    storeControls();
    BeginEditorCommand(this);
    data.macros.UserSelectMacro();
    CompleteEditorCommand(this, true);
    fillMacros();
}

bool DlgMacroCuts::onCommand(int id, int code) {
    switch (id) {
    case IDC_KIND: {
        if (code != ui::CBN_SELCHANGE) return false;
        storeControls();
        DlgMacroCutsData::GetDefaultValues(data.cutKind, data.varNames, data.values);
        data.option = cutOptionForKind(data.cutKind, data.option);
        for (int i = 0; i < 3; ++i)
            setChecked(this, kOptions[i], data.option == i + 1);
        fillGrid();
        layOut();
        return true;
    }
    case IDC_OPTION1:
    case IDC_OPTION2:
    case IDC_OPTION3:
        if (code != ui::BN_CLICKED) return false;
        data.option = id == IDC_OPTION1 ? 1 : id == IDC_OPTION2 ? 2 : 3;
        layOut();
        return true;
    case IDC_CHECK1:
    case IDC_CHECK2:
    case IDC_THIS_MACRO:
    case IDC_OTHER_MACRO:
        if (code != ui::BN_CLICKED) return false;
        enableDependents();
        return true;
    case IDC_PICK:
        if (code != ui::BN_CLICKED) return false;
        pickMacro();
        return true;
    default:
        return false;
    }
}

bool DlgMacroCuts::preTranslateKey(const ui::KeyEvent& key) {
    if (key.vk != ui::VK_ESCAPE || m_grid.IsEditing()) return false; // a cell edit takes its Escape
    m_escaped = true;
    sendCommand(ui::IDCANCEL);
    return true;
}

void DlgMacroCuts::onOK() {
    // texts: dialString 1090-1098, 10651
    if (textOf(this, IDC_MACRO).empty()) {
        ui::messageBox(dialString(1090).str(), dialString(1091).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION,
                       this);
        return;
    }
    storeControls();
    if (Vor_String(data.cutName).trim().isEmpty()) { // a cut is found by its name
        ui::messageBox(dialString(10651).str(), dialString(1080).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION,
                       this);
        return;
    }
    if (data.mode == DlgMacroCutsData::kModeNew && data.CutNameInUse()) {
        ui::messageBox((dialString(1092) + "\n" + dialString(1093)).str(), dialString(1094).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    if (!data.AreVarNamesValid()) {
        ui::messageBox((dialString(1095) + "\n" + dialString(1096) + " " + dialString(1097) + " \"" +
                        kGeneratedNamePrefix + "\".\n")
                           .str(),
                       dialString(1098).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    endDialog(ui::IDOK);
}

void DlgMacroCuts::onDestroy() {
    saveWindowPlacement(this, kPlacementKey);
}

bool StartDlgMacroCuts(DlgMacroCutsData& data, bool& escaped) {
    ModuleResourceScope scope;
    DlgMacroCuts dlg;
    dlg.data = data;
    const bool ok = dlg.doModal() == ui::IDOK;
    escaped = dlg.endedWithEscape();
    if (!ok) return false;
    data = dlg.data;
    return true;
}

namespace {
const bool registered = [] {
    setMacroCutDlgRunner(&StartDlgMacroCuts);
    return registerJsonLauncher(
        "StartDlgMacroCuts",
        [](const nlohmann::json& in, nlohmann::json& out) {
            DlgMacroCutsData data = in.get<DlgMacroCutsData>();
            bool escaped = false;
            out["result"] = StartDlgMacroCuts(data, escaped);
            out["escaped"] = escaped;
            out["data"] = data;
        },
        R"({"kind": 0, "name": "Cut1", "varNames": ["Offset", "PolyOffset"], "values": ["0", "5"],
            "macroName": "Endplate", "modules": ["Endplate", "Bolts"], "mode": 2, "otherCutNames": ["Cut2"]})");
}();

// A cut of macros in the drawing: edited through the host's door, as the constraint editor opens it,
// and committed to the macros on OK.
const bool registeredEdit = registerJsonLauncher(
    "StartEditMacroCutDlg",
    [](const nlohmann::json& in, nlohmann::json& out) {
        MacroData data;
        int tab = 0;
        if (!readLauncherMacros(in, data, &tab, out)) return;
        const Vor_String name = in.value("cut", std::string());
        const MacroData before = data;
        bool escaped = false;
        const bool ok = StartEditMacroCutDlg(data, tab, name, escaped);
        out["result"] = ok;
        out["escaped"] = escaped;
        if (!ok) return;
        for (int t = 0; t < data.tabs.length(); ++t) // the cut may have moved to another module
            if (!(data.tabs[t] == before.tabs[t])) commitTab(data, t, before.tabs[t], -1);
        out["cuts"] = nlohmann::json::array();
        for (const MacroTabData& t : data.tabs)
            for (const MacroCutData& c : t.cuts)
                out["cuts"].push_back({{"module", t.moduleName}, {"cut", c}});
    },
    R"({"macros": ["M1"], "tab": "Endplate", "cut": "1"})");
} // namespace
