#include "library/Vor_ProfValuesTable.h"

#include "calc/Vor_Spread.h"
#include "library/ProfTableText.h"

#include <base/NumberText.h>
#include <base/PathPart.h>
#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/MacroLangs.h>
#include <host/Settings.h>
#include <host/TextCodec.h>
#include <host/VorUtils.h>

#include <algorithm>
#include <string>
#include <unordered_map>

namespace {

constexpr int kHeaderAxis = 0; // row 0 and column 0 of the sheet are its headers
constexpr int kFlagColumn = 2; // the "I/O" flag in sheet columns (from 1)

Vor_String tablePath(const Vor_String& fileName) {
    return gSettings.libDir + "prof/" + fileName;
}

/// Column widths from the header and the first rows, the header row's height: a table of thousands of
/// sizes shows at once, and its sizes are alike, so the first rows show how wide a column must be.
void fitToSample(Vor_Spread& sheet) {
    constexpr int kSampleRows = 200;
    const int rows = std::min(sheet.maxRows(), kSampleRows);
    for (int c = 0; c <= sheet.maxCols(); ++c) {
        double widest = 0;
        for (int r = 0; r <= rows; ++r) {
            double w = 0, h = 0;
            sheet.CellTextSize(c, r, w, h);
            widest = std::max(widest, w);
        }
        sheet.SetColWidthInPixels(c, static_cast<int>(widest + 0.5));
    }
    sheet.fitRow(kHeaderAxis);
}

} // namespace

Vor_ProfValuesTable::~Vor_ProfValuesTable() = default;

bool Vor_ProfValuesTable::readFromFile(const Vor_String& fileName) {
    m_problems.removeAll();
    m_cleanly = false;
    if (const std::string fault = base::pathPartFault(fileName.str()); !fault.empty()) {
        m_problems.append("table \"" + fileName + "\": " + Vor_String(fault));
        return false;
    }
    const Vor_String path = tablePath(fileName);
    Vor_Array<Vor_StringArray> lines;
    std::string error;
    ProfTableContent content;
    Vor_StringArray langs;
    gMacroLangs.GetAllLanguages(langs);
    if (readFile(path, tableName, lines, &error)) {
        interpretProfLines(lines, fileName, langs, content);
        content.cleanly = true;
    } else {
        // A file that exists within the budgets but is damaged is read as well as it goes, so that
        // the rows it holds can be seen; a missing or oversized file is no table.
        std::string bytes;
        if (!fileExists(path) || !readWholeFile(path.str(), bytes, nullptr, lineTableBudget::kMaxFileBytes)) {
            m_problems.append(Vor_String(error));
            return false;
        }
        if (!parseProfText(bytes, fileName, langs, content)) {
            m_problems = content.problems;
            return false;
        }
        tableName = removeExtension(getFileName(path));
    }
    m_problems = content.problems;
    m_cleanly = content.cleanly;
    rows = content.rows;
    if (content.hasHeader) {
        typeCode = content.typeCode;
        columnNames = content.columnNames;
    }
    return true;
}

bool Vor_ProfValuesTable::writeToFile(const Vor_String& fileName) const {
    if (!base::isPathPart(fileName.str())) return false;
    Vor_Array<Vor_StringArray> lines;
    lines.append(Vor_StringArray{typeCode});
    lines.append(columnNames);
    lines.append(rows);
    return writeFile(tablePath(fileName), lines);
}

bool Vor_ProfValuesTable::getColumn(Vor_StringArray& out, const int& column) const {
    if (rows.isEmpty() || column < 0 || column >= rows[0].length()) return false;
    Vor_StringArray result;
    for (const Vor_StringArray& row : rows)
        result.append(column < row.length() ? row[column] : Vor_String());
    out = result;
    return true;
}

bool Vor_ProfValuesTable::getColumn(Vor_StringArray& out, const Vor_String& header) const {
    const int index = getColumnIdx(header);
    return index >= 0 && getColumn(out, index);
}

int Vor_ProfValuesTable::getColumnIdx(const Vor_String& header) const {
    int index = -1;
    return columnNames.find(header, index) ? index : -1;
}

bool Vor_ProfValuesTable::getRow(Vor_StringArray& out, const int& row) const {
    if (row < 0 || row >= rows.length()) return false;
    out = rows[row];
    return true;
}

bool Vor_ProfValuesTable::deleteRow(const int& row) {
    return rows.removeAt(row);
}

bool Vor_ProfValuesTable::insertRow(const int& row) {
    const int langColumn = getColumnIdx(gMacroLangs.GetCurLanguage());
    Vor_StringArray fresh;
    fresh.setLogicalLength(columnNames.length());
    if (row >= 0 && row < rows.length()) fresh = rows[row];

    Vor_String prefix = tableName;
    if (langColumn >= 0 && langColumn < fresh.length()) {
        Vor_String description = fresh[langColumn];
        const int digit = findFirstNumbers(description);
        if (digit >= 0) description = description.left(digit);
        if (!description.isEmpty()) prefix = description;
    }
    Vor_String keyBase = "1";
    if (!fresh.isEmpty() && !fresh[0].isEmpty()) keyBase = fresh[0];
    const Vor_String key = findUnusedSysName(keyBase);
    if (fresh.isEmpty()) fresh.setLogicalLength(1);
    fresh[0] = key;
    if (langColumn >= 0 && langColumn < fresh.length()) fresh[langColumn] = prefix + key;
    rows.insertAt(std::clamp(row + 1, 0, rows.length()), fresh);
    return true;
}

void Vor_ProfValuesTable::getSysNames(Vor_StringArray& out, bool filtered) const {
    out.removeAll();
    Vor_StringArray keys, flags;
    if (!getColumn(keys, 0) || !getColumn(flags, 1) || keys.length() != flags.length()) return;
    const Vor_String prefix = tableName + "-";
    for (int i = 0; i < keys.length(); ++i)
        if (!filtered || flags[i] == Vor_String("1")) out.append(prefix + keys[i]);
}

void Vor_ProfValuesTable::getSysNames(Vor_StringArray& out) const {
    getSysNames(out, false);
}

void Vor_ProfValuesTable::getFilteredSysNames(Vor_StringArray& out) const {
    getSysNames(out, true);
}

bool Vor_ProfValuesTable::findSysName(const Vor_String& key, int& row) const {
    Vor_StringArray keys;
    if (!getColumn(keys, 0)) return false;
    return keys.find(key, row);
}

Vor_String Vor_ProfValuesTable::findUnusedSysName(const Vor_String& base) const {
    Vor_StringArray keys;
    getColumn(keys, 0);
    return findNonExistingString(keys, base);
}

int Vor_ProfValuesTable::getfilteredIdx(const int& row) const {
    Vor_StringArray flags;
    if (!getColumn(flags, 1) || row < 0 || row >= flags.length()) return -1;
    int skipped = 0;
    for (int i = 0; i < row; ++i)
        if (!(flags[i] == Vor_String("1"))) ++skipped;
    return row - skipped;
}

void Vor_ProfValuesTable::removeInactiveEntries() {
    for (int i = 0; i < rows.length();)
        if (rows[i].length() >= 2 && rows[i][1] == Vor_String("0"))
            rows.removeAt(i);
        else
            ++i;
}

bool Vor_ProfValuesTable::setToSS(Vor_Spread& sheet) const {
    sheet.SetBool(sheet::Sheet::kOptRedraw, false);
    sheet.setMaxRows(0);
    sheet.setMaxCols(0);
    if (rows.isEmpty()) {
        sheet.SetBool(sheet::Sheet::kOptRedraw, true);
        return false;
    }
    // Cells beyond the header are shown under empty headers: what the sheet does not show, saving
    // it again would lose.
    int cols = columnNames.length();
    for (const Vor_StringArray& row : rows)
        cols = std::max(cols, row.length());
    sheet.setMaxRows(rows.length());
    sheet.setMaxCols(cols);
    if (cols >= kFlagColumn) sheet.setColumnCheckBoxes(kFlagColumn, false, false);
    sheet.setRow(kHeaderAxis, columnNames);
    Vor_StringArray names;
    names.setLogicalLength(rows.length());
    for (Vor_String& n : names)
        n = tableName;
    sheet.setColumn(kHeaderAxis, names);
    for (int i = 0; i < rows.length(); ++i)
        sheet.setRow(i + 1, rows[i]);
    fitToSample(sheet);
    sheet.setChanged(false);
    sheet.SetBool(sheet::Sheet::kOptRedraw, true);
    return true;
}

bool Vor_ProfValuesTable::getFromSS(Vor_Spread& sheet) {
    const int maxRows = sheet.maxRows(), maxCols = sheet.maxCols();
    if (maxRows <= 0 || maxCols <= 0) return false;
    // Cells are read as they were put in or typed, not as the values the sheet makes of them: a
    // key "007", a text "1.50" or "12%" is written back as it stands.
    const auto rowAsTyped = [&](int r) {
        Vor_StringArray cells;
        for (int c = 1; c <= maxCols; ++c) {
            Vor_String s;
            sheet.getText(c, r, kTextData, s);
            cells.append(s);
        }
        return cells;
    };
    Vor_StringArray header = rowAsTyped(kHeaderAxis);
    while (!header.isEmpty() && header.last().isEmpty())
        header.removeAt(header.length() - 1);
    Vor_String name;
    sheet.getText(kHeaderAxis, 1, kTextValue, name);
    Vor_Array<Vor_StringArray> read;
    for (int r = 1; r <= maxRows; ++r) {
        Vor_StringArray row = rowAsTyped(r);
        // cells under empty headers past the named columns are kept only where they hold something
        while (row.length() > header.length() && row.last().isEmpty())
            row.removeAt(row.length() - 1);
        read.append(row);
    }
    columnNames = header;
    tableName = name;
    rows = read;
    return true;
}
