#include "HostUiFixture.h"

#include <host/ui/CtrlUtils.h>

using namespace hostui;

namespace {

std::vector<std::string> itemsOf(const ui::Control& c) {
    std::vector<std::string> out;
    for (int i = 0; i < c.count(); ++i)
        out.push_back(c.itemText(i));
    return out;
}

class CtrlUtilsTest : public DialogTest {};

} // namespace

TEST_F(CtrlUtilsTest, fillSelectsOnlyWhatTheCallerAsks) {
    const Vor_StringArray bca{"b", "c", "a"};
    struct Case {
        const char* why;
        int id;
        int select;
        std::vector<std::string> items; ///< as the control shows them
        int curSel;
        std::string text;
    };
    const Case cases[] = {
        {"a drop list picks no item by itself", kDropList, -1, {"b", "c", "a"}, -1, ""},
        {"the index selects that item", kDropList, 2, {"b", "c", "a"}, 2, "a"},
        {"an index outside the items selects none", kDropList, 3, {"b", "c", "a"}, -1, ""},
        {"a sorting combo selects the item made from items[select]", kSortedList, 0, {"a", "b", "c"}, 1, "b"},
        {"an editable combo shows the selected item", kDropDown, 1, {"b", "c", "a"}, 1, "c"},
        {"a list box selects by the caller's index", kListBox, 1, {"b", "c", "a"}, 1, ""},
        {"a sorting list box too", kSortedListBox, 1, {"a", "b", "c"}, 2, ""},
        {"a list box without a selection", kListBox, -1, {"b", "c", "a"}, -1, ""},
    };
    for (const Case& c : cases) {
        ui::Control& ctrl = item(c.id);
        // Filled twice: a refill replaces the items and the selection instead of adding to them.
        ctrl.resetContent();
        ctrl.addString("old");
        ctrl.setCurSel(0);
        bool isList = ctrl.kind() == ui::ControlKind::ListBox;
        ASSERT_TRUE(isList ? FillList(&dlg, c.id, bca, c.select) : FillCombo(&dlg, c.id, bca, c.select))
            << c.why;
        EXPECT_EQ(itemsOf(ctrl), c.items) << c.why;
        EXPECT_EQ(ctrl.curSel(), c.curSel) << c.why;
        if (!isList) {
            EXPECT_EQ(ctrl.text(), c.text) << c.why;
        }
        for (int i = 0; i < ctrl.count(); ++i)
            EXPECT_EQ(bca[static_cast<int>(ctrl.itemData(i))].str(), ctrl.itemText(i))
                << c.why << ": item data";
    }
    EXPECT_TRUE(dlg.commands.empty()) << "filling is the dialog's own doing and sends no notifications";
}

TEST_F(CtrlUtilsTest, editableComboKeepsTypedTextWhenNothingIsSelected) {
    item(kDropDown).setText("typed by hand");
    ASSERT_TRUE(FillCombo(&dlg, kDropDown, Vor_StringArray{"x", "y"}));
    EXPECT_EQ(item(kDropDown).text(), "typed by hand");
    EXPECT_EQ(item(kDropDown).count(), 2);
}

TEST_F(CtrlUtilsTest, checkComboItemsStartUncheckedAndShowNothing) {
    ASSERT_TRUE(FillCombo(&dlg, kCheckCombo, Vor_StringArray{"S235", "S355"}, 1));
    EXPECT_EQ(item(kCheckCombo).count(), 2);
    EXPECT_FALSE(item(kCheckCombo).itemChecked(0));
    EXPECT_FALSE(item(kCheckCombo).itemChecked(1));
    EXPECT_EQ(item(kCheckCombo).text(), "") << "no item text may show as if it were checked";
}

TEST_F(CtrlUtilsTest, wrongOrMissingControlsAreRefusedUntouched) {
    item(kListBox).addString("keep");
    EXPECT_FALSE(FillCombo(&dlg, kListBox, Vor_StringArray{"x"})) << "a list box is no combo";
    EXPECT_FALSE(FillList(&dlg, kDropList, Vor_StringArray{"x"})) << "a combo is no list box";
    EXPECT_FALSE(FillCombo(&dlg, 4711, Vor_StringArray{"x"})) << "no such control";
    EXPECT_FALSE(FillCombo(nullptr, kDropList, Vor_StringArray{"x"}));
    EXPECT_FALSE(FillList(static_cast<ui::Control*>(nullptr), Vor_StringArray{"x"}));
    EXPECT_EQ(itemsOf(item(kListBox)), std::vector<std::string>{"keep"});
    EXPECT_EQ(item(kDropList).count(), 0);
}

TEST_F(CtrlUtilsTest, enableAndShowByIdReportMissingControls) {
    EXPECT_TRUE(EnDisCtrl(&dlg, kEdit, false));
    EXPECT_FALSE(item(kEdit).isEnabled());
    EXPECT_TRUE(EnDisCtrl(&dlg, kEdit, true));
    EXPECT_TRUE(item(kEdit).isEnabled());

    EXPECT_FALSE(EnDisCtrl(&dlg, {kEdit, 4711, kButton}, false)) << "4711 does not exist";
    EXPECT_FALSE(item(kEdit).isEnabled()) << "the controls that exist are still done";
    EXPECT_FALSE(item(kButton).isEnabled());

    EXPECT_TRUE(ShowOrHideCtrl(&dlg, {kEdit, kButton}, false));
    EXPECT_FALSE(item(kEdit).isVisible());
    EXPECT_FALSE(item(kButton).isVisible());
    EXPECT_TRUE(ShowOrHideCtrl(&dlg, kButton, true));
    EXPECT_TRUE(item(kButton).isVisible());
    EXPECT_FALSE(ShowOrHideCtrl(&dlg, 4711, true));
    EXPECT_FALSE(ShowOrHideCtrl(nullptr, kButton, false));
}

TEST_F(CtrlUtilsTest, ownerOfAPageIsTheOutermostLinkedDialog) {
    EXPECT_EQ(getDlgOwner(&item(kEdit)), &dlg) << "a control belongs to its dialog";
    EXPECT_EQ(getDlgOwner(&dlg), &dlg) << "a dialog without a link owns itself";
    EXPECT_EQ(getDlgOwner(nullptr), nullptr);

    ProbeDialog page(kPage, &dlg);
    ASSERT_TRUE(page.create(&dlg));
    ProbeDialog inner(kPage, &page);
    ASSERT_TRUE(inner.create(&page));
    {
        DlgOwnerLink pageLink(&page, &dlg);
        DlgOwnerLink innerLink(&inner, &page);
        EXPECT_EQ(getDlgOwner(&page), &dlg);
        EXPECT_EQ(getDlgOwner(inner.item(kEdit)), &dlg) << "a page on a page still finds the outer dialog";
    }
    EXPECT_EQ(getDlgOwner(&page), &page) << "the link ends with the object that made it";
    inner.destroyWindow();
    page.destroyWindow();
}

TEST_F(CtrlUtilsTest, linkLoopDoesNotHang) {
    ProbeDialog page(kPage, &dlg);
    DlgOwnerLink a(&page, &dlg);
    DlgOwnerLink b(&dlg, &page);
    ui::Dialog* owner = getDlgOwner(&page);
    EXPECT_TRUE(owner == &page || owner == &dlg);
}
