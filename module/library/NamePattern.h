#pragma once
// How the sizes of a table are named, learned from its rows, and the new row a size makes.

#include "library/Vor_ProfValuesTable.h"

#include <vector>

/// The naming of a table's rows: description prefixes and which value fields make the key.
struct NamePattern {
    Vor_StringArray prefixes;      ///< per description column, its text before the first digit
    Vor_StringArray suffixes;      ///< per description column, its text after the key ("HE 200 AA": " AA")
    int languageSlot = -1;         ///< which prefix is the current language's
    std::vector<int> keyPositions; ///< per key part, the value field it comes from (0 = A)
    bool found = false;            ///< a row matched; else the fields are those of the last attempt
};

/// The first description column and the first value column of a row: descriptions are one per user
/// language ("SysName", "I/O", descriptions, values).
int firstValueColumn();
/// Learns the pattern from row `start` and, while none matches, the rows after it.
NamePattern learnNamePattern(const Vor_ProfValuesTable& table, int start);
/// The key the visible field texts make ("300x150x12"); positions beyond the fields are skipped.
Vor_String composeKey(const NamePattern& pattern, const Vor_StringArray& fields);
/// The name shown for that key: the current language's prefix and the key.
Vor_String composeName(const NamePattern& pattern, const Vor_StringArray& fields);
/// The row a new size makes from the current row; false when that row is too short.
bool buildNewRow(const Vor_StringArray& current, const NamePattern& pattern, bool automatic,
                 const Vor_String& typedName, const Vor_StringArray& fields, Vor_StringArray& row);
/// True unless the table holds rectangular hollow sections whose corner radius is neither 0 nor
/// greater than the wall thickness.
bool isValidNewRow(const Vor_String& typeCode, const Vor_StringArray& row);
/// Where a row with this key goes among the table's rows, by the sizes' order.
int sortedInsertIndex(const Vor_ProfValuesTable& table, const Vor_String& key);
