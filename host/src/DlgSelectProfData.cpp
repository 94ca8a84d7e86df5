#include <host/DlgSelectProfData.h>

#include <base/PathPart.h>
#include <host/LineFile.h>
#include <host/MacroLangs.h>
#include <host/Settings.h>

bool listProfSizes(const Vor_String& table, const Vor_String& filter, Vor_StringArray& sysNames,
                   Vor_StringArray& names, Vor_String* typeCode) {
    sysNames.removeAll();
    names.removeAll();
    Vor_String tableName;
    Vor_Array<Vor_StringArray> lines;
    if (!base::isPathPart(table.str()) ||
        !readFile(gSettings.libDir + "prof/" + table + ".pr", tableName, lines))
        return false;
    if (lines.length() < 2) return true;
    if (typeCode) *typeCode = lines[0].isEmpty() ? Vor_String() : lines[0][0];
    int column = -1;
    lines[1].find(gMacroLangs.GetCurLanguage(), column, false);
    for (int i = 2; i < lines.length(); ++i) {
        const Vor_StringArray& row = lines[i];
        if (row.length() < 2 || !(row[1] == Vor_String("1"))) continue;
        Vor_String name = column >= 0 && column < row.length() ? row[column] : Vor_String();
        if (name.isEmpty()) name = row[0];
        if (!filter.isEmpty() && !name.contains(filter, false) && !row[0].contains(filter, false)) continue;
        sysNames.append(table + "-" + row[0]);
        names.append(name);
    }
    return true;
}
