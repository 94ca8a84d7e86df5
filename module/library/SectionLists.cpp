#include "library/SectionLists.h"

#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "library/ProfSectionImages.h"
#include "library/Vor_ProfValuesTable.h"

#include <host/FileUtils.h>
#include <host/MacroLangs.h>
#include <host/SectionTables.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <host/ui/DlgSelectProf.h>
#include <ui/Control.h>

#include <string>
#include <unordered_map>

namespace {
const Vor_String kUserSections = "User Sections/";
constexpr int kSpecialEntry = 695; // stands for "the sections differ"; always ends a list
} // namespace

Vor_String sectionDisplayName(const Vor_String& sysName) {
    Vor_String name;
    return gSectionTables.getUserName(sysName, name) ? name : sysName;
}

bool sectionsOfSameTable(const Vor_String& sysName, Vor_StringArray& sysNames,
                         Vor_StringArray& displayNames) {
    sysNames.removeAll();
    displayNames.removeAll();
    const int dash = sysName.find("-");
    Vor_ProfValuesTable table;
    // a name without "-" names no table: reading "<name>.pr" would take a stray file for one
    if (dash <= 0 || !table.readFromFile(sysName.left(dash) + ".pr")) {
        displayNames.append(dialString(kSpecialEntry));
        return false;
    }
    // The names come from the table just read, as the host's look-up gives them (the description of
    // the current language of the key's first row, else the system name), in one pass over the rows.
    int langColumn = -1;
    if (!table.columnNames.find(gMacroLangs.GetCurLanguage(), langColumn, false)) langColumn = -1;
    std::unordered_map<std::string, int> firstRowOf;
    firstRowOf.reserve(static_cast<std::size_t>(table.rows.length()));
    for (int r = 0; r < table.rows.length(); ++r)
        if (!table.rows[r].isEmpty()) firstRowOf.emplace(table.rows[r][0].str(), r);
    const Vor_String prefix = table.tableName + "-";
    for (const Vor_StringArray& row : table.rows) {
        if (row.length() < 2 || !(row[1] == Vor_String("1"))) continue;
        const Vor_String sysName = prefix + row[0];
        const Vor_StringArray& first = table.rows[firstRowOf[row[0].str()]];
        const bool named = langColumn >= 0 && langColumn < first.length() && !first[langColumn].isEmpty();
        sysNames.append(sysName);
        displayNames.append(named ? first[langColumn] : sysName);
    }
    displayNames.append(dialString(kSpecialEntry));
    return true;
}

void profileComboItems(const Vor_String& current, Vor_StringArray& sysNames, Vor_StringArray& displayNames,
                       Vor_String& selectText) {
    const Vor_String name = toSlashes(current);
    if (name.startsWith(kUserSections, false)) {
        sysNames = Vor_StringArray{current};
        selectText = removeExtension(name.mid(kUserSections.length()));
        displayNames = Vor_StringArray{selectText, dialString(kSpecialEntry)};
        return;
    }
    sectionsOfSameTable(current, sysNames, displayNames);
    // the name the list gives the current section, without reading its table a second time
    int at = -1;
    selectText = sysNames.find(current, at) ? displayNames[at] : sectionDisplayName(current);
}

void fillProfileCombo(ui::Control* combo, Vor_StringArray& sysNames, const Vor_String& current) {
    Vor_StringArray displayNames;
    Vor_String selectText;
    profileComboItems(current, sysNames, displayNames, selectText);
    int index = -1;
    if (!displayNames.find(selectText, index)) index = -1;
    FillCombo(combo, displayNames, index);
}

bool chooseOtherSection(ui::Control* combo, Vor_StringArray& sysNames, Vor_String& current) {
    DlgSelectProfData data;
    data.setInitialUnknownName(current);
    data.m_pictureOf = [](const Vor_String& typeCode, const Vor_String& sysName) {
        return profIconsFolder() + profSectionImageName(typeCode, sysName, true);
    };
    DlgSelectProf dlg(data);
    if (dlg.doModal() != ui::IDOK) return false;
    Vor_String chosen = data.profName();
    if (chosen.startsWith(gSettings.libDir)) chosen = chosen.mid(gSettings.libDir.length());
    current = chosen;
    fillProfileCombo(combo, sysNames, current);
    return true;
}

namespace {
// Another section for the one given, as a profile combo's button would choose it.
const bool registered = registerJsonLauncher(
    "chooseSection",
    [](const nlohmann::json& in, nlohmann::json& out) {
        ModuleResourceScope scope;
        Vor_String current = in.value("current", std::string());
        Vor_StringArray sysNames;
        const bool ok = chooseOtherSection(nullptr, sysNames, current);
        out["result"] = ok;
        out["current"] = current.str();
        out["sections"] = sysNames;
    },
    R"({"current": "HEA-200"})");
} // namespace
