// DSTV point rules and their group files: defaults, the side pairs, round trips through files, and
// group files from other machines with rows that are no rule.
#include "TempDir.h"

#include <host/DlgDstvPoints.h>
#include <host/Settings.h>

#include <gtest/gtest.h>

namespace {

class DstvPoints : public testing::Test {
protected:
    void SetUp() override {
        m_old = gSettings.libDir;
        gSettings.libDir = lib.path();
    }
    void TearDown() override { gSettings.libDir = m_old; }
    TempDir lib;

private:
    Vor_String m_old;
};

TEST(DstvSides, aChangedSideMovesTheOtherOutOfItsPair) {
    struct Case {
        int a, b, result;
        const char* why;
    };
    const Case cases[] = {
        {1, 0, 2, "both in the first pair: the other goes to 2"},
        {3, 2, 0, "both in the second pair: the other goes to 0"},
        {2, 0, 0, "already apart: nothing changes"},
        {0, 1, 2, "the first pair, either way round"},
        {2, 3, 0, "the second pair, either way round"},
        {1, 3, 3, "already apart"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keepDstvSidesApart(c.a, c.b), c.result) << c.why;
}

TEST(DstvSides, aNewRuleHasTheDefaultsAndSettersKeepValuesInRange) {
    Vor_DstvPointInfo r;
    EXPECT_TRUE(r.selectGeomExtent());
    EXPECT_EQ(r.sideSelection1(), 0);
    EXPECT_EQ(r.sideSelection2(), 2);
    EXPECT_FALSE(r.selectIntersGeom());
    EXPECT_TRUE(r.selectIntersMid());
    EXPECT_EQ(r.plateSelection(), 0);
    EXPECT_DOUBLE_EQ(r.minPlateSideDist(), 50.0);
    EXPECT_FALSE(r.drillFullHole());
    EXPECT_DOUBLE_EQ(r.drillRadius(), 16.0);
    r.setSelectGeomExtent(true, 7, -1);
    EXPECT_EQ(r.sideSelection1(), 0) << "a side beyond 3";
    r.setPlateSelection(9, 1.0 / 0.0);
    EXPECT_EQ(r.plateSelection(), 0);
    EXPECT_EQ(r.minPlateSideDist(), 0) << "no infinite distance";
}

TEST_F(DstvPoints, groupsRoundTripThroughTheirFilesAndTheStandardGroupIsKept) {
    Vor_Array<Vor_DstvPointInfo> rules;
    Vor_DstvPointInfo a;
    a.setName("Lasnaad; \"kop\" ä");
    a.setSelectGeomExtent(false, 1, 3);
    a.setSelectIntersGeom(true, false, 2);
    a.setPlateSelection(3, 12.345);
    a.setDrillFullHole(true, true, 22.5);
    rules.append(a);
    rules.append(Vor_DstvPointInfo());
    ASSERT_TRUE(DlgDstvPoints::writeToFile("Welds", rules));
    ASSERT_TRUE(DlgDstvPoints::writeToFile("anchors", {}));
    Vor_Array<Vor_DstvPointInfo> back;
    ASSERT_TRUE(DlgDstvPoints::readFromFile("Welds", back));
    EXPECT_EQ(back, rules);
    ASSERT_TRUE(DlgDstvPoints::readFromFile("anchors", back));
    EXPECT_EQ(back.length(), 0) << "an empty group";
    EXPECT_EQ(DlgDstvPoints::getAllDstvPointsFiles(), (Vor_StringArray{"anchors", "Welds"}));
    EXPECT_EQ(DlgDstvPoints::getStandardDstvPointsFile(), Vor_String(""));
    ASSERT_TRUE(DlgDstvPoints::setStandardDstvPointsFile("Welds"));
    EXPECT_EQ(DlgDstvPoints::getStandardDstvPointsFile(), Vor_String("Welds.dat"));
}

TEST_F(DstvPoints, rowsThatAreNoRuleAreLeftOutAndDamagedFilesChangeNothing) {
    lib.write("DSTV Points/Other.dat", "VORLANE DSTV POINTS 1\n"
                                       "good;1;0;2;0;1;0;0;50;0;0;16\n"
                                       "\n"
                                       "short;1;0\n"
                                       "side;1;7;2;0;1;0;0;50;0;0;16\n"
                                       "plate;1;0;2;0;1;0;5;50;0;0;16\n"
                                       "dist;1;0;2;0;1;0;0;abc;0;0;16\n"
                                       "flag;yes;0;2;0;1;0;0;50;0;0;16\n");
    Vor_Array<Vor_DstvPointInfo> rules;
    std::vector<std::string> messages;
    ASSERT_TRUE(DlgDstvPoints::readFromFile("Other", rules, &messages));
    ASSERT_EQ(rules.length(), 1);
    EXPECT_EQ(rules[0].name(), Vor_String("good"));
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_NE(messages[0].find(":4: "), std::string::npos) << messages[0];

    lib.write("DSTV Points/Broken.dat", "\"not closed;1\n");
    messages.clear();
    EXPECT_FALSE(DlgDstvPoints::readFromFile("Broken", rules, &messages));
    EXPECT_EQ(rules.length(), 1) << "a damaged file leaves the rules as they were";
    EXPECT_FALSE(messages.empty());
    EXPECT_FALSE(DlgDstvPoints::readFromFile("Missing", rules));
}

} // namespace
