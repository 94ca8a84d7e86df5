#include "library/NamePattern.h"

#include <base/NumberText.h>
#include <host/MacroLangs.h>
#include <host/SortedTexts.h>
#include <host/VorUtils.h>

#include <cmath>

namespace {

constexpr int kFirstDescription = 2;
constexpr int kMaxPatternRows = 9999;
constexpr int kMaxTries = 99999;
constexpr int kThicknessField = 2; // value field C of a rectangular hollow section
constexpr int kRadiusField = 3;    // value field D

double numberOf(const Vor_String& text) {
    double v = std::nan("");
    if (base::readTypedNumber(text.str(), v) != base::TypedNumber::Number) return std::nan("");
    return v;
}

Vor_String beforeFirstDigit(const Vor_String& text) {
    const int digit = findFirstNumbers(text);
    return digit >= 0 ? text.left(digit) : Vor_String();
}

} // namespace

int firstValueColumn() {
    return kFirstDescription + gMacroLangs.count();
}

NamePattern learnNamePattern(const Vor_ProfValuesTable& table, int start) {
    NamePattern p;
    const int firstValue = firstValueColumn();
    const int langColumn = table.getColumnIdx(gMacroLangs.GetCurLanguage());
    for (int r = std::max(start, 0); r < table.rows.length() && r - start < kMaxPatternRows; ++r) {
        const Vor_StringArray& row = table.rows[r];
        p.prefixes.removeAll();
        p.suffixes.removeAll();
        for (int c = kFirstDescription; c < firstValue && c < row.length(); ++c) {
            const Vor_String prefix = beforeFirstDigit(row[c]);
            p.prefixes.append(prefix);
            // what follows the key in the description ("HE 200 AA") follows a new key as well
            const Vor_String rest = row[c].mid(prefix.length());
            p.suffixes.append(!row.isEmpty() && !row[0].isEmpty() && rest.startsWith(row[0])
                                  ? rest.mid(row[0].length())
                                  : Vor_String());
        }
        p.languageSlot = langColumn - kFirstDescription;
        p.keyPositions.clear();
        if (row.isEmpty()) continue;
        const Vor_StringArray parts = strToArr(row[0], 'x');
        std::vector<double> numbers;
        for (int c = firstValue; c < row.length(); ++c)
            numbers.push_back(numberOf(row[c]));
        std::vector<bool> used(numbers.size(), false);
        int tries = 0;
        bool matched = !parts.isEmpty();
        for (const Vor_String& part : parts) {
            const bool numeric = isNumber(part);
            const double wanted = numeric ? numberOf(part) : 0;
            int at = -1;
            for (std::size_t v = 0; v < numbers.size() && at < 0 && tries < kMaxTries; ++v, ++tries) {
                if (used[v]) continue; // two equal dimensions map to two fields
                if (numeric ? numbers[v] == wanted : row[firstValue + int(v)] == part) at = int(v);
            }
            if (at < 0) {
                matched = false;
                break;
            }
            used[std::size_t(at)] = true;
            p.keyPositions.push_back(at);
        }
        if (matched) {
            p.found = true;
            return p;
        }
    }
    return p;
}

Vor_String composeKey(const NamePattern& pattern, const Vor_StringArray& fields) {
    Vor_StringArray parts;
    for (int pos : pattern.keyPositions)
        if (pos >= 0 && pos < fields.length()) parts.append(fields[pos]);
    return arrToStr(parts, 'x');
}

Vor_String composeName(const NamePattern& pattern, const Vor_StringArray& fields) {
    const int slot = pattern.languageSlot;
    Vor_String name;
    if (slot >= 0 && slot < pattern.prefixes.length()) name = pattern.prefixes[slot];
    name += composeKey(pattern, fields);
    if (slot >= 0 && slot < pattern.suffixes.length()) name += pattern.suffixes[slot];
    return name;
}

bool buildNewRow(const Vor_StringArray& current, const NamePattern& pattern, bool automatic,
                 const Vor_String& typedName, const Vor_StringArray& fields, Vor_StringArray& row) {
    const int prefixes = pattern.prefixes.length();
    if (current.length() < 2 || current.length() < prefixes + kFirstDescription) return false;
    row = current;
    row[1] = "1";
    const Vor_String key = automatic ? composeKey(pattern, fields) : typedName;
    for (int i = 0; i < prefixes; ++i)
        row[kFirstDescription + i] =
            automatic ? pattern.prefixes[i] + key +
                            (i < pattern.suffixes.length() ? pattern.suffixes[i] : Vor_String())
                      : key;
    const int firstValue = kFirstDescription + prefixes;
    for (int c = firstValue; c < row.length(); ++c) {
        const int field = c - firstValueColumn();
        row[c] = field >= 0 && field < fields.length() ? fields[field] : Vor_String();
    }
    row[0] = key;
    return true;
}

bool isValidNewRow(const Vor_String& typeCode, const Vor_StringArray& row) {
    if (!(isNumber(typeCode) && numberOf(typeCode) == 10)) return true;
    const int thickness = firstValueColumn() + kThicknessField, radius = firstValueColumn() + kRadiusField;
    if (row.length() <= radius) return true;
    const double t = numberOf(row[thickness]), r = numberOf(row[radius]);
    return r == 0 || r > t;
}

int sortedInsertIndex(const Vor_ProfValuesTable& table, const Vor_String& key) {
    Vor_StringArray keys;
    table.getColumn(keys, 0);
    const Vor_StringArray parts = strToArr(key, 'x');
    const bool square = parts.length() >= 2 && parts[0] == parts[1];
    if (!square) {
        Vor_StringArray sorted = keys;
        return ObjectExportAddToSorted(sorted, key);
    }
    // a square size goes among the square sizes, which may share a table with rectangular ones
    Vor_StringArray squares;
    std::vector<int> rowOf;
    for (int r = 0; r < keys.length(); ++r) {
        const Vor_StringArray p = strToArr(keys[r], 'x');
        if (p.length() >= 2 && p[0] == p[1]) {
            squares.append(keys[r]);
            rowOf.push_back(r);
        }
    }
    const int at = ObjectExportAddToSorted(squares, key);
    if (at == 0) return rowOf.empty() ? keys.length() : rowOf[0]; // before the smallest square size
    return rowOf[std::size_t(at - 1)] + 1;
}
