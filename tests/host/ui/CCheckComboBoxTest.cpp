#include "HostUiFixture.h"

#include <host/ui/CCheckComboBox.h>

#include <ui/Script.h>

#include <chrono>
#include <string>

using namespace hostui;

namespace {

class CCheckComboBoxTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(combo.subclassDlgItem(kCheckCombo, &dlg));
    }
    CCheckComboBox combo;
};

} // namespace

TEST_F(CCheckComboBoxTest, onlyCheckCombosCanBeTakenOver) {
    CCheckComboBox other;
    EXPECT_FALSE(other.subclassDlgItem(kDropList, &dlg)) << "a plain combo has no check marks";
    EXPECT_FALSE(other.subclassDlgItem(4711, &dlg));
    EXPECT_EQ(other.control(), nullptr);
    EXPECT_EQ(other.addString("x"), -1) << "nothing attached, nothing added";
    EXPECT_EQ(other.getText(), "");
}

TEST_F(CCheckComboBoxTest, shownTextListsTheCheckedItemsInItemOrder) {
    EXPECT_EQ(combo.addString("IPE"), 0);
    EXPECT_EQ(combo.addString("HEA", true), 1);
    EXPECT_EQ(combo.addString("HEB"), 2);
    EXPECT_EQ(combo.getText(), "HEA");
    EXPECT_EQ(item(kCheckCombo).text(), "HEA") << "the first item added must not show as if checked";

    EXPECT_TRUE(combo.setCheck(2, true));
    EXPECT_TRUE(combo.setCheck(0, true));
    EXPECT_EQ(combo.getText(), "IPE, HEA, HEB");
    EXPECT_EQ(item(kCheckCombo).text(), combo.getText().str());
    EXPECT_EQ(combo.getCheckedIndexes(), (std::vector<int>{0, 1, 2}));

    EXPECT_FALSE(combo.setCheck(3, true)) << "no item 3";
    EXPECT_FALSE(combo.setCheck(-1, true));
    combo.checkAll(false);
    EXPECT_EQ(combo.getText(), "");
    EXPECT_EQ(item(kCheckCombo).text(), "");
    EXPECT_TRUE(combo.getCheckedItems().isEmpty());
}

TEST_F(CCheckComboBoxTest, checkedItemsAreSetAndReadByText) {
    combo.fill(Vor_StringArray{"Plate", "Beam", "Column"}, Vor_StringArray{"column"}, false);
    EXPECT_EQ(combo.getCount(), 3);
    EXPECT_EQ(combo.getCheckedItems(), (Vor_StringArray{"Column"})) << "found without regard to case";

    EXPECT_EQ(combo.setCheckedItems(Vor_StringArray{"Plate", "beam", "Bolt"}), 1)
        << "exact case: only Plate matches; Bolt is no item";
    EXPECT_EQ(combo.getCheckedItems(), (Vor_StringArray{"Plate"})) << "items not named are unchecked";
    EXPECT_EQ(combo.setCheckedItems(Vor_StringArray{"Plate", "beam"}, false), 2);
    EXPECT_EQ(combo.getText(), "Plate, Beam");

    combo.fill(Vor_StringArray{"A"});
    EXPECT_EQ(combo.getCount(), 1) << "fill replaces the items";
    EXPECT_EQ(combo.getText(), "") << "and the old checks with them";
    EXPECT_EQ(item(kCheckCombo).text(), "");
}

TEST_F(CCheckComboBoxTest, userTogglingIsReadBackAndNotified) {
    combo.fill(Vor_StringArray{"A", "B", "C"});
    std::string error;
    ASSERT_TRUE(ui::SimulatedUser::select(item(kCheckCombo), "B", error)) << error;
    EXPECT_TRUE(combo.getCheck(1));
    EXPECT_EQ(combo.getCheckedItems(), (Vor_StringArray{"B"}));
    EXPECT_EQ(item(kCheckCombo).text(), combo.getText().str());
    ASSERT_FALSE(dlg.commands.empty());
    EXPECT_EQ(dlg.commands.back(), std::make_pair(int(kCheckCombo), int(ui::CBN_SELCHANGE)));
}

TEST(CCheckComboBoxLifetime, controlIsGoneWithTheWindow) {
    registerResources();
    ProbeDialog dlg;
    ASSERT_TRUE(dlg.create());
    CCheckComboBox combo;
    ASSERT_TRUE(combo.subclassDlgItem(kCheckCombo, &dlg));
    combo.addString("A", true);
    dlg.destroyWindow();
    EXPECT_EQ(combo.control(), nullptr);
    EXPECT_EQ(combo.getCount(), 0);
    EXPECT_FALSE(combo.setCheck(0, false)) << "no crash on a closed dialog";
}

TEST_F(CCheckComboBoxTest, aLongListFilledWithCheckMarksShowsItsTextWithoutLayingItOutPerItem) {
    // a filter list of the macro settings may hold a thousand checked names: laid out after every
    // item, its growing text took seconds
    Vor_StringArray items;
    for (int i = 0; i < 3000; ++i)
        items.append(Vor_String("Filter " + std::to_string(i)));
    const auto start = std::chrono::steady_clock::now();
    combo.fill(items, items);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(combo.getCheckedIndexes().size(), 3000u);
    EXPECT_EQ(item(kCheckCombo).text(), combo.getText().str()) << "the text made once at the end";
    EXPECT_EQ(item(kCheckCombo).text().rfind("Filter 0, Filter 1, ", 0), 0u);
    EXPECT_LT(took, std::chrono::seconds(3)) << "far below what a layout per item costs";
}
