#include "macro/ui/DlgMacroBoltAdvanced.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/WindowPlacement.h"
#include "macro/BoltDialogRules.h"
#include "macro/EditTabRecords.h"
#include "macro/LauncherInput.h"

#include <host/MacroData.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Agent.h>
#include <ui/Control.h>
#include <ui/Image.h>

namespace {
const char* const kPlacementKey = "DLG_MACRO_BOLTADVANCED";

struct FlagBox {
    int id;
    int MacroBoltData::*value;
};
const FlagBox kFlagBoxes[] = {{DlgMacroBoltAdvanced::IDC_NUT1, &MacroBoltData::nut1},
                              {DlgMacroBoltAdvanced::IDC_NUT2, &MacroBoltData::nut2},
                              {DlgMacroBoltAdvanced::IDC_WASHER1, &MacroBoltData::washer1},
                              {DlgMacroBoltAdvanced::IDC_WASHER2, &MacroBoltData::washer2},
                              {DlgMacroBoltAdvanced::IDC_WASHERS, &MacroBoltData::washers}};

const int kSlotFields[] = {DlgMacroBoltAdvanced::IDC_SLOT_RADIUS, DlgMacroBoltAdvanced::IDC_SLOT_LENGTH,
                           DlgMacroBoltAdvanced::IDC_SLOT_ANGLE, DlgMacroBoltAdvanced::IDC_SLOT_OFFSET,
                           DlgMacroBoltAdvanced::IDC_SLOT_CHOICE};

/// The text of a combo's chosen item, or `fallback` when none is chosen.
Vor_String chosenText(const ui::Control* c, const Vor_String& fallback) {
    if (!c || c->curSel() < 0) return fallback;
    return Vor_String(c->itemText(c->curSel()));
}

/// Fills a combo with `items`, adding `current` at the end when it is not offered (a value the
/// library no longer knows, or the varies text), and selects it.
void fillKeeping(ui::Dialog* dlg, int id, Vor_StringArray items, const Vor_String& current) {
    int index = -1;
    if (!items.find(current, index) && !current.isEmpty()) {
        items.append(current);
        index = items.length() - 1;
    }
    FillCombo(dlg, id, items, index);
}
} // namespace

const std::array<DlgMacroBoltAdvanced::TriBox, 5> DlgMacroBoltAdvanced::kTriBoxes = {{
    {IDC_TAPPED, &MacroBoltData::tapped},
    {IDC_REVERSE, &MacroBoltData::reverse},
    {IDC_COUNTERSUNK, &MacroBoltData::countersunk},
    {IDC_WORKSHOP, &MacroBoltData::workshop},
    {IDC_SPECIAL, &MacroBoltData::special},
}};

bool DlgMacroBoltAdvanced::onInitDialog() {
    setWindowText(dialString(983).str());
    const std::pair<int, int> texts[] = {{IDC_ASSEMBLY_LABEL, 275},
                                         {IDC_DIAMETER_LABEL, 328},
                                         {IDC_PENETRATION_LABEL, 277},
                                         {IDC_ADDED_LABEL, 278},
                                         {IDC_TOLERANCE_LABEL, 242},
                                         {IDC_TAPPED, 674},
                                         {IDC_REVERSE, 985},
                                         {IDC_COUNTERSUNK, 234},
                                         {IDC_WORKSHOP, 276},
                                         {IDC_SPECIAL, 984},
                                         {IDC_HOLE_COLUMNS_GROUP, 1477},
                                         {IDC_SLOTS_GROUP, 986},
                                         {IDC_SLOT_ACTIVE, 761},
                                         {IDC_SLOT_RADIUS_LABEL, 328},
                                         {IDC_SLOT_LENGTH_LABEL, 987},
                                         {IDC_SLOT_ANGLE_LABEL, 988},
                                         {IDC_SLOT_OFFSET_LABEL, 989},
                                         {IDC_SLOT_CHOICE_LABEL, 990},
                                         {IDC_WASHER1_LABEL, 992},
                                         {IDC_WASHER2_LABEL, 992},
                                         {IDC_WASHERS_LABEL, 993},
                                         {ui::IDOK, 1},
                                         {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    // texts: dialString 991
    if (ui::Control* c = item(IDC_NUT1_LABEL)) c->setText((dialString(991) + "1").str());
    if (ui::Control* c = item(IDC_NUT2_LABEL)) c->setText((dialString(991) + "2").str());
    restoreWindowPlacement(this, kPlacementKey, true, 0, 0);

    Vor_StringArray assemblies;
    GetAssemblies(assemblies);
    fillKeeping(this, IDC_ASSEMBLY, assemblies, data.assembly);
    fillDiameters(data.assembly, data.diameter, true);
    if (ui::Control* c = item(IDC_PENETRATION)) c->setText(data.penetrationLength.str());
    if (ui::Control* c = item(IDC_ADDED)) c->setText(data.addedLength.str());
    if (ui::Control* c = item(IDC_TOLERANCE)) c->setText(data.holeTolerance.str());

    // texts: dialString 997-998
    if (ui::Control* c = item(IDC_SPECIAL_LABEL))
        c->setText(dialString(data.specialPresent ? 997 : 998).str());
    for (const TriBox& box : kTriBoxes)
        loadTriBox(box);
    EnDisCtrl(this, IDC_SPECIAL, data.specialPresent);

    // the hole columns: one row, a column per part
    m_grid.attach(this, IDC_HOLE_COLUMNS);
    m_grid.setStandardLook(1);
    m_grid.setMaxCols(kHoleColumns);
    m_grid.setMaxRows(1);
    // texts: dialString 10400
    for (int col = 1; col <= kHoleColumns; ++col) {
        Vor_String header = dialString(10400);
        header.replace(Vor_String("%1"), Vor_String(col));
        m_grid.setText(col, 0, header);
    }
    m_grid.setText(0, 1, dialString(242));
    Vor_StringArray columns;
    data.getHoleColumns(columns);
    m_grid.setRow(1, columns);
    for (int col = 0; col <= kHoleColumns; ++col)
        m_grid.fitColumn(col);

    // the slotted holes: one entry each, checked when active; the first one shown
    // texts: dialString 994-996
    FillCombo(this, IDC_SLOT_CHOICE, {dialString(994), dialString(995), dialString(996)});
    if (ui::Control* c = item(IDC_SLOTS)) {
        c->resetContent();
        for (int i = 0; i < data.slottedHoles.length(); ++i) {
            const int at = c->addString(slottedHoleEntryText(i).str());
            c->setItemChecked(at, data.slottedHoles[i].active);
        }
    }
    if (data.slottedHoles.length() > 0) {
        loadSlot(0);
    } else {
        // nothing to show: no entry is chosen, and nothing will be stored
        m_shownSlot = -1;
        EnDisCtrl(this, {IDC_SLOTS, IDC_SLOT_ACTIVE}, false);
        enableSlotFields(false);
    }

    for (const FlagBox& box : kFlagBoxes)
        if (ui::Control* c = item(box.id)) {
            const int value = data.*box.value;
            c->setCheck(value == 1 ? ui::BST_CHECKED : ui::BST_UNCHECKED);
            c->enableWindow(value != -1);
        }

    const ui::Image picture = ui::Image::fromFile((gSettings.vorDir + "icons/" + kPictureFile).str());
    if (ui::Control* c = item(IDC_PICTURE); c && !picture.isNull()) c->setImage(picture);
    return true;
}

void DlgMacroBoltAdvanced::onDestroy() {
    saveWindowPlacement(this, kPlacementKey);
}

void DlgMacroBoltAdvanced::fillDiameters(const Vor_String& assembly, const Vor_String& keep,
                                         bool addMissing) {
    Vor_StringArray diameters;
    GetDiameters(assembly, diameters);
    if (addMissing) {
        fillKeeping(this, IDC_DIAMETER, diameters, keep);
        return;
    }
    FillCombo(this, IDC_DIAMETER, diameters, keptDiameterIndex(diameters, keep));
}

void DlgMacroBoltAdvanced::loadTriBox(const TriBox& box) {
    ui::Control* c = item(box.id);
    if (!c) return;
    const TriState value = data.*box.value;
    const size_t at = static_cast<size_t>(&box - kTriBoxes.data());
    m_undecided[at] = value == TriState::Undecided;
    // only a box that shows undecided has a third state; a decided one just toggles
    c->setTriState(m_undecided[at]);
    c->setCheck(value == TriState::Undecided ? ui::BST_INDETERMINATE
                : value == TriState::On      ? ui::BST_CHECKED
                                             : ui::BST_UNCHECKED);
}

void DlgMacroBoltAdvanced::triBoxClicked(int id) {
    for (size_t i = 0; i < kTriBoxes.size(); ++i) {
        if (kTriBoxes[i].id != id || !m_undecided[i]) continue;
        // the first click on an undecided box decides it as unchecked, for good
        m_undecided[i] = false;
        if (ui::Control* c = item(id)) {
            c->setTriState(false);
            c->setCheck(ui::BST_UNCHECKED);
        }
    }
}

void DlgMacroBoltAdvanced::enableSlotFields(bool enable) {
    for (int id : kSlotFields)
        EnDisCtrl(this, id, enable);
}

void DlgMacroBoltAdvanced::loadSlot(int index) {
    if (index < 0 || index >= data.slottedHoles.length()) return;
    m_shownSlot = index;
    const SlottedHole& h = data.slottedHoles[index];
    if (ui::Control* c = item(IDC_SLOTS)) c->setCurSel(index);
    if (ui::Control* c = item(IDC_SLOT_ACTIVE)) c->setCheck(h.active ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    if (ui::Control* c = item(IDC_SLOT_RADIUS)) c->setText(h.radius.str());
    if (ui::Control* c = item(IDC_SLOT_LENGTH)) c->setText(h.length.str());
    if (ui::Control* c = item(IDC_SLOT_ANGLE)) c->setText(h.angle.str());
    if (ui::Control* c = item(IDC_SLOT_OFFSET)) c->setText(h.offset.str());
    if (ui::Control* c = item(IDC_SLOT_CHOICE)) c->setCurSel(slotChoiceComboIndex(h.appliesTo));
    enableSlotFields(h.active);
}

void DlgMacroBoltAdvanced::storeSlot() {
    if (m_shownSlot < 0 || m_shownSlot >= data.slottedHoles.length()) return;
    SlottedHole& h = data.slottedHoles[m_shownSlot];
    if (const ui::Control* c = item(IDC_SLOT_ACTIVE)) h.active = c->checkState() == ui::BST_CHECKED;
    if (const ui::Control* c = item(IDC_SLOT_RADIUS)) h.radius = Vor_String(c->text());
    if (const ui::Control* c = item(IDC_SLOT_LENGTH)) h.length = Vor_String(c->text());
    if (const ui::Control* c = item(IDC_SLOT_ANGLE)) h.angle = Vor_String(c->text());
    if (const ui::Control* c = item(IDC_SLOT_OFFSET)) h.offset = Vor_String(c->text());
    if (const ui::Control* c = item(IDC_SLOT_CHOICE); c && c->curSel() >= 0)
        h.appliesTo = slotAppliesTo(c->curSel());
}

void DlgMacroBoltAdvanced::slotsChanged() {
    ui::Control* combo = item(IDC_SLOTS);
    if (!combo || m_shownSlot < 0) return;
    // another entry chosen: the one shown keeps what was typed, then the new one is shown
    const int chosen = combo->curSel();
    if (chosen >= 0 && chosen != m_shownSlot && chosen < data.slottedHoles.length()) {
        storeSlot();
        loadSlot(chosen);
    }
    // a check mark switched in the list is the entry's active flag
    for (int i = 0; i < data.slottedHoles.length() && i < combo->count(); ++i) {
        const bool active = combo->itemChecked(i);
        if (data.slottedHoles[i].active == active && i != m_shownSlot) continue;
        data.slottedHoles[i].active = active;
        if (i == m_shownSlot) {
            if (ui::Control* c = item(IDC_SLOT_ACTIVE))
                c->setCheck(active ? ui::BST_CHECKED : ui::BST_UNCHECKED);
            enableSlotFields(active);
        }
    }
}

bool DlgMacroBoltAdvanced::onCommand(int id, int code) {
    switch (id) {
    case IDC_ASSEMBLY:
        if (code != ui::CBN_SELCHANGE) return false;
        {
            // another assembly offers its own diameters; the chosen one stays when it is offered
            const Vor_String diameter = chosenText(item(IDC_DIAMETER), data.diameter);
            fillDiameters(chosenText(item(IDC_ASSEMBLY), data.assembly), diameter, false);
        }
        return true;
    case IDC_TAPPED:
    case IDC_REVERSE:
    case IDC_COUNTERSUNK:
    case IDC_WORKSHOP:
    case IDC_SPECIAL:
        if (code != ui::BN_CLICKED) return false;
        triBoxClicked(id);
        return true;
    case IDC_SLOTS:
        if (code != ui::CBN_SELCHANGE) return false;
        slotsChanged();
        return true;
    case IDC_SLOT_ACTIVE:
        if (code != ui::BN_CLICKED || m_shownSlot < 0) return false;
        {
            const ui::Control* c = item(IDC_SLOT_ACTIVE);
            const bool active = c && c->checkState() == ui::BST_CHECKED;
            data.slottedHoles[m_shownSlot].active = active;
            if (ui::Control* combo = item(IDC_SLOTS)) combo->setItemChecked(m_shownSlot, active);
            enableSlotFields(active);
        }
        return true;
    default:
        return false;
    }
}

void DlgMacroBoltAdvanced::store() {
    data.assembly = chosenText(item(IDC_ASSEMBLY), data.assembly);
    data.diameter = chosenText(item(IDC_DIAMETER), data.diameter);
    if (const ui::Control* c = item(IDC_PENETRATION)) data.penetrationLength = Vor_String(c->text());
    if (const ui::Control* c = item(IDC_ADDED)) data.addedLength = Vor_String(c->text());
    if (const ui::Control* c = item(IDC_TOLERANCE)) data.holeTolerance = Vor_String(c->text());
    for (const TriBox& box : kTriBoxes) {
        if (box.id == IDC_SPECIAL && !data.specialPresent) continue;
        if (const ui::Control* c = item(box.id))
            data.*box.value = storedTriState(data.*box.value, c->checkState());
    }
    m_grid.SetEditMode(false); // an open cell edit counts
    Vor_StringArray columns;
    for (int col = 1; col <= kHoleColumns; ++col) {
        Vor_String text;
        m_grid.getText(col, 1, kTextData, text);
        columns.append(text);
    }
    data.setHoleColumns(columns);
    for (const FlagBox& box : kFlagBoxes) {
        if (data.*box.value == -1) continue; // not applicable stays so
        if (const ui::Control* c = item(box.id)) data.*box.value = c->checkState() == ui::BST_CHECKED ? 1 : 0;
    }
    storeSlot();
}

void DlgMacroBoltAdvanced::onOK() {
    store();
    const int invalid = firstInvalidSlottedHole(data);
    if (invalid >= 0) {
        // texts: dialString 9002
        ui::messageBox(invalidSlottedHoleMessage(invalid).str(), dialString(9002).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    endDialog(ui::IDOK);
}

namespace {
const bool registered = registerJsonLauncher(
    "StartDlgMacroBoltAdvanced",
    [](const nlohmann::json& in, nlohmann::json& out) {
        MacroData macros;
        const int tab = macrosForLauncher(in, macros, [](const MacroTabData& t) { return t.hasBolts; });
        out["result"] = editBoltsOfTab(macros, tab, -1);
        out["bolts"] = macros.tabs[tab].bolts;
        out["data"] = macros;
    },
    R"({"macros": ["M1", "M2"], "tab": "Bolts"})");
} // namespace
