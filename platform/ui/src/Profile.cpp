#include <ui/Profile.h>

#include <QSettings>
#include <QString>
#include <QVariant>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

namespace ui {

namespace {

std::string g_profileFile;

/// The open profile: the INI file through QSettings, or for a refused file the values written in
/// this session.
struct Store {
    std::string file;
    std::unique_ptr<QSettings> settings;
    std::map<QString, QVariant> memory;
};

// Why the file must not be read, or "" when it may.
std::string refusal(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::exists(st)) return {}; // a missing file is created by the first write
    if (!fs::is_regular_file(st)) return "it is not a file";
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return {};
    if (size > Profile::kMaxBytes)
        return "it has " + std::to_string(size) + " bytes, more than the " +
               std::to_string(Profile::kMaxBytes) + " a profile may have";
    return {};
}

Store& store() {
    static Store s;
    static bool opened = false;
    const std::string wanted = Profile::file();
    if (opened && s.file == wanted) return s;
    opened = true;
    s = Store();
    s.file = wanted;
    const std::string why = refusal(wanted);
    if (!why.empty()) {
        std::fprintf(stderr,
                     "vorlane: the profile %s is not read: %s. Settings start from their defaults, and "
                     "what this session changes is not written to it.\n",
                     wanted.c_str(), why.c_str());
        return s;
    }
    s.settings = std::make_unique<QSettings>(QString::fromStdString(wanted), QSettings::IniFormat);
    return s;
}

QString key(const std::string& section, const std::string& entry) {
    return QString::fromStdString(section + "/" + entry);
}

QVariant read(const std::string& section, const std::string& entry) {
    Store& s = store();
    if (s.settings) return s.settings->value(key(section, entry));
    const auto it = s.memory.find(key(section, entry));
    return it == s.memory.end() ? QVariant() : it->second;
}

bool write(const std::string& section, const std::string& entry, const QVariant& value) {
    Store& s = store();
    if (!s.settings) {
        s.memory[key(section, entry)] = value;
        return false;
    }
    s.settings->setValue(key(section, entry), value);
    s.settings->sync();
    return s.settings->status() == QSettings::NoError;
}

} // namespace

void Profile::setFile(const std::string& path) {
    g_profileFile = path;
}

std::string Profile::file() {
    if (!g_profileFile.empty()) return g_profileFile;
    const char* home = std::getenv("XDG_CONFIG_HOME");
    std::string base =
        home && *home ? home : std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.config";
    return base + "/vorlane/profile.ini";
}

int Profile::getInt(const std::string& section, const std::string& entry, int defaultValue) {
    bool ok = false;
    int v = read(section, entry).toInt(&ok);
    return ok ? v : defaultValue;
}

bool Profile::writeInt(const std::string& section, const std::string& entry, int value) {
    return write(section, entry, value);
}

std::string Profile::getString(const std::string& section, const std::string& entry,
                               const std::string& defaultValue) {
    QVariant v = read(section, entry);
    return v.isValid() ? v.toString().toStdString() : defaultValue;
}

bool Profile::writeString(const std::string& section, const std::string& entry, const std::string& value) {
    return write(section, entry, QString::fromStdString(value));
}

bool Profile::has(const std::string& section, const std::string& entry) {
    return read(section, entry).isValid();
}

bool Profile::fileInUse() {
    return store().settings != nullptr;
}

} // namespace ui
