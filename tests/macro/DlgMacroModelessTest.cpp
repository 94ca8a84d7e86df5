// The table of modeless macro dialogs: which slot a new dialog takes, how the table shrinks, the
// close that waits while the host is busy with the dialog's macros, a dialog closing itself from its
// own handler, and the key its window place is kept under.
#include "macro/ui/DlgMacroModeless.h"

#include "frame/WindowPlacement.h"

#include <cad/Drawing.h>
#include <cad/DrawingFile.h>
#include <cad/aced.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DlgMacroModelessTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(configureSettings(defaultLibDir().str(), defaultInstallDir().str()));
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
        std::string error;
        ASSERT_TRUE(cad::openDrawing(defaultLibDir().str() + "Drawings/Hall.dwg", &error)) << error;
        macroHostSettings().regenerationDelayMs = 0;
    }
    void TearDown() override {
        macroHostSettings().regenerationDelayMs = 0;
        for (DlgMacro* d : gMacroDlgs)
            if (d) d->data.deferredClose = false;
        destroyAllMacroDialogs();
        agent.advanceClock(1000); // timers of closes still pending find nothing to do
        deleteClosedMacroDlgs();
        ui::setAgent(nullptr);
    }
    MacroData macros(const Vor_StringArray& names) {
        MacroData data;
        Vor_String error;
        EXPECT_TRUE(GetMacroDataByNames(names, data, &error)) << error.str();
        return data;
    }
    int open(const Vor_StringArray& names) {
        MacroData data = macros(names);
        int slot = -2;
        EXPECT_TRUE(StartDlgMacroModeless(true, data, slot));
        return slot;
    }
    /// The table as letters: the macro name of each slot's dialog, "-" for an empty slot.
    std::string table() const {
        std::string s;
        for (const DlgMacro* d : gMacroDlgs)
            s += d ? d->data.macroNames[0].str() + " " : "- ";
        return s;
    }
    ui::ScriptedAgent agent;
};

TEST_F(DlgMacroModelessTest, newDialogsTakeTheLastEmptySlotAndTheTableShrinksFromTheEnd) {
    EXPECT_EQ(open({"M1"}), 0);
    EXPECT_EQ(open({"M2"}), 1);
    EXPECT_EQ(open({"M3"}), 2);
    EXPECT_EQ(open({"M4"}), 3);
    ASSERT_TRUE(EndDlgMacroModeless(1));
    EXPECT_EQ(table(), "M1 - M3 M4 ") << "an inner slot stays, empty";
    ASSERT_TRUE(EndDlgMacroModeless(3));
    EXPECT_EQ(table(), "M1 - M3 ") << "the last slot goes";
    gMacroDlgs.append(nullptr); // [A, empty, B, empty]
    EXPECT_EQ(open({"M4"}), 3) << "the last empty slot is taken, not the first";
    EXPECT_EQ(open({"M2"}), 1) << "then the only empty one";
    ASSERT_TRUE(EndDlgMacroModeless(1));

    // ending the last of [A, empty, B] trims down to [A]
    ASSERT_TRUE(EndDlgMacroModeless(3));
    EXPECT_EQ(table(), "M1 - M3 ");
    ASSERT_TRUE(EndDlgMacroModeless(2));
    EXPECT_EQ(table(), "M1 ") << "the empty slot before the last goes too";
    EXPECT_FALSE(EndDlgMacroModeless(1)) << "past the end";
    EXPECT_FALSE(EndDlgMacroModeless(-1));

    MacroData out;
    out.dialogTitle = "untouched";
    EXPECT_FALSE(GetDlgMacroData(-1, out));
    EXPECT_FALSE(GetDlgMacroData(gMacroDlgs.length(), out));
    EXPECT_EQ(out.dialogTitle, Vor_String("untouched"));
    ASSERT_TRUE(GetDlgMacroData(0, out));
    EXPECT_EQ(out.macroNames[0], Vor_String("M1"));

    destroyAllMacroDialogs();
    EXPECT_TRUE(gMacroDlgs.isEmpty());
    destroyAllMacroDialogs(); // an empty table: nothing to do
    EXPECT_TRUE(ui::Dialog::openDialogs().empty()) << "every window went";
}

TEST_F(DlgMacroModelessTest, aCloseWaitsWhileTheHostIsBusyAndRetriesEvery50ms) {
    const int slot = open({"M1"});
    ASSERT_EQ(slot, 0);
    // the host writes a change into M1 and stays busy with it for 120 ms
    macroHostSettings().regenerationDelayMs = 120;
    MacroData m1 = macros({"M1"});
    int cell = -1;
    MacroTabData* tab = m1.findTabWithModule("Endplate");
    ASSERT_TRUE(tab && tab->findCellWithName("tp", &cell));
    tab->cells[cell].value = "22";
    ASSERT_TRUE(UpdateModule("Endplate", m1, {cell}, {}));
    acutClearPrintedText();
    ASSERT_TRUE(EndDlgMacroModeless(slot)) << "put off, not refused";
    ASSERT_TRUE(EndDlgMacroModeless(slot));
    EXPECT_EQ(pendingMacroDlgEnds(), 1) << "one pending close per dialog";
    EXPECT_NE(gMacroDlgs[slot], nullptr) << "still open";

    agent.advanceClock(50);
    EXPECT_NE(acutPrintedText().find("Delayed timer called.\n"), std::string::npos);
    EXPECT_NE(gMacroDlgs.length() > 0 ? gMacroDlgs[0] : nullptr, nullptr) << "busy for 70 ms more";
    agent.advanceClock(50);
    EXPECT_EQ(gMacroDlgs.length(), 1) << "still busy at 100 ms";
    agent.advanceClock(50);
    EXPECT_TRUE(gMacroDlgs.isEmpty()) << "closed at the first retry after the host let go";
    EXPECT_EQ(pendingMacroDlgEnds(), 0);
}

// A pending close belongs to its dialog: when that dialog goes another way and a new one takes its
// slot, the leftover timer must leave the new one alone.
TEST_F(DlgMacroModelessTest, aLeftoverTimerNeverClosesTheNewerDialogOfAReusedSlot) {
    ASSERT_EQ(open({"M1"}), 0);
    ASSERT_EQ(open({"M2"}), 1);
    gMacroDlgs[1]->data.deferredClose = true;
    ASSERT_TRUE(EndDlgMacroModeless(1));
    ASSERT_EQ(pendingMacroDlgEnds(), 1);
    gMacroDlgs[1]->data.deferredClose = false; // the host lets go, and ends the dialog itself
    ASSERT_TRUE(EndDlgMacroModeless(1));
    EXPECT_EQ(pendingMacroDlgEnds(), 0) << "dropped with its slot";
    ASSERT_EQ(open({"M3"}), 1) << "the freed slot is reused";
    agent.advanceClock(200);
    ASSERT_EQ(gMacroDlgs.length(), 2);
    ASSERT_NE(gMacroDlgs[1], nullptr) << "the newer dialog in the reused slot survives";
    EXPECT_EQ(gMacroDlgs[1]->data.macroNames[0], Vor_String("M3"));
}

// Close, OK and Cancel run in the dialog's own handler: the window and the slot go at once, the
// object only after the handler returned (ASan catches a use after it was freed).
TEST_F(DlgMacroModelessTest, aDialogClosingItselfGoesAtOnceAndIsDeletedAfterItsHandler) {
    ASSERT_EQ(open({"M1"}), 0);
    ASSERT_EQ(open({"M2"}), 1);
    const int prompts = acedPostCommandPromptCount();
    DlgMacro* second = gMacroDlgs[1];
    second->sendCommand(ui::IDOK);
    EXPECT_FALSE(second->exists()) << "the window went at once";
    EXPECT_EQ(table(), "M1 ");
    EXPECT_TRUE(second->data.closedByUser) << "the host can tell why it went";
    EXPECT_EQ(acedPostCommandPromptCount(), prompts + 1);
    gMacroDlgs[0]->sendCommand(ui::IDCANCEL);
    EXPECT_TRUE(gMacroDlgs.isEmpty());
    agent.advanceClock(5); // the sweep deletes both
}

TEST(DlgMacroPlacementTest, thePlacementNameFollowsTheMacrosAndIsASafeKey) {
    DlgMacro d;
    d.data.ids = {AcDbObjectId(), AcDbObjectId(), AcDbObjectId()};
    EXPECT_EQ(d.placementName(), "DLG_MACRO_EDITVARS_3_MACROS") << "three macros without group keys";
    d.data.groupKeys = {"ENDPLATES", "BASEPLATES"};
    d.data.filter1Index = 1;
    EXPECT_EQ(d.placementName(), "DLG_MACRO_EDITVARS_GROUP_BASEPLATES");
    d.data.filter1Index = 2;
    EXPECT_EQ(d.placementName(), "DLG_MACRO_EDITVARS_3_MACROS") << "an index outside the keys";
    d.data.ids = {AcDbObjectId()};
    EXPECT_EQ(d.placementName(), "DLG_MACRO_EDITVARS_") << "one macro without names";
    d.data.macroNames = {"M1"};
    EXPECT_EQ(d.placementName(), "DLG_MACRO_EDITVARS_M1");

    // names a person typed: no byte that the settings store reads as structure reaches it
    const std::vector<std::string> unsafe = {"a=b",    "[VORLANEV8]", "x\ny=1",
                                             "a/b\\c", "; comment",   std::string(300, 'L')};
    std::vector<std::string> keys;
    for (const std::string& name : unsafe) {
        d.data.macroNames = {Vor_String(name)};
        const std::string key = d.placementName();
        EXPECT_LE(key.size(), kMaxPlacementKey) << name;
        EXPECT_EQ(key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-"),
                  std::string::npos)
            << key;
        keys.push_back(key);
    }
    EXPECT_NE(safePlacementKey("a=b"), safePlacementKey("a;b"))
        << "names differing in unsafe bytes keep apart";
    for (std::size_t i = 0; i < keys.size(); ++i)
        for (std::size_t j = i + 1; j < keys.size(); ++j)
            EXPECT_NE(keys[i], keys[j]);
}

} // namespace
