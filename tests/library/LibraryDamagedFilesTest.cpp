// Damaged and hostile library files: the forgiving table reader keeps to the budgets of table line
// files, a table or a groups file not read cleanly is never written over (nor renamed or deleted),
// and a table name never reaches outside the library's prof/ folder.

#include "LibraryTestSupport.h"

#include "frame/LauncherTable.h"
#include "library/ProfTableText.h"
#include "library/Vor_ProfValuesTable.h"
#include "library/ui/DlgEditLibSections.h"

#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <ui/Script.h>

#include <cstdlib>
#include <filesystem>

namespace {

using ProfTableBudgets = LibraryFolder;

TEST_F(ProfTableBudgets, theForgivingReaderKeepsToTheBudgetsOfTableLineFiles) {
    using namespace lineTableBudget;
    // Every text starts with a quote left open, so that the strict reader refuses it and the
    // forgiving one is asked.
    const std::string open = "1\n\"SysName;I/O\n";
    const auto cellsOf = [](int n) {
        std::string line = "a";
        for (int i = 1; i < n; ++i)
            line += ";a";
        return line + "\n";
    };
    std::string manyCells = open + cellsOf(kMaxCellsPerLine + 1);
    std::string manyLines = open;
    for (int i = 0; i < kMaxLines; ++i)
        manyLines += "1\n";
    std::string allCells = open;
    const std::string fullLine = cellsOf(kMaxCellsPerLine);
    for (long long cells = 0; cells <= kMaxCells; cells += kMaxCellsPerLine)
        allCells += fullLine;
    const std::string longLine = open + std::string(kMaxLineBytes + 1, 'x') + "\n";
    struct Case {
        const char* why;
        const std::string& text;
        const char* problem;
    };
    const Case cases[] = {
        {"a line of more cells than a line may have", manyCells, "cells in a line"},
        {"more lines than a file may have", manyLines, "lines"},
        {"more cells than a file may have, in lines within their budget", allCells, "cells in the file"},
        {"a line longer than a line may be", longLine, "longer than 1 MiB"},
    };
    const Vor_StringArray langs{"English"};
    for (const Case& c : cases) {
        ProfTableContent content;
        EXPECT_FALSE(parseProfText(c.text, "Big.pr", langs, content)) << c.why;
        EXPECT_TRUE(content.rows.isEmpty()) << c.why << ": nothing is taken in";
        ASSERT_EQ(content.problems.length(), 1) << c.why;
        EXPECT_TRUE(content.problems[0].contains(c.problem)) << c.why << ": " << content.problems[0].str();
        EXPECT_TRUE(content.problems[0].startsWith("Big.pr")) << c.why << ": names the file";
    }
    // one cell fewer than the budget of a line still reads, forgivingly
    ProfTableContent content;
    ASSERT_TRUE(parseProfText(open + cellsOf(kMaxCellsPerLine), "Ok.pr", langs, content));
    EXPECT_FALSE(content.cleanly) << "read line by line";
    ASSERT_EQ(content.rows.length(), 1);
    EXPECT_EQ(content.rows[0].length(), kMaxCellsPerLine);

    // the table of a file beyond the budgets is no table, and keeps what it held
    writeTable("Big.pr", manyCells);
    Vor_ProfValuesTable t;
    t.rows.append(Vor_StringArray{"kept"});
    EXPECT_FALSE(t.readFromFile("Big.pr"));
    EXPECT_EQ(t.rows.length(), 1);
    ASSERT_FALSE(t.problems().isEmpty());
    EXPECT_TRUE(t.problems()[0].contains("cells in a line")) << t.problems()[0].str();
}

TEST_F(ProfTableBudgets, onlyATableReadAsItStandsCountsAsReadCleanly) {
    Vor_ProfValuesTable t;
    writeTable("A.pr", "1\nSysName;I/O\n10;1\n10;1\n"); // a repeated key is a note, not damage
    ASSERT_TRUE(t.readFromFile("A.pr"));
    EXPECT_TRUE(t.readCleanly());
    writeTable("B.pr", "1\nSysName;I/O\n\"10;1\n");
    ASSERT_TRUE(t.readFromFile("B.pr"));
    EXPECT_FALSE(t.readCleanly()) << "read line by line";
    EXPECT_FALSE(t.readFromFile("None.pr"));
    EXPECT_FALSE(t.readCleanly());
}

class DamagedLibrary : public LibraryFolder {
protected:
    void SetUp() override {
        LibraryFolder::SetUp();
        ui::setAgent(&agent);
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        LibraryFolder::TearDown();
    }
    ui::ScriptedAgent agent;
};

TEST_F(DamagedLibrary, aTableNotReadCleanlyIsShownButNeverSavedRenamedOrDeleted) {
    const std::string damaged = "1\nSysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                                "ais;Height\n\"100;1;A;A;A;A;96\n120;1;B;B;B;B;114\n";
    writeTable("Bad.pr", damaged);
    // a table over the budget: its size alone refuses it (a sparse file costs nothing here)
    writeTable("Huge.pr", "1\n");
    std::filesystem::resize_file(lib.file("prof/Huge.pr"), (std::uintmax_t(34) << 20) + 600000);
    const auto hugeSize = std::filesystem::file_size(lib.file("prof/Huge.pr"));
    const std::string script = "expect-dialog 209\n"
                               "expect-message \"<Bad> was not read cleanly\"\n" // said when shown
                               "expect-dialog 8716\n"
                               "expect-cell 1196 1 2 \"120\"\n" // shown as far as it goes
                               "expect-state 1201 disabled\n"   // rename, delete, save: not offered
                               "expect-state 1190 disabled\n"
                               "expect-state 1200 disabled\n"
                               "answer ok\n"
                               "click 1204\n" // a row: refused, saying why
                               "expect-message \"<Bad> was not read cleanly\"\n"
                               "answer ok\n"
                               "select 1248 1\n"
                               "expect-message \"larger than\"\n" // the reason is said
                               "expect-state 1201 disabled\n"
                               "expect-items 1248 \"Bad|Huge\"\n"
                               "expect-dialog 209\n"
                               "click 1\n";
    agent.setScript(script, "t.vsc");
    agent.runLine("answer ok"); // the note on the first table comes as the dialog opens
    DlgEditLibData data;
    EXPECT_TRUE(StartDlgEditLibSections(data, "Bad-100"));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(lib.read("prof/Bad.pr"), damaged) << "the file is as it was";
    ASSERT_TRUE(fileExists(lib.file("prof/Huge.pr"))) << "renaming did not delete it";
    EXPECT_EQ(std::filesystem::file_size(lib.file("prof/Huge.pr")), hugeSize);
    EXPECT_EQ(lib.entryCount(), 2) << "prof/ and User Sections/ only";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(lib.file("prof")), {}), 3)
        << ".keep, Bad.pr and Huge.pr: no new file";
}

TEST_F(DamagedLibrary, damagedGroupsAndTypesAreSaidAtOnceAndNeverWrittenOver) {
    const std::string groups = "Id;Enabled;Image;English\n1;1;;I\n2;1;;U\nx;1;;Lost\n3;1;;L\n";
    const std::string types = "Enabled;Image;Group;Table;English\n1;;1;IPE;IPE\n1;;two;UPN;UPN\n";
    writeTable("groups.grp", groups);
    writeTable("types.typ", types);
    DlgEditLibData data;
    std::string error;
    EXPECT_TRUE(data.load(&error));
    EXPECT_NE(data.m_readFaults.find("groups.grp:4: no group number"), std::string::npos)
        << data.m_readFaults;
    EXPECT_NE(data.m_readFaults.find("types.typ:3: the group \"two\" is no number"), std::string::npos)
        << data.m_readFaults;
    // the dialog says so as it opens; OK keeps the edits in memory but the files are not written
    const std::string script = "expect-dialog 209\n"
                               "expect-message \"groups.grp:4: no group number\"\n"
                               "expect-dialog 8138\n"
                               "click 1190\n"
                               "expect-dialog 209\n"
                               "click 1\n";
    agent.setScript(script, "t.vsc");
    agent.runLine("answer ok");
    char* out = nullptr;
    ASSERT_EQ(vorCallLauncher("StartDlgEditLibSections", "{}", &out), 1);
    const std::string answer = out;
    std::free(out);
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_NE(answer.find("\"saved\":false"), std::string::npos) << answer;
    EXPECT_EQ(lib.read("prof/groups.grp"), groups);
    EXPECT_EQ(lib.read("prof/types.typ"), types);
    EXPECT_FALSE(data.save(&error));

    // clean files are written as before
    writeTable("groups.grp", "Id;Enabled;Image;English\n1;1;;I\n");
    writeTable("types.typ", "Enabled;Image;Group;Table;English\n1;;-1;IPE;IPE\n");
    ASSERT_TRUE(data.load());
    EXPECT_TRUE(data.m_readFaults.empty()) << data.m_readFaults;
    EXPECT_TRUE(data.save());
}

TEST_F(DamagedLibrary, aTableNameIsOnePartOfAPath) {
    lib.write("outside/x.pr", "1\nSysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                              "ais;h\n1;1;A 1;A 1;;;1\n");
    writeTable("T.pr", "1\nSysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                       "ais;h\n1;1;A 1;A 1;;;1\n");
    const std::string before = lib.read("outside/x.pr");
    for (const char* table : {"../outside/x", "..", ".", "", "a/b", "T\\x"}) {
        char* out = nullptr;
        const std::string args = nlohmann::json{{"table", table}, {"key", "1"}}.dump();
        EXPECT_EQ(vorCallLauncher("StartDlgEditLibSimple", args.c_str(), &out), 1) << table;
        const std::string answer = out ? out : "";
        std::free(out);
        EXPECT_NE(answer.find("\"result\":false"), std::string::npos) << table << ": " << answer;
        EXPECT_FALSE(agent.failed()) << table << ": no dialog opens";
    }
    EXPECT_EQ(lib.read("outside/x.pr"), before);
    Vor_ProfValuesTable t;
    EXPECT_FALSE(t.readFromFile("../outside/x.pr")) << "the table itself refuses a path";
    t.rows.append(Vor_StringArray{"1"});
    EXPECT_FALSE(t.writeToFile("../outside/x.pr"));
    EXPECT_EQ(lib.read("outside/x.pr"), before);

    // renaming refuses a name that is no single path part
    const std::string script = "expect-dialog 209\n"
                               "expect-dialog 8716\n"
                               "click 1201\n"
                               "expect-dialog 8069\n"
                               "type 8003 \"..\"\n"
                               "answer ok\n"
                               "click 1\n"
                               "expect-dialog 8716\n"
                               "expect-message \"file name\"\n"
                               "expect-items 1248 \"T\"\n"
                               "expect-dialog 209\n"
                               "click 2\n";
    agent.setScript(script, "t.vsc");
    DlgEditLibData data;
    EXPECT_FALSE(StartDlgEditLibSections(data, "T-1"));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_TRUE(fileExists(lib.file("prof/T.pr")));
}

} // namespace
