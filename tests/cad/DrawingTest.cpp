// The drawing: ids, owners, faults refused, boxes, the view and the listeners.

#include "DrawingSample.h"

#include <cad/Drawing.h>
#include <cad/aced.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace cad;
using cadtest::entity;

namespace {

TEST(Drawing, idsAreNeverGivenTwice) {
    Drawing d;
    AcDbObjectId a = d.add(entity(CoordSysEntity{}, "a"));
    AcDbObjectId b = d.add(entity(CoordSysEntity{}, "b"));
    AcDbObjectId t = d.addTemporary(entity(CoordSysEntity{}, "preview"));
    AcDbObjectId t2 = d.addTemporary(entity(CoordSysEntity{}, "preview 2"));
    EXPECT_EQ(a.handle(), 1);
    EXPECT_EQ(d.temporaryIds(), (std::vector<AcDbObjectId>{t, t2}))
        << "the view finds previews without a scan";
    EXPECT_EQ(d.erase(t2), Acad::eOk);
    EXPECT_EQ(d.temporaryIds(), std::vector<AcDbObjectId>{t}) << "an erased preview leaves the list";
    EXPECT_EQ(d.erase(b), Acad::eOk);
    d.clearTemporary();
    EXPECT_TRUE(d.temporaryIds().empty()) << "cleared previews leave the list";
    EXPECT_EQ(d.get(t), nullptr) << "temporary entities are cleared together";
    AcDbObjectId c = d.add(entity(CoordSysEntity{}, "c"));
    EXPECT_GT(c.handle(), t.handle()) << "neither an erased nor a cleared temporary id is given again";
    EXPECT_EQ(d.erase(b), Acad::eKeyNotFound);
    EXPECT_EQ(d.get(b), nullptr);
    EXPECT_EQ(d.findByName("c"), c);
    EXPECT_TRUE(d.findByName("b").isNull());
}

TEST(Drawing, erasingAGroupErasesWhatItOwns) {
    Drawing d;
    AcDbObjectId m = cadtest::addSampleMacro(d);
    AcDbObjectId other = d.add(entity(cadtest::beam({0, 5000, 0}, {1000, 5000, 0}), "X"));
    AcDbObjectId sub = d.findByName("M1.sub");
    AcDbObjectId c2 = d.findByName("C2");
    EXPECT_EQ(d.get(c2)->owner, sub) << "an owned entity knows its owner";
    EXPECT_EQ(d.members(m).size(), 8u) << "seven entities and the nested group";
    EXPECT_EQ(d.allMembers(m).size(), 9u) << "also what the nested group owns";
    EXPECT_EQ(d.ids(EntityKind::Profile).size(), 3u);

    EXPECT_EQ(d.erase(c2), Acad::eOk);
    EXPECT_TRUE(d.members(sub).empty()) << "an erased member leaves its group";
    EXPECT_EQ(d.erase(m), Acad::eOk);
    EXPECT_EQ(d.ids(), std::vector<AcDbObjectId>{other}) << "the group took all it owned, nested too";
    EXPECT_EQ(d.overlapping(Extents{{-1e6, -1e6, -1e6}, {1e6, 1e6, 1e6}}), std::vector<AcDbObjectId>{other})
        << "erased entities leave the spatial index";
}

TEST(Drawing, faultyEntitiesAreRefused) {
    Drawing d;
    AcDbObjectId group = d.add(entity(MacroGroup{}, "G"));
    AcDbObjectId plain = d.add(entity(CoordSysEntity{}, "CS"));
    AcDbObjectId tempGroup = d.addTemporary(entity(MacroGroup{}, "T"));
    AcDbObjectId deep = group;
    for (int i = 1; i <= Drawing::kMaxOwnerDepth - 1; ++i)
        deep = d.add(entity(MacroGroup{}, "", deep));
    deep = d.add(entity(MacroGroup{}, "", deep));
    ASSERT_FALSE(deep.isNull()) << "16 owners above an entity are allowed";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Plate parallel;
    parallel.placement.yAxis = {2, 0, 0};
    Profile badInsertion = cadtest::beam({}, {1, 0, 0});
    badInsertion.insertion = 9;
    struct Case {
        Entity e;
        bool temporary;
        const char* fault;
        const char* why;
    } cases[] = {
        {entity(CoordSysEntity{}, "", AcDbObjectId(99)), false, "does not exist", "an owner must exist"},
        {entity(CoordSysEntity{}, "", plain), false, "is no group", "only groups own entities"},
        {entity(CoordSysEntity{}, "", tempGroup), false, "temporary group", "a lasting entity in a preview"},
        {entity(CoordSysEntity{}, "", group), true, "lasting group", "a preview inside a lasting macro"},
        {entity(MacroGroup{}, "", deep), false, "nested more than 16", "nesting has a budget"},
        {entity(cadtest::beam({nan, 0, 0}, {1, 0, 0})), false, "the start", "NaN has no place"},
        {entity(cadtest::beam({2e9, 0, 0}, {1, 0, 0})), false, "within ±1e9", "beyond 1,000 km"},
        {entity(badInsertion), false, "insertion point", "the grid has nine points"},
        {entity(Plate{{}, {}, -1}), false, "negative", "a thickness below zero"},
        {entity(parallel), false, "parallel", "a placement needs two directions"},
        {entity(CutMarker{{}, {0, 0, 0}, 1}), false, "length 0", "a cut needs a normal"},
        {entity(BlockRef{}), false, "file name is empty", "a block names its drawing"},
        {entity(CoordSysEntity{}, "two\nlines"), false, "control character", "names stay on one line"},
        {entity(CoordSysEntity{}, std::string(256, 'n')), false, "longer than 255", "name budget"},
        {entity(BoltGroup{std::vector<Point3d>(10001), {0, 0, 1}, 1, 1, ""}), false, "more than 10000",
         "point budget"},
    };
    for (const Case& c : cases) {
        std::size_t before = d.size();
        std::uint64_t revision = d.revision();
        std::string error;
        AcDbObjectId id = c.temporary ? d.addTemporary(c.e, &error) : d.add(c.e, &error);
        EXPECT_TRUE(id.isNull()) << c.why;
        EXPECT_NE(error.find(c.fault), std::string::npos) << c.why << ": " << error;
        EXPECT_EQ(d.size(), before) << c.why;
        EXPECT_EQ(d.revision(), revision) << c.why << ": a refused entity is no change";
    }
}

TEST(Drawing, modifyKeepsTheIdentityAndMovesTheBox) {
    Drawing d;
    AcDbObjectId g = d.add(entity(MacroGroup{}));
    AcDbObjectId b = d.add(entity(cadtest::beam({0, 0, 0}, {1000, 0, 0}), "B", g));
    const Extents far{{50000, -10, -10}, {50010, 10, 10}};
    EXPECT_TRUE(d.overlapping(far).empty());
    EXPECT_EQ(d.modify(b,
                       [](Entity& e) {
                           std::get<Profile>(e.geometry).start = {50000, 0, 0};
                           std::get<Profile>(e.geometry).end = {51000, 0, 0};
                           e.properties["length"] = "1000";
                       }),
              Acad::eOk);
    EXPECT_EQ(d.overlapping(far), std::vector<AcDbObjectId>{b}) << "the index follows a modified entity";
    EXPECT_EQ(d.get(b)->properties.at("length"), "1000");
    std::uint64_t revision = d.revision();
    struct Case {
        std::function<void(Entity&)> edit;
        const char* why;
    } refused[] = {
        {[](Entity& e) { e.geometry = Plate{}; }, "the kind cannot change"},
        {[](Entity& e) { e.owner = {}; }, "the owner cannot change"},
        {[](Entity& e) { e.id = AcDbObjectId(77); }, "the id cannot change"},
        {[](Entity& e) { e.temporary = true; }, "a lasting entity does not become a preview"},
        {[](Entity& e) { std::get<Profile>(e.geometry).width = -1; }, "a faulty result"},
    };
    for (const Case& c : refused) {
        EXPECT_EQ(d.modify(b, c.edit), Acad::eInvalidInput) << c.why;
        EXPECT_EQ(d.revision(), revision) << c.why;
    }
    EXPECT_EQ(d.get(b)->owner, g);
    EXPECT_EQ(d.modify(AcDbObjectId(99), [](Entity&) {}), Acad::eKeyNotFound);
    EXPECT_EQ(d.modify(b, [&](Entity& e) { d.erase(g); }), Acad::eKeyNotFound)
        << "an edit that erased its own entity changes nothing more";
    EXPECT_EQ(d.get(b), nullptr);
}

TEST(Drawing, boxesOfTheKinds) {
    struct Case {
        Entity::Geometry g;
        Extents box;
        const char* why;
    } cases[] = {
        {cadtest::beam({0, 0, 0}, {1000, 0, 0}), {{0, -50, -100}, {1000, 50, 100}}, "centre on the line"},
        {[] {
             Profile p = cadtest::beam({0, 0, 0}, {1000, 0, 0});
             p.insertion = 1; // top middle on the line: the section hangs below it
             p.offsetY = 10;
             return p;
         }(),
         {{0, -50, -190}, {1000, 50, 10}},
         "top middle, lifted by the offset"},
        {[] {
             Profile p = cadtest::beam({0, 0, 0}, {1000, 0, 0});
             p.rotation = 90; // the section turned a quarter about the line
             return p;
         }(),
         {{0, -100, -50}, {1000, 100, 50}},
         "rotated by 90 degrees"},
        {cadtest::beam({0, 0, 0}, {0, 0, 3000}),
         {{-100, -50, 0}, {100, 50, 3000}},
         "a column takes x as its up"},
        {Plate{{{10, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0}, {200, 0}, {0, 300}}, 15},
         {{10, 0, 0}, {210, 300, 15}},
         "outline extruded by the thickness"},
        {BoltGroup{{{0, 0, 0}, {100, 0, 0}}, {0, 0, 1}, 20, 30, ""},
         {{-10, -10, -10}, {110, 10, 40}},
         "holes with their grip and radius"},
        {CutMarker{{5, 5, 5}, {1, 0, 0}, 10}, {{0, 0, 0}, {10, 10, 10}}, "the marker's square"},
    };
    for (const Case& c : cases) {
        Extents box = entity(c.g).extents();
        double got[] = {box.min.x, box.min.y, box.min.z, box.max.x, box.max.y, box.max.z};
        double want[] = {c.box.min.x, c.box.min.y, c.box.min.z, c.box.max.x, c.box.max.y, c.box.max.z};
        for (int k = 0; k < 6; ++k)
            EXPECT_NEAR(got[k], want[k], 1e-9) << c.why << ", coordinate " << k;
    }
    Drawing d;
    AcDbObjectId m = cadtest::addSampleMacro(d);
    Extents group = d.extents(m);
    EXPECT_EQ(group.max.z, 3000) << "a group's box holds its nested group's column";
    EXPECT_EQ(group.max.x, 6140) << "and the cut marker's square at the beam's end";
}

TEST(Drawing, listenersAreToldEveryChange) {
    Drawing d;
    std::vector<DrawingChange> seen;
    int token = d.addListener([&](const DrawingChange& c) { seen.push_back(c); });
    int selfRemoving = 0;
    int once = 0;
    once = d.addListener([&](const DrawingChange&) {
        ++selfRemoving;
        d.removeListener(once);
    });
    AcDbObjectId g = d.add(entity(MacroGroup{}, "G"));
    AcDbObjectId b = d.add(entity(cadtest::beam({}, {1000, 0, 0}), "B", g));
    d.modify(b, [](Entity& e) { e.name = "B2"; });
    d.modify(b, [](Entity& e) {}); // nothing changed: nobody is told
    d.highlight(b);
    d.highlight(b); // already highlighted
    d.changeView(ViewDirection::Top);
    d.zoomToObjects({g});
    AcDbObjectId t = d.addTemporary(entity(CoordSysEntity{}));
    d.clearTemporary();
    d.updateDisplay();
    d.erase(g);
    d.removeListener(token);
    d.add(entity(CoordSysEntity{}));

    using K = DrawingChange;
    const std::vector<std::pair<K::Kind, std::vector<AcDbObjectId>>> expected = {
        {K::Added, {g}}, {K::Added, {b}}, {K::Modified, {b}}, {K::Highlight, {b}}, {K::View, {}},
        {K::View, {g}},  {K::Added, {t}}, {K::Erased, {t}},   {K::Display, {}},    {K::Erased, {g, b}},
    };
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].kind, expected[i].first) << "change " << i;
        EXPECT_EQ(seen[i].ids, expected[i].second) << "change " << i;
        if (i > 0 && seen[i].kind != K::Display) {
            EXPECT_GT(seen[i].revision, seen[i - 1].revision) << "every change bumps the revision, " << i;
        }
    }
    EXPECT_EQ(seen[8].revision, seen[7].revision) << "a display update is no change of content";
    EXPECT_EQ(selfRemoving, 1) << "a listener that removed itself is not called again";
    EXPECT_FALSE(d.isHighlighted(b)) << "an erased entity is no longer highlighted";
}

TEST(Drawing, viewZoomAndDisplayOfTheCurrentDrawing) {
    Drawing& d = curDrawing();
    d.clear();
    struct Case {
        ViewDirection dir;
        Vector3d v;
    } views[] = {{ViewDirection::Standard, {-1, -1, 1}},
                 {ViewDirection::Front, {0, -1, 0}},
                 {ViewDirection::Side, {1, 0, 0}},
                 {ViewDirection::Top, {0, 0, 1}}};
    for (const Case& c : views) {
        changeView(static_cast<ViewDirection>(static_cast<int>(c.dir))); // the callers pass 3, 0, 1, 2
        EXPECT_EQ(d.viewDirection(), c.v);
    }
    EXPECT_FALSE(d.changeView(Vector3d{0, 0, 0})) << "the zero vector is no direction";
    EXPECT_TRUE(d.changeView(Vector3d{1, 2, 3}));
    EXPECT_FALSE(ZoomCommand()) << "an empty drawing has nothing to show";
    AcDbObjectId m = cadtest::addSampleMacro(d, 10000);
    AcDbObjectId far = d.add(entity(CoordSysEntity{{{-5000, 0, 0}}}));
    EXPECT_TRUE(ZoomCommand({d.findByName("B1")}));
    EXPECT_EQ(d.zoomBox().min.x, 10000);
    EXPECT_TRUE(ZoomCommand());
    EXPECT_EQ(d.zoomBox().min.x, -5000) << "zoom to extents shows everything";
    EXPECT_FALSE(ZoomCommand({AcDbObjectId(999999)})) << "an unknown id has no box";
    int before = d.displayUpdates(), global = acedUpdateDisplayCount();
    acedUpdateDisplay();
    EXPECT_EQ(d.displayUpdates(), before + 1);
    EXPECT_EQ(acedUpdateDisplayCount(), global + 1);
    EXPECT_EQ(d.highlight(AcDbObjectId(999999)), Acad::eKeyNotFound);
    d.highlight(m);
    d.highlight(far);
    d.clearHighlights();
    EXPECT_TRUE(d.highlighted().empty());
    d.clear();
}

} // namespace
