#pragma once
// Path and file helpers. Paths use '/'; names that arrive with '\' (old data, user input) are read as
// if they had '/'. Names are compared without regard to case, but folder parts are never lower-cased.

#include <host/Vor_String.h>

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

/// The path with every '\' turned into '/'.
Vor_String toSlashes(const Vor_String& path);
/// The folder with '/' separators and a '/' at its end (the empty text stays empty).
Vor_String folderWithSlash(const Vor_String& folder);

/// The path without the extension of its file name ("a/b.txt" gives "a/b"; a dot in a folder name or
/// at the start of the file name does not begin an extension).
Vor_String removeExtension(const Vor_String& path);
/// The path with the extension of its file name replaced; `extension` may be given with or without
/// its dot, and an empty one removes the extension ("a/b.txt", "bmp" gives "a/b.bmp").
Vor_String changeExtension(const Vor_String& path, const Vor_String& extension);
/// The file name with its extension, after the last '/' or '\'.
Vor_String getFileName(const Vor_String& path);
/// The extension of the file name without its dot, or "".
Vor_String getExtension(const Vor_String& path);
/// The folder part including its last '/', or "" for a bare name.
Vor_String getFolder(const Vor_String& path);

/// True when both paths name the same file by the porting rules: '\' read as '/', letters compared
/// without regard to case.
bool samePath(const Vor_String& a, const Vor_String& b);
/// The path of an existing file or folder that `path` names, found component by component without
/// regard to case where the exact spelling does not exist (data written on a case-blind system);
/// nothing when none exists.
std::optional<std::string> findExistingPath(const Vor_String& path);

bool fileExists(const Vor_String& path);
bool folderExists(const Vor_String& path);
/// Deletes a file; false when it could not be deleted (a missing file is not deleted either).
bool deleteFile(const Vor_String& path);
/// Modification time of a file; false when it cannot be read.
bool ObjectExportGetFileTime(const Vor_String& path, std::time_t& time);

/// Largest file any host reader takes in, unless it names a smaller budget of its own.
inline constexpr std::size_t kDefaultReadBudget = std::size_t(64) << 20;

/// All bytes of a file; false with a message naming the file when it cannot be read, or when it is
/// larger than `maxBytes` (a file of gigabytes is refused before anything is allocated for it).
bool readWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr,
                   std::size_t maxBytes = kDefaultReadBudget);
/// Replaces a file with the one careful writer (base::writeFileSafely): the file holds either its
/// old content or the whole new one, keeps its mode, and a symbolic link stays a link; false with a
/// message when anything fails, in which case the old file is untouched and no temporary file is
/// left behind.
bool atomicWriteFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);
