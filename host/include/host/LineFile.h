#pragma once
// Files of lines: tables of cells (profile tables "*.pr") and plain lists of lines.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cstddef>
#include <string>

/// The budgets of table line files (docs/formats.md), for every reader of the format: far above any
/// real file (a profile table holds a few thousand lines of a few dozen cells), so that a damaged or
/// hostile file is refused before it costs memory without bound. 4 000 000 cells of a few bytes hold
/// some 250 MB in memory at most.
namespace lineTableBudget {
inline constexpr std::size_t kMaxFileBytes = std::size_t(32) << 20;
inline constexpr std::size_t kMaxLineBytes = std::size_t(1) << 20;
inline constexpr int kMaxLines = 1000000;
inline constexpr int kMaxCellsPerLine = 4096;
inline constexpr long long kMaxCells = 4000000;
} // namespace lineTableBudget

/// Reads a table file: one line of cells per file line, cells separated by ';', quoted where needed
/// (docs/formats.md). `tableName` becomes the file name without folder and extension. On failure
/// (no file, unreadable, malformed, beyond the size budgets) nothing is changed and *error names the
/// file and line.
bool readFile(const Vor_String& path, Vor_String& tableName, Vor_Array<Vor_StringArray>& lines,
              std::string* error = nullptr);
/// Writes a table file that readFile reads back to the same lines, whatever the cells hold; atomic,
/// so a failed write keeps the old file.
bool writeFile(const Vor_String& path, const Vor_Array<Vor_StringArray>& lines, std::string* error = nullptr);

/// The table file text of the lines, and back; used by readFile/writeFile. `source` names the text in
/// error messages.
std::string formatLineTable(const Vor_Array<Vor_StringArray>& lines);
bool parseLineTable(std::string_view text, const std::string& source, Vor_Array<Vor_StringArray>& lines,
                    std::string* error = nullptr);

/// Reads the lines of a text file (without line ends; a last line without a line end counts). A file
/// of the old code page (decided once for the whole file) is converted to UTF-8, except that single
/// 0xA4 and 0xBF bytes stay as they are for strToArr to split at. Files beyond the size budgets of
/// docs/formats.md are refused. On failure `lines` is unchanged.
bool ObjectExportReadFile(const Vor_String& path, Vor_StringArray& lines, std::string* error = nullptr);
/// Writes each line followed by a line end (atomic). A line holding a line break would not read back
/// as one line, so such lines are refused and nothing is written.
bool ObjectExportWriteFile(const Vor_String& path, const Vor_StringArray& lines,
                           std::string* error = nullptr);

/// Paths (folder + name) of the files in `folder` whose names match `pattern` ('*' any text, '?' one
/// character; compared without regard to case), sorted by name; `files` is replaced. False when the
/// folder cannot be read.
bool ObjectExportFindFiles(const Vor_String& folder, const Vor_String& pattern, Vor_StringArray& files);
/// As ObjectExportFindFiles, also in all subfolders: a folder's own files first, then each subfolder
/// in name order. Linked folders are not followed.
bool ObjectExportFindFilesRecursive(const Vor_String& folder, const Vor_String& pattern,
                                    Vor_StringArray& files);
/// True when a name matches a pattern of '*' and '?' without regard to case.
bool matchesPattern(const Vor_String& name, const Vor_String& pattern);

/// Creates a folder and any missing parent folders; true when the folder exists afterwards.
bool ObjectExportCreateDirectory(const Vor_String& path);
