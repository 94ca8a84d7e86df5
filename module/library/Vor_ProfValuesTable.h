#pragma once
// One profile values table: the sizes of one section series, as read from and written to "prof/*.pr".

#include "frame/VorExport.h"

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

class Vor_Spread;

/// A section series: type code, column headers and one row per size (key, in-use flag, descriptions
/// per user language, dimension values). A row's system name is tableName + "-" + its key.
class VOR_EXPORT Vor_ProfValuesTable {
public:
    Vor_ProfValuesTable() = default;
    Vor_ProfValuesTable(const Vor_ProfValuesTable&) = default;
    Vor_ProfValuesTable& operator=(const Vor_ProfValuesTable&) = default;
    virtual ~Vor_ProfValuesTable();

    Vor_String tableName;            ///< prefix of the system names; from the file name, never written
    Vor_String typeCode;             ///< "1" .. "17", or a user section drawing "name.dwg"
    Vor_StringArray columnNames;     ///< "SysName", "I/O", one per language, property names
    Vor_Array<Vor_StringArray> rows; ///< in file order; a row may be shorter or longer than the header

    /// Reads libDir + "prof/" + fileName. A damaged line is read as well as it goes, with a problem
    /// noted; false when there is no readable file within the budgets of table line files, or the
    /// name is no single path part (the table then keeps what it held, the reason is the problem).
    bool readFromFile(const Vor_String& fileName);
    /// True when the last read took the whole file as it stands: only such a table may be written
    /// back over its file (or renamed, or deleted) without losing what the reader could not take.
    bool readCleanly() const { return m_cleanly; }
    /// Writes type line, header and rows to libDir + "prof/" + fileName, atomically; false when the
    /// name is no single path part or the write failed.
    bool writeToFile(const Vor_String& fileName) const;
    /// What the last read could not take as it stood, one text each ("HEA.pr:7: ..."); empty for a
    /// clean file.
    const Vor_StringArray& problems() const { return m_problems; }

    bool getColumn(Vor_StringArray& out, const int& column) const;
    bool getColumn(Vor_StringArray& out, const Vor_String& header) const;
    int getColumnIdx(const Vor_String& header) const;
    bool getRow(Vor_StringArray& out, const int& row) const;
    bool deleteRow(const int& row);
    /// Inserts after `row` a copy of it (a row of empty cells for an invalid row) with a fresh key
    /// and a description of the current language that follows the copied one.
    bool insertRow(const int& row);
    void getSysNames(Vor_StringArray& out) const;
    /// System names of the rows in use (flag exactly "1").
    void getFilteredSysNames(Vor_StringArray& out) const;
    /// Row of `key` (a row key, not a system name); false when there is none.
    bool findSysName(const Vor_String& key, int& row) const;
    /// A key that no row uses yet, formed from `base`.
    Vor_String findUnusedSysName(const Vor_String& base) const;
    /// Position of `row` among the rows in use; -1 outside the table.
    int getfilteredIdx(const int& row) const;
    /// Removes the rows flagged "0".
    void removeInactiveEntries();

    /// The table as the sheet shows it: header row, table name as row headers, flags as check boxes.
    bool getFromSS(Vor_Spread& sheet);
    bool setToSS(Vor_Spread& sheet) const;

private:
    void getSysNames(Vor_StringArray& out, bool filtered) const;

    Vor_StringArray m_problems;
    bool m_cleanly = false;
};
