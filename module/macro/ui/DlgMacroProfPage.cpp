#include "macro/ui/DlgMacroProfPage.h"

#include "frame/CatalogueTexts.h"
#include "frame/ModuleResourceScope.h"
#include "library/SectionLists.h"
#include "macro/ProfPlacement.h"
#include "macro/ui/DlgMacroProfAdvanced.h"
#include "macro/ui/DlgMacroProfSegmented.h"

#include <host/Texts.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>

#include <algorithm>

namespace {
// texts: dialString 10554-10561
constexpr int kMargin = 4;
/// The page whose profile details are open: the details dialog's callback reaches its tab.
DlgMacroProfPage* gAdvancedPage = nullptr;

const int kPageIds[] = {DlgMacroProfPage::IDC_GROUP_BOX,
                        DlgMacroProfPage::IDC_GROUP_LABEL,
                        DlgMacroProfPage::IDC_GROUP,
                        DlgMacroProfPage::IDC_SECTION_LABEL,
                        DlgMacroProfPage::IDC_SECTION,
                        DlgMacroProfPage::IDC_SECTION_CHOOSE,
                        DlgMacroProfPage::IDC_OFFSET_TYPE_LABEL,
                        DlgMacroProfPage::IDC_OFFSET_TYPE,
                        DlgMacroProfPage::IDC_BASE_PLANE_LABEL,
                        DlgMacroProfPage::IDC_BASE_PLANE,
                        DlgMacroProfPage::IDC_ROTATION_LABEL,
                        DlgMacroProfPage::IDC_ROTATION,
                        DlgMacroProfPage::IDC_PICK_KIND_LABEL,
                        DlgMacroProfPage::IDC_PICK_KIND,
                        DlgMacroProfPage::IDC_PICK,
                        DlgMacroProfPage::IDC_ADVANCED,
                        DlgMacroProfPage::IDC_SEGMENTED};

ui::Rect clientRectOf(const ui::Dialog& d, const ui::Control& c) {
    const ui::Rect r = c.windowRect();
    const ui::Point tl = d.screenToClient({r.left, r.top});
    return ui::Rect::fromSize(tl.x, tl.y, r.width(), r.height());
}
} // namespace

bool DlgMacroProfPage::onInitDialog() {
    static constexpr std::pair<int, int> kTexts[] = {
        {IDC_GROUP_BOX, 830},        {IDC_GROUP_LABEL, 10554},       {IDC_SECTION_LABEL, 10555},
        {IDC_SECTION_CHOOSE, 969},   {IDC_OFFSET_TYPE_LABEL, 10556}, {IDC_BASE_PLANE_LABEL, 10557},
        {IDC_ROTATION_LABEL, 10558}, {IDC_PICK_KIND_LABEL, 10559},   {IDC_PICK, 10560},
        {IDC_ADVANCED, 968},         {IDC_SEGMENTED, 10561}};
    setCatalogueTexts(*this, kTexts);
    FillCombo(this, IDC_OFFSET_TYPE, MacroProfData::getOffsetTypeStrings());
    FillCombo(this, IDC_BASE_PLANE, MacroProfData::getBasePlaneStrings());
    FillCombo(this, IDC_ROTATION, {"0", "90", "180", "270"});
    // texts: dialString 10455-10456
    FillCombo(this, IDC_PICK_KIND, {dialString(10455), dialString(10456)});
    loadFromTab();
    return true;
}

void DlgMacroProfPage::onDestroy() {
    m_binding.close();
}

void DlgMacroProfPage::loadFromTab() {
    if (!exists()) return;
    m_loading = true;
    setRedraw(false);
    if (!m_binding.isOpen()) {
        m_picture = {};
        ui::Rect frame = ui::Rect::fromSize(kMargin, kMargin, 0, 0);
        if (const ui::Control* f = item(IDC_FRAME)) frame = clientRectOf(*this, *f);
        if (m_binding.open(frame)) {
            int w = 0, h = 0;
            m_binding.designed().engine().getImageSize(w, h);
            m_picture = ui::Rect::fromSize(frame.left, frame.top, w, h);
        }
        layOut();
    }
    m_binding.bind();
    const Vor_StringArray groups = tab().getProfGroups();
    int at = -1;
    if (!groups.find(m_group, at)) at = groups.isEmpty() ? -1 : 0;
    m_group = at >= 0 ? groups[at] : Vor_String();
    FillCombo(this, IDC_GROUP, groups, at);
    showGroup();
    setRedraw(true);
    invalidate();
    m_loading = false;
}

void DlgMacroProfPage::layOut() {
    // the designed part takes the frame's place; the group box and its controls follow below it
    ShowOrHideCtrl(this, IDC_FRAME, false);
    const ui::Control* box = item(IDC_GROUP_BOX);
    if (!box) return;
    const ui::Rect boxRect = clientRectOf(*this, *box);
    const int top = m_picture.isEmpty() ? kMargin : m_picture.bottom + kMargin;
    const int dy = top - boxRect.top;
    for (int id : kPageIds)
        if (ui::Control* c = item(id)) {
            const ui::Rect r = clientRectOf(*this, *c);
            c->moveWindow(r.left, r.top + dy, r.width(), r.height());
        }
    m_groupRect = ui::Rect::fromSize(boxRect.left, boxRect.top + dy, boxRect.width(), boxRect.height());
}

ui::Size DlgMacroProfPage::neededSize() const {
    const int right = std::max(m_picture.right, m_groupRect.right);
    const int bottom = std::max(m_picture.bottom, m_groupRect.bottom);
    return {right + kMargin, bottom + kMargin};
}

void DlgMacroProfPage::showGroup() {
    const bool loading = m_loading;
    m_loading = true;
    MacroProfData props;
    const bool shown = !m_group.isEmpty() && tab().getMergedPropsOfGroup(m_group, props);
    EnDisCtrl(this,
              {IDC_SECTION, IDC_SECTION_CHOOSE, IDC_OFFSET_TYPE, IDC_BASE_PLANE, IDC_ROTATION, IDC_PICK_KIND,
               IDC_PICK, IDC_ADVANCED},
              shown);
    EnDisCtrl(this, IDC_SEGMENTED, !tab().segments.isEmpty());
    if (shown) {
        fillProfileCombo(item(IDC_SECTION), m_sections, sectionSysName(props.section));
        if (ui::Control* c = item(IDC_OFFSET_TYPE))
            c->setCurSel(MacroProfData::getDlgOffsetType(props.offsetType));
        if (ui::Control* c = item(IDC_BASE_PLANE)) c->setCurSel(props.basePlane >= 0 ? props.basePlane : 0);
        if (ui::Control* c = item(IDC_ROTATION)) {
            ui::Control::Silence quiet(*c);
            c->setText(props.rotation.str());
        }
        if (ui::Control* c = item(IDC_PICK_KIND)) {
            ui::Control::Silence quiet(*c);
            c->setCurSel(props.coordSys.isEmpty() ? 0 : 1);
        }
    }
    m_loading = loading;
}

void DlgMacroProfPage::readCombos(MacroProfData& props) const {
    if (const ui::Control* c = item(IDC_SECTION)) {
        const int sel = c->curSel();
        if (sel >= 0 && sel < m_sections.length() && !isVaries(Vor_String(c->itemText(sel))))
            props.section = sectionOfSysName(m_sections[sel]);
    }
    // the varies entries (index 0) leave each macro's own value
    if (const ui::Control* c = item(IDC_OFFSET_TYPE); c && c->curSel() > 0)
        props.offsetType = MacroProfData::getProfOffsetType(c->curSel());
    if (const ui::Control* c = item(IDC_BASE_PLANE); c && c->curSel() > 0) props.basePlane = c->curSel();
    if (const ui::Control* c = item(IDC_ROTATION)) {
        const Vor_String r(c->text());
        if (!r.isEmpty()) props.rotation = r;
    }
}

bool DlgMacroProfPage::storeToTab() {
    MacroTabData& t = tab();
    auto storePage = [&] {
        MacroProfData props;
        if (m_group.isEmpty() || !t.getMergedPropsOfGroup(m_group, props)) return;
        if (m_pending)
            props = *m_pending;
        else
            readCombos(props);
        t.setMergedPropsOfGroup(m_group, props);
    };
    // what the person changed is stored last, so that another control showing the same value of
    // the group does not put the old one back
    if (m_designedFirst) {
        m_binding.store();
        storePage();
    } else {
        storePage();
        m_binding.store();
    }
    return true;
}

void DlgMacroProfPage::commitProps(const MacroProfData& props) {
    m_pending = props;
    m_designedFirst = true;
    host().commitPage(*this);
    m_pending.reset();
    loadFromTab();
}

void DlgMacroProfPage::commit() {
    if (m_loading) return;
    m_designedFirst = true;
    host().commitPage(*this);
    loadFromTab();
}

void DlgMacroProfPage::pick() {
    MacroProfData props;
    if (m_group.isEmpty() || !tab().getMergedPropsOfGroup(m_group, props)) return;
    readCombos(props);
    const ui::Control* kind = item(IDC_PICK_KIND);
    const bool coordSys = kind && kind->curSel() == 1;
    Vor_String picked;
    host().hideForPick();
    const bool ok = coordSys ? selectCoordSys(picked) : UserSelectPlane(picked);
    host().showAfterPick();
    if (!ok) return; // a cancelled pick changes nothing
    props.orientation = 2;
    props.coordSys = coordSys ? picked : Vor_String();
    if (!coordSys)
        if (const int plane = basePlaneOfPickedPlane(picked); plane > 0) props.basePlane = plane;
    commitProps(props);
}

void DlgMacroProfPage::chooseSection() {
    MacroProfData props;
    if (m_group.isEmpty() || !tab().getMergedPropsOfGroup(m_group, props)) return;
    readCombos(props);
    Vor_String section = sectionSysName(props.section);
    {
        ModuleResourceScope scope;
        if (!chooseOtherSection(item(IDC_SECTION), m_sections, section)) return;
    }
    props.section = sectionOfSysName(section);
    commitProps(props);
}

bool DlgMacroProfPage::pageCallBack(KrMACallBackType type, const KrMACallBackData&, MacroProfData& props) {
    DlgMacroProfPage* page = gAdvancedPage;
    if (!page) return false;
    switch (type) {
    case kMACallBackGet:
        return page->tab().getMergedPropsOfGroup(page->m_group, props);
    case kMACallBackSet:
        page->commitProps(props);
        return page->tab().getMergedPropsOfGroup(page->m_group, props);
    case kMACallBackHide:
        page->host().hideForPick();
        return true;
    case kMACallBackShow:
        page->host().showAfterPick();
        return true;
    }
    return false;
}

void DlgMacroProfPage::openAdvanced() {
    if (m_group.isEmpty() || gAdvancedPage) return;
    MacroData& data = host().macroData();
    DlgMacroProfAdvanced dlg;
    dlg.callBackData.groupName = m_group;
    dlg.callBackData.moduleName = tab().moduleName;
    dlg.callBackData.initDataClass(data); // the preview objects, for a coordinate system made from one
    dlg.callBack = &DlgMacroProfPage::pageCallBack;
    gAdvancedPage = this;
    {
        ModuleResourceScope scope;
        dlg.doModal();
    }
    gAdvancedPage = nullptr;
    erasePreviewObjects(data, dlg.temporaryId);
    loadFromTab();
}

bool DlgMacroProfPage::onCommand(int id, int code) {
    if (m_loading) return false;
    switch (m_binding.onCommand(id, code)) {
    case DesignedTabBinding::Result::Changed:
        m_designedFirst = false;
        if (!m_loading) {
            host().commitPage(*this);
            loadFromTab();
        }
        return true;
    case DesignedTabBinding::Result::Committed:
        loadFromTab();
        return true;
    case DesignedTabBinding::Result::Ignored:
        return true;
    case DesignedTabBinding::Result::NotMine:
        break;
    }
    switch (id) {
    case IDC_GROUP:
        if (code == ui::CBN_SELCHANGE)
            if (const ui::Control* c = item(IDC_GROUP); c && c->curSel() >= 0) {
                m_group = Vor_String(c->itemText(c->curSel()));
                showGroup();
            }
        return true;
    case IDC_SECTION:
        // another section is the group's at once; the page shows the group anew
        if (code == ui::CBN_SELCHANGE) commit();
        return true;
    case IDC_OFFSET_TYPE:
    case IDC_BASE_PLANE:
        if (code == ui::CBN_SELCHANGE) commit();
        return true;
    case IDC_ROTATION:
        if (code == ui::CBN_SELCHANGE) {
            // the chosen entry goes into the edit field before it is stored
            if (ui::Control* c = item(IDC_ROTATION); c && c->curSel() >= 0) {
                ui::Control::Silence quiet(*c);
                c->setText(c->itemText(c->curSel()));
            }
            commit();
        } else if (code == ui::CBN_KILLFOCUS) {
            commit();
        }
        return true;
    case IDC_PICK_KIND:
        if (code == ui::CBN_SELCHANGE) pick();
        return true;
    case IDC_PICK:
        if (code == ui::BN_CLICKED) pick();
        return true;
    case IDC_SECTION_CHOOSE:
        if (code == ui::BN_CLICKED) chooseSection();
        return true;
    case IDC_ADVANCED:
        if (code == ui::BN_CLICKED) openAdvanced();
        return true;
    case IDC_SEGMENTED:
        if (code == ui::BN_CLICKED) {
            ModuleResourceScope scope;
            if (editSegmentsOfTab(host().macroData(), tabIndex(), host().registrySlot())) loadFromTab();
        }
        return true;
    default:
        return false;
    }
}

bool DlgMacroProfPage::preTranslateKey(const ui::KeyEvent& key) {
    Vor_TabMsgHandle moved;
    if (!m_binding.designed().handleTabKey(key, moved)) return false;
    if (moved == tmPastLast || moved == tmBeforeFirst) gotoDlgCtrl(IDC_GROUP);
    return true;
}
