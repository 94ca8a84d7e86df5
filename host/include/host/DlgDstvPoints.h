#pragma once
// DSTV point rules and their groups: each group is one file in the DSTV points folder of the
// library, one of them the standard group that production uses.
#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <string>
#include <vector>

/// Which side of a part a rule looks at (0 to 3); 0 and 1 form one pair, 2 and 3 the other.
using KrDstvPointSideSelection = int;

/// One rule: where a welding point is marked or drilled on a part.
class Vor_DstvPointInfo {
public:
    Vor_String name() const { return m_name; }
    void setName(const Vor_String& name) { m_name = name; }
    bool selectGeomExtent() const { return m_selectGeomExtent; }
    KrDstvPointSideSelection sideSelection1() const { return m_side1; }
    KrDstvPointSideSelection sideSelection2() const { return m_side2; }
    /// Sides out of 0 to 3 are taken as 0.
    void setSelectGeomExtent(bool on, KrDstvPointSideSelection side1, KrDstvPointSideSelection side2);
    bool selectIntersGeom() const { return m_selectIntersGeom; }
    bool selectIntersMid() const { return m_intersMid; }
    KrDstvPointSideSelection intersStartDir() const { return m_intersStartDir; }
    void setSelectIntersGeom(bool on, bool middle, KrDstvPointSideSelection startDir);
    short plateSelection() const { return m_plateSelection; }
    double minPlateSideDist() const { return m_minPlateSideDist; }
    /// A selection out of 0 to 4 is taken as 0; a distance that is no finite number as 0.
    void setPlateSelection(short selection, double minDistance);
    bool drillFullHole() const { return m_drillFullHole; }
    bool radiusThicknessBased() const { return m_radiusThicknessBased; }
    double drillRadius() const { return m_drillRadius; }
    void setDrillFullHole(bool full, bool thicknessBased, double size);
    bool operator==(const Vor_DstvPointInfo& o) const = default;

private:
    Vor_String m_name;
    bool m_selectGeomExtent = true;
    KrDstvPointSideSelection m_side1 = 0;
    KrDstvPointSideSelection m_side2 = 2;
    bool m_selectIntersGeom = false;
    bool m_intersMid = true;
    KrDstvPointSideSelection m_intersStartDir = 0;
    short m_plateSelection = 0;
    double m_minPlateSideDist = 50.0;
    bool m_drillFullHole = false;
    bool m_radiusThicknessBased = false;
    double m_drillRadius = 16.0;
};

/// The group files of the DSTV points folder.
class DlgDstvPoints {
public:
    /// The library folder + "DSTV Points/".
    static Vor_String getDstvPointsFolder();
    /// Names of all groups (file names of "*.dat" without extension), sorted without regard to case.
    static Vor_StringArray getAllDstvPointsFiles();
    /// The file name of the standard group ("Welds.dat"), "" when none is set.
    static Vor_String getStandardDstvPointsFile();
    /// Makes a group the standard group; false when the setting cannot be written.
    static bool setStandardDstvPointsFile(const Vor_String& groupName);
    /// Reads a group's rules; false (the array unchanged) when the file cannot be read or is damaged.
    /// Rows that are no rule are left out, each with a line in `messages`.
    static bool readFromFile(const Vor_String& groupName, Vor_Array<Vor_DstvPointInfo>& rules,
                             std::vector<std::string>* messages = nullptr);
    /// Writes a group's rules (the careful writer keeps the old file on failure).
    static bool writeToFile(const Vor_String& groupName, const Vor_Array<Vor_DstvPointInfo>& rules);

    /// The rules in the group file's text, and back (see docs/formats.md); the reader as above.
    static std::string formatGroup(const Vor_Array<Vor_DstvPointInfo>& rules);
    static bool parseGroup(std::string_view text, const std::string& source,
                           Vor_Array<Vor_DstvPointInfo>& rules, std::vector<std::string>* messages = nullptr);
};

/// Keeps side 1 and side 2 in different pairs: after list A changed to `a`, the index the other list
/// must show (b itself when a and b are already apart; else 2 for b in {0, 1}, 0 for b in {2, 3}).
int keepDstvSidesApart(int a, int b);
