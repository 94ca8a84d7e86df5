#include <host/DlgDstvPoints.h>

#include <base/NumberText.h>
#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/Settings.h>

#include <cmath>

namespace {
constexpr const char* kHeader = "VORLANE DSTV POINTS 1";
constexpr int kFields = 12;

int side(int v) {
    return v >= 0 && v <= 3 ? v : 0;
}

std::string number(double v) {
    std::string s;
    base::formatShortest(v, s);
    return s;
}

bool flag(const Vor_String& text, bool& out) {
    if (text == "0" || text == "1") {
        out = text == "1";
        return true;
    }
    return false;
}

bool whole(const Vor_String& text, int lo, int hi, int& out) {
    double v;
    if (!base::parseNumber(text.str(), v) || v != std::floor(v) || v < lo || v > hi) return false;
    out = int(v);
    return true;
}
} // namespace

void Vor_DstvPointInfo::setSelectGeomExtent(bool on, KrDstvPointSideSelection side1,
                                            KrDstvPointSideSelection side2) {
    m_selectGeomExtent = on;
    m_side1 = side(side1);
    m_side2 = side(side2);
}

void Vor_DstvPointInfo::setSelectIntersGeom(bool on, bool middle, KrDstvPointSideSelection startDir) {
    m_selectIntersGeom = on;
    m_intersMid = middle;
    m_intersStartDir = side(startDir);
}

void Vor_DstvPointInfo::setPlateSelection(short selection, double minDistance) {
    m_plateSelection = selection >= 0 && selection <= 4 ? selection : 0;
    m_minPlateSideDist = std::isfinite(minDistance) ? minDistance : 0;
}

void Vor_DstvPointInfo::setDrillFullHole(bool full, bool thicknessBased, double size) {
    m_drillFullHole = full;
    m_radiusThicknessBased = thicknessBased;
    m_drillRadius = std::isfinite(size) ? size : 0;
}

Vor_String DlgDstvPoints::getDstvPointsFolder() {
    return folderWithSlash(gSettings.libDir) + "DSTV Points/";
}

Vor_StringArray DlgDstvPoints::getAllDstvPointsFiles() {
    Vor_StringArray files, names;
    ObjectExportFindFiles(getDstvPointsFolder(), "*.dat", files);
    for (const Vor_String& f : files)
        names.append(removeExtension(getFileName(f)));
    return names;
}

Vor_String DlgDstvPoints::getStandardDstvPointsFile() {
    Vor_StringArray lines;
    if (!ObjectExportReadFile(getDstvPointsFolder() + "Standard group.cfg", lines) || lines.length() == 0)
        return {};
    return lines[0];
}

bool DlgDstvPoints::setStandardDstvPointsFile(const Vor_String& groupName) {
    ObjectExportCreateDirectory(getDstvPointsFolder());
    return ObjectExportWriteFile(getDstvPointsFolder() + "Standard group.cfg",
                                 Vor_StringArray{groupName + ".dat"});
}

std::string DlgDstvPoints::formatGroup(const Vor_Array<Vor_DstvPointInfo>& rules) {
    Vor_Array<Vor_StringArray> lines;
    lines.append(Vor_StringArray{kHeader});
    for (const Vor_DstvPointInfo& r : rules)
        lines.append(Vor_StringArray{r.name(), r.selectGeomExtent() ? "1" : "0",
                                     std::to_string(r.sideSelection1()), std::to_string(r.sideSelection2()),
                                     r.selectIntersGeom() ? "1" : "0", r.selectIntersMid() ? "1" : "0",
                                     std::to_string(r.intersStartDir()), std::to_string(r.plateSelection()),
                                     number(r.minPlateSideDist()), r.drillFullHole() ? "1" : "0",
                                     r.radiusThicknessBased() ? "1" : "0", number(r.drillRadius())});
    return formatLineTable(lines);
}

bool DlgDstvPoints::parseGroup(std::string_view text, const std::string& source,
                               Vor_Array<Vor_DstvPointInfo>& rules, std::vector<std::string>* messages) {
    Vor_Array<Vor_StringArray> lines;
    std::string error;
    if (!parseLineTable(text, source, lines, &error)) {
        if (messages) messages->push_back(error);
        return false;
    }
    Vor_Array<Vor_DstvPointInfo> read;
    for (int i = 0; i < lines.length(); ++i) {
        const Vor_StringArray& f = lines[i];
        if (f.length() == 0 || (f.length() == 1 && f[0].isEmpty())) continue; // an empty line
        if (i == 0 && f.length() == 1 && f[0] == kHeader) continue;
        const std::string where = source + ":" + std::to_string(i + 1) + ": ";
        if (f.length() < kFields) {
            if (messages) messages->push_back(where + "a rule needs " + std::to_string(kFields) + " fields");
            continue;
        }
        bool extent, inters, mid, full, thick;
        int s1, s2, start, plate;
        double dist, size;
        if (!flag(f[1], extent) || !whole(f[2], 0, 3, s1) || !whole(f[3], 0, 3, s2) || !flag(f[4], inters) ||
            !flag(f[5], mid) || !whole(f[6], 0, 3, start) || !whole(f[7], 0, 4, plate) ||
            !base::parseNumber(f[8].str(), dist) || !flag(f[9], full) || !flag(f[10], thick) ||
            !base::parseNumber(f[11].str(), size)) {
            if (messages)
                messages->push_back(where + "rule \"" + f[0].str() + "\" has a field out of its range");
            continue;
        }
        Vor_DstvPointInfo r;
        r.setName(f[0]);
        r.setSelectGeomExtent(extent, s1, s2);
        r.setSelectIntersGeom(inters, mid, start);
        r.setPlateSelection(short(plate), dist);
        r.setDrillFullHole(full, thick, size);
        read.append(r);
    }
    rules = std::move(read);
    return true;
}

bool DlgDstvPoints::readFromFile(const Vor_String& groupName, Vor_Array<Vor_DstvPointInfo>& rules,
                                 std::vector<std::string>* messages) {
    const std::string path = (getDstvPointsFolder() + groupName + ".dat").str();
    std::string bytes, error;
    if (!readWholeFile(path, bytes, &error, std::size_t(16) << 20)) {
        if (messages) messages->push_back(error);
        return false;
    }
    return parseGroup(bytes, path, rules, messages);
}

bool DlgDstvPoints::writeToFile(const Vor_String& groupName, const Vor_Array<Vor_DstvPointInfo>& rules) {
    ObjectExportCreateDirectory(getDstvPointsFolder());
    return atomicWriteFile((getDstvPointsFolder() + groupName + ".dat").str(), formatGroup(rules));
}

int keepDstvSidesApart(int a, int b) {
    if ((a < 2) != (b < 2)) return b;
    return b < 2 ? 2 : 0;
}
