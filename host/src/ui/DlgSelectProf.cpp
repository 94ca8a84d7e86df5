#include <host/ui/DlgSelectProf.h>

#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Agent.h>
#include <ui/Control.h>
#include <ui/Image.h>

namespace {
const Vor_String kUserSections = "User Sections/";
} // namespace

bool DlgSelectProf::onInitDialog() {
    // texts: dialString 9700-9707
    setWindowText(dialString(9700).str());
    const std::pair<int, int> texts[] = {{IDC_GROUP_LABEL, 9701}, {IDC_TYPE_LABEL, 9702},
                                         {IDC_SIZE_LABEL, 9703},  {IDC_FILTER_LABEL, 9704},
                                         {ui::IDOK, 1},           {ui::IDCANCEL, 2}};
    for (auto [id, text] : texts)
        if (ui::Control* c = item(id)) c->setText(dialString(text).str());
    m_lib.load();
    Vor_StringArray files;
    ObjectExportFindFiles(gSettings.libDir + kUserSections, "*.dwg", files);
    for (const Vor_String& f : files)
        m_userFiles.append(removeExtension(getFileName(f)));

    Vor_StringArray groupNames;
    for (int i = 0; i < m_lib.m_groups.length(); ++i)
        if (m_lib.m_groups.getEnabled(i)) groupNames.append(m_lib.m_groups.getName(i));
    if (!m_userFiles.isEmpty()) groupNames.append(dialString(9705));
    FillCombo(this, IDC_GROUP, groupNames);

    // open on the given section: its table's type and group, or the user sections
    const Vor_String initial = toSlashes(m_data.initialName());
    int group = 0, type = -1;
    Vor_String select = initial;
    if (initial.startsWith(kUserSections, false) ||
        initial.startsWith(gSettings.libDir + kUserSections, false)) {
        group = groupNames.length() - (m_userFiles.isEmpty() ? 0 : 1);
    } else if (const int dash = initial.find("-"); dash > 0) {
        const Vor_String table = initial.left(dash);
        for (int t = 0; t < m_lib.m_types.length() && type < 0; ++t)
            if (m_lib.m_types[t].m_enabled && m_lib.m_types[t].m_table.equal(table, false)) type = t;
        if (type >= 0) {
            int shown = 0;
            for (int i = 0; i < m_lib.m_groups.length(); ++i) {
                if (!m_lib.m_groups.getEnabled(i)) continue;
                if (m_lib.m_groups.getId(i) == m_lib.m_types[type].m_group) group = shown;
                ++shown;
            }
        }
    }
    if (groupNames.isEmpty()) return true;
    item(IDC_GROUP)->setCurSel(group);
    showGroup(group);
    for (int i = 0; i < m_typeIndexes.length(); ++i)
        if (m_typeIndexes[i] == type) {
            item(IDC_TYPE)->setCurSel(i);
            showType(i);
        }
    showSizes(select);
    return true;
}

void DlgSelectProf::showGroup(int group) {
    m_typeIndexes.removeAll();
    Vor_StringArray names;
    int shown = 0, groupId = -2;
    for (int i = 0; i < m_lib.m_groups.length(); ++i) {
        if (!m_lib.m_groups.getEnabled(i)) continue;
        if (shown++ == group) groupId = m_lib.m_groups.getId(i);
    }
    for (int t = 0; t < m_lib.m_types.length(); ++t)
        if (m_lib.m_types[t].m_enabled && m_lib.m_types[t].m_group == groupId) {
            m_typeIndexes.append(t);
            names.append(m_lib.m_types[t].getName());
        }
    FillList(this, IDC_TYPE, names, names.isEmpty() ? -1 : 0);
    m_typeCode = Vor_String();
    showSizes(Vor_String());
}

void DlgSelectProf::showType(int) {
    showSizes(Vor_String());
}

void DlgSelectProf::showSizes(const Vor_String& select) {
    ui::Control* sizes = item(IDC_SIZE);
    Vor_String filter = item(IDC_FILTER)->text();
    Vor_StringArray names;
    m_sizes.removeAll();
    const int type = item(IDC_TYPE)->curSel();
    const bool userGroup =
        !m_userFiles.isEmpty() && item(IDC_GROUP)->curSel() == item(IDC_GROUP)->count() - 1;
    if (userGroup) {
        m_typeCode = Vor_String();
        for (const Vor_String& f : m_userFiles)
            if (filter.isEmpty() || f.contains(filter, false)) {
                m_sizes.append(kUserSections + f + ".dwg");
                names.append(f);
            }
    } else if (type >= 0 && type < m_typeIndexes.length()) {
        listProfSizes(m_lib.m_types[m_typeIndexes[type]].m_table, filter, m_sizes, names, &m_typeCode);
    }
    int index = -1;
    const Vor_String wanted = toSlashes(select);
    for (int i = 0; i < m_sizes.length() && index < 0; ++i)
        if (m_sizes[i].equal(wanted, false) || (gSettings.libDir + m_sizes[i]).equal(wanted, false))
            index = i;
    FillList(sizes, names, index);
    if (index >= 0) sizes->ensureVisible(index);
    showChoice();
}

void DlgSelectProf::showChoice() {
    const int size = item(IDC_SIZE)->curSel();
    const Vor_String sysName = size >= 0 && size < m_sizes.length() ? m_sizes[size] : Vor_String();
    item(IDC_NAME)->setText(sysName.str());
    ui::Control* picture = item(IDC_PICTURE);
    Vor_String path;
    if (m_data.m_pictureOf && (!m_typeCode.isEmpty() || !sysName.isEmpty()))
        path = m_data.m_pictureOf(m_typeCode, sysName);
    picture->setImage(path.isEmpty() ? ui::Image() : ui::Image::fromFile(path.str()));
}

bool DlgSelectProf::onCommand(int id, int code) {
    if (id == IDC_GROUP && code == ui::CBN_SELCHANGE) {
        showGroup(item(IDC_GROUP)->curSel());
        return true;
    }
    if (id == IDC_TYPE && code == ui::LBN_SELCHANGE) {
        showType(item(IDC_TYPE)->curSel());
        return true;
    }
    if (id == IDC_SIZE && code == ui::LBN_SELCHANGE) {
        showChoice();
        return true;
    }
    if (id == IDC_SIZE && code == ui::LBN_DBLCLK) {
        onOK();
        return true;
    }
    if (id == IDC_FILTER && code == ui::EN_CHANGE) {
        const int size = item(IDC_SIZE)->curSel();
        showSizes(size >= 0 && size < m_sizes.length() ? m_sizes[size] : Vor_String());
        return true;
    }
    return false;
}

void DlgSelectProf::onOK() {
    const int size = item(IDC_SIZE)->curSel();
    if (size < 0 || size >= m_sizes.length()) {
        ui::messageBox(dialString(9706).str(), dialString(9700).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION,
                       this);
        return;
    }
    // a user section is given with its full path, as a file dialog would
    const Vor_String chosen = m_sizes[size];
    m_data.setProfName(chosen.startsWith(kUserSections, false) ? gSettings.libDir + chosen : chosen);
    endDialog(ui::IDOK);
}
