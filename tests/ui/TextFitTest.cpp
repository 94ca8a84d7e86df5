// The check that every text fits its control, as the two-language screenshot tests use it.

#include "TestDialogs.h"

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Script.h>
#include <ui/TextFit.h>

#include <algorithm>

using namespace ui;

namespace {

class TextFitTest : public testing::Test {
protected:
    void SetUp() override {
        testui::registerResources();
        ASSERT_TRUE(dlg.create());
        dlg.showWindow(SW_SHOW);
        processEvents();
    }
    void TearDown() override {
        dlg.destroyWindow();
        processEvents();
    }
    std::vector<int> clippedIds() const {
        std::vector<int> ids;
        for (const ClippedText& c : clippedTexts(dlg))
            ids.push_back(c.id);
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    testui::Recorder dlg;
};

TEST_F(TextFitTest, findsEveryKindOfTextThatOutgrowsItsControl) {
    EXPECT_EQ(clippedIds(), std::vector<int>{}) << describeClippedTexts(clippedTexts(dlg));

    const std::string longText = "Alles vervangen in de hele tabel (F5)";
    const struct {
        int id;
        const char* kind;
    } grown[] = {
        {1, "push button"},      {10, "label that wraps past its height"},
        {13, "check box"},       {15, "radio button"},
        {25, "group box title"},
    };
    for (const auto& g : grown)
        dlg.item(g.id)->setText(longText);
    dlg.item(26)->setText(longText); // hidden: nobody sees it cut
    processEvents();
    const std::vector<ClippedText> clipped = clippedTexts(dlg);
    EXPECT_EQ(clippedIds(), (std::vector<int>{1, 10, 13, 15, 25})) << describeClippedTexts(clipped);
    for (const ClippedText& c : clipped) {
        EXPECT_EQ(c.text, longText);
        EXPECT_NE(c.where.find("needs"), std::string::npos) << c.where;
    }
    EXPECT_NE(describeClippedTexts(clipped).find("control 13 \"" + longText + "\": needs"),
              std::string::npos);
}

TEST_F(TextFitTest, aScriptCheckFailsOnAClippedTextAndNamesIt) {
    const auto run = [this](const std::string& line) {
        ScriptedAgent agent;
        agent.setPrinter([](const std::string&) {});
        setAgent(&agent);
        agent.dialogCreated(dlg);
        agent.runLine(line);
        setAgent(nullptr);
        return agent.failure();
    };
    EXPECT_EQ(run("expect-fit"), "");
    dlg.item(13)->setText("Tekst die veel te lang is voor dit vakje");
    processEvents();
    const std::string failure = run("expect-fit");
    EXPECT_NE(failure.find("1 text does not fit"), std::string::npos) << failure;
    EXPECT_NE(failure.find("control 13"), std::string::npos) << failure;
}

} // namespace
