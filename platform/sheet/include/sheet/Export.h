#pragma once
// Exports of a sheet to text, an HTML page and the clipboard's tab-separated text.

#include <sheet/CellRef.h>
#include <sheet/SssFile.h>
#include <sheet/Style.h>

#include <string>
#include <string_view>

namespace sheet {

class Sheet;

/// Flags of the text export.
enum TextExportFlags : unsigned {
    kTextBar = 0x01,        ///< "|" between columns (otherwise a tab)
    kTextColHeaders = 0x02, ///< start with the column header row
    kTextRowHeaders = 0x04, ///< start each row with its header
    kTextCrLf = 0x08,       ///< CR LF line ends (otherwise LF)
    kTextShown = 0x10,      ///< the texts the cells show (otherwise the unformatted values)
};

/// Text and HTML exports cover the used block (from A1 to the last cell holding anything) and are
/// refused, empty or with a reason, when that block has more than 20 million cells.
/// The used block as text, one line per row. A cell holding the separator, a double quote or a line
/// break is written in double quotes with its quotes doubled (docs/table-file.md).
std::string exportText(const Sheet& s, unsigned flags);
/// Writes exportText to a file (see writeFileSafely).
FileResult exportTextFile(const Sheet& s, const std::string& path, unsigned flags);
/// A complete HTML page showing the table with its fonts, colours, borders, alignment and spans.
std::string exportHtml(const Sheet& s, std::string_view title = {});
FileResult exportHtmlFile(const Sheet& s, const std::string& path, std::string_view title = {});

/// A block as tab-separated text with CR LF line ends, quoted where a cell holds tabs, line breaks or quotes.
std::string clipboardCopy(const Sheet& s, const CellRange& block);
/// Pastes tab-separated text with its top-left cell at `at`, clipped to the grid; returns the block written
/// (col1 == 0 when nothing was written).
CellRange clipboardPaste(Sheet& s, CellPos at, std::string_view text);

/// Writes bytes with the careful file writer (shared by the exporters): the old file stays whole
/// when anything fails, keeps its mode, and a symbolic link stays a link.
FileResult writeFileSafely(const std::string& path, std::string_view bytes);

} // namespace sheet
