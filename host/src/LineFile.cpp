#include <host/LineFile.h>

#include "Utf8_p.h"
#include <host/FileUtils.h>
#include <host/TextCodec.h>

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr char kCellSeparator = ';';
constexpr std::string_view kBom = "\xEF\xBB\xBF";

void setError(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

bool needsQuotes(const Vor_String& cell, bool onlyCell) {
    const std::string_view s = cell.view();
    if (s.empty()) return onlyCell; // "" tells one empty cell from a line without cells
    return s.find_first_of(";\"\n\r") != std::string_view::npos || s.substr(0, kBom.size()) == kBom;
}

void appendCell(std::string& out, const Vor_String& cell, bool onlyCell) {
    if (!needsQuotes(cell, onlyCell)) {
        out += cell.str();
        return;
    }
    out += '"';
    for (char c : cell.view()) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

using namespace lineTableBudget;

// Characters (UTF-8 sequences, or single stray bytes) of a text folded for comparison.
std::vector<std::string_view> foldedChars(const std::string& folded) {
    std::vector<std::string_view> chars;
    const std::string_view s = folded;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = static_cast<std::size_t>(std::max(1, vor::utf8::sequenceLength(s, i)));
        chars.push_back(s.substr(i, len));
        i += len;
    }
    return chars;
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isRealFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool listFolder(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int c = Vor_String(a).compare(Vor_String(b), false);
        return c != 0 ? c < 0 : a < b;
    });
    return true;
}

bool findFiles(const std::string& folder, const Vor_String& pattern, bool recursive, Vor_StringArray& files) {
    std::vector<std::string> names;
    if (!listFolder(folder.empty() ? "./" : folder, names)) return false;
    std::vector<std::string> subfolders;
    for (const std::string& name : names) {
        const std::string path = folder + name;
        if (isRegularFile(path)) {
            if (matchesPattern(Vor_String(name), pattern)) files.append(Vor_String(path));
        } else if (recursive && isRealFolder(path)) {
            subfolders.push_back(path + "/");
        }
    }
    for (const std::string& sub : subfolders)
        findFiles(sub, pattern, true, files); // an unreadable subfolder is skipped, not fatal
    return true;
}

} // namespace

std::string formatLineTable(const Vor_Array<Vor_StringArray>& lines) {
    std::string out;
    for (const Vor_StringArray& row : lines) {
        for (int i = 0; i < row.length(); ++i) {
            if (i > 0) out += kCellSeparator;
            appendCell(out, row[i], row.length() == 1);
        }
        out += '\n';
    }
    return out;
}

bool parseLineTable(std::string_view bytes, const std::string& source, Vor_Array<Vor_StringArray>& lines,
                    std::string* error) {
    const auto fail = [&](int line, const std::string& what) {
        setError(error, source + ":" + std::to_string(line) + ": " + what);
        return false;
    };
    if (bytes.size() > kMaxFileBytes) {
        setError(error, source + ": the text is larger than 32 MiB");
        return false;
    }
    // One encoding for the whole file, never line by line.
    const std::string text = decodeText(stripUtf8Bom(bytes));
    Vor_Array<Vor_StringArray> rows;
    std::size_t pos = 0;
    int lineNo = 1;
    long long cells = 0;
    const auto atLineEnd = [&](std::size_t p) {
        return p == text.size() || text[p] == '\n' ||
               (text[p] == '\r' && p + 1 < text.size() && text[p + 1] == '\n');
    };
    while (pos < text.size()) {
        if (rows.length() >= kMaxLines)
            return fail(lineNo, "more than " + std::to_string(kMaxLines) + " lines");
        const std::size_t rowStart = pos;
        const int rowLine = lineNo;
        const auto rowTooLong = [&](std::size_t end) { return end - rowStart > kMaxLineBytes; };
        Vor_StringArray row;
        if (!atLineEnd(pos)) {
            while (true) {
                std::string cell;
                if (text[pos] == '"') {
                    const int openedOn = lineNo;
                    ++pos;
                    while (true) {
                        const std::size_t quote = text.find('"', pos);
                        if (quote == std::string::npos)
                            return fail(openedOn, "quoted cell not closed before the end of the file");
                        if (rowTooLong(quote)) return fail(rowLine, "line longer than 1 MiB");
                        lineNo += static_cast<int>(
                            std::count(text.begin() + static_cast<std::ptrdiff_t>(pos),
                                       text.begin() + static_cast<std::ptrdiff_t>(quote), '\n'));
                        cell.append(text, pos, quote - pos);
                        pos = quote + 1;
                        if (pos < text.size() && text[pos] == '"') {
                            cell += '"';
                            ++pos;
                            continue;
                        }
                        break;
                    }
                    if (!atLineEnd(pos) && text[pos] != kCellSeparator)
                        return fail(lineNo, "unexpected text after a closing quote");
                } else {
                    std::size_t end = pos;
                    while (end < text.size() && text[end] != kCellSeparator && !atLineEnd(end))
                        ++end;
                    if (rowTooLong(end)) return fail(rowLine, "line longer than 1 MiB");
                    cell.assign(text, pos, end - pos);
                    pos = end;
                }
                if (row.length() >= kMaxCellsPerLine)
                    return fail(rowLine,
                                "more than " + std::to_string(kMaxCellsPerLine) + " cells in a line");
                if (++cells > kMaxCells)
                    return fail(rowLine, "more than " + std::to_string(kMaxCells) + " cells in the file");
                row.append(Vor_String(std::move(cell)));
                if (pos < text.size() && text[pos] == kCellSeparator) {
                    ++pos;
                    continue;
                }
                break;
            }
        }
        // pos is at a line end or at the end of the text.
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size()) ++pos; // the '\n'
        ++lineNo;
        rows.append(row);
    }
    lines = std::move(rows);
    return true;
}

bool readFile(const Vor_String& path, Vor_String& tableName, Vor_Array<Vor_StringArray>& lines,
              std::string* error) {
    std::string bytes;
    if (!readWholeFile(path.str(), bytes, error, kMaxFileBytes)) return false;
    if (!parseLineTable(bytes, path.str(), lines, error)) return false;
    tableName = removeExtension(getFileName(path));
    return true;
}

bool writeFile(const Vor_String& path, const Vor_Array<Vor_StringArray>& lines, std::string* error) {
    return atomicWriteFile(path.str(), formatLineTable(lines), error);
}

bool ObjectExportReadFile(const Vor_String& path, Vor_StringArray& lines, std::string* error) {
    std::string bytes;
    if (!readWholeFile(path.str(), bytes, error, kMaxFileBytes)) return false;
    // One encoding for the whole file; the separator bytes 0xA4 and 0xBF stay single bytes.
    const std::string text = decodeText(stripUtf8Bom(bytes), "\xA4\xBF");
    std::string_view rest = text;
    Vor_StringArray result;
    for (int lineNo = 1; !rest.empty(); ++lineNo) {
        const std::size_t nl = rest.find('\n');
        std::string_view line = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > kMaxLineBytes) {
            setError(error, path.str() + ":" + std::to_string(lineNo) + ": line longer than 1 MiB");
            return false;
        }
        if (lineNo > kMaxLines) {
            setError(error, path.str() + ": more than " + std::to_string(kMaxLines) + " lines");
            return false;
        }
        result.append(Vor_String(line));
    }
    lines = std::move(result);
    return true;
}

bool ObjectExportWriteFile(const Vor_String& path, const Vor_StringArray& lines, std::string* error) {
    std::string out;
    for (int i = 0; i < lines.length(); ++i) {
        if (lines[i].view().find_first_of("\r\n") != std::string_view::npos) {
            setError(error, "cannot write " + path.str() + ": line " + std::to_string(i + 1) +
                                " holds a line break");
            return false;
        }
        out += lines[i].str();
        out += '\n';
    }
    return atomicWriteFile(path.str(), out, error);
}

bool matchesPattern(const Vor_String& name, const Vor_String& pattern) {
    // "*.*" means every file, also one without a dot, as users of the old system expect.
    if (pattern == "*.*") return true;
    const std::string foldedName = name.toLower().str();
    const std::string foldedPattern = pattern.toLower().str();
    const auto n = foldedChars(foldedName);
    const auto p = foldedChars(foldedPattern);
    // Greedy match with one back-track point at the last '*'.
    std::size_t i = 0, j = 0, starP = std::string::npos, starN = 0;
    while (i < n.size()) {
        if (j < p.size() && (p[j] == "?" || p[j] == n[i])) {
            ++i;
            ++j;
        } else if (j < p.size() && p[j] == "*") {
            starP = j++;
            starN = i;
        } else if (starP != std::string::npos) {
            j = starP + 1;
            i = ++starN;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j] == "*")
        ++j;
    return j == p.size();
}

bool ObjectExportFindFiles(const Vor_String& folder, const Vor_String& pattern, Vor_StringArray& files) {
    Vor_StringArray found;
    if (!findFiles(folderWithSlash(folder).str(), pattern, false, found)) return false;
    files = found;
    return true;
}

bool ObjectExportFindFilesRecursive(const Vor_String& folder, const Vor_String& pattern,
                                    Vor_StringArray& files) {
    Vor_StringArray found;
    if (!findFiles(folderWithSlash(folder).str(), pattern, true, found)) return false;
    files = found;
    return true;
}

bool ObjectExportCreateDirectory(const Vor_String& path) {
    const Vor_String folder = toSlashes(path);
    if (folder.isEmpty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(folder.str(), ec);
    return folderExists(folder);
}
