// The drawing view's arithmetic: view planes, entity shapes, the fit of the zoom box and the hit test.

#include "DrawingProjection.h"

#include <gtest/gtest.h>

#include <cmath>

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

} // namespace
