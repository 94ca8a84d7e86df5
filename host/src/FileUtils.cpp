#include <host/FileUtils.h>

#include <base/FileRead.h>
#include <base/SafeFile.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

int lastSeparator(const Vor_String& path) {
    const std::string& s = path.str();
    const std::size_t i = s.find_last_of("/\\");
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

// Index of the dot that begins the extension, or -1.
int extensionDot(const Vor_String& path) {
    const int nameStart = lastSeparator(path) + 1;
    const std::size_t dot = path.str().rfind('.');
    if (dot == std::string::npos || static_cast<int>(dot) <= nameStart) return -1;
    return static_cast<int>(dot);
}

std::string systemError(const std::string& what, const std::string& path, int err) {
    return what + " " + path + ": " + std::strerror(err);
}

void setError(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return names;
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool pathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

Vor_String toSlashes(const Vor_String& path) {
    std::string s = path.str();
    std::replace(s.begin(), s.end(), '\\', '/');
    return Vor_String(std::move(s));
}

Vor_String folderWithSlash(const Vor_String& folder) {
    Vor_String s = toSlashes(folder);
    if (!s.isEmpty() && !s.endsWith("/")) s.append('/');
    return s;
}

Vor_String removeExtension(const Vor_String& path) {
    const int dot = extensionDot(path);
    return dot < 0 ? path : path.left(dot);
}

Vor_String changeExtension(const Vor_String& path, const Vor_String& extension) {
    Vor_String ext = extension;
    if (ext.startsWith(".")) ext.removeAt(0);
    Vor_String result = removeExtension(path);
    if (!ext.isEmpty()) result.append('.').append(ext);
    return result;
}

Vor_String getFileName(const Vor_String& path) {
    return path.mid(lastSeparator(path) + 1);
}

Vor_String getExtension(const Vor_String& path) {
    const int dot = extensionDot(path);
    return dot < 0 ? Vor_String() : path.mid(dot + 1);
}

Vor_String getFolder(const Vor_String& path) {
    return toSlashes(path.left(lastSeparator(path) + 1));
}

bool samePath(const Vor_String& a, const Vor_String& b) {
    return toSlashes(a).equal(toSlashes(b), false);
}

std::optional<std::string> findExistingPath(const Vor_String& path) {
    const std::string p = toSlashes(path).str();
    if (p.empty()) return std::nullopt;
    if (pathExists(p)) return p;
    std::string found = p[0] == '/' ? "/" : "";
    std::size_t pos = p[0] == '/' ? 1 : 0;
    while (pos <= p.size()) {
        std::size_t next = p.find('/', pos);
        if (next == std::string::npos) next = p.size();
        const std::string part = p.substr(pos, next - pos);
        if (!part.empty()) {
            std::string candidate = found + part;
            if (!pathExists(candidate)) {
                const auto names = folderEntries(found);
                auto it = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
                    return Vor_String(n).equal(part, false);
                });
                if (it == names.end()) return std::nullopt;
                candidate = found + *it;
            }
            found = candidate;
            if (next < p.size()) found += '/';
        }
        pos = next + 1;
    }
    return found;
}

bool fileExists(const Vor_String& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const Vor_String& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool deleteFile(const Vor_String& path) {
    return fileExists(path) && ::unlink(path.c_str()) == 0;
}

bool ObjectExportGetFileTime(const Vor_String& path, std::time_t& time) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    time = st.st_mtime;
    return true;
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string* error, std::size_t maxBytes) {
    return base::readRegularFile(path, bytes, maxBytes, error);
}

bool atomicWriteFile(const std::string& path, std::string_view bytes, std::string* error) {
    return base::writeFileSafely(path, bytes, error);
}
