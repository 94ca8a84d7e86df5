#include "macro/ui/DlgEditConstraints.h"
#include "macro/ui/DlgEditConstraintsFlexPage.h"
#include "macro/ui/DlgEditConstraintsListPage.h"
#include "macro/ui/DlgEditConstraintsPalettePage.h"
#include "macro/ui/DlgEditConstraintsVarsPage.h"

#include "frame/AskText.h"
#include "frame/CatalogueTexts.h"
#include "frame/ClosedDialogs.h"
#include "frame/CommandTable.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/UnloadHandlers.h"
#include "frame/WindowPlacement.h"
#include "macro/MacroSettingsHook.h"

#include <cad/Drawing.h>
#include <cad/Pick.h>
#include <cad/aced.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <ui/Agent.h>
#include <ui/Control.h>
#include <ui/Timer.h>

#include <memory>
#include <sstream>
#include <vector>

DlgEditConstraints* gDlgEditConstraints = nullptr;

namespace {
constexpr const char* kPlacement = "DLG_EDIT_MACRO";
constexpr int kPageCaptions[4] = {873, 874, 875, 876};

Vor_String cellText(const Vor_Spread& grid, int col, int row) {
    Vor_String s;
    grid.getText(col, row, kTextData, s);
    return s;
}

} // namespace

bool ConstraintEditorPage::onCommand(int id, int code) {
    m_editor.pageCommand(m_index, id, code);
    return true;
}

void ConstraintListPage::activeCellChanged(sheet::SpreadControl&, sheet::CellPos from, sheet::CellPos to) {
    if (from.row != to.row) m_editor.constraintChosen(to.row - 1);
}

void ConstraintListPage::rowMoved(sheet::SpreadControl&, int from, int to) {
    m_editor.constraintsMoved(from - 1, to - 1);
}

void ConstraintListPage::rightClick(sheet::SpreadControl&, int, int row, int x, int y) {
    if (row >= 1) m_editor.constraintChosen(row - 1);
    m_editor.constraintMenu(x, y);
}

void ConstraintFlexPage::activeCellChanged(sheet::SpreadControl&, sheet::CellPos from, sheet::CellPos to) {
    if (from.row != to.row) m_editor.flexibilityChosen(to.row - 1);
}

void ConstraintFlexPage::dataChanged(sheet::SpreadControl&, int col, int row) {
    m_editor.flexibilityChanged(col, row - 1);
}

void ConstraintFlexPage::checkBoxToggled(sheet::SpreadControl&, int, int row, bool on) {
    m_editor.flexibilityToggled(row - 1, on);
}

void ConstraintVarsPage::dataChanged(sheet::SpreadControl&, int, int) {
    m_editor.variablesEdited();
}

void ConstraintVarsPage::comboSelected(sheet::SpreadControl&, int, int, int) {
    m_editor.variablesEdited();
}

DlgEditConstraints::DlgEditConstraints(ui::Window* parent)
    : ui::Dialog(IDD, parent) {}

DlgEditConstraints::~DlgEditConstraints() {
    m_tabbed.destroy();
}

bool DlgEditConstraints::onInitDialog() {
    setWindowText(dialString(869).str());
    const std::pair<int, int> texts[] = {
        {IDC_SELECT, 870}, {IDC_RENAME, 871}, {IDC_SETTINGS, 872}, {ui::IDOK, 285}};
    setCatalogueTexts(*this, texts);
    const struct {
        int id, picture, tip;
        bool icon;
    } buttons[4] = {{IDC_SELECT, 217, 865, false},
                    {IDC_ADD_MODULE, 212, 866, true},
                    {IDC_REMOVE_MODULE, 206, 867, true},
                    {IDC_ZOOM, 234, 868, false}};
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        if (!m_buttons[i].subclassDlgItem(buttons[i].id, this)) continue;
        if (buttons[i].icon)
            m_buttons[i].setIcon(buttons[i].picture);
        else
            m_buttons[i].setBitmaps(buttons[i].picture, ui::rgb(192, 192, 192));
        m_buttons[i].setTooltipText(dialString(buttons[i].tip));
    }
    fillModules();

    m_tabbed.attach(this, IDC_TABS);
    m_tabbed.setBeforeShow([this](int left, int next) {
        if (m_filling) return;
        leavePage(left);
        model.tab = next;
    });
    m_pages[0] = std::make_unique<ConstraintListPage>(*this);
    m_pages[1] = std::make_unique<ConstraintFlexPage>(*this);
    m_pages[2] = std::make_unique<ConstraintVarsPage>(*this);
    m_pages[3] = std::make_unique<ConstraintPalettePage>(*this);
    for (int p = 0; p < 4; ++p)
        m_tabbed.addPage(*m_pages[p], dialString(kPageCaptions[p]).str());

    // constraints page
    ui::Dialog& constr = *m_pages[0];
    const std::pair<int, int> constrTexts[] = {
        {ConstraintListPage::IDC_GROUP, 879},       {ConstraintListPage::IDC_NAME_LABEL, 221},
        {ConstraintListPage::IDC_VALUE_LABEL, 880}, {ConstraintListPage::IDC_CUT_LABEL, 228},
        {ConstraintListPage::IDC_FIXED, 881},       {ConstraintListPage::IDC_REVERSED, 1328},
        {ConstraintListPage::IDC_EDIT_CUT, 862}};
    setCatalogueTexts(constr, constrTexts);
    if (m_deleteButton.subclassDlgItem(ConstraintListPage::IDC_DELETE, &constr)) {
        m_deleteButton.setIcon(206);
        m_deleteButton.setTooltipText(dialString(882));
    }
    for (std::size_t k = 0; k < kChoiceButtons.size(); ++k)
        if (m_choices[k].subclassDlgItem(kChoiceButtons[k], &constr)) {
            m_choices[k].setTooltipText(dialString(10758) + " " + Vor_String(std::to_string(k + 1)));
            m_choices[k].setFlat(true);
        }
    m_constrGrid.attach(&constr, ConstraintListPage::IDC_GRID);
    m_constrGrid.setStandardLook(1);
    m_constrGrid.setOwnerListener(m_pages[0].get());
    // flexibility page
    m_flexGrid.attach(m_pages[1].get(), ConstraintFlexPage::IDC_GRID);
    m_flexGrid.setStandardLook(1);
    m_flexGrid.SetAppearance(1);
    m_flexGrid.setOwnerListener(m_pages[1].get());
    // variables page
    ui::Dialog& vars = *m_pages[2];
    const std::pair<int, int> varTexts[] = {{ConstraintVarsPage::IDC_GROUP, 875},
                                            {ConstraintVarsPage::IDC_GLOBALS_GROUP, 898},
                                            {ConstraintVarsPage::IDC_EQUATIONS_GROUP, 899}};
    setCatalogueTexts(vars, varTexts);
    if (m_addRow.subclassDlgItem(ConstraintVarsPage::IDC_ADD_ROW, &vars)) {
        m_addRow.setIcon(212);
        m_addRow.setTooltipText(dialString(896));
    }
    if (m_deleteRow.subclassDlgItem(ConstraintVarsPage::IDC_DELETE_ROW, &vars)) {
        m_deleteRow.setIcon(206);
        m_deleteRow.setTooltipText(dialString(897));
    }
    m_varsGrid.attach(&vars, ConstraintVarsPage::IDC_GRID);
    m_varsGrid.setStandardLook(1);
    m_varsGrid.setOwnerListener(m_pages[2].get());
    // palette page
    for (int k = 0; k < kConstraintCommands; ++k) {
        CButtonST& b = m_palette[k];
        if (!b.subclassDlgItem(kFirstPaletteButton + k, m_pages[3].get())) continue;
        if (palettePicture(k)) b.setBitmaps(palettePicture(k), ui::rgb(192, 192, 192));
        if (paletteTooltip(k)) b.setTooltipText(dialString(paletteTooltip(k)));
        if (ui::Control* c = m_pages[3]->item(kFirstPaletteButton + k))
            c->showWindow(paletteButtonShown(k) ? ui::SW_SHOW : ui::SW_HIDE);
    }

    m_tabbed.place();
    setMinTrackSize({300, 380});
    restoreWindowPlacement(this, kPlacement, true, 300, 380);
    model.tab = -1;
    showPage(kTabConstraints);
    return true;
}

void DlgEditConstraints::onSize(int, int) {
    m_tabbed.place();
}

void DlgEditConstraints::onDestroy() {
    model.storeChosen();
    leavePage(model.tab);
    collectVariables();
    saveWindowPlacement(this, kPlacement);
    m_tabbed.destroy(); // the pages are child windows: they go before this one
}

void DlgEditConstraints::closeProcedure(int code) {
    if (modeless && gDlgEditConstraints == this) {
        endConstraintEditor();
        return;
    }
    if (isModal()) {
        endDialog(code);
        return;
    }
    destroyWindow();
}

// ---- pages

void DlgEditConstraints::leavePage(int tab) {
    if (tab == kTabConstraints) {
        model.storeChosen();
        UnHighlightConstraints(model.data);
        acedUpdateDisplay();
    } else if (tab == kTabFlexibility) {
        const MacroConstraintModule* m = model.data.currentModule();
        if (m && model.chosenFlexRow >= 0 && model.chosenFlexRow < m->flexibility.length()) {
            UnHighlightObject(cad::curDrawing().findByName(m->flexibility[model.chosenFlexRow].object.str()));
            acedUpdateDisplay();
        }
    } else if (tab == kTabVariables) {
        collectVariables();
    }
}

void DlgEditConstraints::enterPage(int tab) {
    switch (tab) {
    case kTabConstraints:
        fillConstraints();
        break;
    case kTabFlexibility:
        GetGeomFlexibility(model.data);
        fillFlexibility();
        flexibilityChosen(model.chosenFlexRow);
        break;
    case kTabVariables:
        fillVariables();
        break;
    default:
        break;
    }
}

void DlgEditConstraints::showPage(int tab) {
    if (tab < 0 || tab > 3) return;
    if (model.tab != tab) leavePage(model.tab);
    model.tab = tab;
    m_filling = true;
    m_tabbed.show(tab);
    m_filling = false;
    enterPage(tab);
}

void DlgEditConstraints::refillAll() {
    collectVariables();
    fillModules();
    fillConstraints();
    GetGeomFlexibility(model.data);
    fillFlexibility();
    fillVariables();
}

void DlgEditConstraints::fillModules() {
    ui::Control* combo = item(IDC_MODULES);
    if (!combo) return;
    int current = -1;
    const Vor_StringArray names = model.moduleNames(&current);
    combo->resetContent();
    for (const Vor_String& n : names)
        combo->addString(n.str());
    combo->setCurSel(current);
}

void DlgEditConstraints::fillConstraints() {
    if (!m_constrGrid.attached()) return;
    const MacroConstraintModule* m = model.data.currentModule();
    const int rows = m ? m->constraints.length() : 0;
    int objects = 2;
    for (int r = 0; r < rows; ++r)
        objects = std::max(objects, m->constraints[r].objects.length());
    m_filling = true;
    m_constrGrid.setMaxCols(2 + objects);
    m_constrGrid.setMaxRows(rows);
    m_constrGrid.setText(1, 0, dialString(87));
    m_constrGrid.setText(2, 0, dialString(883));
    for (int k = 0; k < objects; ++k)
        m_constrGrid.setText(3 + k, 0, string(2333) + " " + Vor_String(std::to_string(k + 1)));
    for (int r = 0; r < rows; ++r) {
        const MacroConstraint& c = m->constraints[r];
        m_constrGrid.setText(1, r + 1, c.name);
        m_constrGrid.setText(2, r + 1, constraintKindText(c.kind));
        for (int k = 0; k < objects; ++k)
            m_constrGrid.setText(3 + k, r + 1, k < c.objects.length() ? c.objects[k] : Vor_String());
    }
    if (rows > 0) m_constrGrid.SetLockRange(1, 1, 2 + objects, rows, true);
    for (int col = 1; col <= 2 + objects; ++col)
        m_constrGrid.fitColumn(col);
    if (model.chosenRow >= rows) model.chosenRow = rows - 1;
    if (model.chosenRow >= 0) m_constrGrid.SetActiveCell(1, model.chosenRow + 1);
    m_filling = false;
    showChosenConstraint();
}

void DlgEditConstraints::showChosenConstraint() {
    ui::Dialog* page = m_pages[0].get();
    if (!page) return;
    const MacroConstraintModule* m = model.data.currentModule();
    const MacroConstraint* c = m && model.chosenRow >= 0 && model.chosenRow < m->constraints.length()
                                   ? &m->constraints[model.chosenRow]
                                   : nullptr;
    auto show = [page](int id, bool on) {
        if (ui::Control* ctl = page->item(id)) ctl->showWindow(on ? ui::SW_SHOW : ui::SW_HIDE);
    };
    auto enable = [page](int id, bool on) {
        if (ui::Control* ctl = page->item(id)) ctl->enableWindow(on);
    };
    m_shownName = c ? c->name : Vor_String();
    if (ui::Control* e = page->item(ConstraintListPage::IDC_NAME)) e->setText(m_shownName.str());
    if (ui::Control* e = page->item(ConstraintListPage::IDC_VALUE)) e->setText(c ? c->value.str() : "");
    const bool value = c && c->hasValue();
    const bool cut = c && c->kind == kConstrCut;
    show(ConstraintListPage::IDC_VALUE, value);
    show(ConstraintListPage::IDC_VALUE_LABEL, value);
    show(ConstraintListPage::IDC_FIXED, value);
    show(ConstraintListPage::IDC_REVERSED, value);
    show(ConstraintListPage::IDC_CUT, cut);
    show(ConstraintListPage::IDC_CUT_LABEL, cut);
    show(ConstraintListPage::IDC_EDIT_CUT, cut);
    enable(ConstraintListPage::IDC_NAME, c != nullptr);
    enable(ConstraintListPage::IDC_DELETE, c != nullptr);
    if (ui::Control* e = page->item(ConstraintListPage::IDC_CUT)) {
        e->resetContent();
        if (cut) e->setCurSel(e->addString(c->cutName.str()));
    }
    if (ui::Control* e = page->item(ConstraintListPage::IDC_FIXED))
        e->setCheck(c && c->fixed ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    if (ui::Control* e = page->item(ConstraintListPage::IDC_REVERSED))
        e->setCheck(c && c->reversed ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    enable(ConstraintListPage::IDC_REVERSED, c && c->fixed);
    for (std::size_t k = 0; k < kChoiceButtons.size(); ++k)
        if (ui::Control* b = page->item(kChoiceButtons[k])) {
            b->enableWindow(c != nullptr);
            b->setCheck(c && c->choice1 == static_cast<int>(k) + 1 ? ui::BST_CHECKED : ui::BST_UNCHECKED);
        }
}

void DlgEditConstraints::fillFlexibility() {
    if (!m_flexGrid.attached()) return;
    const MacroConstraintModule* m = model.data.currentModule();
    const int rows = m ? m->flexibility.length() : 0;
    m_filling = true;
    m_flexGrid.setMaxCols(kFlexCols);
    m_flexGrid.setMaxRows(rows);
    const int headings[kFlexCols] = {889, 890, 891, 10750, 892};
    for (int col = 1; col <= kFlexCols; ++col)
        m_flexGrid.setText(col, 0, dialString(headings[col - 1]));
    for (int r = 0; r < rows; ++r) {
        const MacroGeomFlex& f = m->flexibility[r];
        m_flexGrid.setText(kFlexModule, r + 1, m->name);
        m_flexGrid.setText(kFlexObject, r + 1, f.object);
        m_flexGrid.setText(kFlexTranslate, r + 1, Vor_String(std::to_string(f.translate)));
        m_flexGrid.setText(kFlexRotate, r + 1, Vor_String(std::to_string(f.rotate)));
        m_flexGrid.setCheckBoxCell(kFlexConstrained, r + 1, false);
        m_flexGrid.setCheck(kFlexConstrained, r + 1, f.constrained);
    }
    if (rows > 0) m_flexGrid.SetLockRange(kFlexModule, 1, kFlexObject, rows, true);
    for (int col = 1; col <= kFlexCols; ++col)
        m_flexGrid.fitColumn(col);
    if (model.chosenFlexRow >= rows) model.chosenFlexRow = -1;
    m_filling = false;
}

void DlgEditConstraints::fillVariables() {
    if (!m_varsGrid.attached()) return;
    const Vor_Array<MacroVariable>& vars = model.shownVariables();
    m_filling = true;
    m_varsGrid.setMaxCols(3);
    m_varsGrid.setMaxRows(vars.length());
    m_varsGrid.setText(1, 0, dialString(87));
    m_varsGrid.setText(2, 0, dialString(86));
    m_varsGrid.setText(3, 0, dialString(101));
    for (int r = 0; r < vars.length(); ++r) {
        m_varsGrid.setText(1, r + 1, vars[r].name);
        m_varsGrid.setText(2, r + 1, vars[r].value);
        m_varsGrid.setText(3, r + 1, vars[r].type);
    }
    if (vars.length() > 0) m_varsGrid.setColumnCombo(3, variableTypeTexts(), false);
    if (ui::Control* e = m_pages[2] ? m_pages[2]->item(ConstraintVarsPage::IDC_EQUATIONS) : nullptr) {
        std::string text;
        for (const Vor_String& eq : model.shownEquations())
            text += (text.empty() ? "" : "\n") + eq.str();
        e->setText(text);
    }
    m_filling = false;
    m_varsTyped = false;
}

void DlgEditConstraints::collectVariables() {
    if (m_varsTyped && m_varsGrid.attached()) {
        Vor_Array<MacroVariable> vars;
        for (int r = 1; r <= m_varsGrid.maxRows(); ++r) {
            MacroVariable v{cellText(m_varsGrid, 1, r), cellText(m_varsGrid, 3, r),
                            cellText(m_varsGrid, 2, r)};
            if (v.name.isEmpty() && v.type.isEmpty() && v.value.isEmpty()) continue; // an unused new row
            vars.append(v);
        }
        Vor_StringArray equations;
        if (ui::Control* e = m_pages[2]->item(ConstraintVarsPage::IDC_EQUATIONS)) {
            std::istringstream lines(e->text());
            for (std::string line; std::getline(lines, line);)
                if (line.find_first_not_of(" \t\r") != std::string::npos) equations.append(Vor_String(line));
        }
        model.typeVariables(vars, equations);
        m_varsTyped = false;
    }
    Vor_String error;
    if (!model.storeVariables(&error)) acutPrintf("%s\n", error.c_str());
}

// ---- commands

void DlgEditConstraints::hideForDrawing() {
    BeginEditorCommand(this);
}

void DlgEditConstraints::showAfterDrawing() {
    CompleteEditorCommand(this, true);
}

void DlgEditConstraints::paletteCommand(int command) {
    collectVariables();
    model.storeChosen();
    hideForDrawing();
    const ConstraintEditorModel::AfterCommand after = model.paletteCommand(command);
    showAfterDrawing();
    switch (after) {
    case ConstraintEditorModel::AfterCommand::ShowConstraints:
        showPage(kTabConstraints);
        refillAll();
        model.highlightChosen();
        break;
    case ConstraintEditorModel::AfterCommand::ShowNewModule:
        fillModules();
        if (ui::Control* combo = item(IDC_MODULES)) switchToModule(combo->count() - 1);
        break;
    default:
        break;
    }
}

void DlgEditConstraints::switchToModule(int index) {
    ui::Control* combo = item(IDC_MODULES);
    if (!combo || index < 0 || index >= combo->count()) return;
    leavePage(model.tab);
    collectVariables();
    if (!model.switchModule(Vor_String(combo->itemText(index)))) return;
    combo->setCurSel(index);
    refillAll(); // every list, the page shown among them
}

void DlgEditConstraints::renameModule() {
    collectVariables();
    model.storeChosen();
    const MacroConstraintModule* m = model.data.currentModule();
    if (!m) return;
    TextQuestion q{dialString(877), dialString(878), m->name, dialString(1), dialString(2)};
    if (!askText(this, q)) return;
    if (RenameModule(model.data, q.text)) fillModules();
}

void DlgEditConstraints::removeModule() {
    const MacroConstraintModule* m = model.data.currentModule();
    if (!m || !RemoveModule(model.data, m->name)) return;
    fillModules();
    ui::Control* combo = item(IDC_MODULES);
    switchToModule(combo ? std::max(0, combo->curSel()) : 0);
}

void DlgEditConstraints::selectOtherMacro() {
    leavePage(model.tab);
    collectVariables();
    hideForDrawing();
    const bool changed = SelectOtherMacro(model.data);
    showAfterDrawing();
    if (!changed) return;
    model.dropTypedVariables();
    model.chosenRow = model.chosenFlexRow = -1;
    m_varsTyped = false;
    fillModules();
    refillAll();
    enterPage(model.tab);
}

void DlgEditConstraints::zoom() {
    if (zoomBusy) return;
    zoomBusy = true;
    hideForDrawing();
    ZoomCommand(model.data);
    showAfterDrawing();
    zoomBusy = false;
}

bool DlgEditConstraints::onCommand(int id, int code) {
    if (m_tabbed.onCommand(id, code)) {
        enterPage(m_tabbed.current());
        return true;
    }
    switch (id) {
    case IDC_SELECT:
        selectOtherMacro();
        return true;
    case IDC_MODULES:
        if (code == ui::CBN_SELCHANGE)
            if (ui::Control* combo = item(IDC_MODULES)) switchToModule(combo->curSel());
        return true;
    case IDC_ADD_MODULE:
        paletteCommand(kCommandAddModule);
        return true;
    case IDC_RENAME:
        renameModule();
        return true;
    case IDC_REMOVE_MODULE:
        removeModule();
        return true;
    case IDC_SETTINGS:
        collectVariables();
        runMacroSettingsDialog(model.data.macro);
        return true;
    case IDC_ZOOM:
        zoom();
        return true;
    default:
        return false;
    }
}

void DlgEditConstraints::pageCommand(int page, int id, int code) {
    if (m_filling) return;
    if (page == kTabPalette) {
        if (code == ui::BN_CLICKED && id >= kFirstPaletteButton &&
            id < kFirstPaletteButton + kConstraintCommands)
            paletteCommand(id - kFirstPaletteButton);
        return;
    }
    if (page == kTabVariables) {
        if (id == ConstraintVarsPage::IDC_EQUATIONS && code == ui::EN_CHANGE) m_varsTyped = true;
        if (id == ConstraintVarsPage::IDC_ADD_ROW && code == ui::BN_CLICKED) {
            m_varsGrid.setMaxRows(m_varsGrid.maxRows() + 1);
            m_varsGrid.setColumnCombo(3, variableTypeTexts(), false);
            m_varsGrid.SetActiveCell(1, m_varsGrid.maxRows());
            m_varsTyped = true;
        }
        if (id == ConstraintVarsPage::IDC_DELETE_ROW && code == ui::BN_CLICKED) {
            sheet::SS_COORD col = 0, row = 0;
            if (m_varsGrid.GetActiveCell(col, row) && row >= 1 && row <= m_varsGrid.maxRows()) {
                m_varsGrid.DelRow(row);
                m_varsGrid.setMaxRows(m_varsGrid.maxRows() - 1);
                m_varsTyped = true;
            }
        }
        return;
    }
    if (page != kTabConstraints) return;
    MacroConstraintModule* m = model.data.currentModule();
    MacroConstraint* c = m && model.chosenRow >= 0 && model.chosenRow < m->constraints.length()
                             ? &m->constraints[model.chosenRow]
                             : nullptr;
    switch (id) {
    case ConstraintListPage::IDC_NAME:
        if (code == ui::EN_KILLFOCUS) checkNameEdit();
        return;
    case ConstraintListPage::IDC_VALUE:
        if (code == ui::EN_KILLFOCUS) storeValueEdit();
        return;
    case ConstraintListPage::IDC_FIXED:
    case ConstraintListPage::IDC_REVERSED:
        if (code != ui::BN_CLICKED || !c) return;
        if (ui::Control* b = m_pages[0]->item(id))
            (id == ConstraintListPage::IDC_FIXED ? c->fixed : c->reversed) =
                b->checkState() == ui::BST_CHECKED;
        if (!c->fixed) c->reversed = false;
        model.storeChosen();
        showChosenConstraint();
        return;
    case ConstraintListPage::IDC_EDIT_CUT:
        if (c) StartEditMacroCutDlg(model.data, model.chosenRow);
        return;
    case ConstraintListPage::IDC_DELETE:
        if (model.deleteChosen()) fillConstraints();
        return;
    default:
        for (std::size_t k = 0; k < kChoiceButtons.size(); ++k)
            if (id == kChoiceButtons[k] && code == ui::BN_CLICKED && c) {
                c->choice1 = static_cast<int>(k) + 1;
                model.storeChosen();
                showChosenConstraint();
            }
        return;
    }
}

void DlgEditConstraints::checkNameEdit() {
    MacroConstraintModule* m = model.data.currentModule();
    ui::Control* edit = m_pages[0]->item(ConstraintListPage::IDC_NAME);
    if (!m || !edit || model.chosenRow < 0 || model.chosenRow >= m->constraints.length()) return;
    const Vor_String typed(edit->text());
    if (typed == m_shownName) return;
    const NameRefusal refusal = model.checkVariableName(typed, model.chosenRow);
    if (!refusal.caption.isEmpty()) {
        ui::messageBox(refusal.text.str(), refusal.caption.str(), refusal.flags, this);
        edit->setText(m_shownName.str()); // the old name stays
        return;
    }
    m->constraints[model.chosenRow].name = typed;
    m_shownName = typed;
    model.storeChosen();
    fillConstraints();
}

void DlgEditConstraints::storeValueEdit() {
    MacroConstraintModule* m = model.data.currentModule();
    ui::Control* edit = m_pages[0]->item(ConstraintListPage::IDC_VALUE);
    if (!m || !edit || model.chosenRow < 0 || model.chosenRow >= m->constraints.length()) return;
    MacroConstraint& c = m->constraints[model.chosenRow];
    if (c.value.str() == edit->text()) return;
    c.value = Vor_String(edit->text());
    model.storeChosen();
}

void DlgEditConstraints::constraintChosen(int row) {
    if (m_filling) return;
    const MacroConstraintModule* m = model.data.currentModule();
    if (!m || row < 0 || row >= m->constraints.length() || row == model.chosenRow) return;
    model.storeChosen();
    model.chosenRow = row;
    showChosenConstraint();
    model.highlightChosen();
}

void DlgEditConstraints::constraintsMoved(int from, int to) {
    model.storeChosen();
    if (SortConstraints(model.data, from, to)) model.chosenRow = to;
    fillConstraints();
}

void DlgEditConstraints::constraintMenu(int screenX, int screenY) {
    ConstraintMenu menu;
    if (!model.chosenMenu(menu)) return;
    ui::PopupRequest request;
    request.screenPos = {screenX, screenY};
    for (const ConstraintMenuItem& it : constraintMenuItems(menu)) {
        request.ids.push_back(it.id);
        request.texts.push_back((it.checked ? "\u2713 " : "") + it.text.str());
        request.enabled.push_back(true);
    }
    const int chosen = ui::agent().popupMenu(request, this);
    const int at = constraintMenuPosition(chosen);
    if (at < 0) return;
    hideForDrawing();
    const bool done = model.menuAction(menu, at);
    showAfterDrawing();
    if (done) {
        fillConstraints();
        model.highlightChosen();
    }
}

void DlgEditConstraints::flexibilityChosen(int row) {
    if (m_filling) return;
    const MacroConstraintModule* m = model.data.currentModule();
    if (!m) return;
    const auto idOf = [m](int r) { return cad::curDrawing().findByName(m->flexibility[r].object.str()); };
    if (model.chosenFlexRow >= 0 && model.chosenFlexRow < m->flexibility.length())
        UnHighlightObject(idOf(model.chosenFlexRow));
    model.chosenFlexRow = row >= 0 && row < m->flexibility.length() ? row : -1;
    if (model.chosenFlexRow >= 0) HighlightObject(idOf(model.chosenFlexRow));
    acedUpdateDisplay();
}

void DlgEditConstraints::flexibilityChanged(int col, int row) {
    if (m_filling || (col != kFlexTranslate && col != kFlexRotate)) return;
    Vor_String error;
    if (!model.setFlexibility(row, col == kFlexTranslate ? 0 : 1, cellText(m_flexGrid, col, row + 1), &error))
        ui::messageBox(error.str(), dialString(874).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
    fillFlexibility();
}

void DlgEditConstraints::flexibilityToggled(int row, bool on) {
    if (m_filling) return;
    UpdateConstrGeom(model.data, row, on);
    fillFlexibility();
}

// ---- launchers

bool StartDlgEditConstrModal(EditConstrData& data) {
    ModuleResourceScope scope;
    DlgEditConstraints dlg(nullptr);
    dlg.model.data = data;
    return dlg.doModal() == ui::IDOK;
}

bool StartDlgEditConstraints(EditConstrData& data) {
    ModuleResourceScope scope;
    if (!dialogHandlersMayRun()) deleteClosedConstraintEditors();
    if (gDlgEditConstraints) {
        // one editor at a time: the open one comes to the front, on its own record
        gDlgEditConstraints->showWindow(ui::SW_SHOW);
        gDlgEditConstraints->setFocus();
        acutPrintf("%s\n", dialString(10751).c_str());
        return true;
    }
    auto dlg = std::make_unique<DlgEditConstraints>(ui::Dialog::defaultParent());
    dlg->model.data = data;
    dlg->modeless = true;
    if (!dlg->create(nullptr) || !dlg->exists()) return true;
    dlg->showWindow(ui::SW_SHOW);
    gDlgEditConstraints = dlg.release();
    if (ui::Window* main = ui::Dialog::defaultParent()) main->setFocus();
    return true;
}

void endConstraintEditor() {
    DlgEditConstraints* dlg = gDlgEditConstraints;
    if (!dlg) return;
    dlg->destroyWindow();
    if (dlg->exists()) {
        // the window stays, and so does the editor: forgetting it would leave a window no one ends
        acutPrintf("%s\n", dialString(10752).c_str());
        acedPostCommandPrompt();
        return;
    }
    gDlgEditConstraints = nullptr;
    deleteDialogLater(dlg); // its own handler may be running on it still
    acedPostCommandPrompt();
}

void deleteClosedConstraintEditors() {
    deleteClosedDialogs();
}

int closedConstraintEditors() {
    return closedDialogCount();
}

namespace {
const bool unloadRegistered =
    registerUnloadHandler(UnloadStep::EndDlgEditConstraints, "constraint editor", [] {
        endConstraintEditor();
        if (!dialogHandlersMayRun()) deleteClosedConstraintEditors();
    });

bool constraintsOf(const nlohmann::json& in, EditConstrData& data, nlohmann::json& out) {
    const std::string name = in.value("macro", std::string());
    const AcDbObjectId id = cad::curDrawing().findByName(name);
    Vor_String error;
    if (name.empty() || !GetEditConstrData(id, data, &error)) {
        out["result"] = false;
        out["error"] = error.isEmpty() ? "no macro \"" + name + "\"" : error.str();
        return false;
    }
    return true;
}

const bool startRegistered = registerJsonLauncher(
    "StartDlgEditConstraints",
    [](const nlohmann::json& in, nlohmann::json& out) {
        EditConstrData data;
        if (!constraintsOf(in, data, out)) return;
        out["result"] = StartDlgEditConstraints(data);
    },
    R"({"macro": "M1"})");

const bool modalRegistered = registerJsonLauncher(
    "StartDlgEditConstrModal",
    [](const nlohmann::json& in, nlohmann::json& out) {
        EditConstrData data;
        if (!constraintsOf(in, data, out)) return;
        out["result"] = StartDlgEditConstrModal(data);
    },
    R"({"macro": "M1"})");

const bool endRegistered = registerJsonLauncher(
    "EndDlgEditConstraints",
    [](const nlohmann::json&, nlohmann::json& out) {
        const bool wasOpen = gDlgEditConstraints != nullptr;
        EndDlgEditConstraints();
        out["result"] = wasOpen && gDlgEditConstraints == nullptr;
    },
    "{}");

// The command a detailer types: pick a macro in the drawing, and its constraint editor opens.
void editConstraintsCommand() {
    cad::PickRequest request;
    request.kind = cad::PickKind::Object;
    request.prompt = dialString(10756).str();
    request.allowed = {cad::EntityKind::MacroGroup};
    const cad::PickResult picked = cad::pick(request);
    if (!picked.ok || picked.ids.empty()) return;
    EditConstrData data;
    Vor_String error;
    if (!GetEditConstrData(picked.ids.front(), data, &error)) {
        acutPrintf("%s\n", error.c_str());
        return;
    }
    StartDlgEditConstraints(data);
}
const bool commandRegistered = registerModuleCommand("CONSTRAINTS", &editConstraintsCommand);
} // namespace
