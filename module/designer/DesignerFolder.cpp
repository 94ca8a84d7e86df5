#include "designer/DesignerFolder.h"

#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/Settings.h>

#include <base/PathPart.h>

#include <string_view>

Vor_String getDesignerRootFolder() {
    return folderWithSlash(toSlashes(gSettings.libDir)) + "Dialog Templates/Dialog Design/";
}

void getModuleImages(Vor_StringArray& names) {
    const Vor_String root = getDesignerRootFolder();
    Vor_StringArray files;
    ObjectExportFindFilesRecursive(root, "*.txt", files);
    for (int k = 0; k < files.length(); ++k) {
        Vor_String name = removeExtension(toSlashes(files[k]));
        name.removeAt(0, root.length());
        names.append(name);
    }
}

std::string templateNameFault(const Vor_String& name) {
    const std::string slashed = toSlashes(name).str();
    std::string_view rest = slashed;
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        if (std::string fault = base::pathPartFault(part); !fault.empty())
            return "the template name \"" + name.str() + "\" is not allowed: " + fault;
        if (slash == std::string_view::npos) return {};
        rest.remove_prefix(slash + 1);
    }
}

bool templateNameFromPath(const Vor_String& path, Vor_String& name, std::string* error) {
    const auto fail = [&](const std::string& what) {
        if (error) *error = path.str() + ": " + what;
        return false;
    };
    const Vor_String root = getDesignerRootFolder();
    const Vor_String file = toSlashes(path);
    if (!file.startsWith(root, false) || file.length() <= root.length())
        return fail("templates are kept in the folder " + root.str());
    if (!getExtension(file).equal("txt", false)) return fail("a template is a .txt file");
    Vor_String found = removeExtension(file);
    found.removeAt(0, root.length());
    if (std::string fault = templateNameFault(found); !fault.empty()) return fail(fault);
    name = found;
    return true;
}

Vor_String templatePathFromName(const Vor_String& name) {
    return getDesignerRootFolder() + toSlashes(name) + ".txt";
}
