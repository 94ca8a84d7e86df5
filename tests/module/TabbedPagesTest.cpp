// Pages over a tab control (frame/TabbedPages.h) in a real offscreen dialog: the page of the chosen
// tab alone is shown, every page lies in the tab control's display area below the tabs, also after
// a resize, and each page gives back the control that had the focus when it was left.

#include "frame/TabbedPages.h"

#include <ui/Control.h>
#include <ui/Resources.h>

#include <QApplication>
#include <QTabBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

const char* const kScript = R"(
900 DIALOGEX 0, 0, 300, 200
STYLE WS_POPUP | WS_CAPTION | WS_THICKFRAME
CAPTION "Pages"
BEGIN
    CONTROL "", 901, "SysTabControl32", WS_TABSTOP, 7, 7, 286, 160
    DEFPUSHBUTTON "OK", 1, 190, 176, 50, 14
    PUSHBUTTON "Cancel", 2, 243, 176, 50, 14
END
910 DIALOGEX 0, 0, 200, 100
STYLE WS_CHILD
BEGIN
    EDITTEXT 911, 4, 4, 80, 12
    EDITTEXT 912, 4, 20, 80, 12
    EDITTEXT 913, 4, 36, 80, 12
END
920 DIALOGEX 0, 0, 200, 100
STYLE WS_CHILD
BEGIN
    LTEXT "Label", 924, 4, 4, 80, 10
    PUSHBUTTON "Off", 921, 4, 16, 40, 14, WS_DISABLED
    EDITTEXT 922, 4, 34, 80, 12
    EDITTEXT 923, 4, 50, 80, 12
END
)";

class Owner : public ui::Dialog {
public:
    Owner()
        : ui::Dialog(900) {}
    TabbedPages pages;
    ui::Dialog first{910};
    ui::Dialog second{920};

protected:
    bool onInitDialog() override {
        pages.attach(this, 901);
        pages.addPage(first, "First");
        pages.addPage(second, "Second");
        pages.show(0);
        return false;
    }
    bool onCommand(int id, int code) override { return pages.onCommand(id, code); }
    void onSize(int width, int height) override {
        // the tab control keeps its margins to the dialog's edges
        if (ui::Control* tabs = item(901)) tabs->moveWindow(10, 10, width - 20, height - 60);
        pages.place();
    }
    void onDestroy() override { pages.destroy(); }
};

class TabbedPagesTest : public testing::Test {
protected:
    void SetUp() override {
        if (!ui::Resources::has("tabbedpages")) {
            auto set = std::make_shared<ui::ResourceSet>();
            set->name = "tabbedpages";
            std::string error;
            ASSERT_TRUE(ui::parseResourceScript(kScript, "tabbedpages.rc", *set, error)) << error;
            ui::Resources::add(set);
        }
        before = ui::Resources::setCurrent("tabbedpages");
        ASSERT_TRUE(owner.create());
        QApplication::setActiveWindow(owner.widget());
        QApplication::processEvents();
    }
    void TearDown() override {
        owner.destroyWindow();
        ui::Resources::setCurrent(before);
    }
    /// Chooses a tab as a person does: the tab control changes and tells its dialog.
    void chooseTab(int index) {
        owner.item(901)->setCurTab(index);
        owner.sendCommand(901, ui::TCN_SELCHANGE);
        QApplication::processEvents();
    }
    int focused(ui::Dialog& page) {
        ui::Control* c = page.focusControl();
        return c ? c->id() : 0;
    }
    /// A page's rectangle in the owner's client coordinates.
    ui::Rect placed(ui::Dialog& page) {
        const ui::Rect r = page.windowRect();
        const ui::Point tl = owner.screenToClient({r.left, r.top});
        return ui::Rect::fromSize(tl.x, tl.y, r.width(), r.height());
    }
    Owner owner;
    std::string before;
};

TEST_F(TabbedPagesTest, eachPageGetsBackTheControlThatHadTheFocusWhenItWasLeft) {
    // Steps in order: the control focused first (on the shown page; 1 is the owner's OK button,
    // -913 disables 913 of the first page), the tab chosen, and the focus the shown page then has.
    struct Step {
        int before;
        int tab;
        int expectFocus;
        const char* why;
    };
    const Step steps[] = {
        {0, 0, 911, "opened on the first page: its first control"},
        {913, 1, 922,
         "the second page the first time: its first tab stop, past a label and a disabled button"},
        {923, 0, 913, "the first page gives back the control it was left on"},
        {0, 1, 923, "so does the second"},
        {1, 0, 913, "left with the focus on OK, outside the page, the first page still gives 913 back"},
        {0, 1, 923, "and the second, left while the focus was on OK, its 923"},
        {-913, 0, 911, "a control disabled since cannot take the focus: the first control takes it"},
    };
    ASSERT_EQ(owner.pages.count(), 2);
    for (const Step& s : steps) {
        ui::Dialog& shown = *owner.pages.page(owner.pages.current());
        if (s.before == 1)
            owner.gotoDlgCtrl(1);
        else if (s.before < 0)
            owner.first.item(-s.before)->enableWindow(false);
        else if (s.before > 0)
            shown.gotoDlgCtrl(s.before);
        if (s.tab != owner.pages.current()) chooseTab(s.tab);
        EXPECT_EQ(owner.pages.current(), s.tab) << s.why;
        EXPECT_EQ(owner.item(901)->curTab(), s.tab) << s.why;
        EXPECT_TRUE(owner.pages.page(s.tab)->isVisible()) << s.why;
        EXPECT_FALSE(owner.pages.page(1 - s.tab)->isVisible()) << s.why << ": one page at a time";
        EXPECT_EQ(focused(*owner.pages.page(s.tab)), s.expectFocus) << s.why;
    }
}

TEST_F(TabbedPagesTest, everyPageLiesInTheDisplayAreaBelowTheTabsAlsoAfterAResize) {
    ui::Control* tabs = owner.item(901);
    auto* bar = qobject_cast<QTabBar*>(tabs->widget());
    ASSERT_NE(bar, nullptr);
    for (int size = 0; size < 2; ++size) {
        const char* when = size == 0 ? "as opened" : "after a resize";
        const ui::Rect tabsRect = [&] {
            const ui::Rect r = tabs->windowRect();
            const ui::Point tl = owner.screenToClient({r.left, r.top});
            return ui::Rect::fromSize(tl.x, tl.y, r.width(), r.height());
        }();
        const ui::Rect area = tabs->displayArea();
        EXPECT_GE(area.top, tabsRect.top + bar->tabRect(0).bottom()) << when << ": the tabs stay uncovered";
        EXPECT_TRUE(area.left > tabsRect.left && area.right < tabsRect.right && area.bottom < tabsRect.bottom)
            << when << ": inside the tab control's frame";
        for (int i = 0; i < owner.pages.count(); ++i)
            EXPECT_EQ(placed(*owner.pages.page(i)), area) << when << ", page " << i << " (shown or not)";
        const ui::Rect r = owner.windowRect();
        owner.moveWindow(r.left, r.top, r.width() + 120, r.height() + 80);
        QApplication::processEvents();
        if (size == 0) {
            EXPECT_NE(tabs->displayArea(), area) << "the tab control grew with the dialog";
        }
    }
    EXPECT_TRUE(owner.item(1)->displayArea().isEmpty()) << "a button has no display area";
}

} // namespace
