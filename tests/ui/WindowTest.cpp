// What every window offers: texts, fonts, tool tips, visibility, enabling, focus, show commands and
// the paint and mouse hooks of custom views.

#include "TestDialogs.h"

#include <ui/Application.h>
#include <ui/Painter.h>
#include <ui/Script.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <functional>

using namespace ui;
using testui::Recorder;

namespace {

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        testui::registerResources();
        ASSERT_TRUE(dlg.create());
    }
    void TearDown() override {
        dlg.destroyWindow();
        processEvents();
    }
    Recorder dlg;
    std::string error;
};

TEST_F(WindowTest, textsGoWhereEachKindShowsThem) {
    const struct {
        int id;
        const char* set;
        const char* read;
        const char* why;
    } cases[] = {
        {10, "&Name", "Name", "a static hides the mnemonic mark"},
        {10, "R&&D", "R&D", "a doubled mark is one ampersand"},
        {11, "HEA 200", "HEA 200", "an edit"},
        {13, "Use &grid", "Use &grid", "a check box keeps the mark for its shortcut"},
        {25, "&Group", "Group", "a group box hides the mark"},
        {19, "typed", "typed", "the edit part of a combo box"},
        {18, "one", "one", "a drop-down list selects the item with that text"},
        {18, "none such", "", "and selects nothing for a text it does not hold"},
    };
    for (const auto& t : cases) {
        dlg.item(t.id)->setText(t.set);
        EXPECT_EQ(dlg.item(t.id)->text(), t.read) << t.why;
    }
    dlg.setWindowText("Renamed");
    EXPECT_EQ(dlg.windowText(), "Renamed");
    EXPECT_EQ(dlg.describe(), "dialog 700 \"Renamed\"");
    Recorder notBuilt;
    EXPECT_EQ(notBuilt.describe(), "dialog 700 \"All controls\"")
        << "before the window exists, from the template";
    EXPECT_EQ(notBuilt.windowText(), "");
    EXPECT_FALSE(notBuilt.exists());
}

TEST_F(WindowTest, statesFontsAndToolTips) {
    Control& edit = *dlg.item(11);
    edit.enableWindow(false);
    EXPECT_FALSE(edit.isEnabled());
    edit.enableWindow(true);
    edit.showWindow(SW_HIDE);
    EXPECT_FALSE(edit.isVisible());
    edit.showWindow(SW_SHOW);
    EXPECT_TRUE(edit.isVisible());
    dlg.showWindow(SW_HIDE);
    EXPECT_TRUE(edit.isVisible()) << "visible within its dialog, as dialog code asks before the dialog shows";
    EXPECT_FALSE(SimulatedUser::type(edit, "x", error)) << "but nobody can type into a dialog that is hidden";
    EXPECT_NE(error.find("it is hidden"), std::string::npos) << error;
    dlg.showWindow(SW_SHOWNORMAL);
    EXPECT_TRUE(SimulatedUser::type(edit, "x", error)) << error;

    edit.setToolTip("Profile name");
    EXPECT_EQ(edit.toolTip(), "Profile name");
    FontSpec f;
    f.face = "DejaVu Sans";
    f.pointSize = 14;
    f.bold = true;
    edit.setFont(f);
    EXPECT_TRUE(edit.widget()->font().bold());
    EXPECT_EQ(edit.widget()->font().pointSize(), 14);
    f.pointSize = 0; // a size of nothing still makes a readable font
    edit.setFont(f);
    EXPECT_GE(edit.widget()->font().pointSize(), 1);

    SimulatedUser::focus(*dlg.item(19));
    EXPECT_EQ(dlg.focusControl(), dlg.item(19));
    dlg.gotoDlgCtrl(11);
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(dlg.focusControl(), &edit);
    edit.invalidate();
    dlg.invalidate();
    EXPECT_EQ(dlg.clientRect().left, 0);
    EXPECT_GT(dlg.clientRect().width(), 0);
    EXPECT_LT(dlg.clientRect().height(), dlg.windowRect().height())
        << "the menu bar is above the client area";
}

TEST_F(WindowTest, customViewsPaintAndTakeTheMouseThroughTheirHooks) {
    Control& view = *dlg.item(24);
    int paints = 0;
    std::vector<MouseEvent> seen;
    view.setPaintHandler([&](Painter&) { ++paints; });
    view.setMouseHandler([&](const MouseEvent& e) {
        seen.push_back(e);
        return true;
    });
    view.widget()->grab(); // renders the view through its paint event
    EXPECT_GT(paints, 0) << "the paint hook draws the view";
    QPointF at(5, 6);
    QMouseEvent press(QEvent::MouseButtonPress, at, view.widget()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(view.widget(), &press);
    QMouseEvent move(QEvent::MouseMove, at, view.widget()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view.widget(), &move);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].kind, MouseEvent::Press);
    EXPECT_EQ(seen[0].button, MouseEvent::Left);
    EXPECT_TRUE(seen[0].ctrl);
    EXPECT_EQ(seen[0].pos.x, 5);
    EXPECT_EQ(seen[0].pos.y, 6);
    EXPECT_EQ(seen[1].kind, MouseEvent::Move);
    EXPECT_EQ(seen[1].buttons, static_cast<int>(MouseEvent::Left)) << "buttons held while moving";

    auto* grid = new QWidget;
    grid->setFocusPolicy(Qt::StrongFocus);
    view.embed(grid);
    EXPECT_EQ(view.embedded(), grid);
    EXPECT_EQ(grid->parentWidget(), view.widget()) << "the view owns what it embeds";
    EXPECT_EQ(grid->size(), view.widget()->size()) << "and the embedded view fills it";
    SimulatedUser::focus(view);
    EXPECT_TRUE(grid->hasFocus()) << "focus goes to the embedded view";
}

} // namespace
