// The boxes of entities and the check of what an entity may hold.

#include <cad/Entity.h>

#include <cmath>

namespace cad {

const char* entityKindName(EntityKind kind) {
    static const char* const names[kEntityKindCount] = {"profile",  "plate", "hole",  "bolts",
                                                        "coordsys", "cut",   "block", "group"};
    int i = static_cast<int>(kind);
    return i >= 0 && i < kEntityKindCount ? names[i] : "?";
}

// The section's corners about the line: the insertion point says which point of the envelope lies
// on the line (3 × 3 grid, row by row from the top left, seen from start to end).
std::array<Point3d, 8> profileCorners(const Profile& p) {
    Vector3d d = (p.end - p.start).normal();
    if (d.length() == 0) d = {1, 0, 0};
    // The section's "up" is the model's z axis, or x for a member along z.
    Vector3d ref = std::abs(d.z) > 0.999 ? Vector3d{1, 0, 0} : Vector3d{0, 0, 1};
    Vector3d up0 = (ref - d * ref.dot(d)).normal();
    Vector3d side0 = d.cross(up0);
    double a = p.rotation * M_PI / 180;
    Vector3d up = up0 * std::cos(a) + side0 * std::sin(a);
    Vector3d side = side0 * std::cos(a) - up0 * std::sin(a);
    int col = p.insertion % 3, row = p.insertion / 3;
    // The envelope's centre relative to the line, in (side, up).
    double cs = (1 - col) * p.width / 2 + p.offsetX;
    double cu = (row - 1) * p.height / 2 + p.offsetY;
    std::array<Point3d, 8> out;
    size_t i = 0;
    for (const Point3d& at : {p.start, p.end})
        for (auto [s, u] : {std::pair{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}})
            out[i++] = at + side * (cs + s * p.width) + up * (cu + u * p.height);
    return out;
}

namespace {

Extents profileExtents(const Profile& p) {
    Extents box;
    for (const Point3d& c : profileCorners(p))
        box.add(c);
    return box;
}

Extents boltExtents(const Point3d& at, const Vector3d& axis, double diameter, double length) {
    Extents box;
    box.add(at);
    box.add(at + axis.normal() * length);
    return box.grown(diameter / 2);
}

bool hasControl(std::string_view s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7f) return true;
    return false;
}

struct Checker {
    std::string fault;
    void number(double v, const char* what) {
        if (fault.empty() && !(std::abs(v) <= kMaxCoordinate))
            fault = std::string(what) + " is not a number within ±1e9";
    }
    void size(double v, const char* what) {
        number(v, what);
        if (fault.empty() && v < 0) fault = std::string(what) + " is negative";
    }
    void point(const Point3d& p, const char* what) {
        number(p.x, what);
        number(p.y, what);
        number(p.z, what);
    }
    void direction(const Vector3d& v, const char* what) {
        point(v, what);
        if (fault.empty() && v.length() == 0) fault = std::string(what) + " has length 0";
    }
    void coordSys(const CoordSys& cs) {
        point(cs.origin, "origin");
        direction(cs.xAxis, "x axis");
        direction(cs.yAxis, "y axis");
        if (fault.empty() && cs.zAxis().length() < 1e-9) fault = "the x and y axes are parallel";
    }
    void text(std::string_view s, std::size_t max, const char* what) {
        if (!fault.empty()) return;
        if (s.size() > max)
            fault = std::string(what) + " is longer than " + std::to_string(max) + " bytes";
        else if (hasControl(s))
            fault = std::string(what) + " holds a control character";
    }
    void count(std::size_t n, std::size_t max, const char* what) {
        if (fault.empty() && n > max) fault = std::string("more than ") + std::to_string(max) + " " + what;
    }

    void operator()(const Profile& p) {
        text(p.section, kMaxNameBytes, "the section");
        point(p.start, "the start");
        point(p.end, "the end");
        size(p.width, "the width");
        size(p.height, "the height");
        if (fault.empty() && (p.insertion < 0 || p.insertion > 8))
            fault = "the insertion point is not 0 to 8";
        number(p.offsetX, "the offset");
        number(p.offsetY, "the offset");
        number(p.rotation, "the rotation");
        if (fault.empty() && (p.offsetType < 0 || p.offsetType > 1000))
            fault = "the offset type is not 0 to 1000";
    }
    void operator()(const Plate& p) {
        coordSys(p.placement);
        count(p.outline.size(), kMaxPoints, "outline points");
        for (const Point2d& q : p.outline) {
            number(q.x, "an outline point");
            number(q.y, "an outline point");
        }
        size(p.thickness, "the thickness");
    }
    void operator()(const BoltHole& b) {
        point(b.position, "the position");
        direction(b.axis, "the axis");
        size(b.diameter, "the diameter");
        size(b.length, "the length");
        text(b.assembly, kMaxNameBytes, "the assembly");
    }
    void operator()(const BoltGroup& b) {
        count(b.positions.size(), kMaxPoints, "positions");
        for (const Point3d& q : b.positions)
            point(q, "a position");
        direction(b.axis, "the axis");
        size(b.diameter, "the diameter");
        size(b.length, "the length");
        text(b.assembly, kMaxNameBytes, "the assembly");
    }
    void operator()(const CoordSysEntity& c) { coordSys(c.cs); }
    void operator()(const CutMarker& c) {
        point(c.position, "the position");
        direction(c.normal, "the normal");
        size(c.size, "the size");
    }
    void operator()(const BlockRef& b) {
        if (fault.empty() && b.fileName.empty()) fault = "the file name is empty";
        text(b.fileName, kMaxValueBytes, "the file name");
        coordSys(b.placement);
    }
    void operator()(const MacroGroup&) {}
};

} // namespace

Extents Entity::extents() const {
    struct Box {
        Extents operator()(const Profile& p) const { return profileExtents(p); }
        Extents operator()(const Plate& p) const {
            Extents box;
            for (const Point2d& q : p.outline)
                for (double w : {0.0, p.thickness})
                    box.add(p.placement.toModel(q.x, q.y, w));
            return box;
        }
        Extents operator()(const BoltHole& b) const {
            return boltExtents(b.position, b.axis, b.diameter, b.length);
        }
        Extents operator()(const BoltGroup& b) const {
            Extents box;
            for (const Point3d& q : b.positions)
                box.add(boltExtents(q, b.axis, b.diameter, b.length));
            return box;
        }
        Extents operator()(const CoordSysEntity& c) const {
            Extents box;
            box.add(c.cs.origin);
            return box;
        }
        Extents operator()(const CutMarker& c) const {
            Extents box;
            box.add(c.position);
            return box.grown(c.size / 2);
        }
        Extents operator()(const BlockRef& b) const {
            Extents box;
            box.add(b.placement.origin);
            return box;
        }
        Extents operator()(const MacroGroup&) const { return {}; }
    };
    return std::visit(Box{}, geometry);
}

std::string entityFault(const Entity& e) {
    Checker c;
    c.text(e.name, kMaxNameBytes, "the name");
    c.count(e.properties.size(), kMaxProperties, "properties");
    for (const auto& [key, value] : e.properties) {
        if (c.fault.empty() && key.empty()) c.fault = "a property key is empty";
        c.text(key, kMaxNameBytes, "a property key");
        // Values may hold line breaks and tabs (the file escapes them); other control bytes not.
        if (c.fault.empty() && value.size() > kMaxValueBytes)
            c.fault = "a property value is longer than " + std::to_string(kMaxValueBytes) + " bytes";
    }
    if (!c.fault.empty()) return c.fault;
    std::visit(c, e.geometry);
    return c.fault;
}

} // namespace cad
