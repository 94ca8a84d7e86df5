// The look-up dialog driven as a person would: values typed or chosen, and the two ways out that
// both count as OK.
#include "production/ui/DlgLookUp.h"

#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

namespace {

const std::string D = std::to_string(DlgLookUp::IDD);

std::string id(int n) {
    return std::to_string(n);
}

KrLookUpDlgData sample() {
    KrLookUpDlgData d;
    d.items1 = Vor_StringArray{"HEA 200", "HEA 220"};
    d.value1 = "HEA 240"; // none of the items
    d.items2 = Vor_StringArray{"S235", "S355"};
    d.value2 = "S235";
    d.value4 = "1000";
    d.direction = 1;
    d.mode = 2;
    return d;
}

class DlgLookUpTest : public testing::Test {
protected:
    void SetUp() override { ui::setAgent(&agent); }
    void TearDown() override { ui::setAgent(nullptr); }
    ui::ScriptedAgent agent;
};

TEST_F(DlgLookUpTest, okAndShowAllTakeTheValuesAndTellWhichClosedTheDialog) {
    struct Case {
        const char* button;
        int result;
        const char* why;
    } cases[] = {{"1", KrLookUpDlgData::ResultOk, "OK"}, {"3", KrLookUpDlgData::ResultShowAll, "Show All"}};
    for (const Case& c : cases) {
        KrLookUpDlgData d = sample();
        d.result = 7; // whatever the caller left there is replaced
        agent.setScript("expect-dialog " + D + "\nexpect-text " + id(DlgLookUp::IDC_VALUE1) +
                            " \"HEA 240\"\nexpect-items " + id(DlgLookUp::IDC_VALUE1) +
                            " \"HEA 200|HEA 220\"\nexpect-items " + id(DlgLookUp::IDC_DIRECTION) + " \"" +
                            dialString(88).str() + "|" + dialString(89).str() + "|" + dialString(1511).str() +
                            "\"\nexpect-sel " + id(DlgLookUp::IDC_DIRECTION) + " 1\nexpect-sel " +
                            id(DlgLookUp::IDC_MODE) + " 2\nexpect-state " + id(DlgLookUp::IDC_FLAG) +
                            " hidden\nexpect-text " + id(DlgLookUp::IDC_SHOW_ALL) + " \"" +
                            dialString(1503).str() + "\"\nselect " + id(DlgLookUp::IDC_VALUE2) + " 1\ntype " +
                            id(DlgLookUp::IDC_VALUE5) + " \"12000\"\nselect " + id(DlgLookUp::IDC_DIRECTION) +
                            " 2\nselect " + id(DlgLookUp::IDC_MODE) + " 0\nclick " + c.button + "\n",
                        "t.vsc");
        ASSERT_TRUE(StartDlgLookUp(d)) << c.why << " counts as OK";
        EXPECT_FALSE(agent.failed()) << agent.failure();
        EXPECT_EQ(d.result, c.result) << c.why;
        EXPECT_EQ(d.value1, Vor_String("HEA 240")) << "a value that is none of the items stays";
        EXPECT_EQ(d.value2, Vor_String("S355")) << "chosen from the list";
        EXPECT_EQ(d.value5, Vor_String("12000")) << "typed";
        EXPECT_EQ(d.direction, 2) << c.why;
        EXPECT_EQ(d.mode, 0) << c.why;
        EXPECT_EQ(d.items2, sample().items2) << "the lists are not the dialog's to change";
    }
}

TEST_F(DlgLookUpTest, cancelLeavesTheCallersDataAsItWas) {
    KrLookUpDlgData d = sample();
    const KrLookUpDlgData before = d;
    agent.setScript("expect-dialog " + D + "\ntype " + id(DlgLookUp::IDC_VALUE3) + " \"J2\"\nselect " +
                        id(DlgLookUp::IDC_MODE) + " 1\nclick 2\n",
                    "t.vsc");
    EXPECT_FALSE(StartDlgLookUp(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_TRUE(d == before);
}

TEST_F(DlgLookUpTest, anIndexOutsideItsListSelectsNothingAndComesBackAsItCame) {
    KrLookUpDlgData d = sample();
    d.direction = 7;
    agent.setScript("expect-dialog " + D + "\nexpect-sel " + id(DlgLookUp::IDC_DIRECTION) + " -1\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgLookUp(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.direction, 7) << "not turned into -1, which no caller knows";
    EXPECT_EQ(d.mode, 2);
}

TEST(KrLookUpDlgDataJson, roundTripAndListIndexesWithinTheirLists) {
    const KrLookUpDlgData d = sample();
    const nlohmann::json j = d;
    EXPECT_TRUE(j.get<KrLookUpDlgData>() == d);
    for (const char* bad : {R"({"direction": 3})", R"({"mode": -1})", R"({"items1": "HEA"})"})
        EXPECT_THROW(nlohmann::json::parse(bad).get<KrLookUpDlgData>(), nlohmann::json::exception) << bad;
}

} // namespace
