// The report builder: data that does not fit together is refused untouched; a built report holds
// the texts and numbers, the sums, the pictures over the columns they need, the template's looks
// and the table properties, in its file.

#include "calc/ReportBuilder.h"
#include "calc/TableDocument.h"
#include "calc/ui/DlgFormulas.h"
#include "calc/ui/DlgSpreadsheet.h"
#include "frame/ModuleResourceScope.h"

#include <host/Settings.h>
#include <sheet/SpreadControl.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

namespace fs = std::filesystem;

namespace {

class Report : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vor-report-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        data = sampleReport("", (dir / "uit.sss").string());
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string data_(int col, int row) {
        std::string s;
        grid.GetData(col, row, s);
        return s;
    }
    /// A template: row headers name the style rows, the "Column Names" row names columns.
    std::string makeTemplate() {
        sheet::SpreadControl c;
        TSpread t(&c);
        t.SetMaxCols(2);
        t.SetMaxRows(5);
        const char* rows[] = {"Title", "Regular", "Merged", "Total", "Column Names"};
        for (int r = 1; r <= 5; ++r)
            t.SetData(0, r, rows[r - 1]);
        t.SetData(2, 5, "gewicht"); // column 2 of the template styles "Gewicht"
        sheet::Font bold;
        bold.face = "DejaVu Sans";
        bold.weight = 700;
        t.SetFont(1, 1, bold);
        t.SetColor(1, 1, sheet::rgb(0, 0, 128), sheet::rgb(255, 255, 255));
        t.SetColor(1, 2, sheet::rgb(250, 250, 250), sheet::kDefaultColor);
        t.SetColor(2, 2, sheet::rgb(230, 255, 230), sheet::kDefaultColor);
        sheet::CellType right;
        t.SetTypeNumber(right, sheet::kAlignRight, 5, 0, 10);
        t.SetCellType(2, 2, right);
        t.SetColor(2, 4, sheet::rgb(255, 255, 0), sheet::kDefaultColor);
        t.SetColor(1, 3, sheet::rgb(200, 200, 255), sheet::kDefaultColor);
        const std::string path = (dir / "sjabloon.sss").string();
        EXPECT_TRUE(t.SaveToFile(path));
        return path;
    }
    fs::path dir;
    ReportTableData data;
    sheet::SpreadControl control, tplControl;
    TSpread grid{&control};
    TSpread tpl{&tplControl};
};

TEST_F(Report, mismatchedDataIsRefusedAndNothingChanges) {
    grid.SetMaxCols(2);
    grid.SetMaxRows(2);
    grid.SetData(1, 1, "eerder");
    struct Case {
        std::function<void(ReportTableData&)> spoil;
        const char* why;
    };
    const Case cases[] = {
        {[](ReportTableData& d) { d.decimals.pop_back(); }, "one decimals number short"},
        {[](ReportTableData& d) { d.decimals.push_back(2); }, "one decimals number too many"},
        {[](ReportTableData& d) { d.rows[1].removeAt(0); }, "a row one text short"},
        {[](ReportTableData& d) { d.rows[0].append("extra"); }, "a row one text too many"},
    };
    for (const Case& c : cases) {
        ReportTableData d = data;
        c.spoil(d);
        std::string error;
        EXPECT_FALSE(buildReport(grid, tpl, d, &error)) << c.why;
        EXPECT_FALSE(error.empty()) << c.why;
        EXPECT_EQ(data_(1, 1), "eerder") << c.why << ": the grid is untouched";
        EXPECT_FALSE(fs::exists(data.outputFile.str())) << c.why << ": no file";
    }
}

TEST_F(Report, cellsSumsAndPropertiesReachTheFile) {
    std::setlocale(LC_ALL, "nl_NL.UTF-8"); // numbers in the data have a point on every machine
    data.headerFile = "kop.ssh";
    data.varNames = Vor_StringArray{"Project"};
    data.varValues = Vor_StringArray{"Hal 3"};
    ASSERT_TRUE(buildReport(grid, tpl, data));
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(fs::exists(data.outputFile.str()));

    sheet::SpreadControl back;
    TSpread b(&back);
    ASSERT_TRUE(b.LoadFromFile(data.outputFile.str()));
    auto text = [&](int col, int row) {
        std::string s;
        b.GetData(col, row, s);
        return s;
    };
    EXPECT_EQ(b.GetMaxCols(), 4);
    EXPECT_EQ(b.GetMaxRows(), 3);
    EXPECT_EQ(text(2, 0), "Profiel") << "names in the header row";
    EXPECT_EQ(text(2, 1), "HEA 200 kolom met voetplaat") << "text columns keep their texts";
    EXPECT_EQ(text(4, 1), "253.20") << "number columns: two decimals, point whatever the locale";
    EXPECT_EQ(text(3, 2), "7,200") << "no decimals, thousands separators";
    std::string f;
    b.GetFormula(4, 3, f);
    EXPECT_EQ(f, "SUM(#1:#2)") << "bounds 0 and 1 are rows 1 and 2 of the column";
    EXPECT_EQ(text(4, 3), "557.00") << "the sum is calculated";
    sheet::CellType t;
    b.GetCellType(2, 1, t);
    EXPECT_EQ(t.kind, sheet::CellKind::Edit);
    EXPECT_TRUE(t.multiLine) << "the data asked for multi-line texts";
    EXPECT_EQ(t.maxLength, 9999);
    b.GetCellType(3, 1, t);
    EXPECT_EQ(t.kind, sheet::CellKind::Number);
    EXPECT_TRUE(t.thousands);
    EXPECT_DOUBLE_EQ(t.maximum, 99999999999999.0);

    std::string tag;
    b.GetCellTag(0, 0, tag);
    TableProperties p;
    ASSERT_TRUE(readTableProperties(Vor_String(tag), p));
    EXPECT_EQ(p.headerFile, Vor_String("kop.ssh"));
    EXPECT_EQ(p.marginLeft, 9);
    EXPECT_EQ(p.marginTop, 5);
    EXPECT_TRUE(p.colors && p.colHeader && p.cellSeperators && p.border);
    EXPECT_FALSE(p.rowHeader || p.smartPrint);
    EXPECT_EQ(p.varValues, Vor_StringArray{"Hal 3"});
}

TEST_F(Report, widthsFitTheTableWidth) {
    struct Case {
        std::vector<double> widths;
        double table;
        bool widen;
        std::vector<double> expected;
        const char* why;
    };
    const Case cases[] = {
        {{10, 20, 30, 40}, 50, false, {5, 10, 15, 20}, "too wide: shrunk in proportion"},
        {{10, 20, 30, 40}, 200, true, {20, 40, 60, 80}, "narrower and widening allowed: grown"},
        {{10, 20, 30, 40}, 200, false, {10, 20, 30, 40}, "narrower without widening: as given"},
        {{10, 20, 30, 40}, 0, true, {10, 20, 30, 40}, "no table width: as given"},
    };
    for (const Case& c : cases) {
        ReportTableData d = data;
        d.columnWidths = c.widths;
        d.tableWidth = c.table;
        d.allowWiden = c.widen;
        const std::vector<double> w = fitReportWidths(d);
        ASSERT_EQ(w.size(), c.expected.size()) << c.why;
        for (std::size_t i = 0; i < w.size(); ++i)
            EXPECT_NEAR(w[i], c.expected[i], 1e-9) << c.why;
    }
}

TEST_F(Report, picturesSpanTheColumnsTheirWidthNeedsAndMergedSpansJoin) {
    const std::string pic = (dir / "doorsnede.png").string();
    std::ofstream(pic) << "png";
    data.columnWidths = {20, 20, 20, 20}; // about 76 pixels each
    data.tableWidth = 0;
    data.pictures = {ReportPicture{pic, 1, 0}, ReportPicture{(dir / "weg.png").string(), 0, 1}};
    data.merged = {ReportSpan{0, 1, 2, 2}};
    auto size = [](const std::string&, int& w, int& h) {
        w = 120;
        h = 90;
        return true;
    };
    ASSERT_TRUE(buildReport(grid, tpl, data, nullptr, size));
    int ac, ar, nc, nr;
    ASSERT_EQ(grid.GetCellSpan(2, 1, ac, ar, nc, nr), sheet::kSpanAnchor);
    EXPECT_EQ(nc, 2) << "120 pixels need two columns of 76";
    EXPECT_EQ(nr, 1);
    int h = 0;
    grid.GetRowHeightInPixels(1, h);
    EXPECT_EQ(h, 90) << "the row takes the picture's height";
    sheet::CellType t;
    grid.GetCellType(2, 1, t);
    EXPECT_EQ(t.kind, sheet::CellKind::Picture);
    EXPECT_EQ(t.picture, pic);
    grid.GetCellType(1, 2, t);
    EXPECT_NE(t.kind, sheet::CellKind::Picture) << "a picture whose file is missing is left out";
    ASSERT_EQ(grid.GetCellSpan(1, 3, ac, ar, nc, nr), sheet::kSpanAnchor) << "the merged span";
    EXPECT_EQ(nc, 2);

    // a picture wider than the columns right of it ends at the last column
    data.pictures = {ReportPicture{pic, 3, 0}};
    data.merged.clear();
    ASSERT_TRUE(buildReport(grid, tpl, data, nullptr, size));
    EXPECT_EQ(grid.GetCellSpan(4, 1, ac, ar, nc, nr), sheet::kSpanNo) << "the last column alone";
    grid.GetCellType(4, 1, t);
    EXPECT_EQ(t.kind, sheet::CellKind::Picture);
}

TEST_F(Report, theTemplateStylesTitlesRegularCellsTotalsAndMergedSpans) {
    data.templateFile = makeTemplate();
    data.merged = {ReportSpan{0, 1, 1, 1}};
    ASSERT_TRUE(buildReport(grid, tpl, data));
    std::uint32_t back = 0, text = 0;
    grid.GetColor(2, 0, back, text);
    EXPECT_EQ(back, sheet::rgb(0, 0, 128))
        << "a column the template does not name looks like its first column";
    sheet::Font f;
    grid.GetFont(1, 0, f);
    EXPECT_EQ(f.weight, 700) << "the title row's font on the header cell";
    grid.GetColor(4, 1, back, text);
    EXPECT_EQ(back, sheet::rgb(230, 255, 230)) << "Gewicht is named in the Column Names row (any case)";
    grid.GetColor(2, 2, back, text);
    EXPECT_EQ(back, sheet::rgb(250, 250, 250)) << "the Regular row on data cells";
    grid.GetColor(4, 3, back, text);
    EXPECT_EQ(back, sheet::rgb(255, 255, 0)) << "the Total row on the sum cell";
    grid.GetColor(1, 2, back, text);
    EXPECT_EQ(back, sheet::rgb(200, 200, 255)) << "the Merged row on a merged span of that column";
    sheet::CellType t;
    grid.GetCellType(4, 1, t);
    EXPECT_EQ(t.kind, sheet::CellKind::Number);
    EXPECT_EQ(t.decimals, 2) << "the data decides the decimals";
    EXPECT_EQ(t.style & sheet::kAlignRight, std::uint32_t(sheet::kAlignRight))
        << "the template the alignment";
}

TEST_F(Report, reportDataReadsFromJson) {
    const auto j = nlohmann::json::parse(R"({"columnNames": ["A", "B"], "decimals": [-1, 1],
        "rows": [["x", "1.5"]], "sums": [{"col": 1, "from": 0, "to": 0, "row": 1}],
        "pictures": [{"file": "p.png", "col": 0, "row": 0}], "merged": [{"col1": 0, "col2": 1, "row1": 1, "row2": 1}],
        "tableWidth": 100, "allowWiden": true, "multiLine": true, "outputFile": "o.sss"})");
    const ReportTableData d = j.get<ReportTableData>();
    EXPECT_EQ(d.columnNames.length(), 2);
    EXPECT_EQ(d.decimals, (std::vector<int>{-1, 1}));
    ASSERT_EQ(d.rows.size(), 1u);
    EXPECT_EQ(d.sums, (std::vector<ReportSum>{{1, 0, 0, 1}}));
    EXPECT_EQ(d.merged, (std::vector<ReportSpan>{{0, 1, 1, 1}}));
    EXPECT_EQ(d.pictures.size(), 1u);
    EXPECT_TRUE(d.allowWiden && d.multiLine);
    EXPECT_THROW(nlohmann::json::parse(R"({"sums": [{"col": 1}]})").get<ReportTableData>(),
                 nlohmann::json::exception)
        << "a sum without its bounds is malformed";
}

TEST_F(Report, numbersOutsideTheirFieldsAreRefusedWithTheFieldsName) {
    // A sum in row 2,147,483,647 overflowed the row count before (UBSan); every number of the data
    // has a range now, in the JSON form and when the data is handed over directly.
    struct Case {
        const char* json;
        const char* field;
        std::function<void(ReportTableData&)> spoil;
    } cases[] = {
        {R"({"sums": [{"col": 0, "from": 0, "to": 0, "row": 2147483647}]})", "sums[0].row",
         [](ReportTableData& d) { d.sums[0].row = 2147483647; }},
        {R"({"sums": [{"col": -1, "from": 0, "to": 0, "row": 1}]})", "sums[0].col",
         [](ReportTableData& d) { d.sums[0].col = -1; }},
        {R"({"merged": [{"col1": 0, "col2": 2147483647, "row1": 0, "row2": 0}]})", "merged[0].col2",
         [](ReportTableData& d) {
             d.merged = {{0, 2147483647, 0, 0}};
         }},
        {R"({"pictures": [{"file": "p.png", "col": 0, "row": -5}]})", "pictures[0].row",
         [](ReportTableData& d) {
             d.pictures = {{"p.png", 0, -5}};
         }},
        {R"({"columnWidths": [12, 1e300]})", "columnWidths[1]",
         [](ReportTableData& d) { d.columnWidths[1] = 1e300; }},
        {R"({"tableWidth": -3})", "tableWidth", [](ReportTableData& d) { d.tableWidth = -3; }},
        {R"({"decimals": [2, 99]})", "decimals[1]", [](ReportTableData& d) { d.decimals[1] = 99; }},
        {R"({"sums": [{"col": 0, "from": 0, "to": 0, "row": 1.5}]})", "sums[0].row", nullptr},
    };
    for (const Case& c : cases) {
        try {
            (void)nlohmann::json::parse(c.json).get<ReportTableData>();
            ADD_FAILURE() << c.json << " was accepted";
        } catch (const nlohmann::json::exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.field), std::string::npos) << e.what();
        }
        if (!c.spoil) continue;
        ReportTableData d = data;
        c.spoil(d);
        std::string error;
        EXPECT_FALSE(buildReport(grid, tpl, d, &error)) << c.field;
        EXPECT_NE(error.find(c.field), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(data.outputFile.str())) << c.field << ": nothing written";
    }
    ReportTableData wide = data;
    wide.sums[0].row = kMaxReportRows - 1;
    wide.columnNames = Vor_StringArray();
    wide.decimals.clear();
    wide.rows.clear();
    for (int c = 0; c < 100; ++c) {
        wide.columnNames.append(Vor_String("k" + std::to_string(c)));
        wide.decimals.push_back(-1);
    }
    std::string error;
    EXPECT_FALSE(buildReport(grid, tpl, wide, &error))
        << "100 columns of 100,000 rows is over the cell budget";
    EXPECT_NE(error.find("cells"), std::string::npos) << error;
}

TEST_F(Report, aTemplateThatDeclaresAHugeSizeCostsWhatItHolds) {
    // A small template file that declares 475,254 columns of 200 rows: the look-up of the column
    // names went through every declared cell for every report column and did not end.
    {
        sheet::SpreadControl c;
        TSpread t(&c);
        ASSERT_TRUE(t.SetMaxCols(sheet::kMaxColLimit));
        ASSERT_TRUE(t.SetMaxRows(200));
        t.SetData(0, 2, "Regular");
        t.SetData(0, 5, "Column Names");
        t.SetData(sheet::kMaxColLimit, 200, "Gewicht"); // the last cell names the last column
        t.SetData(3, 9, "gewicht");                     // and an earlier row names it first
        t.SetColor(3, 2, sheet::rgb(230, 255, 230), sheet::kDefaultColor);
        ASSERT_TRUE(t.SaveToFile((dir / "groot.sss").string()));
    }
    ASSERT_LT(fs::file_size(dir / "groot.sss"), 64u * 1024);
    data.templateFile = (dir / "groot.sss").string();
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    ASSERT_TRUE(buildReport(grid, tpl, data, &error)) << error;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0);
    std::uint32_t back = 0, text = 0;
    grid.GetColor(4, 1, back, text);
    EXPECT_EQ(back, sheet::rgb(230, 255, 230))
        << "Gewicht takes the looks of the template column naming it first";
}

TEST_F(Report, theEditorsNewBuildsTheSampleFromTheBundledTemplateAndKeepsItsTable) {
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
    ui::setAgent(&agent);
    const Vor_Settings saved = gSettings;
    // the developer folder, with the bundled template, in a folder of our own
    fs::create_directories(dir / "a");
    fs::copy_file(fs::path(VOR_SOURCE_DIR) / "data/install/a/Template.sss", dir / "a/Template.sss");
    gSettings.vorDir = (dir.string() + "/");
    {
        DlgSpreadsheet ed;
        ASSERT_TRUE(ed.create());
        ed.grid().setText(1, 1, "eigen");
        ed.grid().setChanged(false);
        std::string error;
        ASSERT_TRUE(ui::SimulatedUser::menu(ed, DlgSpreadsheet::ID_NEW, error)) << error;
        Vor_String s;
        ed.grid().getText(1, 1, kTextData, s);
        EXPECT_EQ(s, Vor_String("eigen")) << "the editor's own table stays as it was";
        EXPECT_FALSE(ed.grid().changed());
        ed.destroyWindow();
    }
    gSettings = saved;
    ui::setAgent(nullptr);
    ASSERT_TRUE(fs::exists(dir / "a/test.sss"));
    sheet::SpreadControl back;
    TSpread b(&back);
    ASSERT_TRUE(b.LoadFromFile((dir / "a/test.sss").string()));
    std::string f;
    b.GetFormula(4, 3, f);
    EXPECT_EQ(f, "SUM(#1:#2)");
    sheet::Font font;
    b.GetFont(1, 0, font);
    EXPECT_EQ(font.weight, 700) << "the bundled template makes the titles bold";
}

} // namespace
