#pragma once
// Folders of the running add-on.

#include <host/Vor_String.h>

#include <string>

/// The host's settings; folder names end in "/".
struct Vor_Settings {
    Vor_String libDir; ///< library folder: profile tables, dialog templates, cutting stock, ...
    Vor_String vorDir; ///< installation folder: icons, numbered texts
};

/// The settings of the running add-on; set by configureSettings.
extern Vor_Settings gSettings;

/// Sets the folders of gSettings, each from its explicit option when not empty, else from the
/// environment (VOR_LIB_DIR, VOR_INSTALL_DIR), else the embedded default data folders. '\' is read as
/// '/', a '/' is added at the end. A folder that does not exist is an error naming its path, and
/// gSettings then stays as it was.
bool configureSettings(const std::string& libDirOption, const std::string& installDirOption,
                       std::string* error = nullptr);

/// The embedded default folders ("<source>/data/lib/", "<source>/data/install/").
Vor_String defaultLibDir();
Vor_String defaultInstallDir();
