#include <host/SectionGroupArray.h>

#include <host/MacroLangs.h>

#include <algorithm>

namespace {
Vor_String nameIn(const Vor_StringArray& langs) {
    const int cur = gMacroLangs.GetCurLanguageIndex();
    if (cur < langs.length() && !langs[cur].isEmpty()) return langs[cur];
    for (const Vor_String& n : langs)
        if (!n.isEmpty()) return n;
    return Vor_String();
}
} // namespace

Vor_String SectionGroupArray::getName(int index) const {
    return valid(index) ? nameIn(m_groups[index].langs) : Vor_String();
}
bool SectionGroupArray::getEnabled(int index) const {
    return valid(index) && m_groups[index].enabled;
}
void SectionGroupArray::setEnabled(int index, bool enabled) {
    if (valid(index)) m_groups[index].enabled = enabled;
}
Vor_String SectionGroupArray::getImage(int index) const {
    return valid(index) ? m_groups[index].image : Vor_String();
}
void SectionGroupArray::setImage(int index, const Vor_String& image) {
    if (valid(index)) m_groups[index].image = image;
}
Vor_StringArray SectionGroupArray::getLangs(int index) const {
    return valid(index) ? m_groups[index].langs : Vor_StringArray();
}
void SectionGroupArray::setLangs(int index, const Vor_StringArray& names) {
    if (valid(index)) m_groups[index].langs = names;
}
int SectionGroupArray::getId(int index) const {
    return valid(index) ? m_groups[index].id : -1;
}
int SectionGroupArray::indexOfId(int id) const {
    for (int i = 0; i < m_groups.length(); ++i)
        if (m_groups[i].id == id) return i;
    return -1;
}

int SectionGroupArray::appendNewGrp() {
    SectionGroup g;
    for (const SectionGroup& other : m_groups)
        g.id = std::max(g.id, other.id);
    ++g.id;
    // texts in the order of the default languages; a longer list repeats the English one
    const Vor_StringArray words{"Nieuwe groep", "New group", "Neue Gruppe", "Nouveau groupe"};
    for (int i = 0; i < gMacroLangs.count(); ++i)
        g.langs.append(i < words.length() ? words[i] : words[1]);
    m_groups.append(g);
    return m_groups.length() - 1;
}

bool SectionGroupArray::append(const SectionGroup& group) {
    if (indexOfId(group.id) >= 0) return false;
    m_groups.append(group);
    return true;
}

bool SectionGroupArray::removeAt(int index) {
    return m_groups.removeAt(index);
}

void SectionGroupArray::namesOfAllGroups(Vor_StringArray& names, Vor_Array<int>& ids) const {
    names.removeAll();
    ids.removeAll();
    for (int i = 0; i < m_groups.length(); ++i) {
        names.append(getName(i));
        ids.append(m_groups[i].id);
    }
}
