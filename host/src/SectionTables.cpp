#include <host/SectionTables.h>

#include <base/PathPart.h>
#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/MacroLangs.h>
#include <host/Settings.h>

#include <filesystem>

Vor_SectionTables gSectionTables;

bool Vor_SectionTables::load(const Vor_String& tableName) {
    if (!base::isPathPart(tableName.str())) return false;
    const Vor_String path = gSettings.libDir + "prof/" + tableName + ".pr";
    std::error_code ec;
    const long long size = static_cast<long long>(std::filesystem::file_size(path.str(), ec));
    if (ec) return false;
    const std::filesystem::file_time_type time = std::filesystem::last_write_time(path.str(), ec);
    if (ec) return false;
    if (path.str() == m_path && time == m_time && size == m_size) return true;
    Vor_String name;
    Vor_Array<Vor_StringArray> lines;
    if (!readFile(path, name, lines) || lines.length() < 2) return false;
    m_path = path.str();
    m_time = time;
    m_size = size;
    m_header = lines[1];
    lines.removeAt(0);
    lines.removeAt(0);
    m_rows = lines;
    m_rowOfKey.clear();
    for (int r = 0; r < m_rows.length(); ++r)
        if (!m_rows[r].isEmpty()) m_rowOfKey.emplace(m_rows[r][0].str(), r);
    return true;
}

bool Vor_SectionTables::getUserName(const Vor_String& sysName, Vor_String& name) {
    const int dash = sysName.find("-");
    if (dash <= 0) return false;
    if (!load(sysName.left(dash))) return false;
    const Vor_String key = sysName.mid(dash + 1);
    int column = -1;
    if (!m_header.find(gMacroLangs.GetCurLanguage(), column, false)) return false;
    const auto it = m_rowOfKey.find(key.str());
    if (it == m_rowOfKey.end()) return false;
    const Vor_StringArray& row = m_rows[it->second];
    if (column >= row.length() || row[column].isEmpty()) return false;
    name = row[column];
    return true;
}

void Vor_SectionTables::reset() {
    m_path.clear();
    m_size = -1;
    m_header.removeAll();
    m_rows.removeAll();
    m_rowOfKey.clear();
}
