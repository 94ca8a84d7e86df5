#include <base/SafeFile.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {
namespace {

std::atomic<long long> gFailAfter{-1};
std::atomic<int> gFailErr{0};

// Bytes the test hook still lets through; -1 when it is off.
bool injectedFailure(std::size_t size, int& err) {
    long long left = gFailAfter.load();
    if (left < 0) return false;
    if (static_cast<long long>(size) <= left) {
        gFailAfter = left - static_cast<long long>(size);
        return false;
    }
    err = gFailErr.load();
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows a chain of symbolic links to the file they name, which need not exist yet.
std::string resolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n <= 0) return current;
        link.resize(static_cast<std::size_t>(n));
        current = link[0] == '/' ? link : folderOf(current) + link;
    }
    return current;
}

} // namespace

SafeFileWriter::SafeFileWriter(std::string path)
    : m_path(std::move(path)) {}

SafeFileWriter::~SafeFileWriter() {
    discard();
}

bool SafeFileWriter::fail(int err) {
    if (!m_failed) m_error = "cannot write " + m_path + ": " + std::strerror(err);
    m_failed = true;
    return false;
}

bool SafeFileWriter::open() {
    discard();
    m_failed = false;
    m_error.clear();
    if (m_path.empty()) {
        m_failed = true;
        m_error = "cannot write a file without a name";
        return false;
    }
    m_target = resolveLinks(m_path);
    m_keepMode = false;
    m_mode = 0;
    struct stat st {};
    if (::stat(m_target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            m_failed = true;
            m_error = "cannot write " + m_path + ": it is a folder";
            return false;
        }
        // A file the person may not write stays as it is, though the folder would allow a rename.
        if ((st.st_mode & 0222) == 0) return fail(EACCES);
        if (::access(m_target.c_str(), W_OK) != 0) return fail(errno);
        m_keepMode = true;
        m_mode = st.st_mode & 07777;
    }
    const std::string folder = folderOf(m_target);
    std::string name = m_target.substr(folder.size());
    // The temporary name must stay within the file system's limit for a legal long target name.
    if (name.size() > 200) name = name.substr(0, 200);
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temp = folder + "." + name + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST) break;
    }
    if (m_fd < 0) {
        const int err = errno;
        m_temp.clear();
        return fail(err);
    }
    return true;
}

bool SafeFileWriter::write(std::string_view bytes) {
    if (m_failed) return false;
    if (m_fd < 0) return fail(EBADF);
    int injected = 0;
    if (injectedFailure(bytes.size(), injected)) return fail(injected);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool SafeFileWriter::commit() {
    if (m_temp.empty()) {
        if (!m_failed) fail(EBADF);
        return false;
    }
    if (m_failed) {
        discard();
        return false;
    }
    // An outside writer (tempPath) may have replaced the file; reopen it to flush what it wrote.
    if (m_fd < 0) m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CLOEXEC);
    if (m_fd < 0) {
        fail(errno);
        discard();
        return false;
    }
    // Bytes an outside writer put in the file count for the test hook like bytes given to `write`.
    struct stat st {};
    const off_t own = ::lseek(m_fd, 0, SEEK_CUR);
    const std::size_t outside = ::fstat(m_fd, &st) == 0 && own >= 0 && st.st_size > own
                                    ? static_cast<std::size_t>(st.st_size - own)
                                    : 0;
    int injected = 0;
    if (injectedFailure(outside, injected)) {
        fail(injected);
        discard();
        return false;
    }
    // The new file keeps the permissions of the one it replaces; a new file gets the umask's.
    if (m_keepMode && ::fchmod(m_fd, m_mode) != 0) {
        fail(errno);
        discard();
        return false;
    }
    if (::fsync(m_fd) != 0) {
        fail(errno);
        discard();
        return false;
    }
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0) {
        fail(errno);
        discard();
        return false;
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        fail(errno);
        discard();
        return false;
    }
    m_temp.clear();
    // Make the rename itself durable; a failure here no longer endangers either version.
    const std::string folder = folderOf(m_target);
    const int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

void SafeFileWriter::discard() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
    m_temp.clear();
}

bool writeFileSafely(const std::string& path, std::string_view bytes, std::string* error) {
    SafeFileWriter w(path);
    const bool ok = w.open() && w.write(bytes) && w.commit();
    if (!ok && error) *error = w.error();
    return ok;
}

void failSafeWritesAfterForTesting(long long bytes, int err) {
    gFailErr = err;
    gFailAfter = bytes;
}

} // namespace base
