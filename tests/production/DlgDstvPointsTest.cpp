// The DSTV points dialogs driven as a person would: the group list with its standard group, new,
// delete, make standard and edit, then the point editor's rules, choices and lists; each checked on
// the group files it leaves behind.
#include "TempDir.h"

#include "production/ui/DlgDstvGroups.h"
#include "production/ui/DlgDstvPointEdit.h"

#include <base/SafeFile.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Control.h>
#include <ui/Resources.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace {

using Edit = DlgDstvPointEdit;
using Groups = DlgDstvGroups;

std::string id(int n) {
    return std::to_string(n);
}
std::string quoted(const Vor_String& s) {
    return "\"" + s.str() + "\"";
}

// Written by hand as another machine would ("50.0", no header): any rewrite changes the bytes.
const char* const kWelds = "Corner;1;0;2;0;1;0;0;50.0;0;0;16\n"
                           "Middle;0;0;2;1;1;2;1;25.0;0;1;2\n";

class DlgDstvPointsTest : public testing::Test {
protected:
    void SetUp() override {
        // The real texts, so that the messages are checked as a person reads them.
        ASSERT_TRUE(loadTextCatalogues(std::string(VOR_SOURCE_DIR) + "/data/install/", "en"));
        ui::setAgent(&agent);
        m_oldLib = gSettings.libDir;
        gSettings.libDir = lib.path();
        lib.write("DSTV Points/Welds.dat", kWelds);
        lib.write("DSTV Points/anchors.dat", "VORLANE DSTV POINTS 1\nPlate;1;1;3;0;1;0;0;10;1;0;22\n");
        lib.write("DSTV Points/Standard group.cfg", "Welds.dat\n");
        // "expect-checked ID "0|1"": the check marks of a check combo's items.
        agent.setHostHandler([this](const std::vector<std::string>& w, std::string& error) {
            if (w.empty() || w[0] != "expect-checked") return ui::ScriptedAgent::HostResult::NotMine;
            const ui::Control* c = agent.openDialogs().back()->item(std::stoi(w.at(1)));
            std::string marks;
            for (int i = 0; c && i < c->count(); ++i)
                marks += std::string(i ? "|" : "") + (c->itemChecked(i) ? "1" : "0");
            if (marks == w.at(2)) return ui::ScriptedAgent::HostResult::Done;
            error = "check marks are " + marks + ", expected " + w.at(2);
            return ui::ScriptedAgent::HostResult::Failed;
        });
    }
    void TearDown() override {
        gSettings.libDir = m_oldLib;
        ui::setAgent(nullptr);
    }
    void run(const std::string& script) {
        agent.setScript(script, "t.vsc");
        StartDSTVPointsDlg();
        EXPECT_FALSE(agent.failed()) << agent.failure();
    }
    std::string group(const std::string& name) const { return lib.read("DSTV Points/" + name + ".dat"); }
    bool exists(const std::string& name) const {
        return std::filesystem::exists(lib.file("DSTV Points/" + name));
    }

    ui::ScriptedAgent agent;
    TempDir lib;

private:
    Vor_String m_oldLib;
};

TEST_F(DlgDstvPointsTest, theStandardGroupIsCheckedAndAPickChoosesTheGroupToMakeStandard) {
    run("expect-dialog " + id(Groups::IDD) + "\nexpect-caption " + quoted(dialString(863)) +
        "\n"
        "expect-items 1336 \"anchors|Welds\"\n"
        "expect-checked 1336 \"0|1\"\n"
        "expect-sel 1336 1\n" // it opens on the standard group
        "expect-text 1336 \"Welds\"\n"
        "expect-state 2 hidden\n"
        "select 1336 1\n" // the tick on the standard group: it is picked, the tick stays
        "expect-sel 1336 1\n"
        "expect-checked 1336 \"0|1\"\n"
        "select 1336 0\n"
        "expect-sel 1336 0\n"
        "expect-checked 1336 \"0|1\"\n"
        "pick 1336 1\n" // a click on an item's text picks it too, and leaves the marks alone
        "expect-sel 1336 1\n"
        "expect-text 1336 \"Welds\"\n"
        "expect-checked 1336 \"0|1\"\n"
        "pick 1336 0\n"
        "expect-sel 1336 0\n"
        "expect-text 1336 \"anchors\"\n"
        "click 1335\n"
        "expect-checked 1336 \"1|0\"\n"
        "expect-sel 1336 0\n"
        "click 1\n");
    EXPECT_EQ(DlgDstvPoints::getStandardDstvPointsFile(), Vor_String("anchors.dat"));
    EXPECT_EQ(group("Welds"), kWelds) << "making a group standard touches no group file";
}

TEST_F(DlgDstvPointsTest, aNewGroupNamedLikeAnotherIsRefusedAndWritesNothing) {
    const std::string ask = "click 1337\nexpect-dialog 8069\n";
    run("expect-dialog " + id(Groups::IDD) + "\n" + ask + "expect-caption " + quoted(dialString(87)) +
        "\nexpect-text 8600 " + quoted(dialString(864)) + "\nexpect-text 8003 " + quoted(dialString(171)) +
        "\n"
        "type 8003 \"welds\"\n"
        "answer ok\n"
        "click 1\n"
        "expect-message \"" +
        dialString(857).str() + ".\\n" + dialString(858).str() + ".\"\n" + ask +
        "type 8003 \"../Escaped\"\n"
        "answer ok\n"
        "click 1\n"
        "expect-message " +
        quoted(dialString(9890).left(40)) + // its end holds a backslash
        "\n" + ask +
        "click 2\n" // cancelled: nothing happens
        "expect-no-message\n"
        "select 1336 0\n" +
        ask +
        "type 8003 \"  Bolts \"\n" // the spaces around it are dropped
        "click 1\n"
        "expect-no-message\n"
        "expect-items 1336 \"anchors|Bolts|Welds\"\n"
        "expect-sel 1336 1\n" // the new group is chosen, not the old place
        "expect-text 1336 \"Bolts\"\n"
        "expect-checked 1336 \"0|0|1\"\n"
        "click 1\n");
    ASSERT_EQ(agent.messages().size(), 2u);
    EXPECT_EQ(agent.messages()[0].caption, dialString(856).str());
    EXPECT_EQ(agent.messages()[0].icon(), int(ui::MB_ICONEXCLAMATION));
    EXPECT_EQ(group("Welds"), kWelds) << "the refused name wrote no empty group over Welds";
    EXPECT_FALSE(exists("welds.dat")) << "nor beside it";
    EXPECT_FALSE(std::filesystem::exists(lib.file("Escaped.dat"))) << "nor outside the folder";
    EXPECT_TRUE(exists("Bolts.dat"));
    EXPECT_EQ(group("Bolts"), "") << "a new group has no rules";
}

TEST_F(DlgDstvPointsTest, deleteRemovesTheChosenGroupWithoutAskingAndAnEmptyFolderStartsAgain) {
    run("expect-dialog " + id(Groups::IDD) +
        "\n"
        "select 1336 1\n"
        "click 1338\n"
        "expect-no-message\n"
        "expect-items 1336 \"anchors\"\n"
        "expect-sel 1336 0\n"
        "click 1338\n"
        "expect-items 1336 \"\"\n"
        "expect-state 1334 disabled\n"
        "expect-state 1335 disabled\n"
        "expect-state 1338 disabled\n"
        "click 1337\n"
        "expect-dialog 8069\n"
        "type 8003 \"First\"\n"
        "click 1\n"
        "expect-items 1336 \"First\"\n"
        "expect-sel 1336 0\n" // the first group of an empty folder is chosen at once
        "expect-state 1334 enabled\n"
        "click 1\n");
    EXPECT_FALSE(exists("Welds.dat"));
    EXPECT_FALSE(exists("anchors.dat"));
    EXPECT_TRUE(exists("First.dat"));
}

TEST_F(DlgDstvPointsTest, cancellingTheEditorLeavesTheGroupFileUntouched) {
    run("expect-dialog " + id(Groups::IDD) +
        "\n"
        "select 1336 1\n"
        "click 1334\n"
        "expect-dialog " +
        id(Edit::IDD) + "\nexpect-caption " + quoted(dialString(844)) +
        "\n"
        "expect-items 1325 \"Corner|Middle\"\n"
        "type 1000 \"Changed\"\n"
        "click 1328\n"
        "click 2\n"
        "click 1\n");
    EXPECT_EQ(group("Welds"), kWelds);
}

TEST_F(DlgDstvPointsTest, okInTheEditorWritesTheEditedRulesUnderTheSameName) {
    run("expect-dialog " + id(Groups::IDD) +
        "\n"
        "select 1336 1\n"
        "click 1334\n"
        "expect-dialog " +
        id(Edit::IDD) +
        "\n"
        "type 1000 \"Corner left top\"\n"
        "type 1001 \"12,5 mm\"\n"
        "select 1325 1\n"
        "expect-items 1325 \"Corner left top|Middle\"\n" // the renamed rule was stored
        "expect-text 1000 \"Middle\"\n"
        "click 1336\n"
        "type 1002 \"3\"\n"
        "click 1\n"
        "click 1\n");
    Vor_Array<Vor_DstvPointInfo> rules;
    ASSERT_TRUE(DlgDstvPoints::readFromFile("Welds", rules));
    ASSERT_EQ(rules.length(), 2);
    EXPECT_EQ(rules[0].name(), Vor_String("Corner left top"));
    EXPECT_DOUBLE_EQ(rules[0].minPlateSideDist(), 12.5) << "read from the start of the text, with a comma";
    EXPECT_TRUE(rules[1].drillFullHole());
    EXPECT_TRUE(rules[1].radiusThicknessBased());
    EXPECT_DOUBLE_EQ(rules[1].drillRadius(), 3.0);
    EXPECT_EQ(rules[1].plateSelection(), 1) << "untouched fields stay";
    EXPECT_EQ(rules[1].intersStartDir(), 2);
}

TEST_F(DlgDstvPointsTest, aFullDiskIsReportedAndKeepsTheOldGroupFile) {
    base::failSafeWritesAfterForTesting(0, ENOSPC);
    run("expect-dialog " + id(Groups::IDD) + "\nselect 1336 1\nclick 1334\nexpect-dialog " + id(Edit::IDD) +
        "\ntype 1000 \"Lost?\"\nanswer ok\nclick 1\nexpect-message " + quoted(dialString(9891)) +
        "\nclick 1\n");
    base::failSafeWritesAfterForTesting(-1, 0);
    EXPECT_EQ(group("Welds"), kWelds);
}

TEST_F(DlgDstvPointsTest, anUnreadableGroupIsNotOpenedSoItCannotBeOverwritten) {
    lib.write("DSTV Points/Broken.dat", "\"not closed;1\n");
    run("expect-dialog " + id(Groups::IDD) +
        "\n"
        "expect-items 1336 \"anchors|Broken|Welds\"\n"
        "select 1336 1\n"
        "answer ok\n"
        "click 1334\n"
        "expect-message " +
        quoted(dialString(9892)) + "\nclick 1\n");
    EXPECT_EQ(group("Broken"), "\"not closed;1\n");
}

TEST_F(DlgDstvPointsTest, rowsThatAreNoRuleAreNamedBeforeEditingInAMessageThatFits) {
    std::string rows = "Good;1;0;2;0;1;0;0;50;0;0;16\n";
    for (int i = 0; i < 30; ++i)
        rows += "bad" + std::to_string(i) + ";1;9\n";
    lib.write("DSTV Points/Other.dat", rows);
    run("expect-dialog " + id(Groups::IDD) + "\nselect 1336 1\nanswer ok\nclick 1334\nexpect-dialog " +
        id(Edit::IDD) + "\nexpect-message " + quoted(dialString(9893)) +
        "\nexpect-items 1325 \"Good\"\nclick 2\nclick 1\n");
    ASSERT_EQ(agent.messages().size(), 1u);
    const std::string& text = agent.messages()[0].text;
    EXPECT_NE(text.find(":2: "), std::string::npos) << "the first bad row is named by its line";
    EXPECT_EQ(text.find("bad29"), std::string::npos) << "thirty rows are not all listed";
    EXPECT_EQ(text.substr(text.size() - 4), "\n...");
    EXPECT_EQ(group("Other"), rows) << "cancelled: the rows are still there";
}

TEST_F(DlgDstvPointsTest, theLauncherOpensItsOwnTemplateWhateverTheCallersResourcesHold) {
    // A calling module whose own resources are searched first and hold a dialog of the same number.
    auto caller = std::make_shared<ui::ResourceSet>();
    std::string error;
    ASSERT_TRUE(ui::parseResourceScript("234 DIALOGEX 0, 0, 100, 40\nCAPTION \"other\"\nBEGIN\n"
                                        "    DEFPUSHBUTTON \"OK\", 1, 4, 4, 40, 14\nEND\n",
                                        "caller.rc", *caller, error))
        << error;
    caller->name = "dstv-caller";
    ui::Resources::add(caller);
    const std::string before = ui::Resources::setCurrent("dstv-caller");
    run("expect-dialog " + id(Groups::IDD) + "\nexpect-items 1336 \"anchors|Welds\"\nclick 1\n");
    EXPECT_EQ(ui::Resources::current(), "dstv-caller") << "the caller's look-up is given back";
    ui::Resources::setCurrent(before);
    ui::Resources::remove("dstv-caller");
}

// The point editor alone, on rules made here.
class DlgDstvPointEditTest : public DlgDstvPointsTest {
protected:
    Edit dlg;
    void SetUp() override {
        DlgDstvPointsTest::SetUp();
        Vor_DstvPointInfo a, b;
        a.setName("a");
        a.setSelectGeomExtent(true, 2, 0);
        b.setName("b");
        b.setSelectGeomExtent(false, 0, 2);
        b.setSelectIntersGeom(true, true, 1);
        b.setDrillFullHole(false, true, 20);
        dlg.rules = Vor_Array<Vor_DstvPointInfo>{a, b};
    }
    int edit(const std::string& script) {
        agent.setScript("expect-dialog " + id(Edit::IDD) + "\n" + script, "t.vsc");
        const int code = dlg.doModal();
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return code;
    }
};

TEST_F(DlgDstvPointEditTest, sidesStayInDifferentPairs) {
    edit("expect-sel 1330 2\nexpect-sel 1338 0\n"
         "select 1330 1\nexpect-sel 1338 2\n" // 1 and 0 share a pair: side 2 moves to 2
         "select 1330 3\nexpect-sel 1338 0\n" // 3 and 2 share a pair: side 2 moves to 0
         "select 1330 2\nexpect-sel 1338 0\n" // 2 and 0 are apart: nothing changes
         "select 1338 3\nexpect-sel 1330 0\n" // the other way round
         "click 1\n");
    EXPECT_EQ(dlg.rules[0].sideSelection1(), 0);
    EXPECT_EQ(dlg.rules[0].sideSelection2(), 3);
}

TEST_F(DlgDstvPointEditTest, controlsAreEnabledByTheChoiceAndTheFullHole) {
    edit("expect-state 1355 checked\nexpect-state 1356 unchecked\n"
         "expect-text 1001 \"50.000\"\nexpect-text 1002 \"16.000\"\n"
         "expect-state 1330 enabled\nexpect-state 1332 disabled\nexpect-state 1333 disabled\n"
         "expect-state 1337 disabled\nexpect-state 1002 disabled\nexpect-state 1125 disabled\n"
         "click 1356\n"
         "expect-state 1355 unchecked\nexpect-state 1330 disabled\nexpect-state 1332 enabled\n"
         "expect-state 1333 enabled\nexpect-state 1337 disabled\n"
         "click 1336\n"
         "expect-state 1337 enabled\nexpect-state 1002 enabled\nexpect-state 1125 enabled\n"
         "expect-text 1125 " +
         quoted(dialString(860)) +
         "\n"
         "click 1337\nexpect-text 1125 " +
         quoted(dialString(859)) +
         "\n"
         "click 1355\nexpect-state 1337 disabled\n" // a size by thickness needs the intersection
         "select 1325 1\n"
         // Full hole unchecked: the size and its label are off whatever the other boxes say.
         "expect-state 1356 checked\nexpect-state 1337 checked\n"
         "expect-state 1337 disabled\nexpect-state 1002 disabled\nexpect-state 1125 disabled\n"
         "expect-text 1125 " +
         quoted(dialString(859)) + "\nexpect-sel 1332 1\nclick 2\n");
}

TEST_F(DlgDstvPointEditTest, newAndDeleteRulesKeepThePlaceAndTheListInStep) {
    edit("select 1325 1\n"
         "click 1327\n"
         "expect-dialog 8069\nexpect-text 8600 " +
         quoted(dialString(855)) +
         "\n"
         "type 8003 \"New\"\n"
         "click 1\n"
         "expect-items 1325 \"a|New|b\"\n" // at the place of the shown rule
         "expect-sel 1325 1\n"
         "expect-text 1000 \"New\"\nexpect-text 1001 \"50.000\"\nexpect-text 1002 \"16.000\"\n"
         "expect-state 1355 checked\nexpect-sel 1330 0\nexpect-sel 1338 2\n"
         "select 1325 2\n"
         "click 1328\n" // the last: the new last is shown
         "expect-items 1325 \"a|New\"\n"
         "expect-sel 1325 1\nexpect-text 1000 \"New\"\n"
         "click 1328\nclick 1328\n"
         "expect-items 1325 \"\"\n"
         "expect-text 1000 \"\"\n"
         "expect-state 1000 disabled\nexpect-state 1328 disabled\nexpect-state 1327 enabled\n"
         "click 1327\nexpect-dialog 8069\ntype 8003 \"Only\"\nclick 1\n"
         "expect-items 1325 \"Only\"\nexpect-state 1000 enabled\n"
         "click 1\n");
    ASSERT_EQ(dlg.rules.length(), 1);
    EXPECT_EQ(dlg.rules[0], [] {
        Vor_DstvPointInfo r;
        r.setName("Only");
        return r;
    }()) << "a new rule has the defaults";
}

TEST(DlgDstvPointsTexts, bothDialogsShowEveryTextInBothLanguages) {
    ui::ScriptedAgent agent;
    ui::setAgent(&agent);
    for (const char* lang : {"en", "nl"}) {
        ASSERT_TRUE(loadTextCatalogues(std::string(VOR_SOURCE_DIR) + "/data/install/", lang));
        Groups groups;
        Edit edit;
        edit.rules = Vor_Array<Vor_DstvPointInfo>{Vor_DstvPointInfo()};
        for (ui::Dialog* d : {static_cast<ui::Dialog*>(&groups), static_cast<ui::Dialog*>(&edit)}) {
            ASSERT_TRUE(d->create());
            EXPECT_NE(d->windowText().rfind('#', 0), 0u) << lang << ": caption";
            for (const ui::Control* c : d->controls()) {
                EXPECT_NE(c->text().rfind('#', 0), 0u)
                    << lang << ": control " << c->id() << " misses its text";
                for (int i = 0; i < c->count(); ++i)
                    EXPECT_EQ(c->itemText(i).find('#'), std::string::npos)
                        << lang << ": item " << i << " of " << c->id();
            }
            d->destroyWindow();
        }
        EXPECT_EQ(edit.rules.length(), 1);
    }
    ASSERT_TRUE(loadTextCatalogues(std::string(VOR_SOURCE_DIR) + "/data/install/", "en"));
    ui::setAgent(nullptr);
}

} // namespace
