// The array dialog: texts typed survive kind changes, the "varies" kind never reaches a macro, an
// entry is marked only when one is chosen, and Cancel or Escape leave the caller's array alone.
#include "macro/ui/DlgArray.h"
#include "macro/ArrayLayout.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string id(int n) {
    return std::to_string(n);
}
const std::string DLG = "expect-dialog " + id(DlgArray::IDD) + "\n";
const std::string GRID = id(DlgArray::IDC_GRID);

DynArrayData stiffeners() {
    DynArrayData a;
    a.name = "Stiffeners";
    a.kind = 0;
    a.dimNames[0] = "L";
    a.distance = "500";
    a.validDims[0] = {"L", "H"};
    a.validDims[1] = {"B"};
    a.validDims[2] = {"T"};
    a.entries.append({"1", "0", "PL10", "", KrEntryAction::None});
    a.entries.append({"2", "0", "PL10", "", KrEntryAction::None});
    return a;
}

class DlgArrayTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
    }
    void TearDown() override { ui::setAgent(nullptr); }
    bool run(DynArrayData& data, const std::string& script) {
        agent.setScript(DLG + script, "t.vsc");
        const bool ok = StartArrayDlg(data, {}, data.name);
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return ok;
    }
    ui::ScriptedAgent agent;
};

TEST(ArrayLayoutTest, theVariesItemKeepsTheStoredKind) {
    EXPECT_EQ(arrayKindComboIndex(kVariesIndex), kArrayKindVariesItem) << "merged macros that differ";
    EXPECT_EQ(arrayKindComboIndex(2), 2);
    EXPECT_EQ(arrayKindOfComboIndex(kArrayKindVariesItem, 2), 2) << "the varies item is no kind";
    EXPECT_EQ(arrayKindOfComboIndex(kArrayKindVariesItem, kVariesIndex), kVariesIndex)
        << "still varies: each macro keeps its own";
    EXPECT_EQ(arrayKindOfComboIndex(-1, 3), 3) << "nothing chosen";
    EXPECT_EQ(arrayKindOfComboIndex(1, 3), 1);
}

TEST_F(DlgArrayTest, textsTypedSurviveAKindChangeAndBack) {
    DynArrayData a = stiffeners();
    ASSERT_TRUE(run(a, "expect-caption \"Array (Stiffeners)\"\ntype " + id(DlgArray::IDC_DISTANCE) +
                           " \"750\"\ntype " + id(DlgArray::IDC_DIM1) + " \"H\"\nselect " +
                           id(DlgArray::IDC_KIND) + " 1\nexpect-state " + id(DlgArray::IDC_DIM1) +
                           " hidden\ntype " + id(DlgArray::IDC_THIRD) + " \"5\"\nselect " +
                           id(DlgArray::IDC_KIND) + " 0\nexpect-text " + id(DlgArray::IDC_DIM1) +
                           " \"H\"\nexpect-text " + id(DlgArray::IDC_DISTANCE) + " \"750\"\nclick 1\n"));
    EXPECT_EQ(a.kind, 0);
    EXPECT_EQ(a.dimNames[0], Vor_String("H"));
    EXPECT_EQ(a.distance, Vor_String("750"));
    EXPECT_EQ(a.third, Vor_String("5")) << "typed while kind 1 was shown";
}

TEST_F(DlgArrayTest, choosingVariesKeepsTheKindOfTheArray) {
    DynArrayData a = stiffeners();
    a.kind = 2;
    ASSERT_TRUE(run(a, "select " + id(DlgArray::IDC_KIND) + " 4\nclick 1\n"));
    EXPECT_EQ(a.kind, 2) << "neither the item index 4 nor the varies code is a kind";

    DynArrayData merged = stiffeners();
    merged.kind = kVariesIndex;
    ASSERT_TRUE(run(merged, "expect-sel " + id(DlgArray::IDC_KIND) + " 4\nclick 1\n"));
    EXPECT_EQ(merged.kind, kVariesIndex) << "macros that differ keep differing";
}

TEST_F(DlgArrayTest, markingAnEntryReachesTheCallerOnlyOnOk) {
    const DynArrayData before = stiffeners();
    DynArrayData a = before;
    EXPECT_FALSE(run(a, "select-cells " + GRID + " 2 2 2 2\nclick " + id(DlgArray::IDC_SKIP) +
                            "\nexpect-cell " + GRID + " 5 2 \"Skip\"\nclick 2\n"));
    EXPECT_EQ(a, before) << "Cancel after marking";
    EXPECT_FALSE(
        run(a, "select-cells " + GRID + " 2 1 2 1\nclick " + id(DlgArray::IDC_SKIP) + "\nkey Escape\n"));
    EXPECT_EQ(a, before) << "Escape after marking";
    ASSERT_TRUE(run(a, "select-cells " + GRID + " 2 2 2 2\nclick " + id(DlgArray::IDC_SKIP) + "\nclick 1\n"));
    EXPECT_EQ(a.entries[0].action, KrEntryAction::None);
    EXPECT_EQ(a.entries[1].action, KrEntryAction::Skip);
}

TEST_F(DlgArrayTest, markingWithoutEntriesDoesNothing) {
    DynArrayData a = stiffeners();
    a.entries.removeAll();
    ASSERT_TRUE(run(a, "click " + id(DlgArray::IDC_SKIP) + "\nclick 1\n"));
    EXPECT_TRUE(a.entries.isEmpty());
}

} // namespace

namespace {
TEST_F(DlgArrayTest, aDimensionTheKindHidesKeepsItsName) {
    DynArrayData a = stiffeners();
    a.kind = 1; // a fixed number: the first dimension is hidden from the start
    ASSERT_TRUE(run(a, "click 1\n"));
    EXPECT_EQ(a.dimNames[0], Vor_String("L")) << "OK stores every combo, the hidden one too";
    ASSERT_TRUE(run(a, "select " + id(DlgArray::IDC_KIND) + " 0\nexpect-text " + id(DlgArray::IDC_DIM1) +
                           " \"L\"\nclick 1\n"));
    EXPECT_EQ(a.dimNames[0], Vor_String("L"));
}
} // namespace
