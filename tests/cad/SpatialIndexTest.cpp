// The spatial index agrees with a search of every box, through inserts, moves and erases.

#include <cad/SpatialIndex.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using namespace cad;

namespace {

std::vector<AcDbObjectId> bruteForce(const std::map<std::int64_t, Extents>& boxes, const Extents& q) {
    std::vector<AcDbObjectId> out;
    for (const auto& [id, box] : boxes)
        if (box.overlaps(q)) out.emplace_back(id);
    return out;
}

Extents randomBox(std::mt19937& rng) {
    std::uniform_real_distribution<double> at(-20000, 20000), size(0, 3000);
    std::uniform_int_distribution<int> kind(0, 19);
    Point3d p{at(rng), at(rng), at(rng)};
    Point3d s{size(rng), size(rng), size(rng)};
    switch (kind(rng)) {
    case 0:
        s = {60000, 100, 100};
        break; // a very long member: the list of large boxes
    case 1:
        p = {9e8, -9e8, 0};
        break; // far out: clamped cells
    case 2:
        s = {0, 0, 0};
        break; // a point
    case 3:
        p = {-1000, 0, 0}, s = {1000, 0, 0};
        break; // exactly on cell borders
    default:
        break;
    }
    return {p, p + s};
}

TEST(SpatialIndex, agreesWithSearchingEveryBox) {
    std::mt19937 rng(7);
    SpatialIndex index(1000);
    std::map<std::int64_t, Extents> boxes;
    std::uniform_int_distribution<int> op(0, 9), pickId(1, 400);
    for (int step = 0; step < 4000; ++step) {
        std::int64_t id = pickId(rng);
        int o = op(rng);
        if (o < 6) { // insert or move
            Extents b = randomBox(rng);
            index.insert(AcDbObjectId(id), b);
            boxes[id] = b;
        } else if (o < 8) {
            index.erase(AcDbObjectId(id));
            boxes.erase(id);
        } else {
            Extents q = randomBox(rng);
            if (o == 9) q = q.grown(30000); // a query wider than the occupied cells
            std::vector<AcDbObjectId> got = index.query(q);
            std::sort(got.begin(), got.end());
            ASSERT_EQ(got, bruteForce(boxes, q)) << "step " << step;
            std::map<std::int64_t, Extents> seen;
            index.query(q, [&](AcDbObjectId id, const Extents& box) {
                EXPECT_TRUE(seen.emplace(id.handle(), box).second) << "step " << step << ": reported twice";
            });
            ASSERT_EQ(seen.size(), got.size()) << "step " << step << ": both queries report the same";
            for (const auto& [id, box] : seen)
                ASSERT_EQ(box, boxes.at(id)) << "step " << step << ": the box reported is the one listed";
        }
        ASSERT_EQ(index.size(), boxes.size());
        for (const auto& [id, box] : boxes)
            ASSERT_TRUE(index.bounds().overlaps(box) && index.bounds().min.x <= box.min.x &&
                        box.max.x <= index.bounds().max.x && index.bounds().min.y <= box.min.y &&
                        box.max.y <= index.bounds().max.y && index.bounds().min.z <= box.min.z &&
                        box.max.z <= index.bounds().max.z)
                << "step " << step << ": the bounds hold every box listed";
    }
    Extents empty;
    EXPECT_TRUE(index.query(empty).empty()) << "an empty box overlaps nothing";
    index.insert(AcDbObjectId(1), empty);
    EXPECT_FALSE(index.contains(AcDbObjectId(1))) << "an empty box removes the entry";
    index.clear();
    EXPECT_EQ(index.size(), 0u);
    EXPECT_TRUE(index.bounds().isEmpty()) << "cleared, the bounds are empty again";
}

TEST(SpatialIndex, touchingBoxesOverlap) {
    SpatialIndex index(1000);
    index.insert(AcDbObjectId(1), {{0, 0, 0}, {1000, 1000, 1000}});
    EXPECT_EQ(index.query({{1000, 1000, 1000}, {2000, 2000, 2000}}).size(), 1u) << "a shared corner touches";
    EXPECT_TRUE(index.query({{1000.001, 0, 0}, {2000, 1, 1}}).empty()) << "a gap does not";
}

} // namespace
