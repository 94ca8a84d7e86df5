// The cutting stock dialog driven as a person would: entries, rows, files, the two modes, and the
// optimiser's round trip through real files.
#include "TempDir.h"

#include "production/ui/DlgCSP2.h"
#include "production/ui/DlgInfo.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <cut/CutFiles.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

const std::string D = std::to_string(DlgCSP2::IDD);

std::string id(int n) {
    return std::to_string(n);
}

class DlgCSP2Test : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        m_oldLib = gSettings.libDir;
        gSettings.libDir = lib.path();
    }
    void TearDown() override {
        gSettings.libDir = m_oldLib;
        ui::setAgent(nullptr);
    }
    // Two entries with rows in each list; entry 2 has no rows in list 3.
    static DlgCSP2Data sample() {
        DlgCSP2Data d;
        d.entryIds = Vor_Array<int>{3, 7};
        d.entryNames = Vor_StringArray{"HEA 200", "IPE 300"};
        d.list1.headers = Vor_StringArray{"Length", "Cost", "Count"};
        d.list2.headers = Vor_StringArray{"Mark", "Length", "Quantity"};
        d.list3.headers = Vor_StringArray{"Length", "Bars", "Pattern"};
        d.list1.storeRowsOf(3, {Vor_StringArray{"6000", "1", ""}});
        d.list1.storeRowsOf(7, {Vor_StringArray{"12000", "1", ""}});
        d.list2.storeRowsOf(3, {Vor_StringArray{"A1", "2500", "4"}, Vor_StringArray{"A2", "1000", "2"}});
        d.list2.storeRowsOf(7, {Vor_StringArray{"B1", "5000", "3"}});
        d.list3.storeRowsOf(3, {Vor_StringArray{"6000", "2", "old"}});
        return d;
    }
    ui::ScriptedAgent agent;
    TempDir lib;

private:
    Vor_String m_oldLib;
};

TEST_F(DlgCSP2Test, switchingEntriesKeepsEditsAndMovesTheEditedRowsToTheEnd) {
    DlgCSP2Data d = sample();
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "expect-caption \"" +
                        dialString(620).str() +
                        "\"\n"
                        "expect-items 9036 \"HEA 200|IPE 300\"\n"
                        "expect-cell 1322 1 0 \"Mark\"\n"
                        "expect-cell 1322 1 2 \"A2\"\n"
                        "cell 1322 2 2 \"1100\"\n"
                        "select 9036 1\n"
                        "expect-cell 1322 1 1 \"B1\"\n"
                        "expect-cell 1323 1 1 \"\"\n"
                        "select 9036 0\n"
                        "expect-cell 1322 2 2 \"1100\"\n"
                        "expect-state 9074 hidden\n"
                        "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.list2.rowsOf(3)[1][1], Vor_String("1100"));
    EXPECT_EQ(d.list2.rowEntryIds, (Vor_Array<int>{7, 3, 3}))
        << "both entries were stored; the last one shown last";
}

TEST_F(DlgCSP2Test, cancelLeavesTheCallersDataAsItWas) {
    DlgCSP2Data d = sample();
    const DlgCSP2Data before = d;
    agent.setScript("expect-dialog " + D + "\ncell 1321 1 1 \"9999\"\nclick " +
                        id(DlgCSP2::IDC_DELETE_ENTRY) + "\nclick 2\n",
                    "t.vsc");
    EXPECT_FALSE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_TRUE(d == before);
}

TEST_F(DlgCSP2Test, addingAndDeletingEntriesAndRows) {
    DlgCSP2Data d = sample();
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "click 8590\n"
                        "expect-dialog 8069\n"
                        "type 8003 \"UNP 100\"\n"
                        "click 1\n"
                        "expect-items 9036 \"HEA 200|IPE 300|UNP 100\"\n"
                        "expect-sel 9036 2\n"
                        "click 8606\n"
                        "cell 1322 1 1 \"U1\"\n"
                        "click 8606\n"
                        "click 8607\n"
                        "select 9036 1\n"
                        "click 8591\n" // the middle one: the same position is selected next
                        "expect-items 9036 \"HEA 200|UNP 100\"\n"
                        "expect-sel 9036 1\n"
                        "expect-cell 1322 1 1 \"U1\"\n"
                        "click 8591\n" // the last one: the new last is selected
                        "expect-sel 9036 0\n"
                        "click 8591\n" // the only one: nothing left
                        "expect-items 9036 \"\"\n"
                        "expect-cell 1322 1 1 \"\"\n"
                        "click 8606\n" // rows of no entry are not kept
                        "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.entryIds.length(), 0);
    EXPECT_EQ(d.list2.rows.length(), 0) << "deleting an entry removes its rows from every list";
    EXPECT_EQ(d.list1.rows.length(), 0);
}

TEST_F(DlgCSP2Test, aNewEntryGetsTheLargestIdentifierPlusOne) {
    DlgCSP2Data d = sample();
    agent.setScript("expect-dialog " + D +
                        "\nclick 8590\nexpect-dialog 8069\ntype 8003 \"X\"\nclick 1\n"
                        "click 8601\ncell 1321 1 1 \"6000\"\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.entryIds, (Vor_Array<int>{3, 7, 8}));
    EXPECT_EQ(d.list1.rowsOf(8).length(), 1);
}

TEST_F(DlgCSP2Test, exportKeepsTheFolderAsItIsAndAddsTheExtension) {
    DlgCSP2Data d = sample();
    const std::string folder = lib.path() + "Cutting Stock/HEA 200/";
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "answer file \"" +
                        folder +
                        "ORDER\"\n"
                        "click 8602\n"
                        "answer file \"" +
                        folder +
                        "Second.SHP\"\n"
                        "click 8602\n"
                        "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    // A whole path in lower case would name "cutting stock/hea 200/", a folder that does not exist here.
    EXPECT_EQ(lib.read("Cutting Stock/HEA 200/ORDER.shp"), "A1\xBF"
                                                           "2500\xBF"
                                                           "4\nA2\xBF"
                                                           "1000\xBF"
                                                           "2\n");
    EXPECT_TRUE(std::filesystem::exists(folder + "Second.SHP"))
        << "the extension in capitals is the extension";
    EXPECT_FALSE(std::filesystem::exists(lib.path() + "cutting stock"));
}

TEST_F(DlgCSP2Test, importReplacesTheEntrysRowsAndAFileThatCannotBeReadKeepsThem) {
    DlgCSP2Data d = sample();
    lib.write("Cutting Stock/HEA 200/Stock3.buy", "6000\xBF"
                                                  "5\xBF"
                                                  "new\n\n");
    lib.write("Cutting Stock/HEA 200/Stock4.buy", std::string(70 << 20, 'x')); // beyond the read budget
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "answer file \"" +
                        lib.path() +
                        "Cutting Stock/HEA 200/Stock3.buy\"\n"
                        "click 8603\n"
                        "expect-cell 1323 3 1 \"new\"\n"
                        "answer file \"" +
                        lib.path() +
                        "Cutting Stock/HEA 200/Stock4.buy\"\n"
                        "answer ok\n"
                        "click 8603\n"
                        "expect-message \"Stock4.buy\"\n"
                        "expect-cell 1323 3 1 \"new\"\n"
                        "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    ASSERT_EQ(d.list3.rowsOf(3).length(), 1);
    EXPECT_EQ(d.list3.rowsOf(3)[0][1], Vor_String("5"));
}

TEST_F(DlgCSP2Test, exportModeWritesListTwoOfEveryEntryAndLocksTheRest) {
    DlgCSP2Data d = sample();
    d.exportMode = true;
    lib.write("Cutting Stock/IPE 300/Stock4.shp", "old\n");
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "expect-text 8592 \"" +
                        dialString(628).str() +
                        "\"\n"
                        "expect-state 9074 visible\n"
                        "expect-state 8590 disabled\n"
                        "expect-state 1321 disabled\n"
                        "expect-state 1323 disabled\n"
                        "expect-state 8603 disabled\n"
                        "expect-state 8600 enabled\n"
                        "expect-state 1322 enabled\n"
                        "click 8592\n"
                        "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(lib.read("Cutting Stock/HEA 200/Stock1.shp"), "A1\xBF"
                                                            "2500\xBF"
                                                            "4\nA2\xBF"
                                                            "1000\xBF"
                                                            "2\n");
    EXPECT_EQ(lib.read("Cutting Stock/IPE 300/Stock5.shp"), "B1\xBF"
                                                            "5000\xBF"
                                                            "3\n");
    EXPECT_EQ(lib.read("Cutting Stock/IPE 300/Stock4.shp"), "old\n")
        << "an earlier file is never overwritten";
}

TEST_F(DlgCSP2Test, importAllWithoutFilesReportsAndChangesNothing) {
    DlgCSP2Data d = sample();
    const DlgCSP2Data before = d;
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "expect-text 8592 \"" +
                        dialString(629).str() +
                        "\"\n"
                        "click 8592\n"
                        "expect-dialog " +
                        id(DlgInfo::IDD) +
                        "\n"
                        "expect-caption \"" +
                        dialString(652).str() +
                        "\"\n"
                        "click 1\n"
                        "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    for (int list = 1; list <= 3; ++list)
        for (int entry : {3, 7})
            EXPECT_EQ(d.list(list).rowsOf(entry), before.list(list).rowsOf(entry))
                << "list " << list << " entry " << entry;
}

// Export, optimise and import through real files: the button writes each entry's parts and stock,
// the optimiser plans the bars and the plan is read back into the third list. The program vorcut,
// run on the same folder, plans the same bars.
TEST_F(DlgCSP2Test, optimiseAllRoundTripsThroughTheFiles) {
    DlgCSP2Data d = sample();
    d.list2.storeRowsOf(7, {Vor_StringArray{"B1", "5000", "3"}, Vor_StringArray{"long", "13000", "1"},
                            Vor_StringArray{"bad", "abc", "1"}});
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "click 8593\n"
                        "expect-dialog " +
                        id(DlgInfo::IDD) +
                        "\n"
                        "click 1\n"
                        "expect-cell 1323 1 1 \"6000\"\n"
                        "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();

    const std::string hea = lib.path() + "Cutting Stock/HEA 200/";
    for (const char* f : {"Stock1.shp", "Stock1.stk", "Stock1.buy"})
        EXPECT_TRUE(std::filesystem::exists(hea + f)) << f;
    // 4 x 2500 + 2 x 1000 = 12000 fits two bars of 6000 exactly.
    const Vor_Array<Vor_StringArray> bought = d.list3.rowsOf(3);
    ASSERT_GE(bought.length(), 2);
    EXPECT_EQ(bought[bought.length() - 1][0], Vor_String("Total"));
    EXPECT_EQ(bought[bought.length() - 1][1], Vor_String("2"));
    const Vor_Array<Vor_StringArray> ipe = d.list3.rowsOf(7);
    ASSERT_GE(ipe.length(), 2);
    EXPECT_EQ(ipe[ipe.length() - 1][0], Vor_String("Impossible"))
        << "the part longer than every stock length";
    EXPECT_EQ(ipe[ipe.length() - 2][1], Vor_String("2")) << "two parts of 5000 to a bar of 12000";

    const std::string cmd =
        std::string("\"") + VOR_BINARY_DIR + "/bin/vorcut\" --quiet \"" + hea + "\" > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_EQ(cut::splitRows(lib.read("Cutting Stock/HEA 200/Stock2.buy")),
              cut::splitRows(lib.read("Cutting Stock/HEA 200/Stock1.buy")));
}

TEST_F(DlgCSP2Test, optimiseAllWithoutStockLengthsSaysWhatIsMissing) {
    DlgCSP2Data d = sample();
    d.list1.removeRowsOf(3);
    agent.setScript("expect-dialog " + D + "\nclick 8593\nexpect-dialog " + id(DlgInfo::IDD) +
                        "\nclick 1\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.list3.rowsOf(3)[0][2], Vor_String("old")) << "no plan, the old rows stay";
    EXPECT_FALSE(std::filesystem::exists(lib.path() + "Cutting Stock/HEA 200/Stock1.buy"));
    EXPECT_TRUE(std::filesystem::exists(lib.path() + "Cutting Stock/IPE 300/Stock1.buy"));
}

// The kerf and minimum offcut typed in the dialog reach the plan and are kept for the next time:
// A 5800 fits a bar of 6000 only beside B 195 (kerf 3, offcut at least 500), two bars of A + B.
TEST_F(DlgCSP2Test, optimiseAllCutsWithTheKerfAndMinimumOffcutTyped) {
    DlgCSP2Data d = sample();
    d.list2.storeRowsOf(3, {Vor_StringArray{"A", "5800", "2"}, Vor_StringArray{"B", "195", "2"}});
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "type 9076 \"3\"\n"
                        "type 9078 \"500\"\n"
                        "click 8593\n"
                        "expect-dialog " +
                        id(DlgInfo::IDD) +
                        "\n"
                        "click 1\n"
                        "click 1\n"
                        "expect-dialog " +
                        D +
                        "\n"
                        "expect-text 9076 \"3\"\n"
                        "expect-text 9078 \"500\"\n"
                        "type 9076 \"1e30\"\n"
                        "answer ok\n"
                        "click 8593\n"
                        "expect-message \"" +
                        dialString(9817).str() +
                        "\"\n"
                        "click 2\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    DlgCSP2Data again = sample();
    EXPECT_FALSE(StartDlgCSP2(again)) << "the second dialog is cancelled";
    EXPECT_FALSE(agent.failed()) << agent.failure();
    const Vor_Array<Vor_StringArray> plan = d.list3.rowsOf(3);
    ASSERT_GE(plan.length(), 2);
    EXPECT_EQ(plan[0][2], Vor_String("A + B | offcut 0.0")) << "A beside B, not dropped";
    EXPECT_EQ(plan[plan.length() - 1][1], Vor_String("2"));
}

// A long run shows its progress and can be stopped: the best plan so far is kept and read back,
// and the other lists stay as typed.
TEST_F(DlgCSP2Test, aLongOptimisationShowsProgressAndStopsKeepingTheBestPlan) {
    DlgCSP2Data d = sample();
    Vor_Array<Vor_StringArray> parts;
    for (int i = 0; i < 150; ++i)
        parts.append(Vor_StringArray{"P" + std::to_string(i), std::to_string(397 + 37 * i % 2900), "3"});
    d.list2.storeRowsOf(3, parts);
    const int saved = DlgCSP2::showProgressAfterMs;
    DlgCSP2::showProgressAfterMs = 0;
    // Waits (in real time) until the progress window shows a round of the optimiser: the first
    // plans exist by then.
    agent.setHostHandler([&](const std::vector<std::string>& w, std::string& error) {
        if (w.empty() || w[0] != "wait-for-a-round") return ui::ScriptedAgent::HostResult::NotMine;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < until) {
            agent.advanceClock(250);
            const ui::Dialog* top = agent.openDialogs().empty() ? nullptr : agent.openDialogs().back();
            if (!top || top->templateId() != 8124) {
                error = "the run ended before it could be stopped";
                return ui::ScriptedAgent::HostResult::Failed;
            }
            const ui::Control* status = top->item(9082);
            if (status && status->text().find(dialString(9813).str()) != std::string::npos)
                return ui::ScriptedAgent::HostResult::Done;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        error = "no progress shown";
        return ui::ScriptedAgent::HostResult::Failed;
    });
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "click 8593\n"
                        "expect-dialog 8124\n"
                        "expect-caption \"" +
                        dialString(9812).str() +
                        "\"\n"
                        "wait-for-a-round\n"
                        "click 2\n"
                        "expect-dialog " +
                        id(DlgInfo::IDD) +
                        "\n"
                        "click 1\n"
                        "click 1\n",
                    "t.vsc");
    const bool ok = StartDlgCSP2(d);
    DlgCSP2::showProgressAfterMs = saved;
    ASSERT_TRUE(ok);
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.list2.rowsOf(3).length(), 150) << "the typed list stays";
    EXPECT_EQ(d.list3.rowsOf(7).length(), 0) << "the entry after the stop is not planned";
    const Vor_Array<Vor_StringArray> plan = d.list3.rowsOf(3);
    ASSERT_GE(plan.length(), 2) << "a plan was kept";
    const Vor_StringArray* total = nullptr;
    for (const Vor_StringArray& r : plan)
        if (r[0] == Vor_String("Total")) total = &r;
    ASSERT_NE(total, nullptr);
    EXPECT_NE((*total)[2].str().find("stopped"), std::string::npos) << (*total)[2].str();
}

// Rows of an entry apart from each other, and cells beyond the third column, come back on OK; after
// "Optimise all" the pattern column is as wide as its longest pattern.
TEST_F(DlgCSP2Test, nothingTypedOrReadIsDroppedAndThePlanColumnFitsItsText) {
    DlgCSP2Data d = sample();
    d.list2.rowEntryIds = Vor_Array<int>{3, 7, 3};
    d.list2.rows =
        Vor_Array<Vor_StringArray>{Vor_StringArray{"A1", "2500", "4", "note"},
                                   Vor_StringArray{"B1", "5000", "3"}, Vor_StringArray{"A2", "1000", "2"}};
    d.list3.removeRowsOf(3);
    std::string widths;
    agent.setHostHandler([&](const std::vector<std::string>& w, std::string& error) {
        if (w.empty() || w[0] != "check-plan-width") return ui::ScriptedAgent::HostResult::NotMine;
        const auto* dlg = dynamic_cast<const DlgCSP2*>(agent.openDialogs().back());
        if (!dlg) return ui::ScriptedAgent::HostResult::Failed;
        const Vor_Spread& g = dlg->sheet(3);
        for (int col : {0, 3}) {
            int px = 0;
            double text = 0, h = 0;
            g.GetColWidthInPixels(col, px);
            for (int r = 1; r <= g.maxRows(); ++r) {
                double tw = 0;
                g.CellTextSize(col, r, tw, h);
                text = std::max(text, tw);
            }
            if (px + 1 < text)
                error += "column " + std::to_string(col) + " is " + std::to_string(px) +
                         " pixels for text of " + std::to_string(int(text)) + "; ";
        }
        return error.empty() ? ui::ScriptedAgent::HostResult::Done : ui::ScriptedAgent::HostResult::Failed;
    });
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "expect-cell 1322 4 1 \"note\"\n"
                        "expect-cell 1322 1 2 \"A2\"\n"
                        "click 8593\n"
                        "expect-dialog " +
                        id(DlgInfo::IDD) +
                        "\n"
                        "click 1\n"
                        "check-plan-width\n"
                        "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    const Vor_Array<Vor_StringArray> rows = d.list2.rowsOf(3);
    ASSERT_EQ(rows.length(), 2) << "the third row, owned by the first entry, is kept";
    EXPECT_EQ(rows[0], (Vor_StringArray{"A1", "2500", "4", "note"})) << "the fourth cell too";
    EXPECT_EQ(rows[1], (Vor_StringArray{"A2", "1000", "2"})) << "the others keep their three";
}

// An entry name is one folder name: a typed name that climbs out is refused, and exporting an entry
// of such a name (from the caller's data) writes nothing outside "Cutting Stock/".
TEST_F(DlgCSP2Test, entryNamesThatAreNoFolderNameAreRefused) {
    DlgCSP2Data d = sample();
    agent.setScript("expect-dialog " + D +
                        "\n"
                        "click 8590\n"
                        "expect-dialog 8069\n"
                        "type 8003 \"../../x\"\n"
                        "answer ok\n"
                        "click 1\n"
                        "expect-message \"" +
                        dialString(9808).str() +
                        "\"\n"
                        "expect-items 9036 \"HEA 200|IPE 300\"\n"
                        "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.entryIds.length(), 2);

    DlgCSP2Data e = sample();
    e.exportMode = true;
    e.entryNames = Vor_StringArray{"../x", "IPE 300"}; // would be the library's own folder x
    agent.setScript("expect-dialog " + D + "\nanswer ok\nclick 8592\nexpect-message \"" +
                        dialString(9808).str() + "\"\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgCSP2(e));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_TRUE(std::filesystem::exists(lib.path() + "Cutting Stock/IPE 300/Stock1.shp"))
        << "the other entry";
    int files = 0;
    for (const auto& f : std::filesystem::recursive_directory_iterator(lib.path()))
        files += f.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1) << "nothing written for the name that climbs out";
}

} // namespace
