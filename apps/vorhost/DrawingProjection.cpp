#include "DrawingProjection.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

namespace view {

using cad::Point2d;
using cad::Point3d;
using cad::Vector3d;

ViewBasis viewBasis(const Vector3d& towardsEye) {
    ViewBasis b;
    Vector3d eye = towardsEye.normal();
    if (eye.length() == 0) return b;
    b.eye = eye;
    Vector3d right = Vector3d{0, 0, 1}.cross(eye);
    if (right.length() < 1e-9) right = Vector3d{1, 0, 0} * (eye.z > 0 ? 1 : -1); // looking along z
    b.right = right.normal();
    b.up = eye.cross(b.right).normal();
    return b;
}

Point2d project(const ViewBasis& basis, const Point3d& p) {
    return {p.dot(basis.right), p.dot(basis.up)};
}

namespace {

Shape line(const ViewBasis& b, std::initializer_list<Point3d> points, bool thin = false) {
    Shape s;
    for (const Point3d& p : points)
        s.points.push_back(project(b, p));
    s.thin = thin;
    return s;
}

Shape circle(const ViewBasis& b, const Point3d& centre, double radius) {
    Shape s;
    s.kind = Shape::Circle;
    s.centre = project(b, centre);
    s.radius = radius;
    return s;
}

/// Two unit vectors across a direction.
std::pair<Vector3d, Vector3d> across(const Vector3d& n) {
    Vector3d d = n.normal();
    Vector3d ref = std::abs(d.z) > 0.9 ? Vector3d{1, 0, 0} : Vector3d{0, 0, 1};
    Vector3d a = ref.cross(d).normal();
    return {a, d.cross(a).normal()};
}

} // namespace

std::vector<Shape> entityShapes(const cad::Entity& entity, const ViewBasis& b, double markerSize) {
    std::vector<Shape> out;
    struct Visitor {
        const ViewBasis& b;
        double marker;
        std::vector<Shape>& out;
        void operator()(const cad::Profile& p) const {
            out.push_back(line(b, {p.start, p.end}, true));
            auto c = cad::profileCorners(p);
            for (int end : {0, 4})
                out.push_back(line(b, {c[end], c[end + 1], c[end + 2], c[end + 3], c[end]}));
            for (int i = 0; i < 4; ++i)
                out.push_back(line(b, {c[i], c[i + 4]}));
        }
        void operator()(const cad::Plate& p) const {
            if (p.outline.empty()) return;
            for (double w : {0.0, p.thickness}) {
                Shape s;
                for (const Point2d& q : p.outline)
                    s.points.push_back(project(b, p.placement.toModel(q.x, q.y, w)));
                s.points.push_back(s.points.front());
                out.push_back(std::move(s));
            }
            if (p.thickness > 0)
                for (const Point2d& q : p.outline)
                    out.push_back(line(
                        b, {p.placement.toModel(q.x, q.y, 0), p.placement.toModel(q.x, q.y, p.thickness)}));
        }
        void operator()(const cad::BoltHole& h) const {
            out.push_back(circle(b, h.position, h.diameter / 2));
        }
        void operator()(const cad::BoltGroup& g) const {
            for (const Point3d& q : g.positions)
                out.push_back(circle(b, q, g.diameter / 2));
        }
        void operator()(const cad::CoordSysEntity& c) const {
            const cad::CoordSys& cs = c.cs;
            for (const Vector3d& axis : {cs.xAxis.normal(), cs.yAxis.normal(), cs.zAxis().normal()})
                out.push_back(line(b, {cs.origin, cs.origin + axis * marker}));
        }
        void operator()(const cad::CutMarker& m) const {
            auto [a, c] = across(m.normal);
            double h = m.size / 2;
            const Point3d& o = m.position;
            out.push_back(line(b, {o - a * h - c * h, o + a * h + c * h}));
            out.push_back(line(b, {o - a * h + c * h, o + a * h - c * h}));
        }
        void operator()(const cad::BlockRef& r) const {
            Point2d o = project(b, r.placement.origin);
            double h = marker / 2;
            Shape s;
            s.points = {{o.x - h, o.y}, {o.x, o.y + h}, {o.x + h, o.y}, {o.x, o.y - h}, {o.x - h, o.y}};
            out.push_back(std::move(s));
        }
        void operator()(const cad::MacroGroup&) const {}
    };
    std::visit(Visitor{b, markerSize, out}, entity.geometry);
    return out;
}

ScreenFit fitBox(const ViewBasis& basis, const cad::Extents& box, double width, double height,
                 double margin) {
    ScreenFit f;
    double w = std::max(1.0, width - 2 * margin), h = std::max(1.0, height - 2 * margin);
    double cu = 0, cv = 0;
    if (!box.isEmpty()) {
        double minU = std::numeric_limits<double>::max(), maxU = -minU, minV = minU, maxV = -minU;
        for (double x : {box.min.x, box.max.x})
            for (double y : {box.min.y, box.max.y})
                for (double z : {box.min.z, box.max.z}) {
                    Point2d p = project(basis, {x, y, z});
                    minU = std::min(minU, p.x), maxU = std::max(maxU, p.x);
                    minV = std::min(minV, p.y), maxV = std::max(maxV, p.y);
                }
        double su = maxU - minU > 1e-9 ? w / (maxU - minU) : 0;
        double sv = maxV - minV > 1e-9 ? h / (maxV - minV) : 0;
        f.scale = su > 0 && sv > 0 ? std::min(su, sv) : su > 0 ? su : sv > 0 ? sv : 1;
        cu = (minU + maxU) / 2;
        cv = (minV + maxV) / 2;
    }
    f.originX = width / 2 - cu * f.scale;
    f.originY = height / 2 + cv * f.scale;
    return f;
}

double distanceToShape(const Shape& s, const Point2d& p) {
    if (s.kind == Shape::Circle)
        return std::max(0.0, std::hypot(p.x - s.centre.x, p.y - s.centre.y) - s.radius);
    double best = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < s.points.size(); ++i) {
        const Point2d& a = s.points[i];
        const Point2d& c = i + 1 < s.points.size() ? s.points[i + 1] : a;
        double dx = c.x - a.x, dy = c.y - a.y, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
        best = std::min(best, std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy)));
    }
    return best;
}

AcDbObjectId nearestEntity(const cad::Drawing& drawing, const ViewBasis& basis, const Point2d& at,
                           double tolerance, const std::vector<cad::EntityKind>& allowed, double markerSize) {
    AcDbObjectId best;
    double bestDistance = tolerance;
    for (AcDbObjectId id : drawing.ids()) {
        const cad::Entity* e = drawing.get(id);
        if (!e || e->temporary) continue;
        if (!allowed.empty() && std::find(allowed.begin(), allowed.end(), e->kind()) == allowed.end())
            continue;
        for (const Shape& s : entityShapes(*e, basis, markerSize)) {
            double d = distanceToShape(s, at);
            if (d < bestDistance || (d == bestDistance && best.isNull())) {
                bestDistance = d;
                best = id;
            }
        }
    }
    return best;
}

Point3d pointOnViewPlane(const ViewBasis& basis, const Point2d& at, const cad::Extents& box) {
    Point3d c = box.isEmpty() ? Point3d{} : (box.min + box.max) * 0.5;
    Point2d pc = project(basis, c);
    return c + basis.right * (at.x - pc.x) + basis.up * (at.y - pc.y);
}

} // namespace view
