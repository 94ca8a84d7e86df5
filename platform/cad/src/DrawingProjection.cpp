#include <cad/DrawingProjection.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <tuple>
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

/// Two unit vectors across a direction.
std::pair<Vector3d, Vector3d> across(const Vector3d& n) {
    Vector3d d = n.normal();
    Vector3d ref = std::abs(d.z) > 0.9 ? Vector3d{1, 0, 0} : Vector3d{0, 0, 1};
    Vector3d a = ref.cross(d).normal();
    return {a, d.cross(a).normal()};
}

/// Keeps the shapes a sink is given.
struct ShapeList : ShapeSink {
    std::vector<Shape> shapes;
    void polyline(const Point2d* points, std::size_t count, bool thin) override {
        Shape s;
        s.points.assign(points, points + count);
        s.thin = thin;
        shapes.push_back(std::move(s));
    }
    void circle(const Point2d& centre, double radius) override {
        Shape s;
        s.kind = Shape::Circle;
        s.centre = centre;
        s.radius = radius;
        shapes.push_back(std::move(s));
    }
};

} // namespace

void emitShapes(const cad::Entity& entity, const ViewBasis& b, double markerSize, ShapeSink& sink) {
    struct Visitor {
        const ViewBasis& b;
        double marker;
        ShapeSink& sink;
        void line(std::initializer_list<Point3d> points, bool thin = false) const {
            Point2d out[5];
            std::size_t n = 0;
            for (const Point3d& p : points)
                out[n++] = project(b, p);
            sink.polyline(out, n, thin);
        }
        void operator()(const cad::Profile& p) const {
            line({p.start, p.end}, true);
            auto c = cad::profileCorners(p);
            for (int end : {0, 4})
                line({c[end], c[end + 1], c[end + 2], c[end + 3], c[end]});
            for (int i = 0; i < 4; ++i)
                line({c[i], c[i + 4]});
        }
        void operator()(const cad::Plate& p) const {
            if (p.outline.empty()) return;
            // A plate of a few corners (most) needs no list on the heap.
            Point2d small[16];
            std::vector<Point2d> large;
            Point2d* face = small;
            if (p.outline.size() + 1 > std::size(small)) {
                large.resize(p.outline.size() + 1);
                face = large.data();
            }
            for (double w : {0.0, p.thickness}) {
                std::size_t n = 0;
                for (const Point2d& q : p.outline)
                    face[n++] = project(b, p.placement.toModel(q.x, q.y, w));
                face[n++] = face[0];
                sink.polyline(face, n, false);
            }
            if (p.thickness > 0)
                for (const Point2d& q : p.outline)
                    line({p.placement.toModel(q.x, q.y, 0), p.placement.toModel(q.x, q.y, p.thickness)});
        }
        void operator()(const cad::BoltHole& h) const { sink.circle(project(b, h.position), h.diameter / 2); }
        void operator()(const cad::BoltGroup& g) const {
            for (const Point3d& q : g.positions)
                sink.circle(project(b, q), g.diameter / 2);
        }
        void operator()(const cad::CoordSysEntity& c) const {
            const cad::CoordSys& cs = c.cs;
            for (const Vector3d& axis : {cs.xAxis.normal(), cs.yAxis.normal(), cs.zAxis().normal()})
                line({cs.origin, cs.origin + axis * marker});
        }
        void operator()(const cad::CutMarker& m) const {
            auto [a, c] = across(m.normal);
            double h = m.size / 2;
            const Point3d& o = m.position;
            line({o - a * h - c * h, o + a * h + c * h});
            line({o - a * h + c * h, o + a * h - c * h});
        }
        void operator()(const cad::BlockRef& r) const {
            Point2d o = project(b, r.placement.origin);
            double h = marker / 2;
            Point2d s[] = {{o.x - h, o.y}, {o.x, o.y + h}, {o.x + h, o.y}, {o.x, o.y - h}, {o.x - h, o.y}};
            sink.polyline(s, std::size(s), false);
        }
        void operator()(const cad::MacroGroup&) const {}
    };
    std::visit(Visitor{b, markerSize, sink}, entity.geometry);
}

std::vector<Shape> entityShapes(const cad::Entity& entity, const ViewBasis& b, double markerSize) {
    ShapeList list;
    emitShapes(entity, b, markerSize, list);
    return std::move(list.shapes);
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

PlaneRect projectBox(const ViewBasis& b, const cad::Extents& box) {
    if (box.isEmpty()) return {};
    // Each coordinate of the projection is a sum of one term per axis: its extremes take each term's.
    auto span = [&](const Vector3d& n, double& lo, double& hi) {
        lo = hi = 0;
        for (auto [k, a, z] : {std::tuple{n.x, box.min.x, box.max.x}, std::tuple{n.y, box.min.y, box.max.y},
                               std::tuple{n.z, box.min.z, box.max.z}}) {
            lo += std::min(k * a, k * z);
            hi += std::max(k * a, k * z);
        }
    };
    PlaneRect r;
    span(b.right, r.minU, r.maxU);
    span(b.up, r.minV, r.maxV);
    return r;
}

PlaneRect visibleRect(const ScreenFit& f, double width, double height) {
    Point2d a = f.toPlane(0, height), c = f.toPlane(width, 0);
    return {std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
}

cad::Extents modelBoxOf(const ViewBasis& b, const PlaneRect& rect, const cad::Extents& within) {
    if (within.isEmpty() || rect.isEmpty()) return {};
    double lo[3] = {within.min.x, within.min.y, within.min.z};
    double hi[3] = {within.max.x, within.max.y, within.max.z};
    const struct {
        double n[3];
        double lo, hi;
    } rows[] = {{{b.right.x, b.right.y, b.right.z}, rect.minU, rect.maxU},
                {{b.up.x, b.up.y, b.up.z}, rect.minV, rect.maxV}};
    // Narrows each coordinate by what the others leave room for (n·p within [lo, hi] for both rows),
    // a few rounds: every step keeps each point that meets both rows, so the box never gets too small.
    for (int round = 0; round < 3; ++round)
        for (const auto& row : rows) {
            double termLo[3], termHi[3], sumLo = 0, sumHi = 0;
            for (int i = 0; i < 3; ++i) {
                termLo[i] = std::min(row.n[i] * lo[i], row.n[i] * hi[i]);
                termHi[i] = std::max(row.n[i] * lo[i], row.n[i] * hi[i]);
                sumLo += termLo[i];
                sumHi += termHi[i];
            }
            if (sumHi < row.lo || sumLo > row.hi) return {};
            for (int i = 0; i < 3; ++i) {
                if (std::abs(row.n[i]) < 1e-12) continue;
                double a = (row.lo - (sumHi - termHi[i])) / row.n[i];
                double c = (row.hi - (sumLo - termLo[i])) / row.n[i];
                if (a > c) std::swap(a, c);
                lo[i] = std::max(lo[i], a);
                hi[i] = std::min(hi[i], c);
            }
        }
    cad::Extents box{{lo[0], lo[1], lo[2]}, {hi[0], hi[1], hi[2]}};
    // Rounding must not cut off a point on the rectangle's rim.
    double size = 0;
    for (double v : {lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]})
        size = std::max(size, std::abs(v));
    double slack = 1e-9 * size + 1e-6;
    for (int i = 0; i < 3; ++i)
        if (lo[i] > hi[i] + slack) return {};
    for (int i = 0; i < 3; ++i)
        if (lo[i] > hi[i]) std::swap(lo[i], hi[i]);
    box = {{lo[0], lo[1], lo[2]}, {hi[0], hi[1], hi[2]}};
    return box.grown(slack);
}

void visitEntitiesInRect(const cad::Drawing& drawing, const ViewBasis& basis, const PlaneRect& rect,
                         double reach,
                         const std::function<void(const cad::Entity&, const PlaneRect&)>& visit) {
    PlaneRect wide = rect.grown(reach);
    if (wide.isEmpty()) return;
    drawing.overlapping(modelBoxOf(basis, wide, drawing.indexBounds()),
                        [&](AcDbObjectId id, const cad::Extents& extents) {
                            PlaneRect box = projectBox(basis, extents);
                            if (!box.overlaps(wide)) return;
                            if (const cad::Entity* e = drawing.get(id)) visit(*e, box);
                        });
    for (AcDbObjectId id : drawing.temporaryIds()) {
        const cad::Entity* e = drawing.get(id);
        if (!e || e->kind() == cad::EntityKind::MacroGroup) continue;
        PlaneRect box = projectBox(basis, e->extents());
        if (box.overlaps(wide)) visit(*e, box);
    }
}

std::vector<AcDbObjectId> entitiesInRect(const cad::Drawing& drawing, const ViewBasis& basis,
                                         const PlaneRect& rect, double reach) {
    std::vector<AcDbObjectId> out;
    visitEntitiesInRect(drawing, basis, rect, reach,
                        [&](const cad::Entity& e, const PlaneRect&) { out.push_back(e.id); });
    std::sort(out.begin(), out.end());
    return out;
}

AcDbObjectId nearestEntity(const cad::Drawing& drawing, const ViewBasis& basis, const Point2d& at,
                           double tolerance, const std::vector<cad::EntityKind>& allowed, double markerSize) {
    AcDbObjectId best;
    double bestDistance = tolerance;
    PlaneRect around{at.x - tolerance, at.y - tolerance, at.x + tolerance, at.y + tolerance};
    for (AcDbObjectId id : entitiesInRect(drawing, basis, around, markerSize)) {
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
