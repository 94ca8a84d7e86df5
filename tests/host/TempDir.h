#pragma once
// A temporary folder for one test, removed with everything in it afterwards.

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vorhost-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        m_path = pattern + "/";
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The folder, ending in '/'.
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + name; }
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(file(name)).parent_path());
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    /// Number of entries in the folder (to see that no temporary file was left).
    int entryCount() const {
        int n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(m_path))
            ++n;
        return n;
    }

private:
    std::string m_path;
};

/// Makes every write of more than `bytes` bytes to a file fail (EFBIG) while it lives; works for root
/// too, which file permissions would not stop.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limited{bytes, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};
