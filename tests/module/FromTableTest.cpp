// FROMTABLE and the evaluation dialog: a look-up reads the consulted table, never the calling one;
// keys and headers match in any letter case; a table that looks itself up, directly or through
// other tables, ends with no result instead of opening dialogs until the stack runs out.

#include "calc/FromTable.h"
#include "calc/ui/DlgFormulas.h"
#include "frame/ModuleResourceScope.h"

#include <cad/aced.h>
#include <host/Settings.h>
#include <sheet/SpreadControl.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

sheet::FnValue text(const std::string& t) {
    sheet::FnValue v;
    v.status = sheet::FnValue::Ok;
    v.kind = sheet::FnValue::Text;
    v.text = t;
    return v;
}
sheet::FnValue whole(int n) {
    sheet::FnValue v;
    v.status = sheet::FnValue::Ok;
    v.kind = sheet::FnValue::Whole;
    v.whole = n;
    return v;
}
sheet::FnValue floating(double d) {
    sheet::FnValue v;
    v.status = sheet::FnValue::Ok;
    v.kind = sheet::FnValue::Floating;
    v.floating = d;
    return v;
}
sheet::FnValue cellRef(int col, int row) {
    sheet::FnValue v;
    v.status = sheet::FnValue::Ok;
    v.kind = sheet::FnValue::Cell;
    v.cells = {col, row, col, row};
    return v;
}

/// A profile table: key column "Naam", value columns "Hoogte" (number) and "Opmerking" (text).
class Lookup : public testing::Test {
protected:
    void SetUp() override {
        t.SetMaxCols(4);
        t.SetMaxRows(4);
        t.SetData(1, 0, "Naam");
        t.SetData(2, 0, "Hoogte");
        t.SetData(3, 0, "Opmerking");
        t.SetData(4, 0, "Nummer");
        const char* rows[][4] = {{"HEA 200", "190", "licht", "5"},
                                 {"IPE 300", "300", "ligger", "12"},
                                 {"hea 200", "999", "tweede", "7"}};
        sheet::CellType number;
        t.SetTypeNumber(number, 0, 1, -1e6, 1e6, true);
        t.SetCellTypeRange(2, 1, 2, 4, number);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                t.SetData(c + 1, r + 1, rows[r][c]);
        caller.SetMaxCols(5);
        caller.SetMaxRows(5);
        caller.SetData(1, 1, "IPE 300");
    }
    sheet::SpreadControl tableControl, callerControl;
    TSpread t{&tableControl};
    TSpread caller{&callerControl};
};

TEST_F(Lookup, theTargetCellComesFromTheReferenceOrFromTheKeyLookup) {
    struct Case {
        std::vector<sheet::FnValue> args;
        sheet::CellPos expected;
        const char* why;
    };
    const Case cases[] = {
        {{text("x.sss"), cellRef(2, 3)}, {2, 3}, "two arguments: B3 names a cell of the consulted table"},
        {{text("x.sss"), cellRef(2, 3), cellRef(5, 5)}, {2, 3}, "three arguments: also by the reference"},
        {{text("x.sss"), text("B3")}, {-1, -1}, "a text is no reference"},
        {{text("x.sss"), text("naam"), text("HOOGTE"), text("IPE 300")},
         {2, 2},
         "header names match in any letter case"},
        {{text("x.sss"), text("Naam"), text("Hoogte"), text("hea 200")},
         {2, 1},
         "keys match in any letter case: the first matching row wins"},
        {{text("x.sss"), text("Naam"), text("Hoogte"), text("HEB 200")}, {-1, -1}, "a key that is not there"},
        {{text("x.sss"), text("Profiel"), text("Hoogte"), text("IPE 300")},
         {-1, -1},
         "a key column that is not there"},
        {{text("x.sss"), text("Naam"), text("Breedte"), text("IPE 300")},
         {-1, -1},
         "a value column that is not there"},
        {{text("x.sss"), text("Nummer"), text("Naam"), whole(12)},
         {1, 2},
         "a whole number 12 matches the text 12"},
        {{text("x.sss"), text("Nummer"), text("Opmerking"), floating(5)},
         {3, 1},
         "a floating 5 matches the text 5"},
        {{text("x.sss"), text("Naam"), text("Opmerking"), cellRef(1, 1)},
         {3, 2},
         "a reference key is the calling sheet's text (A1 = IPE 300)"},
    };
    for (const Case& c : cases) {
        const sheet::CellPos at = fromTableTarget(t, &caller, c.args);
        EXPECT_EQ(at.col, c.expected.col) << c.why;
        EXPECT_EQ(at.row, c.expected.row) << c.why;
    }
}

TEST_F(Lookup, argumentsTurnIntoTextsWithoutTheProcessLocale) {
    std::setlocale(LC_ALL, "nl_NL.UTF-8");
    std::string s;
    EXPECT_TRUE(fromTableArgText(floating(2.5), &caller, s));
    EXPECT_EQ(s, "2.5") << "a decimal point, whatever the desktop's language";
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(fromTableArgText(whole(-7), &caller, s));
    EXPECT_EQ(s, "-7");
    sheet::FnValue range;
    range.status = sheet::FnValue::Ok;
    range.kind = sheet::FnValue::Range;
    EXPECT_TRUE(fromTableArgText(range, &caller, s));
    EXPECT_EQ(s, "") << "a range is accepted as empty text";
    sheet::FnValue odd = range;
    odd.kind = 9;
    EXPECT_FALSE(fromTableArgText(odd, &caller, s)) << "an unknown kind is unusable";
}

TEST_F(Lookup, resultsTakeTheKindOfTheirCell) {
    sheet::CellType check;
    t.SetTypeCheckBox(check, 0, "", "", "");
    t.SetCellType(4, 4, check);
    t.SetData(4, 4, "1");
    sheet::FnValue r;
    readFromTableResult(t, 2, 2, r);
    EXPECT_EQ(r.kind, sheet::FnValue::Floating) << "number cells give their floating value";
    EXPECT_DOUBLE_EQ(r.floating, 300);
    EXPECT_EQ(fromTableResultLine(r), "Result is double: 300.000000\n");
    readFromTableResult(t, 3, 2, r);
    EXPECT_EQ(r.kind, sheet::FnValue::Text);
    EXPECT_EQ(r.text, "ligger");
    EXPECT_EQ(fromTableResultLine(r), "Result is string: ligger\n");
    readFromTableResult(t, 4, 4, r);
    EXPECT_EQ(r.kind, sheet::FnValue::Whole) << "check boxes give whole numbers";
    EXPECT_EQ(r.whole, 1);
    EXPECT_EQ(fromTableResultLine(r), "Result is long: 1\n");
    r.status = sheet::FnValue::NoResult;
    EXPECT_EQ(fromTableResultLine(r), "") << "nothing is printed without a result";
}

TEST_F(Lookup, badArgumentsGiveNoResultAndLoadNothing) {
    int loads = 0;
    auto load = [&](const std::string&) {
        ++loads;
        return true;
    };
    sheet::FnValue unreadable = text("x.sss");
    unreadable.status = sheet::FnValue::Unreadable;
    struct Case {
        std::vector<sheet::FnValue> args;
        const char* why;
    };
    const Case cases[] = {
        {{}, "no arguments"},
        {{unreadable, cellRef(1, 1)}, "an argument that could not be read"},
        {{whole(3), cellRef(1, 1)}, "a file name that is no text"},
    };
    for (const Case& c : cases) {
        sheet::FnValue r;
        r.status = sheet::FnValue::Ok;
        EXPECT_EQ(evaluateFromTable(t, &caller, &r, c.args, load), "") << c.why;
        EXPECT_EQ(r.status, sheet::FnValue::NoResult) << c.why;
    }
    EXPECT_EQ(loads, 0) << "none of them loads a table";
    sheet::FnValue r;
    const std::vector<sheet::FnValue> good{text("x.sss"), cellRef(2, 2)};
    EXPECT_EQ(evaluateFromTable(t, &caller, &r, good, [](const std::string&) { return false; }), "");
    EXPECT_EQ(r.status, sheet::FnValue::NoResult) << "a table that does not load gives no result";
}

TEST_F(Lookup, threeArgumentsFillTheCallersCellAndShowNothing) {
    sheet::FnValue r;
    const std::vector<sheet::FnValue> args{text("x.sss"), cellRef(3, 2), cellRef(4, 5)};
    EXPECT_EQ(evaluateFromTable(t, &caller, &r, args, [](const std::string&) { return true; }), "");
    EXPECT_EQ(r.status, sheet::FnValue::NoResult);
    std::string s;
    caller.GetData(4, 5, s);
    EXPECT_EQ(s, "ligger") << "D5 of the calling sheet receives C2 of the consulted table";
}

TEST(TablePath, developerFoldersAndRelativeNamesResolve) {
    const Vor_Settings saved = gSettings;
    gSettings.vorDir = "/opt/vorlane/";
    struct Case {
        const char* name;
        const char* base;
        const char* expected;
        const char* why;
    };
    const Case cases[] = {
        {"c:\\a\\t3.sss", "", "/opt/vorlane/a/t3.sss", "the developer folder is the installation's a/"},
        {"C:\\A\\sub\\x.sss", "", "/opt/vorlane/a/sub/x.sss", "in any letter case, with sub folders"},
        {"b.sss", "/data/tables", "/data/tables/b.sss", "a bare name sits beside the calling table"},
        {"/abs/b.sss", "/data/tables/", "/abs/b.sss", "an absolute name stays"},
        {"d:\\x\\b.sss", "", "d:/x/b.sss", "another drive is only given slashes"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolveTablePath(c.name, c.base), c.expected) << c.why;
    gSettings = saved;
}

// ---- the dialog: real tables, nested look-ups, cycles

class Formulas : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        dir = fs::temp_directory_path() /
              ("vor-fromtable-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        acutClearPrintedText();
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        fs::remove_all(dir);
        EXPECT_EQ(FromTableChain::depth(), 0u) << "every dialog takes its table off the chain";
        EXPECT_EQ(gCurrentFormulaSheet, nullptr) << "the current sheet returns to none";
    }
    /// Writes a table: cells as {col, row, text}; a text starting with '=' is a formula.
    std::string table(const std::string& name, const std::vector<std::tuple<int, int, std::string>>& cells,
                      int cols = 4, int rows = 4) {
        sheet::SpreadControl c;
        sheet::SSSetMaxCols(&c, cols);
        sheet::SSSetMaxRows(&c, rows);
        for (const auto& [col, row, t] : cells) {
            if (!t.empty() && t[0] == '=')
                EXPECT_TRUE(sheet::SSSetFormula(&c, col, row, t.substr(1))) << t;
            else
                sheet::SSSetData(&c, col, row, t);
        }
        const std::string path = (dir / name).string();
        EXPECT_TRUE(sheet::SSSaveToFile(&c, path));
        return path;
    }
    /// Evaluates cell (1, 1) of a table as EvaluateSS does; `script` answers the dialogs.
    std::string evaluate(const std::string& file, const std::string& script) {
        agent.setScript(script, "test");
        DlgFormulas dlg;
        dlg.mode = fmEvaluateCell;
        dlg.fileName = file;
        dlg.doModal();
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return dlg.evalText.str();
    }
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
    fs::path dir;
};

constexpr const char* kNestedThenOuter = "expect-dialog 133\nclick 1\nexpect-dialog 133\nclick 1\n";

TEST_F(Formulas, twoArgumentsReturnTheConsultedTablesCellNotTheCallers) {
    table("profielen.sss", {{2, 3, "HEA 200"}});
    const std::string a =
        table("vraag.sss", {{1, 1, "=FROMTABLE(\"profielen.sss\", B3)"}, {2, 3, "eigen B3"}});
    EXPECT_EQ(evaluate(a, kNestedThenOuter), "HEA 200");
    const std::string& out = acutPrintedText();
    EXPECT_NE(out.find("Loading spreadsheet:" + a + "\n"), std::string::npos);
    EXPECT_NE(out.find("Result is string: HEA 200\n"), std::string::npos);
}

TEST_F(Formulas, theReferenceIsACellOfTheConsultedTableEvenWhereTheFormulaStands) {
    // FROMTABLE("profielen.sss", A1) typed in A1 gave #CIRC!: the engine read A1 of the calling
    // table as an input of the formula in A1.
    table("profielen.sss", {{1, 1, "HEA 200"}, {2, 2, "IPE 300"}});
    const std::string a = table("vraag.sss", {{1, 1, "=FROMTABLE(\"profielen.sss\", A1)"}});
    EXPECT_EQ(evaluate(a, kNestedThenOuter), "HEA 200");
}

TEST_F(Formulas, fourArgumentsLookUpByColumnNamesAndKey) {
    table("profielen.sss", {{1, 0, "Naam"},
                            {2, 0, "Hoogte"},
                            {1, 1, "HEA 200"},
                            {2, 1, "190"},
                            {1, 2, "IPE 300"},
                            {2, 2, "300"}});
    const std::string a =
        table("vraag.sss", {{1, 1, "=FROMTABLE(\"profielen.sss\", \"NAAM\", \"hoogte\", \"ipe 300\")"}});
    EXPECT_EQ(evaluate(a, kNestedThenOuter), "300");
}

TEST_F(Formulas, aMissingKeyOrTableGivesNoResult) {
    table("profielen.sss", {{1, 0, "Naam"}, {2, 0, "Hoogte"}, {1, 1, "HEA 200"}, {2, 1, "190"}});
    const std::string a =
        table("vraag.sss", {{1, 1, "=FROMTABLE(\"profielen.sss\", \"Naam\", \"Hoogte\", \"HEB 100\")"}});
    EXPECT_EQ(evaluate(a, kNestedThenOuter), "");
    EXPECT_EQ(acutPrintedText().find("Result is"), std::string::npos) << "nothing printed without a result";
    const std::string b = table("vraag2.sss", {{1, 1, "=FROMTABLE(\"bestaat-niet.sss\", B3)"}});
    EXPECT_EQ(evaluate(b, kNestedThenOuter), "");
}

TEST_F(Formulas, threeArgumentsWriteIntoTheCallingSheet) {
    table("profielen.sss", {{2, 2, "IPE 300"}});
    const std::string a = table("vraag.sss", {{1, 1, "=FROMTABLE(\"profielen.sss\", B2, C4)"}});
    agent.setScript("expect-dialog 133\nclick 1\n", "test");
    DlgFormulas dlg;
    dlg.mode = fmEvaluateCell;
    dlg.fileName = a;
    ASSERT_TRUE(dlg.create());
    ASSERT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(dlg.evalText.str(), "") << "the formula itself shows no value";
    Vor_String s;
    dlg.sheet().getText(3, 4, kTextData, s);
    EXPECT_EQ(s, Vor_String("IPE 300")) << "C4 of the calling sheet receives B2 of the consulted table";
    EXPECT_EQ(acutPrintedText().find("Result is"), std::string::npos);
    dlg.destroyWindow();
}

TEST_F(Formulas, recalculateLooksTheValuesUpAgain) {
    // After opening, the current sheet is none again; Recalculate still looks up from this sheet.
    table("profielen.sss", {{2, 3, "gevonden"}});
    const std::string a = table("vraag.sss", {{1, 1, "=FROMTABLE(\"profielen.sss\", B3)"}, {2, 2, "=1+1"}});
    EXPECT_EQ(evaluate(a, "expect-dialog 133\nclick 1\n"
                          "expect-dialog 133\nclick 1107\n"
                          "expect-dialog 133\nclick 1\n"
                          "expect-dialog 133\nexpect-cell 1004 1 1 \"gevonden\"\nclick 1\n"),
              "gevonden");
    const std::string& out = acutPrintedText();
    const std::size_t first = out.find("Result is string: gevonden\n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(out.find("Result is string: gevonden\n", first + 1), std::string::npos)
        << "looked up a second time";
}

TEST_F(Formulas, aTableThatLooksItselfUpEndsWithNoResult) {
    // Each evaluation of the formula would load the same table again and evaluate the same formula.
    const std::string a = (dir / "zelf.sss").string();
    table("zelf.sss", {{1, 1, "=FROMTABLE(\"" + a + "\", B2)"}, {2, 2, "waarde"}});
    EXPECT_EQ(evaluate(a, "expect-dialog 133\nclick 1\n"), "") << "no result, and no nested dialog opened";
}

TEST_F(Formulas, aCycleThroughAnotherTableEndsWithNoResult) {
    // a.sss asks b.sss, whose B1 asks a.sss again: the second look-up of a.sss gives no result, so
    // B1 is empty and so is what a.sss receives.
    table("a.sss", {{1, 1, "=FROMTABLE(\"b.sss\", B1)"}, {3, 3, "uit a"}});
    table("b.sss", {{2, 1, "=FROMTABLE(\"a.sss\", C3)"}});
    EXPECT_EQ(evaluate((dir / "a.sss").string(), kNestedThenOuter), "");
    // with the cycle broken the same chain delivers
    table("b.sss", {{2, 1, "=FROMTABLE(\"c.sss\", C3)"}});
    table("c.sss", {{3, 3, "uit c"}});
    EXPECT_EQ(
        evaluate((dir / "a.sss").string(), "expect-dialog 133\nclick 1\n" + std::string(kNestedThenOuter)),
        "uit c");
}

TEST_F(Formulas, readingATableGivesTitleNamesAndShownTexts) {
    const std::string f = table("lijst.sss",
                                {{1, 0, "Pos"},
                                 {2, 0, "Profiel"},
                                 {3, 0, "Lengte"},
                                 {1, 1, "Staal"},
                                 {2, 1, "HEA 200"},
                                 {3, 1, "=2*3000"},
                                 {1, 2, "2"},
                                 {2, 2, "IPE 300"},
                                 {3, 2, "7200"}},
                                3, 2);
    Vor_String title;
    Vor_StringArray names;
    Vor_Array<Vor_StringArray> values;
    ReadSSFile(f, title, names, values);
    EXPECT_EQ(title, Vor_String("Staal")) << "the title is A1";
    ASSERT_EQ(names.length(), 3);
    EXPECT_EQ(names[2], Vor_String("Lengte"));
    ASSERT_EQ(values.length(), 2);
    ASSERT_EQ(values[0].length(), 3);
    EXPECT_EQ(values[0][0], Vor_String("Staal")) << "the title cell is also the first cell of the first row";
    EXPECT_EQ(values[0][2], Vor_String("6000")) << "a formula cell gives its computed value";
    EXPECT_EQ(values[1][1], Vor_String("IPE 300"));

    names = Vor_StringArray{"oud"};
    ReadSSFile((dir / "weg.sss").string(), title, names, values);
    EXPECT_TRUE(names.isEmpty() && values.isEmpty() && title.isEmpty())
        << "a table that does not load gives nothing";
}

TEST_F(Formulas, readingATableThatDeclaresMillionsOfCellsCostsWhatItHolds) {
    // A small file declaring 475,254 columns of 200 rows: every declared cell was read and given
    // back (3.9 GB). Now a table over the budget gives its used part, and one whose used part is
    // still over the budget gives nothing.
    const std::string f =
        table("breed.sss", {{1, 0, "Pos"}, {2, 0, "Profiel"}, {1, 1, "Staal"}, {2, 3, "IPE 300"}},
              sheet::kMaxColLimit, 200);
    ASSERT_LT(fs::file_size(f), 64u * 1024);
    Vor_String title;
    Vor_StringArray names;
    Vor_Array<Vor_StringArray> values;
    const auto start = std::chrono::steady_clock::now();
    ReadSSFile(f, title, names, values);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0);
    EXPECT_EQ(title, Vor_String("Staal"));
    ASSERT_EQ(names.length(), 2) << "the columns up to the last one used";
    ASSERT_EQ(values.length(), 3) << "the rows up to the last one used";
    EXPECT_EQ(values[2][1], Vor_String("IPE 300"));
    EXPECT_EQ(values[1][0], Vor_String("")) << "an empty cell in the used part is an empty text";

    const std::string far =
        table("ver.sss", {{1, 1, "Staal"}, {sheet::kMaxColLimit, 200, "ver weg"}}, sheet::kMaxColLimit, 200);
    ReadSSFile(far, title, names, values);
    EXPECT_TRUE(names.isEmpty() && values.isEmpty() && title.isEmpty()) << "a used part over the budget";

    const std::string small = table("klein.sss", {{1, 1, "Staal"}}, 3, 4);
    ReadSSFile(small, title, names, values);
    EXPECT_EQ(names.length(), 3) << "within the budget the declared size decides, as before";
    EXPECT_EQ(values.length(), 4);
}

TEST_F(Formulas, testBenchSavesLoadsAndSwitchesStyleAndRecalculation) {
    const std::string f = (dir / "bank.sss").string();
    DlgFormulas dlg;
    dlg.mode = fmEvaluateCell;
    ASSERT_TRUE(dlg.create());
    std::string error;
    auto click = [&](int id) { ASSERT_TRUE(ui::SimulatedUser::click(*dlg.item(id), error)) << error; };
    auto type = [&](int id, const std::string& t) {
        ASSERT_TRUE(ui::SimulatedUser::type(*dlg.item(id), t, error)) << error;
    };
    EXPECT_EQ(dlg.sheet().maxCols(), 8);
    EXPECT_EQ(dlg.sheet().maxRows(), 10);
    EXPECT_FALSE(dlg.sheet().GetBool(sheet::Sheet::kOptAutoRecalc)) << "automatic recalculation starts off";
    EXPECT_TRUE(dlg.item(DlgFormulas::IDC_RECALC)->isEnabled());

    dlg.sheet().setText(2, 2, "bewaard");
    type(DlgFormulas::IDC_FILENAME, f);
    click(DlgFormulas::IDC_SAVE);
    EXPECT_TRUE(fs::exists(f)) << "Save to File writes the table";
    type(DlgFormulas::IDC_FILENAME, (dir / "geen" / "x.sss").string());
    click(DlgFormulas::IDC_SAVE);
    click(DlgFormulas::IDC_LOAD);
    const std::string& out = acutPrintedText();
    EXPECT_NE(out.find("Loading spreadsheet:\n"), std::string::npos) << "printed also for an empty name";
    EXPECT_NE(out.find("Save failed\n"), std::string::npos);
    EXPECT_NE(out.find("Load failed\n"), std::string::npos);

    dlg.sheet().setText(2, 2, "overschreven");
    type(DlgFormulas::IDC_FILENAME, f);
    click(DlgFormulas::IDC_LOAD);
    Vor_String s;
    dlg.sheet().getText(2, 2, kTextData, s);
    EXPECT_EQ(s, Vor_String("bewaard")) << "Load from File brings the saved table back";

    ASSERT_TRUE(ui::SimulatedUser::check(*dlg.item(DlgFormulas::IDC_AUTOCALC), ui::BST_CHECKED, error))
        << error;
    EXPECT_TRUE(dlg.sheet().GetBool(sheet::Sheet::kOptAutoRecalc));
    EXPECT_FALSE(dlg.item(DlgFormulas::IDC_RECALC)->isEnabled()) << "nothing to recalculate by hand";
    ASSERT_TRUE(ui::SimulatedUser::check(*dlg.item(DlgFormulas::IDC_AUTOCALC), ui::BST_UNCHECKED, error))
        << error;
    EXPECT_FALSE(dlg.sheet().GetBool(sheet::Sheet::kOptAutoRecalc));
    EXPECT_TRUE(dlg.item(DlgFormulas::IDC_RECALC)->isEnabled());
    dlg.destroyWindow();
}

TEST_F(Formulas, referenceStyleRadiosCopyTheFormulasOfColumnFour) {
    const std::string f =
        table("stijl.sss", {{4, 1, "=B1+C1"}, {4, 2, "=SUM(B1:B2)"}, {2, 1, "1"}, {1, 5, "blijft"}}, 5, 6);
    DlgFormulas dlg;
    dlg.mode = fmEvaluateCell;
    dlg.fileName = f;
    dlg.evalCol = 2;
    ASSERT_TRUE(dlg.create());
    std::string error;
    auto cell = [&](int col, int row) {
        Vor_String s;
        dlg.sheet().getText(col, row, kTextData, s);
        return s.str();
    };
    ASSERT_TRUE(ui::SimulatedUser::click(*dlg.item(DlgFormulas::IDC_STYLE_R1C1), error)) << error;
    EXPECT_EQ(cell(1, 1), "RC[-2]+RC[-1]") << "D1's formula as R1C1 text in A1";
    EXPECT_EQ(cell(1, 2), "SUM(R[-1]C[-2]:RC[-2])");
    EXPECT_EQ(cell(1, 3), "") << "rows 1 to 4 are copied even when empty";
    EXPECT_EQ(cell(1, 5), "blijft") << "row 5 only when its formula is not empty";
    ASSERT_TRUE(ui::SimulatedUser::click(*dlg.item(DlgFormulas::IDC_STYLE_A1), error)) << error;
    EXPECT_EQ(cell(1, 1), "B1+C1");
    dlg.destroyWindow();
}

} // namespace
