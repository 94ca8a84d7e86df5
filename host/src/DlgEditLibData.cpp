#include <host/DlgEditLibData.h>

#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/MacroLangs.h>
#include <host/Settings.h>

namespace {

const char* const kGroupsFile = "prof/groups.grp";
const char* const kTypesFile = "prof/types.typ";
const int kGroupFields = 3; // Id, Enabled, Image
const int kTypeFields = 4;  // Enabled, Image, Group, Table

void addError(std::string* error, const std::string& text) {
    if (!error) return;
    if (!error->empty()) *error += "\n";
    *error += text;
}

/// The names of a line in the order of the user languages, found by the header's language names;
/// a language the file does not have gets an empty name.
Vor_StringArray namesByLanguage(const Vor_StringArray& header, const Vor_StringArray& line, int first,
                                const Vor_StringArray& langs) {
    Vor_StringArray names;
    for (const Vor_String& lang : langs) {
        int col = -1;
        const bool found = header.find(lang, col, false, first);
        names.append(found && col < line.length() ? line[col] : Vor_String());
    }
    return names;
}

bool readLines(const Vor_String& path, Vor_Array<Vor_StringArray>& lines, std::string* error) {
    lines.removeAll();
    if (!fileExists(path)) return true;
    Vor_String name;
    std::string message;
    if (readFile(path, name, lines, &message)) return true;
    addError(error, message);
    return false;
}

} // namespace

void DlgEditLibData::GetAvailableFiles() {
    Vor_StringArray files;
    ObjectExportFindFiles(gSettings.libDir + "prof/", "*.pr", files);
    m_tableNames.removeAll();
    for (const Vor_String& f : files)
        m_tableNames.append(removeExtension(getFileName(f)));
}

bool DlgEditLibData::load(std::string* error) {
    Vor_StringArray langs;
    gMacroLangs.GetAllLanguages(langs);
    Vor_Array<Vor_StringArray> lines;
    bool ok = readLines(gSettings.libDir + kGroupsFile, lines, error);
    SectionGroupArray groups;
    for (int i = 1; i < lines.length(); ++i) {
        const Vor_StringArray& l = lines[i];
        bool idOk = false;
        SectionGroup g;
        if (l.length() >= kGroupFields) g.id = l[0].toInt(&idOk);
        if (!idOk) {
            if (!(l.length() == 0))
                addError(error, std::string(kGroupsFile) + ":" + std::to_string(i + 1) + ": no group number");
            continue;
        }
        g.enabled = !(l[1] == Vor_String("0"));
        g.image = l[2];
        g.langs = namesByLanguage(lines[0], l, kGroupFields, langs);
        if (!groups.append(g))
            addError(error, std::string(kGroupsFile) + ":" + std::to_string(i + 1) + ": group number " +
                                std::to_string(g.id) + " is taken");
    }
    ok = readLines(gSettings.libDir + kTypesFile, lines, error) && ok;
    Vor_Array<SectionType> types;
    for (int i = 1; i < lines.length(); ++i) {
        const Vor_StringArray& l = lines[i];
        if (l.length() < kTypeFields) {
            if (l.length() > 0)
                addError(error, std::string(kTypesFile) + ":" + std::to_string(i + 1) + ": too few fields");
            continue;
        }
        SectionType t;
        t.m_enabled = !(l[0] == Vor_String("0"));
        t.m_image = l[1];
        bool groupOk = false;
        t.m_group = l[2].toInt(&groupOk);
        if (!groupOk) t.m_group = -1;
        t.m_table = l[3];
        t.m_names = namesByLanguage(lines[0], l, kTypeFields, langs);
        types.append(t);
    }
    m_groups = groups;
    m_types = types;
    return ok;
}

bool DlgEditLibData::save(std::string* error) const {
    Vor_StringArray langs;
    gMacroLangs.GetAllLanguages(langs);
    Vor_Array<Vor_StringArray> groups, types;
    Vor_StringArray header{"Id", "Enabled", "Image"};
    header.append(langs);
    groups.append(header);
    for (int i = 0; i < m_groups.length(); ++i) {
        const SectionGroup& g = m_groups.at(i);
        Vor_StringArray line{Vor_String(g.id), g.enabled ? "1" : "0", g.image};
        for (int l = 0; l < langs.length(); ++l)
            line.append(l < g.langs.length() ? g.langs[l] : Vor_String());
        groups.append(line);
    }
    header = Vor_StringArray{"Enabled", "Image", "Group", "Table"};
    header.append(langs);
    types.append(header);
    for (const SectionType& t : m_types) {
        Vor_StringArray line{t.m_enabled ? "1" : "0", t.m_image, Vor_String(t.m_group), t.m_table};
        for (int l = 0; l < langs.length(); ++l)
            line.append(l < t.m_names.length() ? t.m_names[l] : Vor_String());
        types.append(line);
    }
    std::string message;
    if (!writeFile(gSettings.libDir + kGroupsFile, groups, &message) ||
        !writeFile(gSettings.libDir + kTypesFile, types, &message)) {
        addError(error, message);
        return false;
    }
    return true;
}
