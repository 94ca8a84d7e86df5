#include "production/ui/DlgDstvPointEdit.h"

#include "frame/AskText.h"
#include "frame/CatalogueTexts.h"

#include <host/Texts.h>
#include <ui/Control.h>

namespace {
// Controls that belong to a rule: without a rule to show they stay disabled.
constexpr int kRuleControls[] = {
    DlgDstvPointEdit::IDC_NAME,      DlgDstvPointEdit::IDC_BY_EXTENT,       DlgDstvPointEdit::IDC_SIDE1,
    DlgDstvPointEdit::IDC_SIDE2,     DlgDstvPointEdit::IDC_BY_INTERSECTION, DlgDstvPointEdit::IDC_START_DIR,
    DlgDstvPointEdit::IDC_MIDDLE,    DlgDstvPointEdit::IDC_PLATE,           DlgDstvPointEdit::IDC_DISTANCE,
    DlgDstvPointEdit::IDC_FULL_HOLE, DlgDstvPointEdit::IDC_THICKNESS_BASED, DlgDstvPointEdit::IDC_SIZE_LABEL,
    DlgDstvPointEdit::IDC_SIZE,      DlgDstvPointEdit::IDC_DELETE_RULE,
};
} // namespace

bool DlgDstvPointEdit::onInitDialog() {
    setWindowText(dialString(844).str());
    const std::pair<int, int> texts[] = {{IDC_RULES_LABEL, 845},
                                         {IDC_PLACE, 846},
                                         {IDC_NAME_LABEL, 221},
                                         {IDC_BY_EXTENT, 847},
                                         {IDC_BY_INTERSECTION, 848},
                                         {IDC_MIDDLE, 849},
                                         {IDC_PLATE_LABEL, 850},
                                         {IDC_DISTANCE_LABEL, 851},
                                         {IDC_FULL_HOLE, 852},
                                         {IDC_THICKNESS_BASED, 853},
                                         {ui::IDOK, 1},
                                         {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    if (ui::Control* c = item(IDC_NEW_RULE)) c->setText("+");
    if (ui::Control* c = item(IDC_DELETE_RULE)) c->setText("-");

    // texts: string 10046-10049
    for (int id : {IDC_SIDE1, IDC_SIDE2, IDC_START_DIR})
        if (ui::Control* c = item(id))
            for (int side = 0; side < 4; ++side)
                c->addString(string(10046 + side).str());
    if (ui::Control* c = item(IDC_PLATE)) {
        const std::string view = string(10157).str();
        c->addString(dialString(854).str());
        c->addString(view + "1");
        c->addString(view + "2");
        c->addString(view + "3 (" + dialString(1496).str() + ")");
        c->addString(view + "4");
    }
    m_current = rules.isEmpty() ? -1 : 0;
    fillRuleList();
    showRule();
    return true;
}

void DlgDstvPointEdit::fillRuleList() {
    ui::Control* c = item(IDC_RULES);
    if (!c) return;
    ui::Control::Silence quiet(*c);
    c->resetContent();
    for (const Vor_DstvPointInfo& r : rules)
        c->addString(r.name().str());
    c->setCurSel(m_current);
}

DstvRuleControls DlgDstvPointEdit::readControls() const {
    auto checked = [this](int id) { return item(id) && item(id)->checkState() == ui::BST_CHECKED; };
    auto index = [this](int id) { return item(id) ? std::max(item(id)->curSel(), 0) : 0; };
    auto text = [this](int id) { return item(id) ? item(id)->text() : std::string(); };
    DstvRuleControls c;
    c.name = text(IDC_NAME);
    c.byExtent = checked(IDC_BY_EXTENT);
    c.side1 = index(IDC_SIDE1);
    c.side2 = index(IDC_SIDE2);
    c.byIntersection = checked(IDC_BY_INTERSECTION);
    c.middle = checked(IDC_MIDDLE);
    c.startDir = index(IDC_START_DIR);
    c.plate = index(IDC_PLATE);
    c.minDistance = text(IDC_DISTANCE);
    c.fullHole = checked(IDC_FULL_HOLE);
    c.thicknessBased = checked(IDC_THICKNESS_BASED);
    c.holeSize = text(IDC_SIZE);
    return c;
}

void DlgDstvPointEdit::showRule() {
    const bool any = m_current >= 0 && m_current < rules.length();
    const DstvRuleControls c = any ? dstvControlsOf(rules[m_current]) : DstvRuleControls{};
    auto check = [this](int id, bool on) {
        if (ui::Control* b = item(id)) b->setCheck(on ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    };
    auto select = [this](int id, int index) {
        if (ui::Control* b = item(id)) b->setCurSel(index);
    };
    auto text = [this](int id, const std::string& t) {
        if (ui::Control* b = item(id)) {
            ui::Control::Silence quiet(*b);
            b->setText(t);
        }
    };
    text(IDC_NAME, any ? c.name : "");
    check(IDC_BY_EXTENT, any && c.byExtent);
    check(IDC_BY_INTERSECTION, any && !c.byExtent && c.byIntersection);
    select(IDC_SIDE1, any ? c.side1 : -1);
    select(IDC_SIDE2, any ? c.side2 : -1);
    check(IDC_MIDDLE, any && c.middle);
    select(IDC_START_DIR, any ? c.startDir : -1);
    select(IDC_PLATE, any ? c.plate : -1);
    text(IDC_DISTANCE, any ? c.minDistance : "");
    check(IDC_FULL_HOLE, any && c.fullHole);
    check(IDC_THICKNESS_BASED, any && c.thicknessBased);
    text(IDC_SIZE, any ? c.holeSize : "");
    for (int id : kRuleControls)
        if (ui::Control* b = item(id)) b->enableWindow(any);
    if (any) {
        // Twice, as the second pass sees the states the first one left.
        applyEnabling();
        applyEnabling();
    }
    updateSizeLabel();
}

void DlgDstvPointEdit::storeRule() {
    if (m_current < 0 || m_current >= rules.length()) return;
    rules[m_current] = dstvRuleOf(readControls());
}

void DlgDstvPointEdit::applyEnabling() {
    if (m_current < 0 || m_current >= rules.length()) return;
    const DstvRuleControls c = readControls();
    const DstvEnabling e = dstvEnabling(c.byExtent, c.byIntersection, c.fullHole);
    const std::pair<int, bool> states[] = {{IDC_SIDE1, e.sides},
                                           {IDC_SIDE2, e.sides},
                                           {IDC_START_DIR, e.intersection},
                                           {IDC_MIDDLE, e.intersection},
                                           {IDC_THICKNESS_BASED, e.thicknessBased},
                                           {IDC_SIZE_LABEL, e.holeSize},
                                           {IDC_SIZE, e.holeSize}};
    for (auto [id, on] : states)
        if (ui::Control* b = item(id)) b->enableWindow(on);
}

void DlgDstvPointEdit::updateSizeLabel() {
    const bool thick =
        item(IDC_THICKNESS_BASED) && item(IDC_THICKNESS_BASED)->checkState() == ui::BST_CHECKED;
    // texts: dialString 859-860
    if (ui::Control* c = item(IDC_SIZE_LABEL)) c->setText(dialString(dstvHoleSizeLabel(thick)).str());
}

void DlgDstvPointEdit::chooseRadio(int id) {
    // The two ways of choosing exclude each other; a rule read from a file with neither keeps
    // neither until the person chooses.
    if (ui::Control* c = item(IDC_BY_EXTENT))
        c->setCheck(id == IDC_BY_EXTENT ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    if (ui::Control* c = item(IDC_BY_INTERSECTION))
        c->setCheck(id == IDC_BY_INTERSECTION ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    applyEnabling();
}

void DlgDstvPointEdit::keepSidesApart(int changed) {
    ui::Control* a = item(changed);
    ui::Control* b = item(changed == IDC_SIDE1 ? IDC_SIDE2 : IDC_SIDE1);
    if (!a || !b || a->curSel() < 0 || b->curSel() < 0) return;
    const int other = keepDstvSidesApart(a->curSel(), b->curSel());
    if (other != b->curSel()) b->setCurSel(other);
}

void DlgDstvPointEdit::newRule() {
    storeRule();
    TextQuestion q{dialString(87), dialString(855), dialString(171), dialString(1), dialString(2)};
    if (!askText(this, q)) {
        fillRuleList();
        return;
    }
    Vor_DstvPointInfo rule;
    rule.setName(q.text);
    const int at = m_current < 0 ? 0 : m_current;
    if (insertDstvRule(rules, at, rule)) m_current = at;
    fillRuleList();
    showRule();
}

void DlgDstvPointEdit::deleteRule() {
    if (m_current < 0 || m_current >= rules.length()) return;
    rules.removeAt(m_current);
    m_current = dstvIndexAfterDelete(m_current, rules.length());
    fillRuleList();
    showRule();
}

bool DlgDstvPointEdit::onCommand(int id, int code) {
    switch (id) {
    case IDC_RULES:
        if (code != ui::CBN_SELCHANGE) return false;
        if (ui::Control* c = item(IDC_RULES); c && c->curSel() >= 0 && c->curSel() != m_current) {
            const int next = c->curSel();
            storeRule();
            m_current = next;
            fillRuleList(); // a renamed rule shows its new name in the list
            showRule();
        }
        return true;
    case IDC_SIDE1:
    case IDC_SIDE2:
        if (code == ui::CBN_SELCHANGE) keepSidesApart(id);
        return code == ui::CBN_SELCHANGE;
    case IDC_BY_EXTENT:
    case IDC_BY_INTERSECTION:
        if (code != ui::BN_CLICKED) return false;
        chooseRadio(id);
        return true;
    case IDC_FULL_HOLE:
        if (code != ui::BN_CLICKED) return false;
        applyEnabling();
        return true;
    case IDC_THICKNESS_BASED:
        if (code != ui::BN_CLICKED) return false;
        updateSizeLabel();
        return true;
    case IDC_NEW_RULE:
        if (code == ui::BN_CLICKED) newRule();
        return true;
    case IDC_DELETE_RULE:
        if (code == ui::BN_CLICKED) deleteRule();
        return true;
    default:
        return false;
    }
}

void DlgDstvPointEdit::onOK() {
    storeRule();
    endDialog(ui::IDOK);
}
