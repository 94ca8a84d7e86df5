#include "library/ProfSectionImages.h"

#include <base/PathPart.h>
#include <base/SafeFile.h>
#include <host/FileUtils.h>
#include <host/Settings.h>

#include <filesystem>
#include <string>

namespace {

const char* const kBaseNames[] = {
    "ProfSectionI",         "ProfSectionCL",     "ProfSectionHL",   "ProfSectionCU",    "ProfSectionT",
    "ProfSectionOI",        "ProfSectionOU",     "ProfSectionRect", "ProfSectionRound", "ProfSectionRectTube",
    "ProfSectionRoundTube", "ProfSectionC",      "ProfSectionZ",    "ProfSectionV",     "ProfSectionO",
    "ProfSectionQ",         "ProfSectionCuttedI"};

const Vor_String kUserSections = "User Sections/";

/// The modification time with all the precision the file system keeps; false when unreadable.
bool fileTime(const Vor_String& path, std::filesystem::file_time_type& time) {
    std::error_code ec;
    time = std::filesystem::last_write_time(path.str(), ec);
    return !ec;
}

} // namespace

Vor_String profIconsFolder() {
    return gSettings.vorDir + "icons/";
}

bool isProfTypeCode(const Vor_String& typeText) {
    return !typeText.endsWith(".dwg", false);
}

Vor_String profSectionBaseName(int code) {
    if (code < 1 || code > 17) return Vor_String();
    return kBaseNames[code - 1];
}

bool provideUserSectionImage(const Vor_String& name, Vor_String& imageName) {
    // the name becomes a file of the icons folder, which is written
    if (!base::isPathPart(name.str())) return false;
    const Vor_String source = gSettings.libDir + kUserSections + name + ".bmp";
    const Vor_String target = profIconsFolder() + name + "-automated.bmp";
    if (!fileExists(source)) return false;
    std::filesystem::file_time_type sourceTime, targetTime;
    const bool stale = !fileExists(target) || !fileTime(target, targetTime) ||
                       (fileTime(source, sourceTime) && targetTime < sourceTime);
    if (stale) {
        // a failed copy is not reported: the name is given all the same, and the next call tries again
        std::string bytes;
        if (readWholeFile(source.str(), bytes)) base::writeFileSafely(target.str(), bytes, nullptr);
    }
    imageName = name + "-automated.bmp";
    return true;
}

Vor_String profSectionImageName(const Vor_String& typeText, const Vor_String& sysName, bool large) {
    const Vor_String suffix = large ? "-big.bmp" : "-small.bmp";
    const bool userSection = typeText.isEmpty();
    Vor_String base;
    if (!userSection) {
        base = isProfTypeCode(typeText) ? profSectionBaseName(typeText.toInt())
                                        : removeExtension(toSlashes(typeText));
    } else {
        base = toSlashes(sysName);
        if (base.startsWith(kUserSections, false)) base = base.mid(kUserSections.length());
        base = removeExtension(base);
    }
    const Vor_String candidate = base + suffix;
    if (fileExists(profIconsFolder() + candidate)) return candidate;
    Vor_String automated;
    if (userSection && !large && !base.isEmpty() && provideUserSectionImage(base, automated))
        return automated;
    return "Unknown" + suffix;
}
