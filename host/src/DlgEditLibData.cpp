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
    std::string faults;
    const bool ok = read(&faults);
    m_readFaults = faults;
    addError(error, faults);
    return ok;
}

SectionGroupArray sectionGroupsOfLines(const Vor_Array<Vor_StringArray>& lines, const Vor_StringArray& langs,
                                       std::string* faults) {
    SectionGroupArray groups;
    for (int i = 1; i < lines.length(); ++i) {
        const Vor_StringArray& l = lines[i];
        bool idOk = false;
        SectionGroup g;
        if (l.length() >= kGroupFields) g.id = l[0].toInt(&idOk);
        if (!idOk) {
            if (!(l.length() == 0))
                addError(faults,
                         std::string(kGroupsFile) + ":" + std::to_string(i + 1) + ": no group number");
            continue;
        }
        g.enabled = !(l[1] == Vor_String("0"));
        g.image = l[2];
        g.langs = namesByLanguage(lines[0], l, kGroupFields, langs);
        if (!groups.append(g))
            addError(faults, std::string(kGroupsFile) + ":" + std::to_string(i + 1) + ": group number " +
                                 std::to_string(g.id) + " is taken");
    }
    return groups;
}

Vor_Array<SectionType> sectionTypesOfLines(const Vor_Array<Vor_StringArray>& lines,
                                           const Vor_StringArray& langs, std::string* faults) {
    Vor_Array<SectionType> types;
    for (int i = 1; i < lines.length(); ++i) {
        const Vor_StringArray& l = lines[i];
        if (l.length() < kTypeFields) {
            if (l.length() > 0)
                addError(faults, std::string(kTypesFile) + ":" + std::to_string(i + 1) + ": too few fields");
            continue;
        }
        SectionType t;
        t.m_enabled = !(l[0] == Vor_String("0"));
        t.m_image = l[1];
        bool groupOk = false;
        t.m_group = l[2].toInt(&groupOk);
        if (!groupOk) {
            t.m_group = -1;
            addError(faults, std::string(kTypesFile) + ":" + std::to_string(i + 1) + ": the group \"" +
                                 l[2].str() + "\" is no number");
        }
        t.m_table = l[3];
        t.m_names = namesByLanguage(lines[0], l, kTypeFields, langs);
        types.append(t);
    }
    return types;
}

Vor_Array<Vor_StringArray> linesOfSectionGroups(const SectionGroupArray& groups,
                                                const Vor_StringArray& langs) {
    Vor_Array<Vor_StringArray> lines;
    Vor_StringArray header{"Id", "Enabled", "Image"};
    header.append(langs);
    lines.append(header);
    for (int i = 0; i < groups.length(); ++i) {
        const SectionGroup& g = groups.at(i);
        Vor_StringArray line{Vor_String(g.id), g.enabled ? "1" : "0", g.image};
        for (int l = 0; l < langs.length(); ++l)
            line.append(l < g.langs.length() ? g.langs[l] : Vor_String());
        lines.append(line);
    }
    return lines;
}

Vor_Array<Vor_StringArray> linesOfSectionTypes(const Vor_Array<SectionType>& types,
                                               const Vor_StringArray& langs) {
    Vor_Array<Vor_StringArray> lines;
    Vor_StringArray header{"Enabled", "Image", "Group", "Table"};
    header.append(langs);
    lines.append(header);
    for (const SectionType& t : types) {
        Vor_StringArray line{t.m_enabled ? "1" : "0", t.m_image, Vor_String(t.m_group), t.m_table};
        for (int l = 0; l < langs.length(); ++l)
            line.append(l < t.m_names.length() ? t.m_names[l] : Vor_String());
        lines.append(line);
    }
    return lines;
}

bool DlgEditLibData::read(std::string* error) {
    Vor_StringArray langs;
    gMacroLangs.GetAllLanguages(langs);
    Vor_Array<Vor_StringArray> lines;
    bool ok = readLines(gSettings.libDir + kGroupsFile, lines, error);
    const SectionGroupArray groups = sectionGroupsOfLines(lines, langs, error);
    ok = readLines(gSettings.libDir + kTypesFile, lines, error) && ok;
    const Vor_Array<SectionType> types = sectionTypesOfLines(lines, langs, error);
    m_groups = groups;
    m_types = types;
    return ok;
}

bool DlgEditLibData::save(std::string* error) const {
    if (!m_readFaults.empty()) {
        // what the reader skipped would be gone for good
        addError(error, "groups and types are not written: their files were not read cleanly");
        return false;
    }
    Vor_StringArray langs;
    gMacroLangs.GetAllLanguages(langs);
    const Vor_Array<Vor_StringArray> groups = linesOfSectionGroups(m_groups, langs);
    const Vor_Array<Vor_StringArray> types = linesOfSectionTypes(m_types, langs);
    std::string message;
    if (!writeFile(gSettings.libDir + kGroupsFile, groups, &message) ||
        !writeFile(gSettings.libDir + kTypesFile, types, &message)) {
        addError(error, message);
        return false;
    }
    return true;
}
