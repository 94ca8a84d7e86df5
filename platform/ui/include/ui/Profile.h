#pragma once
// The application profile store.

#include <cstddef>
#include <string>

namespace ui {

/// The application profile: an INI file, sections and entries as the classic profile has them. A
/// file beyond kMaxBytes (or anything but a file) is not read: it would cost seconds and gigabytes
/// at every start. The program then says so once on stderr, starts from the defaults and keeps
/// what it writes in memory for the session, leaving the file as it was.
class Profile {
public:
    /// Far above any real profile (a few kilobytes of window placements and choices). A value of
    /// commas reads as a list of that many texts, some 30 times its size in memory.
    static constexpr std::size_t kMaxBytes = std::size_t(1) << 20;

    /// Sets the file (tests use a temporary one); default: ~/.config/vorlane/profile.ini.
    static void setFile(const std::string& path);
    static std::string file();
    static int getInt(const std::string& section, const std::string& entry, int defaultValue);
    /// False when the value could not be stored in the file (a refused file keeps it in memory).
    static bool writeInt(const std::string& section, const std::string& entry, int value);
    static std::string getString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue);
    static bool writeString(const std::string& section, const std::string& entry, const std::string& value);
    static bool has(const std::string& section, const std::string& entry);
    /// False when the file was refused for its size or kind, and values live in memory only.
    static bool fileInUse();
};

} // namespace ui
