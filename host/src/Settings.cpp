#include <host/Settings.h>

#include <host/FileUtils.h>

#include <cstdlib>

#ifndef VOR_DATA_DIR
#error "VOR_DATA_DIR must name the embedded data folder"
#endif

Vor_Settings gSettings;

namespace {

bool chooseFolder(const char* what, const std::string& option, const char* envName,
                  const Vor_String& fallback, Vor_String& folder, std::string* error) {
    Vor_String chosen = fallback;
    if (!option.empty())
        chosen = Vor_String(option);
    else if (const char* env = std::getenv(envName); env && *env)
        chosen = Vor_String(env);
    folder = folderWithSlash(chosen);
    if (folderExists(folder)) return true;
    if (error) *error = std::string(what) + " does not exist: " + folder.str();
    return false;
}

} // namespace

Vor_String defaultLibDir() {
    return Vor_String(VOR_DATA_DIR "/lib/");
}

Vor_String defaultInstallDir() {
    return Vor_String(VOR_DATA_DIR "/install/");
}

bool configureSettings(const std::string& libDirOption, const std::string& installDirOption,
                       std::string* error) {
    Vor_Settings settings = gSettings;
    if (!chooseFolder("library folder", libDirOption, "VOR_LIB_DIR", defaultLibDir(), settings.libDir, error))
        return false;
    if (!chooseFolder("installation folder", installDirOption, "VOR_INSTALL_DIR", defaultInstallDir(),
                      settings.vorDir, error))
        return false;
    gSettings = settings;
    return true;
}
