#pragma once
// The native table file (*.sss): a versioned JSON document, described in docs/table-file.md.

#include <cstddef>
#include <string>
#include <string_view>

namespace sheet {

class Sheet;

/// Outcome of a save or load; `error` says what went wrong in words a user can act on.
struct FileResult {
    bool ok = false;
    std::string error;
    explicit operator bool() const { return ok; }
};

/// Current version of the file layout.
inline constexpr int kSheetFileVersion = 1;

/// Largest table file that is opened (larger ones are refused before they are read).
inline constexpr std::size_t kMaxTableFileBytes = std::size_t(128) << 20;

/// The sheet as the JSON text of a table file.
std::string sheetToJson(const Sheet& s);
/// Replaces the sheet's contents by the table in `json`; on failure the sheet is unchanged.
FileResult sheetFromJson(Sheet& s, std::string_view json);
/// Writes the table file with the careful file writer: a failed save keeps the old file whole, a
/// saved file keeps its mode, and a symbolic link stays a link.
FileResult saveSheet(const Sheet& s, const std::string& path);
/// Loads a table file; a damaged or foreign file is refused and the sheet stays as it was.
FileResult loadSheet(Sheet& s, const std::string& path);

} // namespace sheet
