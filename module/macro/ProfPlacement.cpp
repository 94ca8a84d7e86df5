#include "macro/ProfPlacement.h"

#include "library/ProfSectionImages.h"
#include "library/Vor_ProfValuesTable.h"

#include <base/NumberText.h>
#include <host/MacroData.h>

#include <cmath>
#include <utility>

namespace {
// (offset-type combo index, radio position), radios counted row by row from the top left
constexpr std::pair<int, int> kInsertionPairs[] = {{3, 5}, {5, 2},  {6, 8},  {7, 4}, {8, 6},
                                                   {9, 1}, {10, 3}, {11, 7}, {12, 9}};
constexpr const char* kRotationTexts[] = {"0", "90", "180", "270"};
} // namespace

int insertionRadioOfComboIndex(int comboIndex) {
    for (const auto& [index, radio] : kInsertionPairs)
        if (index == comboIndex) return radio;
    return 0;
}

int comboIndexOfInsertionRadio(int radio) {
    for (const auto& [index, r] : kInsertionPairs)
        if (r == radio) return index;
    return -1;
}

RotationChoice rotationChoiceOf(const Vor_String& rotation) {
    if (isVaries(rotation)) return RotationChoice::Varies;
    double angle = 0;
    if (!base::parseNumber(rotation.str(), angle)) return RotationChoice::Other;
    for (int i = 0; i < 4; ++i)
        if (angle == 90.0 * i) return static_cast<RotationChoice>(i);
    return RotationChoice::Other;
}

Vor_String rotationTextOf(RotationChoice choice, const Vor_String& other) {
    switch (choice) {
    case RotationChoice::Varies:
        return variesText();
    case RotationChoice::Other:
        return other;
    default:
        return kRotationTexts[static_cast<int>(choice)];
    }
}

Vor_String sectionPicturePath(const Vor_String& section, bool large) {
    Vor_String typeText;
    Vor_String name = sectionSysName(section);
    name.replace("\\", "/");
    if (!name.startsWith("User Sections/", false)) {
        const int dash = name.find("-");
        Vor_ProfValuesTable table;
        if (dash <= 0 || !table.readFromFile(name.left(dash) + ".pr"))
            return profIconsFolder() + (large ? "Unknown-big.bmp" : "Unknown-small.bmp");
        typeText = table.typeCode;
    }
    return profIconsFolder() + profSectionImageName(typeText, name, large);
}

bool macroDataProfCallBack(KrMACallBackType type, const KrMACallBackData& data, MacroProfData& props) {
    MacroData* macro = data.macroData();
    if (!macro) return false;
    switch (type) {
    case kMACallBackGet:
        macro->getMergedPropsOfGroup(data.moduleName, data.groupName, props);
        break;
    case kMACallBackSet:
        macro->setMergedPropsOfGroup(data.moduleName, data.groupName, props);
        UpdateModule(data.moduleName, *macro, Vor_Array<int>{kChangedProfiles}, Vor_Array<int>());
        macro->getMergedPropsOfGroup(data.moduleName, data.groupName, props);
        break;
    default:
        break;
    }
    return true;
}

void erasePreviewObjects(MacroData& data, AcDbObjectId temporary) {
    if (!data.previewFlag) return;
    if (data.previewIds.length() == 1 && EraseObject(data.previewIds[0])) data.previewIds.removeAt(0);
    if (!temporary.isNull()) {
        EraseObject(temporary);
        int at = -1;
        if (data.previewIds.find(temporary, at)) data.previewIds.removeAt(at);
    }
}

bool firstProfGroup(const MacroData& data, Vor_String& moduleName, Vor_String& group) {
    for (const MacroTabData& tab : data.tabs) {
        if (moduleName.isEmpty() ? tab.profiles.isEmpty() : !(tab.moduleName == moduleName)) continue;
        if (group.isEmpty()) {
            if (tab.profiles.isEmpty()) return false;
            group = tab.profiles[0].groupName;
        }
        moduleName = tab.moduleName;
        MacroProfData props;
        return tab.getMergedPropsOfGroup(group, props);
    }
    return false;
}

namespace {
bool isUserSection(const Vor_String& name) {
    Vor_String n = name;
    n.replace("\\", "/");
    return n.startsWith("User Sections/", false);
}
} // namespace

Vor_String sectionSysName(const Vor_String& section) {
    const int space = section.find(" ");
    if (isUserSection(section) || space <= 0) return section;
    return section.left(space) + "-" + section.mid(space + 1);
}

Vor_String sectionOfSysName(const Vor_String& sysName) {
    const int dash = sysName.find("-");
    if (isUserSection(sysName) || dash <= 0) return sysName;
    return sysName.left(dash) + " " + sysName.mid(dash + 1);
}

int basePlaneOfPickedPlane(const Vor_String& plane) {
    const int semicolon = plane.find(";");
    if (semicolon < 0) return -1;
    const Vor_String normal = plane.mid(semicolon + 1);
    double n[3] = {0, 0, 0};
    int from = 0;
    for (int i = 0; i < 3; ++i) {
        int comma = normal.find(",", from);
        if (comma < 0) comma = normal.length();
        if (!base::parseNumber(normal.mid(from, comma - from).str(), n[i])) return -1;
        from = comma + 1;
    }
    // XY has the normal z, XZ the normal y, YZ the normal x
    const double ax = std::fabs(n[0]), ay = std::fabs(n[1]), az = std::fabs(n[2]);
    if (ax == 0 && ay == 0 && az == 0) return -1;
    if (az >= ax && az >= ay) return 1;
    return ay >= ax ? 2 : 3;
}
