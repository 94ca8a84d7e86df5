#include "library/Vor_ProfValuesTable.h"

#include "calc/Vor_Spread.h"

#include <base/NumberText.h>
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

constexpr int kHeaderAxis = 0;   // row 0 and column 0 of the sheet are its headers
constexpr int kFlagColumn = 2;   // the "I/O" flag in sheet columns (from 1)
constexpr int kMaxProblems = 20; // a file damaged throughout names its first faults, then counts

Vor_String tablePath(const Vor_String& fileName) {
    return gSettings.libDir + "prof/" + fileName;
}

bool isBlank(const Vor_StringArray& line) {
    return std::all_of(line.begin(), line.end(), [](const Vor_String& c) { return c.isEmpty(); });
}

/// Reads a table text that the strict reader refused, line by line: a quote left open at the end of
/// a line ends its cell there, text after a closing quote is kept as text. Every line yields cells.
Vor_Array<Vor_StringArray> parseForgiving(std::string_view text) {
    Vor_Array<Vor_StringArray> lines;
    while (!text.empty()) {
        std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Vor_StringArray cells;
        if (!line.empty()) {
            std::string cell;
            bool quoted = false, atStart = true;
            for (std::size_t i = 0; i < line.size(); ++i) {
                char ch = line[i];
                if (quoted) {
                    if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                        cell += '"';
                        ++i;
                    } else if (ch == '"') {
                        quoted = false;
                    } else {
                        cell += ch;
                    }
                } else if (ch == ';') {
                    cells.append(Vor_String(cell));
                    cell.clear();
                    atStart = true;
                    continue;
                } else if (ch == '"' && atStart) {
                    quoted = true;
                } else {
                    cell += ch;
                }
                atStart = false;
            }
            cells.append(Vor_String(cell));
        }
        lines.append(cells);
    }
    return lines;
}

} // namespace

Vor_ProfValuesTable::~Vor_ProfValuesTable() = default;

bool Vor_ProfValuesTable::readFromFile(const Vor_String& fileName) {
    m_problems.removeAll();
    const Vor_String path = tablePath(fileName);
    Vor_Array<Vor_StringArray> lines;
    std::string error;
    if (!readFile(path, tableName, lines, &error)) {
        // A file that exists within the budgets but is damaged is read as well as it goes, so that
        // the rows it holds can be seen and saved again; a missing or oversized file is no table.
        std::string bytes;
        if (!fileExists(path) || !readWholeFile(path.str(), bytes, nullptr, std::size_t(32) << 20)) {
            m_problems.append(Vor_String(error));
            return false;
        }
        m_problems.append(Vor_String(error + " (read line by line)"));
        lines = parseForgiving(decodeText(stripUtf8Bom(bytes)));
        tableName = removeExtension(getFileName(path));
    }

    // Line numbers of the lines that hold something: blank lines carry no size and are left out.
    std::vector<int> lineNo;
    Vor_Array<Vor_StringArray> kept;
    for (int i = 0; i < lines.length(); ++i)
        if (!isBlank(lines[i])) {
            kept.append(lines[i]);
            lineNo.push_back(i + 1);
        }
    if (kept.length() != lines.length() && lines.length() > 1)
        m_problems.append(fileName + ": " + Vor_String(lines.length() - kept.length()) +
                          " empty lines left out");

    if (kept.length() <= 1) {
        rows = kept;
        return true;
    }
    int first = 0;
    if (kept[0].length() >= 2 && kept[0][0].equal("SysName", false)) {
        // the header came first: the type line is missing
        typeCode = Vor_String();
        m_problems.append(fileName + ":1: no section type line; the section type is left open");
    } else {
        typeCode = kept[0].isEmpty() ? Vor_String() : kept[0][0];
        first = 1;
    }
    columnNames = kept[first];
    Vor_Array<Vor_StringArray> body;
    for (int i = first + 1; i < kept.length(); ++i)
        body.append(kept[i]);
    rows = body;

    // Notes on what a person should look at; every row stays as it was read.
    Vor_StringArray langs;
    gMacroLangs.GetAllLanguages(langs);
    int firstValue = 2;
    while (firstValue < columnNames.length() && langs.contains(columnNames[firstValue], false))
        ++firstValue;
    const bool numericValues = isNumber(typeCode) && typeCode.toInt() >= 1 && typeCode.toInt() <= 17;
    std::unordered_map<std::string, int> seen;
    Vor_StringArray notes;
    int count = 0;
    auto note = [&](int row, const Vor_String& what) {
        if (++count <= kMaxProblems)
            notes.append(fileName + ":" + Vor_String(lineNo[std::size_t(row + first + 1)]) + ": " + what);
    };
    for (int r = 0; r < rows.length(); ++r) {
        const Vor_StringArray& row = rows[r];
        if (row.length() > columnNames.length())
            note(r, Vor_String(row.length() - columnNames.length()) + " cells more than the header names");
        if (row.isEmpty()) continue;
        auto [it, fresh] = seen.emplace(row[0].str(), r);
        if (!fresh)
            note(r, "the key \"" + row[0] + "\" is also on line " +
                        Vor_String(lineNo[std::size_t(it->second + first + 1)]));
        if (numericValues)
            for (int c = firstValue; c < row.length() && c < columnNames.length(); ++c) {
                double v = 0;
                if (!row[c].isEmpty() && base::readTypedNumber(row[c].str(), v) != base::TypedNumber::Number)
                    note(r, columnNames[c] + " \"" + row[c] + "\" is no number");
            }
    }
    if (count > kMaxProblems)
        notes.append(fileName + ": " + Vor_String(count - kMaxProblems) + " more notes");
    m_problems.append(notes);
    return true;
}

bool Vor_ProfValuesTable::writeToFile(const Vor_String& fileName) const {
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
    sheet.fitAll();
    sheet.setChanged(false);
    sheet.SetBool(sheet::Sheet::kOptRedraw, true);
    return true;
}

bool Vor_ProfValuesTable::getFromSS(Vor_Spread& sheet) {
    const int maxRows = sheet.maxRows(), maxCols = sheet.maxCols();
    if (maxRows <= 0 || maxCols <= 0) return false;
    Vor_StringArray header;
    sheet.getRow(kHeaderAxis, header);
    while (!header.isEmpty() && header.last().isEmpty())
        header.removeAt(header.length() - 1);
    Vor_String name;
    sheet.getText(kHeaderAxis, 1, kTextValue, name);
    Vor_Array<Vor_StringArray> read;
    for (int r = 1; r <= maxRows; ++r) {
        Vor_StringArray row;
        sheet.getRow(r, row);
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
