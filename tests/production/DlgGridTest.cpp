// The grid dialog driven as a person would: what it shows of the data, how counts are read, and
// that only OK hands anything back.
#include "production/ui/DlgGrid.h"

#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <climits>

namespace {

const std::string D = std::to_string(DlgGrid::IDD);

std::string id(int n) {
    return std::to_string(n);
}

class DlgGridTest : public testing::Test {
protected:
    void SetUp() override { ui::setAgent(&agent); }
    void TearDown() override { ui::setAgent(nullptr); }
    ui::ScriptedAgent agent;
};

TEST_F(DlgGridTest, defaultDataIsShownAndComesBackUnchangedOnOk) {
    KrGridDlgData d;
    agent.setScript("expect-dialog " + D + "\nexpect-caption \"" + dialString(1463).str() +
                        "\"\nexpect-text " + id(DlgGrid::IDC_COUNT1) + " \"4\"\nexpect-text " +
                        id(DlgGrid::IDC_DIST1) + " \"5000\"\nexpect-text " + id(DlgGrid::IDC_NAME1) +
                        " \"A\"\nexpect-text " + id(DlgGrid::IDC_COUNT2) + " \"3\"\nexpect-text " +
                        id(DlgGrid::IDC_DIST2) + " \"5000\"\nexpect-text " + id(DlgGrid::IDC_NAME2) +
                        " \"1\"\nexpect-state " + id(DlgGrid::IDC_OPTION) + " unchecked\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgGrid(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_TRUE(d == KrGridDlgData());
}

TEST_F(DlgGridTest, countsAreTheLeadingNumberTextsAsTyped) {
    struct Case {
        const char* typed;
        int count;
        const char* why;
    } cases[] = {{"abc", 0, "letters store 0"},     {"7 lines", 7, "the number at the start"},
                 {"  12", 12, "leading blanks"},    {"", 0, "nothing typed"},
                 {"2,5", 2, "a whole number only"}, {"99999999999", INT_MAX, "beyond an int: the largest"}};
    for (const Case& c : cases) {
        KrGridDlgData d;
        agent.setScript("expect-dialog " + D + "\ntype " + id(DlgGrid::IDC_COUNT1) + " \"" + c.typed +
                            "\"\ntype " + id(DlgGrid::IDC_COUNT2) + " \"" + c.typed + "\"\ntype " +
                            id(DlgGrid::IDC_DIST2) + " \" 3*6000 4500 \"\ntype " + id(DlgGrid::IDC_NAME1) +
                            " \"AA\"\ncheck " + id(DlgGrid::IDC_OPTION) + " on\nclick 1\n",
                        "t.vsc");
        ASSERT_TRUE(StartDlgGrid(d)) << c.why;
        EXPECT_FALSE(agent.failed()) << agent.failure();
        EXPECT_EQ(d.firstCount, c.count) << c.why;
        EXPECT_EQ(d.secondCount, c.count) << c.why;
        EXPECT_EQ(d.secondDistances, Vor_String(" 3*6000 4500 ")) << "distances pass as typed";
        EXPECT_EQ(d.firstName, Vor_String("AA"));
        EXPECT_TRUE(d.option);
    }
}

TEST_F(DlgGridTest, cancelAndCloseLeaveTheCallersDataAsItWas) {
    for (const char* end : {"click 2", "close"}) {
        KrGridDlgData d;
        d.firstCount = 9;
        d.secondName = "X";
        const KrGridDlgData before = d;
        agent.setScript("expect-dialog " + D + "\nexpect-text " + id(DlgGrid::IDC_COUNT1) + " \"9\"\ntype " +
                            id(DlgGrid::IDC_COUNT1) + " \"2\"\ntype " + id(DlgGrid::IDC_NAME2) + " \"Y\"\n" +
                            end + "\n",
                        "t.vsc");
        EXPECT_FALSE(StartDlgGrid(d)) << end;
        EXPECT_FALSE(agent.failed()) << agent.failure();
        EXPECT_TRUE(d == before) << end;
    }
}

TEST(KrGridDlgDataJson, roundTripKeepsEveryFieldAndRefusesBadCounts) {
    KrGridDlgData d;
    d.firstCount = 12;
    d.firstDistances = "6000 2*7200";
    d.secondName = "10";
    d.option = true;
    const nlohmann::json j = d;
    EXPECT_TRUE(j.get<KrGridDlgData>() == d);
    EXPECT_TRUE(nlohmann::json::parse("{}").get<KrGridDlgData>() == KrGridDlgData()) << "defaults";
    for (const char* bad : {R"({"firstCount": "4"})", R"({"secondCount": 2.5})", R"({"firstCount": 1e20})"})
        EXPECT_THROW(nlohmann::json::parse(bad).get<KrGridDlgData>(), nlohmann::json::exception) << bad;
}

} // namespace
