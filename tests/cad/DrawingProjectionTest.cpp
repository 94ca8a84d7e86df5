// The drawing view's arithmetic: view planes, entity shapes, the fit of the zoom box and the hit test.

#include <cad/DrawingProjection.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace view;
using cad::Point2d;
using cad::Point3d;

namespace {

constexpr double kEps = 1e-9;

TEST(DrawingProjectionTest, namedDirectionsProjectModelAxes) {
    const double r = 1 / std::sqrt(2.0);
    const struct {
        cad::ViewDirection dir;
        Point3d p;
        Point2d want;
        const char* why;
    } cases[] = {
        {cad::ViewDirection::Front, {3, 7, 5}, {3, 5}, "front: x to the right, z up, y away"},
        {cad::ViewDirection::Side, {3, 7, 5}, {7, 5}, "side from +x: y to the right, z up"},
        {cad::ViewDirection::Top, {3, 7, 5}, {3, 7}, "top: x to the right, y up"},
        {cad::ViewDirection::Standard, {1, -1, 0}, {2 * r, 0}, "isometric: x-y runs to the right, level"},
        {cad::ViewDirection::Standard, {0, 0, 1}, {0, std::sqrt(2.0 / 3)}, "isometric: z goes up, shortened"},
    };
    for (const auto& c : cases) {
        Point2d got = project(viewBasis(cad::viewVector(c.dir)), c.p);
        EXPECT_NEAR(got.x, c.want.x, kEps) << c.why;
        EXPECT_NEAR(got.y, c.want.y, kEps) << c.why;
    }
    ViewBasis zero = viewBasis({0, 0, 0});
    EXPECT_EQ(zero.right, (Point3d{1, 0, 0})) << "a zero direction falls back to the front view";
    ViewBasis bottom = viewBasis({0, 0, -2});
    EXPECT_NEAR(bottom.right.cross(bottom.up).dot(bottom.eye), 1, kEps) << "right, up, eye stay right-handed";
}

TEST(DrawingProjectionTest, fitCentresTheZoomBoxAtOneScale) {
    ViewBasis front = viewBasis(cad::viewVector(cad::ViewDirection::Front));
    cad::Extents box{{0, 0, 0}, {1000, 50, 500}};
    const struct {
        double w, h, margin;
        double scale;
        const char* why;
    } cases[] = {
        {1020, 2000, 10, 1.0, "the width limits: 1000 mm in 1000 px"},
        {4000, 520, 10, 1.0, "the height limits: 500 mm in 500 px"},
        {220, 220, 10, 0.2, "the smaller of both scales"},
    };
    for (const auto& c : cases) {
        ScreenFit f = fitBox(front, box, c.w, c.h, c.margin);
        EXPECT_NEAR(f.scale, c.scale, kEps) << c.why;
        Point2d mid = f.toScreen(project(front, {500, 0, 250}));
        EXPECT_NEAR(mid.x, c.w / 2, kEps) << c.why << ": the box's centre is the view's";
        EXPECT_NEAR(mid.y, c.h / 2, kEps) << c.why;
        Point2d top = f.toScreen(project(front, {500, 0, 500}));
        EXPECT_LT(top.y, mid.y) << c.why << ": up in the model is up on screen";
        Point2d back = f.toPlane(top.x, top.y);
        EXPECT_NEAR(back.y, 500, 1e-6) << c.why << ": pixels map back to the plane";
    }
    cad::Extents flat{{0, 0, 0}, {0, 0, 400}};
    EXPECT_NEAR(fitBox(front, flat, 500, 500, 50).scale, 1.0, kEps) << "a vertical line fits by its height";
    EXPECT_NEAR(fitBox(front, {}, 500, 500, 50).scale, 1.0, kEps) << "an empty box: 1 mm a pixel";
}

cad::Entity profile(const char* name, Point3d a, Point3d b) {
    cad::Entity e;
    e.name = name;
    e.geometry = cad::Profile{"HEA 200", a, b, 200, 190};
    return e;
}

TEST(DrawingProjectionTest, shapesFollowTheEntityKind) {
    ViewBasis front = viewBasis(cad::viewVector(cad::ViewDirection::Front));
    cad::Entity holes;
    holes.geometry = cad::BoltGroup{{{0, 0, 0}, {100, 0, 0}}, {0, 1, 0}, 22, 20, "M20"};
    cad::Entity cs;
    cs.geometry = cad::CoordSysEntity{};
    cad::Entity group;
    group.geometry = cad::MacroGroup{};
    const struct {
        cad::Entity e;
        size_t shapes;
        const char* why;
    } cases[] = {
        {profile("C1", {0, 0, 0}, {0, 0, 3000}), 7, "centre line, two section outlines, four edges"},
        {holes, 2, "a circle per hole"},
        {cs, 3, "three axes"},
        {group, 0, "a group draws nothing itself"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(entityShapes(c.e, front, 50).size(), c.shapes) << c.why;
    auto p = entityShapes(profile("C1", {0, 0, 0}, {0, 0, 3000}), front, 50);
    EXPECT_TRUE(p[0].thin) << "the centre line is drawn thin";
    EXPECT_NEAR(distanceToShape(p[1], {95, 0}), 0, kEps)
        << "a column shows its section height, 190, from the front";
    auto h = entityShapes(holes, front, 50);
    EXPECT_NEAR(h[1].radius, 11, kEps) << "a hole's circle has the hole's diameter";
}

TEST(DrawingProjectionTest, aClickPicksTheNearestAllowedEntity) {
    cad::Drawing d;
    AcDbObjectId c1 = d.add(profile("C1", {0, 0, 0}, {0, 0, 3000}));
    AcDbObjectId c2 = d.add(profile("C2", {5000, 0, 0}, {5000, 0, 3000}));
    AcDbObjectId b1 = d.add(profile("B1", {0, 0, 3000}, {5000, 0, 3000}));
    cad::Entity hole;
    hole.geometry = cad::BoltHole{{2500, 0, 1500}, {0, 1, 0}, 22, 20, "M20"};
    AcDbObjectId h1 = d.add(hole);
    cad::Entity preview = profile("T", {2500, 0, 0}, {2500, 0, 1000});
    d.addTemporary(preview);
    ViewBasis front = viewBasis(cad::viewVector(cad::ViewDirection::Front));
    ViewBasis side = viewBasis(cad::viewVector(cad::ViewDirection::Side));
    using K = cad::EntityKind;
    const struct {
        ViewBasis basis;
        Point2d at;
        std::vector<K> allowed;
        AcDbObjectId want;
        const char* why;
    } cases[] = {
        {front, {5, 1500}, {}, c1, "on the first column's centre line"},
        {front, {4890, 1500}, {}, c2, "on the second column's flange edge"},
        {front, {2500, 3010}, {}, b1, "near the beam's centre line"},
        {front, {2505, 1500}, {}, h1, "inside the hole's circle"},
        {front, {2505, 1500}, {K::Profile}, AcDbObjectId(), "only profiles allowed: the hole is not picked"},
        {front, {2500, 500}, {}, AcDbObjectId(), "a temporary entity is not picked"},
        {front, {1200, 1500}, {}, AcDbObjectId(), "nothing within the tolerance"},
        {side, {0, 2990}, {}, c1, "from the side everything lies on one line: the lowest id wins"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nearestEntity(d, c.basis, c.at, 20, c.allowed), c.want) << c.why;
}

TEST(DrawingProjectionTest, aPointPickLiesOnThePlaneThroughTheZoomCentre) {
    cad::Extents box{{0, 0, 0}, {1000, 400, 600}};
    ViewBasis front = viewBasis(cad::viewVector(cad::ViewDirection::Front));
    ViewBasis top = viewBasis(cad::viewVector(cad::ViewDirection::Top));
    EXPECT_EQ(pointOnViewPlane(front, {100, 50}, box), (Point3d{100, 200, 50}))
        << "front: y is the box's middle";
    EXPECT_EQ(pointOnViewPlane(top, {100, 50}, box), (Point3d{100, 50, 300})) << "top: z is the box's middle";
    EXPECT_EQ(pointOnViewPlane(top, {7, 8}, {}), (Point3d{7, 8, 0})) << "no box: through the origin";
}

TEST(DrawingProjectionTest, modelBoxOfAViewAlongAnAxisIsTheRectangleExtruded) {
    const cad::Extents within{{-1000, -2000, -3000}, {9000, 8000, 7000}};
    const struct {
        cad::ViewDirection dir;
        PlaneRect rect;
        cad::Extents want;
        const char* why;
    } cases[] = {
        {cad::ViewDirection::Front,
         {100, 200, 300, 400},
         {{100, -2000, 200}, {300, 8000, 400}},
         "front: x and z from the rectangle, y through the whole drawing"},
        {cad::ViewDirection::Top,
         {100, 200, 300, 400},
         {{100, 200, -3000}, {300, 400, 7000}},
         "top: x and y from the rectangle, z through the whole drawing"},
        {cad::ViewDirection::Side,
         {100, 200, 300, 400},
         {{-1000, 100, 200}, {9000, 300, 400}},
         "side: y and z from the rectangle, x through the whole drawing"},
        {cad::ViewDirection::Front,
         {-5000, 6000, 20000, 9000},
         {{-1000, -2000, 6000}, {9000, 8000, 7000}},
         "a rectangle wider than the drawing is cut to it"},
    };
    for (const auto& c : cases) {
        cad::Extents got = modelBoxOf(viewBasis(cad::viewVector(c.dir)), c.rect, within);
        for (auto [g, w] : {std::pair{got.min, c.want.min}, {got.max, c.want.max}}) {
            EXPECT_NEAR(g.x, w.x, 0.01) << c.why;
            EXPECT_NEAR(g.y, w.y, 0.01) << c.why;
            EXPECT_NEAR(g.z, w.z, 0.01) << c.why;
        }
    }
    ViewBasis front = viewBasis(cad::viewVector(cad::ViewDirection::Front));
    EXPECT_TRUE(modelBoxOf(front, {20000, 0, 30000, 10}, within).isEmpty())
        << "a rectangle beside the drawing finds no box";
    EXPECT_TRUE(modelBoxOf(front, {0, 0, 10, 10}, {}).isEmpty()) << "an empty drawing finds no box";
}

/// Whether the segment a-b touches the rectangle (closed).
bool segmentTouches(Point2d a, Point2d b, const PlaneRect& r) {
    double t0 = 0, t1 = 1, dx = b.x - a.x, dy = b.y - a.y;
    for (auto [p, q] :
         {std::pair{-dx, a.x - r.minU}, {dx, r.maxU - a.x}, {-dy, a.y - r.minV}, {dy, r.maxV - a.y}}) {
        if (p == 0) {
            if (q < 0) return false;
            continue;
        }
        double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

/// Whether any shape of the entity reaches the rectangle, measured on the shapes themselves.
bool shapesTouch(const cad::Entity& e, const ViewBasis& basis, double marker, const PlaneRect& r) {
    for (const Shape& s : entityShapes(e, basis, marker)) {
        if (s.kind == Shape::Circle) {
            if (PlaneRect{s.centre.x - s.radius, s.centre.y - s.radius, s.centre.x + s.radius,
                          s.centre.y + s.radius}
                    .overlaps(r))
                return true;
            continue;
        }
        for (size_t i = 0; i + 1 < s.points.size(); ++i)
            if (segmentTouches(s.points[i], s.points[i + 1], r)) return true;
        if (s.points.size() == 1 && segmentTouches(s.points[0], s.points[0], r)) return true;
    }
    return false;
}

/// A drawing of `n` entities of every kind at random places and turns, some temporary, some in groups,
/// with some erased again (the index's bounds then hold more than is left).
void randomDrawing(cad::Drawing& d, std::mt19937& rng, int n) {
    std::uniform_real_distribution<double> at(-20000, 20000), size(1, 3000), unit(-1, 1);
    auto point = [&] { return Point3d{at(rng), at(rng), at(rng) / 4}; };
    auto direction = [&] {
        Point3d v{unit(rng), unit(rng), unit(rng)};
        return v.length() < 0.1 ? Point3d{0, 0, 1} : v;
    };
    AcDbObjectId group = d.add([] {
        cad::Entity g;
        g.geometry = cad::MacroGroup{};
        return g;
    }());
    std::vector<AcDbObjectId> added;
    for (int i = 0; i < n; ++i) {
        cad::Entity e;
        Point3d p = point();
        switch (i % 7) {
        case 0:
            e.geometry = cad::Profile{"HEA 200", p, p + direction() * size(rng), 200, 190, i % 9};
            break;
        case 1: {
            Point3d x = direction(), y = x.cross(direction());
            if (y.length() < 1e-3)
                y = x.cross({0, 0, 1}).length() > 1e-3 ? x.cross({0, 0, 1}) : Point3d{0, 1, 0};
            e.geometry =
                cad::Plate{{p, x, y}, {{0, 0}, {size(rng), 0}, {size(rng), size(rng)}, {0, size(rng)}}, 15};
            break;
        }
        case 2:
            e.geometry = cad::BoltHole{p, direction(), 22, 40, "M20"};
            break;
        case 3:
            e.geometry = cad::BoltGroup{
                {p, p + Point3d{100, 0, 0}, p + Point3d{0, 0, 80}}, direction(), 26, 30, "M24"};
            break;
        case 4:
            e.geometry = cad::CoordSysEntity{{p}};
            break;
        case 5:
            e.geometry = cad::CutMarker{p, direction(), size(rng) / 4};
            break;
        default:
            e.geometry = cad::BlockRef{"Macros/Kopplaat.dwg", {p}};
            break;
        }
        if (i % 5 == 0) e.owner = group;
        AcDbObjectId id = i % 11 == 0 ? d.addTemporary([&] {
            e.owner = {};
            return e;
        }())
                                      : d.add(e);
        ASSERT_FALSE(id.isNull()) << "entity " << i;
        added.push_back(id);
    }
    for (size_t i = 3; i < added.size(); i += 13)
        d.erase(added[i]);
}

TEST(DrawingProjectionTest, cullingThroughTheIndexKeepsWhatAFullScanKeeps) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> at(-25000, 25000), size(10, 20000), unit(-1, 1);
    std::vector<Point3d> directions = {cad::viewVector(cad::ViewDirection::Front),
                                       cad::viewVector(cad::ViewDirection::Side),
                                       cad::viewVector(cad::ViewDirection::Top),
                                       cad::viewVector(cad::ViewDirection::Standard),
                                       {0, 0, -1}};
    for (int i = 0; i < 5; ++i)
        directions.push_back({unit(rng), unit(rng), unit(rng)});
    size_t kept = 0, all = 0;
    for (int drawing = 0; drawing < 3; ++drawing) {
        cad::Drawing d;
        randomDrawing(d, rng, 300);
        for (const Point3d& dir : directions) {
            ViewBasis basis = viewBasis(dir);
            const bool axial = (dir.x == 0) + (dir.y == 0) + (dir.z == 0) == 2;
            for (int view = 0; view < 12; ++view) {
                double u = at(rng), v = at(rng), w = size(rng), h = size(rng);
                PlaneRect rect{u, v, u + w, v + h};
                const double marker = w / 50;
                std::vector<AcDbObjectId> got = entitiesInRect(d, basis, rect, marker);
                ASSERT_TRUE(std::is_sorted(got.begin(), got.end()));
                std::vector<AcDbObjectId> scan;
                for (AcDbObjectId id : d.ids()) {
                    const cad::Entity* e = d.get(id);
                    if (e->kind() == cad::EntityKind::MacroGroup) continue;
                    if (projectBox(basis, e->extents()).overlaps(rect.grown(marker))) scan.push_back(id);
                    if (shapesTouch(*e, basis, marker, rect))
                        EXPECT_TRUE(std::binary_search(got.begin(), got.end(), id))
                            << "entity " << id.handle() << " shows in the rectangle but was culled (drawing "
                            << drawing << ", view " << view << ")";
                }
                // Along an axis a box's projected rectangle is exact, so the index must find the same;
                // along a slant the index's prism may leave out a box whose rectangle only touches a
                // corner that none of the box's points reach.
                if (axial)
                    EXPECT_EQ(got, scan)
                        << "the index finds what a scan of every projected box finds (drawing " << drawing
                        << ", view " << view << ")";
                else
                    EXPECT_TRUE(std::includes(scan.begin(), scan.end(), got.begin(), got.end()))
                        << "the index finds nothing a scan of projected boxes would not (drawing " << drawing
                        << ", view " << view << ")";
                kept += got.size();
                all += d.size();
            }
        }
    }
    EXPECT_GT(kept, 0u) << "some views show something";
    EXPECT_LT(kept, all / 2) << "and most views cull most entities";
}

/// The hit test as it was before the index: every entity measured.
AcDbObjectId nearestByScan(const cad::Drawing& d, const ViewBasis& basis, Point2d at, double tolerance,
                           double marker) {
    AcDbObjectId best;
    double bestDistance = tolerance;
    for (AcDbObjectId id : d.ids()) {
        const cad::Entity* e = d.get(id);
        if (e->temporary) continue;
        for (const Shape& s : entityShapes(*e, basis, marker)) {
            double dist = distanceToShape(s, at);
            if (dist < bestDistance || (dist == bestDistance && best.isNull())) {
                bestDistance = dist;
                best = id;
            }
        }
    }
    return best;
}

TEST(DrawingProjectionTest, aClickThroughTheIndexFindsWhatAFullScanFinds) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> pick(0, 1 << 20);
    size_t hits = 0;
    for (int drawing = 0; drawing < 3; ++drawing) {
        cad::Drawing d;
        randomDrawing(d, rng, 300);
        std::vector<AcDbObjectId> ids = d.ids();
        for (int click = 0; click < 150; ++click) {
            ViewBasis basis =
                viewBasis(click % 3 == 0 ? cad::viewVector(static_cast<cad::ViewDirection>(click % 4))
                                         : Point3d{unit(rng), unit(rng), unit(rng)});
            // Near an entity's own shapes mostly, so that clicks hit something.
            const cad::Entity* e = d.get(ids[pick(rng) % ids.size()]);
            std::vector<Shape> shapes = e ? entityShapes(*e, basis, 300) : std::vector<Shape>{};
            Point2d at{unit(rng) * 20000, unit(rng) * 20000};
            if (!shapes.empty())
                at = shapes[0].kind == Shape::Circle ? shapes[0].centre : shapes[0].points[0];
            at.x += unit(rng) * 100;
            at.y += unit(rng) * 100;
            AcDbObjectId want = nearestByScan(d, basis, at, 80, 300);
            EXPECT_EQ(nearestEntity(d, basis, at, 80, {}, 300), want)
                << "drawing " << drawing << ", click " << click << " at " << at.x << ", " << at.y;
            hits += !want.isNull();
        }
    }
    EXPECT_GT(hits, 100u) << "most clicks land on something";
}

} // namespace
