#include "production/DstvPointRules.h"

#include <base/NumberText.h>
#include <cad/aced.h>
#include <host/FileUtils.h>

#include <cctype>

namespace {
std::string threeDecimals(double v) {
    std::string s;
    if (!base::formatFixed(v, 3, s)) s = "0.000";
    return s;
}

bool digit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

DstvRuleControls dstvControlsOf(const Vor_DstvPointInfo& rule) {
    DstvRuleControls c;
    c.name = rule.name().str();
    c.byExtent = rule.selectGeomExtent();
    c.side1 = rule.sideSelection1();
    c.side2 = rule.sideSelection2();
    c.byIntersection = rule.selectIntersGeom();
    c.middle = rule.selectIntersMid();
    c.startDir = rule.intersStartDir();
    c.plate = rule.plateSelection();
    c.minDistance = threeDecimals(rule.minPlateSideDist());
    c.fullHole = rule.drillFullHole();
    c.thicknessBased = rule.radiusThicknessBased();
    c.holeSize = threeDecimals(rule.drillRadius());
    return c;
}

Vor_DstvPointInfo dstvRuleOf(const DstvRuleControls& c) {
    Vor_DstvPointInfo r;
    r.setName(Vor_String(c.name));
    r.setSelectGeomExtent(c.byExtent, c.side1, c.side2);
    r.setSelectIntersGeom(c.byIntersection, c.middle, c.startDir);
    r.setPlateSelection(static_cast<short>(c.plate), dstvLeadingNumber(c.minDistance));
    r.setDrillFullHole(c.fullHole, c.thicknessBased, dstvLeadingNumber(c.holeSize));
    return r;
}

double dstvLeadingNumber(std::string_view text) {
    // The number is the run of spaces, a sign, digits with separators and an exponent at the start;
    // what follows ("mm") is left. The run is then read as the person meant it.
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && (digit(text[i]) || text[i] == '.' || text[i] == ','))
        ++i;
    // A separator at the end belongs to the words after the number ("12, or so").
    while (i > start && (text[i - 1] == '.' || text[i - 1] == ','))
        --i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && digit(text[e])) {
            while (e < text.size() && digit(text[e]))
                ++e;
            i = e;
        }
    }
    double v = 0;
    if (base::readTypedNumber(text.substr(start, i - start), v) != base::TypedNumber::Number) return 0;
    return v;
}

DstvEnabling dstvEnabling(bool byExtent, bool byIntersection, bool fullHole) {
    DstvEnabling e;
    e.sides = byExtent;
    e.intersection = !byExtent;
    e.thicknessBased = fullHole && byIntersection;
    e.holeSize = fullHole;
    return e;
}

int dstvHoleSizeLabel(bool thicknessBased) {
    return thicknessBased ? 859 : 860;
}

bool insertDstvRule(Vor_Array<Vor_DstvPointInfo>& rules, int index, const Vor_DstvPointInfo& rule) {
    if (rules.insertAt(index, rule)) return true;
    acutPrintf("*Error* Invalid index passed to insert.\n");
    return false;
}

int dstvIndexAfterDelete(int index, int length) {
    if (length <= 0) return -1;
    return index < 0 ? 0 : index < length ? index : length - 1;
}

DstvGroupName checkDstvGroupName(const Vor_StringArray& groups, const Vor_String& name) {
    Vor_String bare = name;
    bare.trim();
    if (bare.isEmpty() || bare.startsWith(".") || name.contains("/") || name.contains("\\"))
        return DstvGroupName::NoFileName;
    for (unsigned char c : name.str())
        if (c < 0x20) return DstvGroupName::NoFileName;
    // Case-blind, as the group files were on the systems they came from: "welds.dat" there is the
    // same file as "Welds.dat", and an empty new group must never take its place.
    return groups.contains(name, false) ? DstvGroupName::InUse : DstvGroupName::Fine;
}

int dstvStandardIndex(const Vor_StringArray& groups, const Vor_String& standardFile) {
    if (standardFile.isEmpty()) return -1;
    const Vor_String name = removeExtension(standardFile);
    int at = -1;
    if (groups.find(name, at, true) || groups.find(name, at, false)) return at;
    return -1;
}

int dstvPickedGroup(const std::vector<bool>& checks, int standard) {
    for (std::size_t i = 0; i < checks.size(); ++i)
        if (checks[i] != (static_cast<int>(i) == standard)) return static_cast<int>(i);
    return -1;
}
