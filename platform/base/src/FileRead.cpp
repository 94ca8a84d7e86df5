#include <base/FileRead.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {
namespace {

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

std::string systemError(const char* what, const std::string& path, int err) {
    return std::string(what) + " " + path + ": " + std::strerror(err);
}

std::string sizeText(std::size_t bytes) {
    if (bytes >= (std::size_t(1) << 20) && bytes % (std::size_t(1) << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder";
    if (S_ISFIFO(mode)) return "it is a pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device";
    if (S_ISSOCK(mode)) return "it is a socket";
    return "it is not a file";
}

} // namespace

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool readRegularFile(const std::string& path, std::string& bytes, std::size_t maxBytes, std::string* error) {
    // Opened without blocking, so that a FIFO put in the file's place cannot stall the open; the
    // kind is then checked on what was opened, not on the name, which may have changed since.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        setError(error, systemError("cannot open", path, errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        setError(error, systemError("cannot read", path, err));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        setError(error, "cannot open " + path + ": " + kindOf(st.st_mode) + ", not a file");
        return false;
    }
    const auto tooLarge = [&] {
        ::close(fd);
        setError(error, "cannot read " + path + ": the file is larger than " + sizeText(maxBytes) +
                            ", more than such a file ever holds");
        return false;
    };
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) return tooLarge();
    std::string result;
    result.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    // Read up to one byte past the budget: the file may have grown since fstat.
    while (true) {
        if (done == result.size()) {
            if (result.size() > maxBytes) return tooLarge();
            result.resize(std::min(maxBytes + 1, std::max<std::size_t>(result.size() * 2, 4096)));
        }
        const ssize_t n = ::read(fd, result.data() + done, result.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            setError(error, systemError("cannot read", path, err));
            return false;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (done > maxBytes) {
        setError(error, "cannot read " + path + ": the file is larger than " + sizeText(maxBytes) +
                            ", more than such a file ever holds");
        return false;
    }
    result.resize(done);
    bytes = std::move(result);
    return true;
}

} // namespace base
