#pragma once
// Points, vectors, placements and axis-aligned boxes of the drawing, in millimetres.

#include <algorithm>
#include <cmath>

namespace cad {

/// A point or a vector in model space.
struct Point3d {
    double x = 0, y = 0, z = 0;
    bool operator==(const Point3d&) const = default;
    Point3d operator+(const Point3d& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Point3d operator-(const Point3d& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Point3d operator*(double f) const { return {x * f, y * f, z * f}; }
    double dot(const Point3d& o) const { return x * o.x + y * o.y + z * o.z; }
    Point3d cross(const Point3d& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    double length() const { return std::sqrt(dot(*this)); }
    /// This vector scaled to length 1; the zero vector stays zero.
    Point3d normal() const {
        double l = length();
        return l > 0 ? *this * (1 / l) : *this;
    }
};
using Vector3d = Point3d;

/// A point in the plane of a placement (a plate's outline).
struct Point2d {
    double x = 0, y = 0;
    bool operator==(const Point2d&) const = default;
};

/// A placement: an origin and two axes; the third axis is x × y.
struct CoordSys {
    Point3d origin;
    Vector3d xAxis{1, 0, 0};
    Vector3d yAxis{0, 1, 0};
    bool operator==(const CoordSys&) const = default;
    Vector3d zAxis() const { return xAxis.normal().cross(yAxis.normal()); }
    /// The model point of local coordinates (u, v, w) along the normalised axes.
    Point3d toModel(double u, double v, double w) const {
        return origin + xAxis.normal() * u + yAxis.normal() * v + zAxis().normal() * w;
    }
};

/// A plane through a point.
struct Plane {
    Point3d origin;
    Vector3d normal{0, 0, 1};
    bool operator==(const Plane&) const = default;
};

/// An axis-aligned box; an empty box (the default) holds no point. Boxes are closed: boxes that
/// touch overlap.
struct Extents {
    Point3d min{1, 1, 1};
    Point3d max{-1, -1, -1};
    bool operator==(const Extents&) const = default;
    bool isEmpty() const { return min.x > max.x; }
    void add(const Point3d& p) {
        if (isEmpty()) {
            min = max = p;
            return;
        }
        min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
    }
    void add(const Extents& e) {
        if (e.isEmpty()) return;
        add(e.min);
        add(e.max);
    }
    /// The box grown by `d` on every side.
    Extents grown(double d) const {
        if (isEmpty()) return *this;
        return {min - Point3d{d, d, d}, max + Point3d{d, d, d}};
    }
    bool overlaps(const Extents& o) const {
        return !isEmpty() && !o.isEmpty() && min.x <= o.max.x && o.min.x <= max.x && min.y <= o.max.y &&
               o.min.y <= max.y && min.z <= o.max.z && o.min.z <= max.z;
    }
};

} // namespace cad
