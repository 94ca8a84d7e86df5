// The DSTV points dialogs' decisions without a window: numbers typed into the editor, the rule its
// controls stand for, which controls can be used, the rule list's insert and delete, and the names
// a new group may have.
#include "production/DstvPointRules.h"

#include <cad/aced.h>
#include <host/Settings.h>

#include <gtest/gtest.h>

namespace {

TEST(DstvPointRules, numbersAreReadFromTheStartOfWhatWasTyped) {
    struct Case {
        const char* text;
        double value;
        const char* why;
    };
    const Case cases[] = {
        {"50.000", 50.0, "as the editor shows it"},
        {"12,5", 12.5, "a decimal comma"},
        {"12.5 mm", 12.5, "words after the number are left"},
        {"  -7,25mm", -7.25, "spaces and a sign before it"},
        {"1.234,5", 1234.5, "grouping with a decimal comma"},
        {"1,234.5", 1234.5, "grouping with a decimal point"},
        {"2e2", 200.0, "an exponent"},
        {"12, or so", 12.0, "a comma after the number belongs to the words"},
        {"mm 12", 0.0, "no number at the start"},
        {"", 0.0, "nothing typed"},
        {"-", 0.0, "a sign alone"},
        {"1,234,5", 0.0, "separators that allow no reading are not guessed at"},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(dstvLeadingNumber(c.text), c.value) << c.why << ": \"" << c.text << '"';
}

TEST(DstvPointRules, controlsShowARuleAndGiveItBack) {
    Vor_DstvPointInfo r;
    r.setName("Kopplaat midden");
    r.setSelectGeomExtent(false, 1, 3);
    r.setSelectIntersGeom(true, false, 2);
    r.setPlateSelection(3, 12.3456);
    r.setDrillFullHole(true, true, 2.5);
    const DstvRuleControls c = dstvControlsOf(r);
    EXPECT_EQ(c.minDistance, "12.346") << "three decimals";
    EXPECT_EQ(c.holeSize, "2.500");
    EXPECT_EQ(c.side2, 3);
    Vor_DstvPointInfo expected = r;
    expected.setPlateSelection(3, 12.346);
    EXPECT_EQ(dstvRuleOf(c), expected) << "every field comes back, the distance as shown";

    DstvRuleControls typed = c;
    typed.minDistance = "7,5";
    typed.holeSize = "geen";
    const Vor_DstvPointInfo back = dstvRuleOf(typed);
    EXPECT_DOUBLE_EQ(back.minPlateSideDist(), 7.5) << "a decimal comma";
    EXPECT_DOUBLE_EQ(back.drillRadius(), 0.0) << "text that is no number is stored as 0";
}

TEST(DstvPointRules, enablingFollowsTheChoiceAndTheFullHole) {
    struct Case {
        bool extent, inters, full;
        DstvEnabling e;
        const char* why;
    };
    const Case cases[] = {
        {true,
         false,
         false,
         {true, false, false, false},
         "by extent: the sides; no hole size without a full hole"},
        {false, true, false, {false, true, false, false}, "by intersection: start direction and middle"},
        {false,
         true,
         true,
         {false, true, true, true},
         "a full hole through intersecting geometry: by thickness too"},
        {true, false, true, {true, false, false, true}, "a full hole by extent: the size, not by thickness"},
        {false, false, true, {false, true, false, true}, "neither chosen: as if not by extent"},
    };
    for (const Case& c : cases) {
        const DstvEnabling e = dstvEnabling(c.extent, c.inters, c.full);
        EXPECT_EQ(e.sides, c.e.sides) << c.why;
        EXPECT_EQ(e.intersection, c.e.intersection) << c.why;
        EXPECT_EQ(e.thicknessBased, c.e.thicknessBased) << c.why;
        EXPECT_EQ(e.holeSize, c.e.holeSize) << c.why;
    }
}

TEST(DstvPointRules, insertOutsideTheListPrintsAnErrorAndDeleteKeepsAPlace) {
    Vor_Array<Vor_DstvPointInfo> rules;
    Vor_DstvPointInfo a, b;
    a.setName("a");
    b.setName("b");
    acutClearPrintedText();
    EXPECT_TRUE(insertDstvRule(rules, 0, a)) << "the first rule of an empty list";
    EXPECT_TRUE(insertDstvRule(rules, 1, b)) << "the length appends";
    EXPECT_EQ(acutPrintedText(), "");
    EXPECT_FALSE(insertDstvRule(rules, 3, a));
    EXPECT_FALSE(insertDstvRule(rules, -1, a));
    EXPECT_EQ(rules.length(), 2) << "nothing inserted";
    EXPECT_EQ(acutPrintedText(),
              "*Error* Invalid index passed to insert.\n*Error* Invalid index passed to insert.\n");

    struct Case {
        int index, length, result;
        const char* why;
    };
    const Case cases[] = {
        {1, 3, 1, "the next rule takes the place"},
        {3, 3, 2, "the last was deleted: the new last"},
        {0, 0, -1, "none left"},
        {-1, 2, 0, "no place: the first"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dstvIndexAfterDelete(c.index, c.length), c.result) << c.why;
}

TEST(DstvPointRules, groupNamesMustBeNewAndFileNames) {
    const Vor_StringArray groups{"anchors", "Welds"};
    struct Case {
        const char* name;
        DstvGroupName result;
        const char* why;
    };
    const Case cases[] = {
        {"Bolts", DstvGroupName::Fine, "a new name"},
        {"Welds", DstvGroupName::InUse, "taken"},
        {"welds", DstvGroupName::InUse, "the same file where names are blind to case"},
        {"a/b", DstvGroupName::NoFileName, "a folder"},
        {"..\\x", DstvGroupName::NoFileName, "a folder the old way"},
        {".hidden", DstvGroupName::NoFileName, "a hidden file would not be listed"},
        {"   ", DstvGroupName::NoFileName, "blank"},
        {"line\nbreak", DstvGroupName::NoFileName, "a control character"},
        {"Kopplaat 10 mm", DstvGroupName::Fine, "spaces inside are fine"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkDstvGroupName(groups, c.name), c.result) << c.why << ": \"" << c.name << '"';
}

TEST(DstvPointRules, theStandardGroupAndThePickedGroupAreFound) {
    const Vor_StringArray groups{"anchors", "welds", "Welds"};
    EXPECT_EQ(dstvStandardIndex(groups, "Welds.dat"), 2) << "the exact name first";
    EXPECT_EQ(dstvStandardIndex(groups, "ANCHORS.dat"), 0) << "else without regard to case";
    EXPECT_EQ(dstvStandardIndex(groups, "Other.dat"), -1) << "a group that is gone";
    EXPECT_EQ(dstvStandardIndex(groups, ""), -1) << "none set";

    EXPECT_EQ(dstvPickedGroup({false, true, true}, 2), 1) << "a tick on another group picks it";
    EXPECT_EQ(dstvPickedGroup({false, false, false}, 2), 2) << "the standard's tick taken off picks it";
    EXPECT_EQ(dstvPickedGroup({true, false}, -1), 0) << "no standard group";
    EXPECT_EQ(dstvPickedGroup({false, false, true}, 2), -1) << "nothing changed";
}

TEST(DstvBundledGroups, theLibraryShipsAStandardGroupOfRulesThatReadCleanly) {
    const Vor_String old = gSettings.libDir;
    gSettings.libDir = std::string(VOR_SOURCE_DIR) + "/data/lib/";
    const Vor_StringArray groups = DlgDstvPoints::getAllDstvPointsFiles();
    const int standard = dstvStandardIndex(groups, DlgDstvPoints::getStandardDstvPointsFile());
    EXPECT_GE(standard, 0) << "the standard group is one of the bundled groups";
    for (const Vor_String& g : groups) {
        Vor_Array<Vor_DstvPointInfo> rules;
        std::vector<std::string> messages;
        ASSERT_TRUE(DlgDstvPoints::readFromFile(g, rules, &messages)) << g.str();
        EXPECT_TRUE(messages.empty()) << g.str() << ": " << (messages.empty() ? "" : messages[0]);
        EXPECT_GT(rules.length(), 0) << g.str() << " is no empty example";
        for (const Vor_DstvPointInfo& r : rules)
            if (r.selectGeomExtent())
                EXPECT_EQ(keepDstvSidesApart(r.sideSelection1(), r.sideSelection2()), r.sideSelection2())
                    << g.str() << ": " << r.name().str() << " has both sides in one pair";
    }
    gSettings.libDir = old;
}

} // namespace
