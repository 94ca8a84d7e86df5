#include "production/ui/DlgLevels.h"

#include "frame/AskText.h"
#include "frame/CatalogueTexts.h"
#include "frame/DialogOnCopy.h"
#include "frame/LauncherTable.h"
#include "production/LevelInput.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Agent.h>
#include <ui/Control.h>

bool DlgLevels::onInitDialog() {
    setWindowText(dialString(1478).str());
    // texts: dialString 1473-1474
    const std::pair<int, int> texts[] = {
        {IDC_FRAME, 760},       {IDC_NAME_LABEL, 87},       {IDC_REFERENCE_LABEL, 1473},
        {IDC_VALUE_LABEL, 593}, {IDC_ABSOLUTE_LABEL, 1474}, {ui::IDOK, 1},
        {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    m_add.subclassDlgItem(IDC_ADD, this);
    m_add.setIcon(212);
    m_add.setTooltipText(dialString(131));
    m_delete.subclassDlgItem(IDC_DELETE, this);
    m_delete.setIcon(206);
    m_delete.setTooltipText(dialString(134));
    EnDisCtrl(this, {IDC_NAME, IDC_ABSOLUTE}, false);
    fillLevels();
    showLevel(0);
    return true;
}

void DlgLevels::fillLevels() {
    Vor_StringArray names;
    data.getNames(names);
    FillCombo(this, IDC_LEVELS, names);
}

void DlgLevels::showLevel(int index) {
    Vor_String name, reference;
    double value = 0, absolute = 0;
    if (!data.getLevelData(index, name, reference, value, absolute)) return;
    Vor_StringArray names, others;
    data.getNames(names);
    for (int i = 0; i < names.length(); ++i)
        if (i != index) others.append(names[i]);
    int refIndex = -1;
    if (!others.find(reference, refIndex)) refIndex = -1;
    FillCombo(this, IDC_REFERENCE, others, refIndex);
    if (ui::Control* c = item(IDC_LEVELS)) c->setCurSel(index);
    if (ui::Control* c = item(IDC_NAME)) c->setText(name.str());
    if (ui::Control* c = item(IDC_VALUE)) c->setText(formatLevelValue(value).str());
    if (ui::Control* c = item(IDC_ABSOLUTE)) c->setText(formatLevelValue(absolute).str());
    m_current = index;
    m_currentIsNew = false;
    EnDisCtrl(this, IDC_REFERENCE, false);
}

void DlgLevels::storeLevel() {
    if (m_current < 0) return;
    if (const ui::Control* c = item(IDC_VALUE)) data.updateLevel(m_current, readLevelValue(c->text()));
    if (m_currentIsNew)
        if (const ui::Control* c = item(IDC_REFERENCE)) data.updateLevel(m_current, Vor_String(c->text()));
}

void DlgLevels::addLevel() {
    storeLevel();
    Vor_StringArray names;
    data.getNames(names);
    TextQuestion q{dialString(87), dialString(1475), dialString(171), dialString(1), dialString(2)};
    const auto ask = [&](Vor_String& name) {
        q.text = name;
        if (!askText(this, q)) return false;
        name = q.text;
        return true;
    };
    const auto refuse = [&] {
        ui::messageBox((dialString(857) + ".\n" + dialString(858) + ".").str(), dialString(856).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
    };
    Vor_String name = q.text;
    int index = -1;
    if (!askNewLevelName(names, name, ask, refuse) || !data.addLevel(name, index)) return;
    fillLevels();
    showLevel(index);
    m_currentIsNew = true;
    EnDisCtrl(this, IDC_REFERENCE, true);
}

void DlgLevels::deleteLevel() {
    if (m_current < 0 || !data.deleteLevel(m_current)) return;
    fillLevels();
    showLevel(m_current > 0 ? m_current - 1 : 0);
}

bool DlgLevels::onCommand(int id, int code) {
    switch (id) {
    case IDC_LEVELS:
        if (code != ui::CBN_SELCHANGE) return false;
        if (const ui::Control* c = item(IDC_LEVELS)) {
            const int index = c->curSel();
            storeLevel();
            showLevel(index);
        }
        return true;
    case IDC_REFERENCE:
        // A new level's heights follow its reference at once, so the absolute height shown is true.
        if (code != ui::CBN_SELCHANGE || !m_currentIsNew) return false;
        storeLevel();
        {
            Vor_String name, reference;
            double value = 0, absolute = 0;
            if (data.getLevelData(m_current, name, reference, value, absolute))
                if (ui::Control* c = item(IDC_ABSOLUTE)) c->setText(formatLevelValue(absolute).str());
        }
        return true;
    case IDC_ADD:
        addLevel();
        return true;
    case IDC_DELETE:
        deleteLevel();
        return true;
    default:
        return false;
    }
}

void DlgLevels::onOK() {
    storeLevel();
    endDialog(ui::IDOK);
}

bool StartDlgLevels(KrLevelsDlgData& data) {
    return runDialogOnCopy<DlgLevels>(data);
}

namespace {
const bool registered = registerDataLauncher("StartDlgLevels", &StartDlgLevels,
                                             R"({"levels": [{"name": "wcs", "reference": "", "value": 0},
                   {"name": "Peil 0", "reference": "wcs", "value": 0},
                   {"name": "Fundering", "reference": "Peil 0", "value": -800},
                   {"name": "+3600", "reference": "Peil 0", "value": 3600},
                   {"name": "+7200", "reference": "+3600", "value": 3600},
                   {"name": "Dak", "reference": "+7200", "value": 3950}]})");
} // namespace
