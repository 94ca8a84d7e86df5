#pragma once
// A calculation table as a document: its start in the editor, its file, its exports, its notes and
// its table properties. Dialogs reach a table's files only through this class.

#include "calc/TablePropertyList.h"

#include <string>

class Vor_Spread;

class TableDocument {
public:
    /// What an export writes, chosen by the last three characters of the name (any letter case).
    enum class ExportKind {
        Text,    ///< "txt": "|" between the columns, CR LF, shown texts
        Html,    ///< "htm"
        Excel,   ///< "xls"
        Unknown, ///< anything else: refused
    };

    explicit TableDocument(Vor_Spread& grid)
        : m_grid(grid) {}

    /// Prepares the grid: engine options, for a new table the 6 x 11 grid of text cells and the
    /// new-table properties, then the repair of moved header and footer references, then the text
    /// tips. `documentPath` is empty for a new table.
    void init(bool isNew, const Vor_String& documentPath);
    /// Loads a table file; on failure the open table stays as it was and lastError() says why.
    bool load(const std::string& path);
    /// Saves the table; a failed save keeps the old file (lastError() says why).
    bool save(const std::string& path);
    /// Exports by the name's extension; false for an unknown extension or a failed export.
    bool exportTo(const std::string& path);
    static ExportKind exportKindOf(const std::string& path);
    /// Why the last load, save or export failed.
    const std::string& lastError() const { return m_error; }

    /// The note of a cell ("" for none); setting one raises the change flag.
    std::string note(int col, int row) const;
    bool setNote(int col, int row, const std::string& text);

    /// The table properties from the corner cell's tag; false when the variable lists were uneven.
    bool readProperties(TableProperties& props) const;
    /// Writes the table properties into the corner cell's tag; in the editor an undo step.
    bool writeProperties(const TableProperties& props);

private:
    bool failed();

    Vor_Spread& m_grid;
    std::string m_error;
};

/// Shorthands of TableDocument for code that holds only the grid.
void initTableDocument(Vor_Spread& grid, bool isNew, const Vor_String& documentPath);
bool readTableProperties(const Vor_Spread& grid, TableProperties& props);
bool writeTableProperties(Vor_Spread& grid, const TableProperties& props);
