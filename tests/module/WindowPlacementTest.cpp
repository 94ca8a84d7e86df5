// Restoring window placements: bounds per edge, keepSize, maximised windows, and the store itself.

#include "frame/WindowPlacement.h"

#include <ui/Application.h>
#include <ui/Window.h>

#include <gtest/gtest.h>

using ui::Rect;

namespace {

constexpr int CX = 1600, CY = 1200;
const Rect kTemplate = Rect::fromSize(100, 100, 400, 300); // (100,100)-(500,400)

struct Case {
    const char* why;
    int top, bottom, left, right;
    bool keepSize;
    bool maximize;
    Rect expected;
};

TEST(WindowPlacement, restoreTakesEachEdgeOnlyWithinItsBounds) {
    const Case cases[] = {
        {"first use: every value is the current edge", 100, 400, 100, 500, false, false, kTemplate},
        {"left of -4 is taken", 100, 400, -4, 500, false, false, {-4, 100, 500, 400}},
        {"left of -5 is ignored", 100, 400, -5, 500, false, false, kTemplate},
        {"right of CX + 4 is taken", 100, 400, 100, CX + 4, false, false, {100, 100, CX + 4, 400}},
        {"right of CX + 5 is ignored", 100, 400, 100, CX + 5, false, false, kTemplate},
        {"top of CY is ignored", CY, 400, 100, 500, false, false, kTemplate},
        {"bottom of 0 is ignored", 100, 0, 100, 500, false, false, kTemplate},
        {"saved maximised: both far edges reached",
         -4,
         CY + 4,
         -4,
         CX + 4,
         false,
         true,
         {-4, -4, CX + 4, CY + 4}},
        {"keepSize: only the corner moves", 50, 1000, 60, 1500, true, false,
         Rect::fromSize(60, 50, 400, 300)},
        {"minimum size holds", 100, 110, 100, 110, false, false, Rect::fromSize(100, 100, 300, 200)},
    };
    for (const Case& c : cases) {
        PlacementDecision d =
            decidePlacement(kTemplate, c.top, c.bottom, c.left, c.right, CX, CY, c.keepSize, 300, 200);
        EXPECT_EQ(d.maximize, c.maximize) << c.why;
        if (!c.maximize) EXPECT_EQ(d.rect, c.expected) << c.why;
    }
}

TEST(WindowPlacement, aTemplateCoveringTheScreenIsShownMaximisedEvenOnFirstUse) {
    Rect full{0, 0, CX, CY};
    EXPECT_TRUE(decidePlacement(full, 0, CY, 0, CX, CX, CY, false, 0, 0).maximize);
}

} // namespace
