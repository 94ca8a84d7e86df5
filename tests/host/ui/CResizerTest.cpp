#include "HostUiFixture.h"

#include <host/ui/CResizer.h>

#include <ui/Application.h>

#include <algorithm>

using namespace hostui;
using R = CResizer;

namespace {

// The bottom row of the designer window: groups with fields in them, command buttons left, OK right.
const std::vector<R::Rule> kBottomRow = {
    {1015, {1, 0, 1}, {1, 0, 4}, {1, 0, 1}, {4, 0, 4}},
    {1017, {2, 0, 1}, {1, 0, 4}, {1, 0, 3}, {4, 0, 4}},
    {1016, {1, 1015, 3}, {1, 0, 4}, {1, 1017, 1}, {4, 0, 4}},
    {1005, {1, 1015, 1}, {1, 0, 4}, {1, 1015, 3}, {4, 0, 4}},
    {1304, {1, 1016, 1}, {1, 0, 4}, {1, 1016, 3}, {4, 0, 4}},
    {1305, {1, 1017, 1}, {1, 0, 4}, {1, 1017, 3}, {4, 0, 4}},
    {1299, {1, 0, 1}, {1, 0, 4}, {3, 0, 3}, {4, 0, 4}},
    {1, {1, 0, 3}, {1, 0, 4}, {3, 0, 3}, {4, 0, 4}},
};

const std::map<int, ui::Rect> kStart = {
    {1015, {10, 240, 110, 290}}, {1017, {250, 240, 390, 290}}, {1016, {120, 240, 240, 290}},
    {1005, {15, 255, 105, 270}}, {1304, {125, 255, 235, 270}}, {1305, {255, 255, 385, 270}},
    {1299, {10, 295, 30, 315}},  {1, {340, 295, 390, 315}},    {9000, {0, 0, 400, 230}},
};

} // namespace

TEST(CResizerArrange, bottomRowFollowsTheDialogAndEachOther) {
    struct Expect {
        int id;
        ui::Rect r;
        const char* why;
    } const expected[] = {
        {1015, {10, 340, 110, 390}, "type group keeps place and size, goes down with the bottom"},
        {1017, {375, 340, 590, 390}, "list group: left in proportion, right with the dialog's right edge"},
        {1016, {120, 340, 365, 390}, "contents group fills the space between the two"},
        {1005, {15, 355, 105, 370}, "a field spans its group"},
        {1304, {125, 355, 360, 370}, "a field spans its group"},
        {1305, {380, 355, 585, 370}, "a field spans its group"},
        {1299, {10, 395, 30, 415}, "command buttons stay left, keep their size"},
        {1, {540, 395, 590, 415}, "OK stays at the right"},
    };
    std::vector<R::Rule> reversed(kBottomRow.rbegin(), kBottomRow.rend());
    for (const auto& rules : {kBottomRow, reversed}) {
        auto out = R::arrange(rules, kStart, {400, 320}, {600, 420});
        EXPECT_EQ(out.size(), kBottomRow.size()) << "only ruled controls are placed";
        for (const Expect& e : expected)
            EXPECT_EQ(out[e.id], e.r) << e.id << ": " << e.why;
    }
    auto same = R::arrange(kBottomRow, kStart, {400, 320}, {400, 320});
    for (const auto& [id, r] : same)
        EXPECT_EQ(r, kStart.at(id)) << id << " moved without a size change";
}

TEST(CResizerArrange, shrinkingNeverGivesNegativeSizes) {
    auto out = R::arrange(kBottomRow, kStart, {400, 320}, {60, 40});
    for (const auto& [id, r] : out) {
        EXPECT_GE(r.width(), 0) << id;
        EXPECT_GE(r.height(), 0) << id;
    }
}

TEST(CResizerArrange, oddReferencesAreResolvedSafely) {
    const std::map<int, ui::Rect> start = {
        {1, {10, 10, 50, 30}}, {2, {60, 10, 100, 30}}, {3, {10, 40, 50, 60}}};
    // 1 and 2 refer to each other; 3 refers to a control that has no place at all.
    const std::vector<R::Rule> rules = {
        {1, {1, 2, 3}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
        {2, {1, 1, 3}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
        {3, {1, 0, 1}, {1, 0, 2}, {1, 777, 3}, {4, 0, 0}},
        {4, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 0}},
    };
    auto out = R::arrange(rules, start, {200, 100}, {300, 100});
    EXPECT_EQ(out.size(), 3u) << "control 4 has no start rectangle";
    EXPECT_EQ(out[3], (ui::Rect{10, 40, 150, 60})) << "an unknown reference counts as the dialog";
    EXPECT_EQ(out[1].width(), 40) << "size kept in a reference loop";
    EXPECT_EQ(out[2].width(), 40);
}

TEST(CResizerArrange, unsoundRulesAreNamed) {
    struct Case {
        R::Rule rule;
        bool sound;
    } const cases[] = {
        {{5, {1, 0, 1}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}}, true},
        {{5, {0, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}}, false},
        {{5, {1, 0, 1}, {5, 0, 2}, {1, 0, 3}, {1, 0, 4}}, false},
        {{5, {1, 0, 1}, {1, 0, 2}, {1, 0, 7}, {1, 0, 4}}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(R::check(c.rule).empty(), c.sound) << R::check(c.rule);
    EXPECT_NE(R::check(cases[2].rule).find("top"), std::string::npos) << "the message names the edge";
    auto out = R::arrange({cases[1].rule}, {{5, {0, 0, 10, 10}}}, {100, 100}, {200, 200});
    EXPECT_TRUE(out.empty()) << "an unsound rule moves nothing";
}

namespace {

ui::Rect clientRectOf(ui::Dialog& dlg, int id) {
    ui::Rect s = dlg.item(id)->windowRect();
    ui::Point p = dlg.screenToClient({s.left, s.top});
    return ui::Rect::fromSize(p.x, p.y, s.width(), s.height());
}

} // namespace

TEST(CResizerDialog, controlsFollowWhenTheDialogIsResized) {
    registerResources();
    ProbeDialog dlg;
    CResizer resizer;
    dlg.sized = [&] { resizer.move(); };
    EXPECT_FALSE(resizer.init(&dlg, {})) << "no window yet";
    ASSERT_TRUE(dlg.create());
    ui::Rect okBefore = clientRectOf(dlg, 1), editBefore = clientRectOf(dlg, kEdit),
             buttonBefore = clientRectOf(dlg, kButton);
    EXPECT_FALSE(resizer.init(&dlg, {{1, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                     {kEdit, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 0}},
                                     {4711, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}}}))
        << "4711 is not in the dialog";
    ASSERT_TRUE(resizer.isInitialized()) << "the sound rules still work";

    ui::Rect w = dlg.windowRect();
    dlg.moveWindow(w.left, w.top, w.width() + 100, w.height() + 50);
    ui::processEvents();
    ui::Rect client = dlg.clientRect();
    ASSERT_EQ(client.width(), ui::dluToPixelsX(200) + 100);

    ui::Rect okAfter = clientRectOf(dlg, 1), editAfter = clientRectOf(dlg, kEdit);
    EXPECT_EQ(okAfter.left - okBefore.left, 100) << "OK follows the right edge";
    EXPECT_EQ(okAfter.top - okBefore.top, 50) << "and the bottom";
    EXPECT_EQ(okAfter.width(), okBefore.width());
    EXPECT_EQ(editAfter.left, editBefore.left);
    EXPECT_EQ(editAfter.width(), editBefore.width() + 100) << "the edit stretches";
    EXPECT_EQ(clientRectOf(dlg, kButton), buttonBefore) << "a control without a rule stays";
    dlg.destroyWindow();
    resizer.move(); // the dialog's window is gone: nothing to do, nothing to crash
}
