#include "library/ui/LibItemsPage.h"
#include "frame/CatalogueTexts.h"

#include <host/MacroLangs.h>
#include <host/Texts.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>

namespace {
constexpr int kNameColumnText = 87;
} // namespace

bool LibItemsPage::onInitDialog() {
    // texts: dialString 758-765, 769-771
    const bool groups = m_kind == Groups;
    const std::pair<int, int> texts[] = {{kIdNew, groups ? 758 : 764},
                                         {kIdDelete, groups ? 759 : 765},
                                         {groups ? kIdFrameGroups : kIdFrameTypes, 760},
                                         {kIdEnabled, 761},
                                         {kIdImageLabel, 762},
                                         {kIdNamesFrame, groups ? 763 : 771},
                                         {kIdGroupLabel, 769},
                                         {kIdTableLabel, 770}};
    setCatalogueTexts(*this, texts);
    m_names.attach(this, kIdNames);
    m_names.setStandardLook(1);
    m_resizer.init(this, {{kIdNames,
                           {CResizer::eFixed, 0, CResizer::eLeft},
                           {CResizer::eFixed, 0, CResizer::eTop},
                           {CResizer::eFixed, 0, CResizer::eRight},
                           {CResizer::eFixed, 0, CResizer::eBottom}},
                          {kIdNamesFrame,
                           {CResizer::eFixed, 0, CResizer::eLeft},
                           {CResizer::eFixed, 0, CResizer::eTop},
                           {CResizer::eFixed, 0, CResizer::eRight},
                           {CResizer::eFixed, 0, CResizer::eBottom}}});
    Vor_StringArray langs;
    gMacroLangs.GetAllLanguages(langs);
    m_names.setMaxCols(1);
    m_names.setMaxRows(langs.length());
    m_names.setText(1, 0, dialString(kNameColumnText));
    m_names.setColumn(0, langs);
    m_names.fitColumn(0);
    m_names.SetColWidthInPixels(1, 260);
    // the picture names the icons folder offers
    Vor_StringArray images;
    for (int code = 1; code <= 17; ++code) {
        static const char* const names[] = {"I",  "CL",   "HL",    "CU",       "T",         "OI",
                                            "OU", "Rect", "Round", "RectTube", "RoundTube", "C",
                                            "Z",  "V",    "O",     "Q",        "CuttedI"};
        images.append(Vor_String("ProfSection") + names[code - 1]);
    }
    FillCombo(this, kIdImage, images);
    m_list.subclassDlgItem(listId(), this);
    refresh();
    return true;
}

Vor_String LibItemsPage::nameOf(int index) const {
    return m_kind == Groups ? m_data.m_groups.getName(index) : m_data.m_types[index].getName();
}

bool LibItemsPage::enabledOf(int index) const {
    return m_kind == Groups ? m_data.m_groups.getEnabled(index) : m_data.m_types[index].m_enabled;
}

void LibItemsPage::setEnabledOf(int index, bool enabled) {
    if (m_kind == Groups)
        m_data.m_groups.setEnabled(index, enabled);
    else
        m_data.m_types[index].m_enabled = enabled;
}

void LibItemsPage::fillList(int select) {
    m_list.resetContent();
    for (int i = 0; i < count(); ++i)
        m_list.addString(nameOf(i), enabledOf(i));
    item(listId())->setCurSel(select);
}

void LibItemsPage::takeListMarks() {
    for (int i = 0; i < count() && i < m_list.getCount(); ++i) {
        const bool on = m_list.getCheck(i);
        if (on == enabledOf(i)) continue;
        setEnabledOf(i, on);
        // the check box shows the same flag of the shown item
        if (i == m_shown) item(kIdEnabled)->setCheck(on ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    }
}

void LibItemsPage::refresh() {
    if (m_kind == Types) {
        FillCombo(this, kIdTable, m_data.m_tableNames);
        Vor_StringArray names;
        m_data.m_groups.namesOfAllGroups(names, m_groupIds);
        FillCombo(this, kIdGroup, names);
    }
    const int keep = m_shown >= 0 && m_shown < count() ? m_shown : (count() > 0 ? 0 : -1);
    m_shown = -1;
    fillList(keep);
    show(keep);
}

void LibItemsPage::show(int index) {
    m_shown = index >= 0 && index < count() ? index : -1;
    const bool valid = m_shown >= 0;
    for (int id : {kIdDelete, kIdEnabled, kIdImage, kIdNames, kIdGroup, kIdTable, kIdImageLabel,
                   kIdGroupLabel, kIdTableLabel, kIdNamesFrame, kIdFrameGroups, kIdFrameTypes})
        if (ui::Control* c = item(id)) c->enableWindow(valid);
    item(listId())->setCurSel(m_shown);
    Vor_StringArray names;
    names.setLogicalLength(m_names.maxRows());
    if (!valid) {
        item(kIdEnabled)->setCheck(ui::BST_UNCHECKED);
        item(kIdImage)->setText("");
        m_names.setColumn(1, names);
        return;
    }
    bool enabled = false;
    Vor_String image;
    Vor_StringArray langs;
    if (m_kind == Groups) {
        enabled = m_data.m_groups.getEnabled(m_shown);
        image = m_data.m_groups.getImage(m_shown);
        langs = m_data.m_groups.getLangs(m_shown);
    } else {
        const SectionType& t = m_data.m_types[m_shown];
        enabled = t.m_enabled;
        image = t.m_image;
        langs = t.m_names;
        int group = -1;
        m_groupIds.find(t.m_group, group);
        item(kIdGroup)->setCurSel(group);
        item(kIdTable)->setText(t.m_table.str());
    }
    item(kIdEnabled)->setCheck(enabled ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    item(kIdImage)->setText(image.str());
    for (int i = 0; i < names.length() && i < langs.length(); ++i)
        names[i] = langs[i];
    m_names.setColumn(1, names);
}

void LibItemsPage::storeShown() {
    if (m_shown < 0 || m_shown >= count()) return;
    m_names.SetEditMode(false); // a name being typed counts
    const bool enabled = item(kIdEnabled)->checkState() == ui::BST_CHECKED;
    const Vor_String image = item(kIdImage)->text();
    Vor_StringArray names;
    m_names.getColumn(1, names);
    if (m_kind == Groups) {
        m_data.m_groups.setEnabled(m_shown, enabled);
        m_data.m_groups.setImage(m_shown, image);
        m_data.m_groups.setLangs(m_shown, names);
    } else {
        SectionType& t = m_data.m_types[m_shown];
        t.m_enabled = enabled;
        t.m_image = image;
        t.m_names = names;
        const int group = item(kIdGroup)->curSel();
        t.m_group = group >= 0 && group < m_groupIds.length() ? m_groupIds[group] : -1;
        t.m_table = item(kIdTable)->text();
    }
    // the list shows the name and the flag as they are now
    if (nameOf(m_shown) != m_list.getItemText(m_shown))
        fillList(m_shown);
    else
        m_list.setCheck(m_shown, enabled);
}

bool LibItemsPage::onCommand(int id, int code) {
    if (id == listId() && code == ui::CBN_SELCHANGE) {
        // a check mark toggled, or another item chosen
        takeListMarks();
        const int chosen = item(listId())->curSel();
        if (chosen != m_shown) {
            storeShown();
            show(chosen);
        }
        return true;
    }
    if (id == kIdNew && code == ui::BN_CLICKED) {
        storeShown();
        int index = 0;
        if (m_kind == Groups) {
            index = m_data.m_groups.appendNewGrp();
        } else {
            SectionType t;
            const Vor_StringArray words{"Nieuw type", "New type", "Nouveau type", "New type"};
            for (int i = 0; i < gMacroLangs.count(); ++i)
                t.m_names.append(i < words.length() ? words[i] : words[1]);
            m_data.m_types.append(t);
            index = m_data.m_types.length() - 1;
        }
        fillList(index);
        show(index);
        return true;
    }
    if (id == kIdDelete && code == ui::BN_CLICKED) {
        if (m_shown < 0) return true;
        const int at = m_shown;
        m_shown = -1; // the shown item goes: nothing to store
        if (m_kind == Groups)
            m_data.m_groups.removeAt(at);
        else
            m_data.m_types.removeAt(at);
        const int next = count() == 0 ? -1 : std::min(at, count() - 1);
        fillList(next);
        show(next);
        return true;
    }
    if (id == kIdEnabled && code == ui::BN_CLICKED) {
        storeShown();
        return true;
    }
    return false;
}
