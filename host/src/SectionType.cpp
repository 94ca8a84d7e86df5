#include <host/SectionType.h>

#include <host/MacroLangs.h>

Vor_String SectionType::getName() const {
    const int cur = gMacroLangs.GetCurLanguageIndex();
    if (cur < m_names.length() && !m_names[cur].isEmpty()) return m_names[cur];
    for (const Vor_String& n : m_names)
        if (!n.isEmpty()) return n;
    return m_table;
}
