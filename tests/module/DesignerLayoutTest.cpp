// The arithmetic of the designer's layout commands, without windows: lining up, spreading out,
// equal sizes, the snap grid, paste offsets, where new controls go and how far a view scrolls.

#include "designer/DesignerLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using designer::Align;
using R = ui::Rect;

TEST(DesignerLayout, alignMovesEveryRectangleOntoTheFirstOnesLineWithoutResizing) {
    const std::vector<R> in = {{10, 10, 50, 30}, {60, 40, 80, 55}, {5, 70, 100, 91}};
    struct Case {
        Align how;
        std::vector<R> want;
        const char* why;
    } cases[] = {
        {Align::Left, {{10, 10, 50, 30}, {10, 40, 30, 55}, {10, 70, 105, 91}}, "left edges at 10"},
        {Align::Right, {{10, 10, 50, 30}, {30, 40, 50, 55}, {-45, 70, 50, 91}}, "right edges at 50"},
        {Align::Top, {{10, 10, 50, 30}, {60, 10, 80, 25}, {5, 10, 100, 31}}, "top edges at 10"},
        {Align::Bottom, {{10, 10, 50, 30}, {60, 15, 80, 30}, {5, 9, 100, 30}}, "bottom edges at 30"},
        {Align::Centre,
         {{10, 10, 50, 30}, {20, 40, 40, 55}, {-17, 70, 78, 91}},
         "centres at 30; an odd difference of widths leaves half a pixel"},
        {Align::Middle, {{10, 10, 50, 30}, {60, 13, 80, 28}, {5, 10, 100, 31}}, "middles at 20"},
    };
    for (const Case& c : cases) {
        const std::vector<R> got = designer::align(in, c.how);
        ASSERT_EQ(got.size(), in.size()) << c.why;
        for (std::size_t k = 0; k < got.size(); ++k) {
            EXPECT_EQ(got[k], c.want[k]) << c.why << ", rectangle " << k;
            EXPECT_EQ(got[k].width(), in[k].width()) << c.why << ": sizes stay";
            EXPECT_EQ(got[k].height(), in[k].height()) << c.why;
        }
    }
    EXPECT_TRUE(designer::align({}, Align::Left).empty()) << "nothing selected, nothing moved";
}

TEST(DesignerLayout, distributeGivesEqualGapsAndKeepsTheOutermost) {
    struct Case {
        std::vector<R> in;
        bool horizontal;
        std::vector<R> want;
        const char* why;
    } cases[] = {
        {{{0, 0, 10, 5}, {12, 0, 22, 5}, {90, 0, 100, 5}},
         true,
         {{0, 0, 10, 5}, {45, 0, 55, 5}, {90, 0, 100, 5}},
         "80 pixels of room between three of 10: gaps of 35"},
        {{{90, 0, 100, 5}, {0, 0, 10, 5}, {12, 0, 42, 5}},
         true,
         {{90, 0, 100, 5}, {0, 0, 10, 5}, {35, 0, 65, 5}},
         "order by left edge, not by selection; the results come back in the selection's order"},
        {{{0, 0, 10, 10}, {0, 11, 10, 21}, {0, 50, 10, 60}, {0, 101, 10, 111}},
         false,
         {{0, 0, 10, 10}, {0, 34, 10, 44}, {0, 68, 10, 78}, {0, 101, 10, 111}},
         "vertical: 71 pixels over three gaps, the first two take the odd pixels (24, 24, 23)"},
        {{{0, 0, 50, 5}, {10, 0, 60, 5}, {20, 0, 70, 5}},
         true,
         {{0, 0, 50, 5}, {10, 0, 60, 5}, {20, 0, 70, 5}},
         "overlapping controls: a negative room still spreads evenly (gaps of -40)"},
        {{{0, 0, 10, 5}, {50, 0, 60, 5}}, true, {{0, 0, 10, 5}, {50, 0, 60, 5}}, "two stay as they are"},
    };
    for (const Case& c : cases) {
        const std::vector<R> got = designer::distribute(c.in, c.horizontal);
        ASSERT_EQ(got.size(), c.want.size()) << c.why;
        for (std::size_t k = 0; k < got.size(); ++k)
            EXPECT_EQ(got[k], c.want[k]) << c.why << ", rectangle " << k;
    }
}

TEST(DesignerLayout, sameSizeTakesTheFirstOnesWidthOrHeightAndKeepsTheCorner) {
    const std::vector<R> in = {{10, 10, 50, 30}, {60, 40, 80, 55}};
    EXPECT_EQ(designer::sameSize(in, true, false)[1], (R{60, 40, 100, 55})) << "width 40";
    EXPECT_EQ(designer::sameSize(in, false, true)[1], (R{60, 40, 80, 60})) << "height 20";
    EXPECT_EQ(designer::sameSize(in, true, true)[1], (R{60, 40, 100, 60})) << "both";
    EXPECT_EQ(designer::sameSize(in, true, true)[0], in[0]) << "the reference stays";
}

TEST(DesignerLayout, snapGridAndPasteOffsets) {
    struct Case {
        int v, grid, want;
        const char* why;
    } cases[] = {
        {13, 8, 16, "nearer the next line"},
        {11, 8, 8, "nearer the last line"},
        {12, 8, 16, "a half goes away from 0"},
        {-12, 8, -16, "and so below 0"},
        {-3, 8, 0, "near 0"},
        {13, 1, 13, "a grid of 1 is no grid"},
        {13, 0, 13, "nor is 0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(designer::snap(c.v, c.grid), c.want) << c.why;
    EXPECT_EQ(designer::snapMoved({13, 21, 43, 39}, 8), (R{16, 24, 46, 42})) << "a move keeps the size";
    EXPECT_EQ(designer::snapResized({13, 21, 43, 39}, 8), (R{16, 24, 40, 40})) << "a size snaps every edge";
    EXPECT_EQ(designer::snapResized({13, 21, 15, 22}, 8), (R{16, 24, 24, 32})) << "never smaller than a step";
    EXPECT_EQ(designer::pasteOffset(1, 10), (ui::Point{10, 10})) << "the first paste lies one step off";
    EXPECT_EQ(designer::pasteOffset(3, 8), (ui::Point{24, 24})) << "each paste one step further";
}

TEST(DesignerLayout, newControlsDoNotLandOnEachOther) {
    const ui::Size size{30, 18}, picture{200, 100};
    std::vector<R> existing;
    std::vector<ui::Point> places;
    for (int k = 0; k < 4; ++k) {
        const ui::Point p = designer::newControlPlace(existing, {40, 20}, size, 10, picture);
        places.push_back(p);
        existing.push_back(R::fromSize(p.x, p.y, size.cx, size.cy));
    }
    EXPECT_EQ(places[0], (ui::Point{40, 20})) << "the first at the start";
    EXPECT_EQ(places[1], (ui::Point{50, 30})) << "the next one step right and down";
    EXPECT_EQ(places[2], (ui::Point{60, 40}));
    EXPECT_EQ(places[3], (ui::Point{70, 50}));
    // at the picture's bottom a new diagonal begins one step right of the start
    existing = {R::fromSize(40, 20, 30, 18), R::fromSize(50, 30, 30, 18), R::fromSize(60, 40, 30, 18),
                R::fromSize(70, 50, 30, 18), R::fromSize(80, 60, 30, 18), R::fromSize(90, 70, 30, 18),
                R::fromSize(100, 80, 30, 18)};
    EXPECT_EQ(designer::newControlPlace(existing, {40, 20}, size, 10, picture), (ui::Point{50, 20}));
    std::vector<R> full(500, R::fromSize(40, 20, 30, 18));
    const ui::Point p = designer::newControlPlace(full, {40, 20}, size, 10, picture);
    EXPECT_NE(p, (ui::Point{40, 20})) << "many controls on one spot still end the search elsewhere";
}

TEST(DesignerLayout, theViewScrollsOnlyOverWhatThePictureHas) {
    struct Case {
        ui::Point origin;
        ui::Size picture, view;
        ui::Point want;
        const char* why;
    } cases[] = {
        {{100, 50}, {1000, 800}, {400, 300}, {100, 50}, "within the picture"},
        {{900, 900}, {1000, 800}, {400, 300}, {600, 500}, "not past the picture's far edges"},
        {{-20, -5}, {1000, 800}, {400, 300}, {0, 0}, "not before its start"},
        {{50, 50}, {300, 200}, {400, 300}, {0, 0}, "a picture smaller than the view does not scroll"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(designer::clampOrigin(c.origin, c.picture, c.view), c.want) << c.why;
}

} // namespace
