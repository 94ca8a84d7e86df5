#include "designer/DesignerFolder.h"

#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/Settings.h>

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

bool templateNameFromPath(const Vor_String& path, Vor_String& name) {
    const Vor_String root = getDesignerRootFolder();
    const Vor_String file = toSlashes(path);
    if (!file.startsWith(root, false) || file.length() <= root.length()) return false;
    name = removeExtension(file);
    name.removeAt(0, root.length());
    return true;
}

Vor_String templatePathFromName(const Vor_String& name) {
    return getDesignerRootFolder() + toSlashes(name) + ".txt";
}
