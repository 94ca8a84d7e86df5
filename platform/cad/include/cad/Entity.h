#pragma once
// The entities of a drawing: profiles, plates, bolt holes and groups, coordinate systems, cut markers,
// references to library drawings and the macro groups that own what a macro generates.

#include <cad/Geometry.h>
#include <cad/acadstd.h>

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cad {

/// What an entity is; the order is that of `Entity::Geometry`.
enum class EntityKind {
    Profile,    ///< a steel member along a line
    Plate,      ///< a flat plate: an outline in its placement, a thickness
    BoltHole,   ///< one hole
    BoltGroup,  ///< a pattern of holes with one diameter and assembly
    CoordSys,   ///< a coordinate system a macro places itself by
    CutMarker,  ///< where a cut of a profile lies
    BlockRef,   ///< a library drawing placed in this one
    MacroGroup, ///< a macro: owns the entities it generates
};
inline constexpr int kEntityKindCount = 8;

/// The name of a kind in files and messages ("profile", "bolts", "group").
const char* entityKindName(EntityKind kind);

/// A profile: which point of its cross-section lies on the line from start to end, offsets of the
/// section from that point, rotation about the line (degrees) and the section's envelope.
struct Profile {
    std::string section; ///< "IPE 200"
    Point3d start;
    Point3d end{1000, 0, 0};
    double width = 0;    ///< of the cross-section's envelope
    double height = 0;   ///< of the cross-section's envelope
    int insertion = 4;   ///< 0 top left, 1 top middle, 2 top right, 3 left, 4 centre, ... 8 bottom right
    double offsetX = 0;  ///< along the section's width
    double offsetY = 0;  ///< along the section's height
    double rotation = 0; ///< about the line, degrees
    int offsetType = 0;  ///< how the macro applies the offsets; kept, not interpreted here
    bool operator==(const Profile&) const = default;
};

/// A plate: an outline in the plane of its placement, extruded along the placement's z axis.
struct Plate {
    CoordSys placement;
    std::vector<Point2d> outline;
    double thickness = 0;
    bool operator==(const Plate&) const = default;
};

/// One bolt hole: its centre, the bolt's axis, the hole's diameter and the grip length.
struct BoltHole {
    Point3d position;
    Vector3d axis{0, 0, 1};
    double diameter = 0;
    double length = 0;
    std::string assembly; ///< "M20 8.8"
    bool operator==(const BoltHole&) const = default;
};

/// A bolt group: holes of one diameter and assembly along one axis.
struct BoltGroup {
    std::vector<Point3d> positions;
    Vector3d axis{0, 0, 1};
    double diameter = 0;
    double length = 0;
    std::string assembly;
    bool operator==(const BoltGroup&) const = default;
};

/// A coordinate system entity.
struct CoordSysEntity {
    CoordSys cs;
    bool operator==(const CoordSysEntity&) const = default;
};

/// A cut marker: the cut plane through a point, drawn as a square of `size`.
struct CutMarker {
    Point3d position;
    Vector3d normal{1, 0, 0};
    double size = 0;
    bool operator==(const CutMarker&) const = default;
};

/// A library drawing placed here. Its content is not loaded: its box is its insertion point.
struct BlockRef {
    std::string fileName; ///< "Macros/Endplate.dwg"
    CoordSys placement;
    bool operator==(const BlockRef&) const = default;
};

/// A macro group; its box is that of what it owns.
struct MacroGroup {
    bool operator==(const MacroGroup&) const = default;
};

/// An entity of a drawing: what all kinds share, and the geometry of its kind.
struct Entity {
    using Geometry =
        std::variant<Profile, Plate, BoltHole, BoltGroup, CoordSysEntity, CutMarker, BlockRef, MacroGroup>;

    AcDbObjectId id;                               ///< given by the drawing
    AcDbObjectId owner;                            ///< the macro group that generated it, or null
    std::string name;                              ///< a mark that scripts pick by ("B1")
    std::map<std::string, std::string> properties; ///< what a macro stores with the entity
    bool temporary = false;                        ///< a preview: never saved, cleared together
    Geometry geometry;

    bool operator==(const Entity&) const = default;
    EntityKind kind() const { return static_cast<EntityKind>(geometry.index()); }
    /// The box of the entity's own geometry; empty for a macro group (the drawing adds its members).
    Extents extents() const;
};

/// The corners of a profile's section envelope: four at the start, then the same four at the end,
/// each four in order around the section.
std::array<Point3d, 8> profileCorners(const Profile& p);

/// Largest coordinate, length or angle an entity may hold (1,000 km in millimetres).
inline constexpr double kMaxCoordinate = 1e9;
/// Longest name, section, assembly or property key, in bytes.
inline constexpr std::size_t kMaxNameBytes = 255;
/// Longest property value or file name, in bytes.
inline constexpr std::size_t kMaxValueBytes = 4096;
/// Most points in one outline or bolt group.
inline constexpr std::size_t kMaxPoints = 10000;
/// Most properties of one entity.
inline constexpr std::size_t kMaxProperties = 1000;

/// Why the entity cannot be in a drawing, or "" when it can: numbers beyond `kMaxCoordinate` or not
/// finite, negative sizes, an insertion point outside 0 to 8, axes of length 0 or parallel, texts
/// too long or holding control characters, too many points or properties.
std::string entityFault(const Entity& entity);

} // namespace cad
