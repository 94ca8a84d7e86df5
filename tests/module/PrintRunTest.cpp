// The print commands of the editor run as a person would: the settings dialog on the table's
// properties, printing to PDF with the library's header file, the preview and its loop, printers
// with unprintable edges, and tables whose declared size is far beyond what they hold.

#include "calc/ui/PrintRun.h"
#include "calc/TableDocument.h"
#include "calc/ui/DlgPrintPreview.h"
#include "calc/ui/DlgSpreadsheet.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const std::string kKop = std::string(VOR_SOURCE_DIR) + "/data/lib/Calculation Tables/Kop.ssh";

/// What a command prints on its standard output.
std::string run(const std::string& cmd) {
    std::string out;
    if (FILE* f = popen(cmd.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, n);
        pclose(f);
    }
    return out;
}

/// The text of one page of a PDF, as poppler's pdftotext reads it.
std::string pdfPageText(const std::string& pdf, int page) {
    return run("pdftotext -q -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
               pdf + "' - 2>/dev/null");
}

bool havePdfToText() {
    return std::system("pdftotext -v >/dev/null 2>&1") == 0;
}

class PrintRun : public testing::Test {
protected:
    void SetUp() override {
        // The scripts below check the preview's page captions in Dutch.
        ASSERT_TRUE(loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "nl"));
        ui::setAgent(&agent);
        dir = fs::temp_directory_path() /
              ("vor-print-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_TRUE(ed.create());
    }
    void TearDown() override {
        EXPECT_LE(agent.openDialogs().size(), 1u) << "a print dialog stayed open";
        ed.destroyWindow();
        ui::setAgent(nullptr);
        fs::remove_all(dir);
    }
    Vor_Spread& grid() { return ed.grid(); }
    TableProperties props() {
        TableProperties p;
        readTableProperties(grid(), p);
        return p;
    }
    void setProps(const TableProperties& p) { ASSERT_TRUE(writeTableProperties(grid(), p)); }
    /// Rows of text in column 1.
    void fillRows(int rows) {
        grid().setMaxRows(rows);
        for (int r = 1; r <= rows; ++r)
            grid().setText(1, r, "rij " + std::to_string(r));
    }
    /// Runs an editor command under a script; the script must pass.
    /// Answers before the first dialog are given at once: the print dialog comes before any window.
    void command(int id, const std::string& script) {
        std::string rest = script;
        while (rest.rfind("answer ", 0) == 0) {
            const std::size_t end = rest.find('\n');
            ASSERT_TRUE(agent.runLine(rest.substr(0, end))) << agent.failure();
            rest = end == std::string::npos ? "" : rest.substr(end + 1);
        }
        agent.setScript(rest, "t.vsc");
        ed.sendCommand(id, 0);
        EXPECT_FALSE(agent.failed()) << agent.failure();
    }
    std::string pdf(const std::string& name) { return (dir / name).string(); }

    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
    DlgSpreadsheet ed;
    fs::path dir;
};

// ---- settings

TEST_F(PrintRun, undoingALaterEditKeepsTheChangedSettingsAndTheChangeFlag) {
    // A margin changed, a cell edited, the edit undone: the change flag went, and closing lost the
    // margin without a question. The settings are an undo step of their own now.
    ed.fileName = (dir / "t.sss").string();
    ASSERT_TRUE(ed.save(false));
    ASSERT_FALSE(grid().changed());
    const int before = props().marginLeft;
    command(DlgSpreadsheet::ID_PRINTSETUP, "expect-dialog 184\ntype 1066 \"40\"\nclick 1\n");
    ASSERT_EQ(props().marginLeft, 40);
    {
        Vor_Spread::ChangeScope change(grid());
        grid().aboutToChange({1, 1, 1, 1});
        grid().setText(1, 1, "bewerkt");
    }
    grid().setChanged(true);
    ASSERT_TRUE(ed.undo());
    EXPECT_EQ(props().marginLeft, 40) << "undoing the edit leaves the settings";
    EXPECT_TRUE(grid().changed()) << "the table still differs from its file: the save question comes";
    ASSERT_TRUE(ed.undo());
    EXPECT_EQ(props().marginLeft, before) << "the settings themselves can be undone";
    EXPECT_FALSE(grid().changed()) << "and then the table is the saved one";
}

TEST_F(PrintRun, tableVariablesAreSetFromTheMenuAndFromThePrintSettings) {
    // Headers printed "%Project%" as it stands: nothing let a person give the table its variables.
    // The editor's Settings menu and the print settings open a grid of names and values now.
    using V = DlgSpreadsheet;
    command(V::ID_VARIABLES, "expect-dialog 208\n"
                             "cell 1196 1 1 \"Project\"\n"
                             "cell 1196 2 1 \"Hal 4\"\n"
                             "click 1088\n"
                             "cell 1196 1 2 \"project\"\n" // the same name in other letters
                             "cell 1196 2 2 \"x\"\n"
                             "answer ok\n"
                             "click 1\n"
                             "expect-dialog 208\n"          // the grid comes back as typed ...
                             "expect-message \"(rij 2)\"\n" // ... after a message naming the row
                             "cell 1196 1 2 \" Datum \"\n"
                             "cell 1196 2 2 \"8-12-2026\"\n"
                             "click 1\n");
    TableProperties p = props();
    EXPECT_EQ(p.varNames, (Vor_StringArray{"Project", "Datum"})) << "names without the blanks around them";
    EXPECT_EQ(p.varValues, (Vor_StringArray{"Hal 4", "8-12-2026"}));
    LabelContext context;
    context.varNames = p.varNames;
    context.varValues = p.varValues;
    EXPECT_EQ(renderHeaderLabel("Project: %Project%, %datum%", 1, context).text, "Project: Hal 4, 8-12-2026");
    EXPECT_TRUE(grid().changed());
    ASSERT_TRUE(ed.undo());
    EXPECT_TRUE(props().varNames.isEmpty()) << "setting the variables is one undo step";
    ASSERT_TRUE(ed.redo());

    // From the print settings: the value changes with OK of the settings, not before.
    for (const char* end : {"click 2\n", "click 1\n"}) {
        command(V::ID_PRINTSETUP, std::string("expect-dialog 184\n"
                                              "click 1078\n"
                                              "expect-dialog 208\n"
                                              "cell 1196 2 1 \"Hal 5\"\n"
                                              "click 1\n"
                                              "expect-dialog 184\n") +
                                      end);
        if (std::string(end) == "click 2\n")
            EXPECT_EQ(props().varValues[0], Vor_String("Hal 4")) << "the settings were cancelled";
    }
    EXPECT_EQ(props().varValues[0], Vor_String("Hal 5"));
}

TEST_F(PrintRun, aPrintThatCannotBeLaidOutSaysSoInTheChosenLanguage) {
    // The message was English whatever the language; the catalogues here are Dutch.
    TableProperties p = props();
    p.marginLeft = p.marginRight = 150;
    setProps(p);
    const std::size_t before = agent.messages().size();
    command(DlgSpreadsheet::ID_PREVIEW, "answer print \"" + pdf("x.pdf") + "\"\nanswer ok\n");
    ASSERT_GT(agent.messages().size(), before);
    EXPECT_NE(agent.messages().back().text.find("geen ruimte voor de tabel"), std::string::npos)
        << agent.messages().back().text;
}

TEST_F(PrintRun, settingsShowTheTablePropertiesAndOkWritesThemAnew) {
    TableProperties p = props();
    p.headerFile = "kop.ssh";
    p.varNames.append("Lengte");
    p.varValues.append("1200");
    setProps(p);
    grid().setChanged(false);
    std::ofstream(dir / "voet.ssh") << "";
    command(DlgSpreadsheet::ID_PRINTSETUP, "expect-dialog 184\n"
                                           "expect-text 1060 \"kop.ssh\"\n"
                                           "expect-text 1066 \"9\"\n"
                                           "expect-text 1069 \"5\"\n"
                                           "expect-state 1067 unchecked\n"
                                           "expect-state 1071 checked\n"
                                           "type 1066 \"abc\"\n"
                                           "type 1068 \"12mm\"\n"
                                           "answer file \"" +
                                               (dir / "voet.ssh").string() +
                                               "\"\n"
                                               "click 1064\n"
                                               "click 1073\n"
                                               "check 1067 on\n"
                                               "check 1023 off\n"
                                               "click 1\n");
    TableProperties after = props();
    EXPECT_EQ(after.marginLeft, 0) << "a margin typed as text reads as 0";
    EXPECT_EQ(after.marginTop, 12);
    EXPECT_EQ(after.marginRight, 5);
    EXPECT_EQ(after.footerFile.str(), (dir / "voet.ssh").string()) << "the browsed file";
    EXPECT_EQ(after.headerFile.str(), "kop.ssh");
    EXPECT_TRUE(after.smartPrint);
    EXPECT_FALSE(after.border);
    ASSERT_EQ(after.varNames.length(), 1) << "variables kept";
    EXPECT_EQ(after.varValues[0].str(), "1200");
    EXPECT_TRUE(grid().changed()) << "the change flag is raised";
}

TEST_F(PrintRun, cancelledSettingsChangeNothing) {
    const TableProperties before = props();
    grid().setChanged(false);
    command(DlgSpreadsheet::ID_PRINTSETUP, "expect-dialog 184\ntype 1066 \"40\"\nanswer page landscape\n"
                                           "click 1058\nclick 2\n");
    EXPECT_EQ(props(), before);
    EXPECT_FALSE(grid().changed());
    // Page setup chosen in a cancelled dialog does not reach the printer: the next print is portrait.
    fillRows(3);
    command(DlgSpreadsheet::ID_PRINT, "answer print \"" + pdf("p.pdf") + "\"\n");
    sheet::PrintOptions o;
    grid().GetPrintOptions(o);
    EXPECT_FALSE(o.landscape);
}

TEST_F(PrintRun, pageSetupTurnsThePreview) {
    fillRows(3);
    command(DlgSpreadsheet::ID_PRINTSETUP, "expect-dialog 184\nanswer page landscape\nclick 1058\nclick 1\n");
    TablePrinter printer;
    // The editor keeps its printer; a preview of it is turned.
    command(DlgSpreadsheet::ID_PREVIEW,
            "answer print \"" + pdf("unused.pdf") + "\"\nexpect-dialog 180\nclick 1\n");
    sheet::PrintOptions o;
    grid().GetPrintOptions(o);
    EXPECT_TRUE(o.landscape);
    EXPECT_TRUE(gPreviewMode);
    EXPECT_FALSE(fs::exists(pdf("unused.pdf"))) << "a preview prints nothing";
}

// ---- printing

TEST_F(PrintRun, theLibraryHeaderShowsPageOfTotalOnEveryPage) {
    if (!havePdfToText()) FAIL() << "pdftotext (poppler-utils) is needed; ./vor installs it";
    fillRows(120); // three pages under the header on A4
    TableProperties p = props();
    p.headerFile = kKop;
    p.varNames.append("Project");
    p.varValues.append("Hal Noord");
    setProps(p);
    command(DlgSpreadsheet::ID_PRINT, "answer print \"" + pdf("tabel.pdf") + "\"\n");
    ASSERT_TRUE(fs::exists(pdf("tabel.pdf")));
    EXPECT_EQ(gTotalPages, 3);
    EXPECT_FALSE(gPreviewMode);
    const std::string page2 = pdfPageText(pdf("tabel.pdf"), 2);
    EXPECT_NE(page2.find("Blad 2 van 3"), std::string::npos) << page2;
    EXPECT_NE(page2.find("Project: Hal Noord"), std::string::npos) << "a table variable";
    EXPECT_NE(page2.find("Onderdeel: %Onderdeel%"), std::string::npos) << "an unknown variable stays";
    EXPECT_NE(page2.find("rij 60"), std::string::npos) << "the table under the header";
    EXPECT_NE(pdfPageText(pdf("tabel.pdf"), 3).find("Blad 3 van 3"), std::string::npos);
    EXPECT_EQ(pdfPageText(pdf("tabel.pdf"), 4), "") << "three pages only";
}

TEST_F(PrintRun, aPageRangePrintsThosePagesCountedInTheWhole) {
    if (!havePdfToText()) FAIL() << "pdftotext (poppler-utils) is needed; ./vor installs it";
    fillRows(120);
    TableProperties p = props();
    p.footerFile = kKop; // a footer file is a header file below the table
    setProps(p);
    command(DlgSpreadsheet::ID_PRINT, "answer print \"" + pdf("r.pdf") + "\" pages 2-3\n");
    const std::string first = pdfPageText(pdf("r.pdf"), 1);
    EXPECT_NE(first.find("Blad 2 van 3"), std::string::npos) << first;
    EXPECT_NE(pdfPageText(pdf("r.pdf"), 2).find("Blad 3 van 3"), std::string::npos);
    EXPECT_EQ(pdfPageText(pdf("r.pdf"), 3), "");
}

TEST_F(PrintRun, theSelectionPrintsAlone) {
    if (!havePdfToText()) FAIL() << "pdftotext (poppler-utils) is needed; ./vor installs it";
    fillRows(120);
    ASSERT_TRUE(grid().SetSelectBlock({1, 70}, {1, 72}));
    command(DlgSpreadsheet::ID_PRINT, "answer print \"" + pdf("s.pdf") + "\" selection\n");
    const std::string text = pdfPageText(pdf("s.pdf"), 1);
    EXPECT_NE(text.find("rij 71"), std::string::npos) << text;
    EXPECT_EQ(text.find("rij 69"), std::string::npos);
    EXPECT_EQ(gTotalPages, 1);
}

TEST_F(PrintRun, cancelInThePrintDialogPrintsNothing) {
    fillRows(3);
    command(DlgSpreadsheet::ID_PRINT, "answer cancel-dialog\n");
    command(DlgSpreadsheet::ID_PREVIEW, "answer cancel-dialog\n");
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_TRUE(agent.messages().empty()) << "a cancel is no failure";
}

TEST_F(PrintRun, aMissingHeaderPrintsTheTableWithoutIt) {
    if (!havePdfToText()) FAIL() << "pdftotext (poppler-utils) is needed; ./vor installs it";
    fillRows(5);
    TableProperties p = props();
    p.headerFile = (dir / "weg.ssh").string();
    setProps(p);
    command(DlgSpreadsheet::ID_PRINT, "answer print \"" + pdf("m.pdf") + "\"\n");
    EXPECT_NE(pdfPageText(pdf("m.pdf"), 1).find("rij 5"), std::string::npos);
    sheet::PrintOptions o;
    grid().GetPrintOptions(o);
    EXPECT_DOUBLE_EQ(o.headerHeight, 0) << "no room kept for it";
}

TEST_F(PrintRun, unprintableEdgesOfThePrinterShiftMarginsAndColumnFit) {
    ui::PrinterInfo printer;
    printer.dpiX = printer.dpiY = 600;
    printer.offsetX = 142; // 6.01 mm
    printer.offsetY = 95;  // 4.02 mm
    printer.drawWidth = 4960 - 2 * 142;
    printer.drawHeight = 7016 - 2 * 95;
    agent.setDefaultPrinter(printer);
    fillRows(5);
    TableProperties p = props();
    p.marginLeft = 5; // within the edge
    p.marginRight = 20;
    p.marginTop = 10;
    setProps(p);
    command(DlgSpreadsheet::ID_PRINT, "answer print \"" + pdf("e.pdf") + "\"\n");
    ASSERT_TRUE(fs::exists(pdf("e.pdf")));
    if (havePdfToText())
        EXPECT_NE(run("pdfinfo '" + pdf("e.pdf") + "' 2>/dev/null").find("(A4)"), std::string::npos)
            << "the paper is A4, not the smaller drawing area";
    sheet::PrintOptions o;
    grid().GetPrintOptions(o);
    const double offX = 142 / 600.0 * 25.4, offY = 95 / 600.0 * 25.4;
    EXPECT_DOUBLE_EQ(o.marginLeft, 0) << "5 mm on a 6 mm edge";
    EXPECT_DOUBLE_EQ(o.marginRight, (20 - offX) / 25.4 * 72);
    EXPECT_DOUBLE_EQ(o.marginTop, (10 - offY) / 25.4 * 72);
    // The columns fill the drawing area less both margins (the one within the edge counts as the
    // edge) and the 0.08 inch strip; 15 twips a pixel.
    const double off = 142 / 600.0;
    const double printable = (4676 / 600.0 - off - (20 / 25.4 - off) - 0.08) * 1440;
    int col0 = 0, sum = 0;
    grid().GetColWidthInPixels(0, col0);
    for (int c = 1; c <= grid().maxCols(); ++c) {
        int px = 0;
        grid().GetColWidthInPixels(c, px);
        sum += px;
    }
    EXPECT_NEAR((sum + col0) * 15.0, printable, 15.0 * grid().maxCols()) << "rounded to whole pixels";

    // In preview the same printer's edges count for nothing.
    command(DlgSpreadsheet::ID_PREVIEW,
            "answer print \"" + pdf("x.pdf") + "\"\nexpect-dialog 180\nclick 1\n");
    grid().GetPrintOptions(o);
    EXPECT_DOUBLE_EQ(o.marginLeft, 5 / 25.4 * 72);
    EXPECT_DOUBLE_EQ(o.marginRight, 20 / 25.4 * 72);
}

TEST_F(PrintRun, everyColumnHiddenStillPrints) {
    fillRows(3);
    for (int c = 1; c <= grid().maxCols(); ++c)
        grid().SetColWidthInPixels(c, 0);
    command(DlgSpreadsheet::ID_PRINT, "answer print \"" + pdf("h.pdf") + "\"\n");
    EXPECT_TRUE(fs::exists(pdf("h.pdf")));
    int px = -1;
    grid().GetColWidthInPixels(1, px);
    EXPECT_EQ(px, 0) << "hidden columns stay hidden";
}

// ---- preview

TEST_F(PrintRun, previewPagesZoomAndItsButtons) {
    fillRows(120);
    TableProperties p = props();
    p.headerFile = kKop;
    setProps(p);
    command(DlgSpreadsheet::ID_PREVIEW, "answer print \"" + pdf("v.pdf") +
                                            "\"\n"
                                            "expect-dialog 180\n"
                                            "expect-caption \"Afdrukvoorbeeld - Pagina 1 van 3\"\n"
                                            "expect-state 1076 disabled\n"
                                            "expect-state 1075 enabled\n"
                                            "click 1075\n"
                                            "expect-caption \"Afdrukvoorbeeld - Pagina 2 van 3\"\n"
                                            "expect-state 1076 enabled\n"
                                            "click 1075\n"
                                            "expect-state 1075 disabled\n"
                                            "click 1076\n"
                                            "expect-caption-contains \"Pagina 2 van\"\n"
                                            "click 1077\n"
                                            "expect-state 1077 enabled\n"
                                            "click 1077\n"
                                            "expect-state 1077 disabled\n"
                                            "click 1078\n"
                                            "click 1078\n"
                                            "click 1078\n"
                                            "expect-state 1078 disabled\n"
                                            "expect-state 1077 enabled\n"
                                            "key Escape\n");
    EXPECT_FALSE(fs::exists(pdf("v.pdf")));
}

TEST_F(PrintRun, previewPrintsAndComesBackAndShowsNewSettings) {
    fillRows(120);
    command(DlgSpreadsheet::ID_PREVIEW, "answer print \"" + pdf("unused.pdf") +
                                            "\"\n"
                                            "expect-dialog 180\n"
                                            "expect-caption-contains \"van 3\"\n"
                                            "answer print \"" +
                                            pdf("uit.pdf") +
                                            "\"\n"
                                            "click 1080\n"
                                            "expect-dialog 180\n"
                                            "click 1079\n"
                                            "expect-dialog 184\n"
                                            "type 1068 \"150\"\n"
                                            "type 1070 \"100\"\n"
                                            "click 1\n"
                                            "expect-dialog 180\n"
                                            "expect-caption-contains \"van 18\"\n"
                                            "click 1\n");
    EXPECT_TRUE(fs::exists(pdf("uit.pdf"))) << "code 2 printed";
    EXPECT_EQ(props().marginTop, 150) << "code 3 ran the settings";
}

TEST_F(PrintRun, aScriptThatFailsInThePreviewLeavesItWithoutPrinting) {
    // A failed script cancels what is open. The preview ends with code 2 to print and then opens
    // again, so a plain IDCANCEL (also 2) printed and reopened it for ever.
    fillRows(120);
    ASSERT_TRUE(agent.runLine("answer print \"" + pdf("unused.pdf") + "\""));
    agent.setScript("expect-dialog 180\nexpect-caption \"no such caption\"\n", "t.vsc");
    ed.sendCommand(DlgSpreadsheet::ID_PREVIEW, 0);
    EXPECT_TRUE(agent.failed());
    EXPECT_FALSE(fs::exists(pdf("unused.pdf"))) << "nothing printed";
}

// ---- tables that declare far more than they hold

TEST_F(PrintRun, aHugeDeclaredTableCostsWhatItHolds) {
    const std::string file = (dir / "groot.sss").string();
    std::ofstream(file) << R"({"format":"vorlane-sheet","version":1,"maxCols":475254,"maxRows":16000000,)"
                           R"("options":[7,8],"refStyle":1,"unitType":0,"activeCell":[1,1],)"
                           R"("selection":[0,0,0,0],"colWidths":[],"rowHeights":[],"styles":[],"types":[],)"
                           R"("spans":[],"formulas":[],"tags":[],"notes":[],)"
                           R"("columns":[{"col":1,"rows":[1,3],"values":["a","b","c"]},)"
                           R"({"col":4,"rows":[90,1],"values":[42]}]})";
    ASSERT_LE(fs::file_size(file), 411u);
    TableDocument doc(grid());
    ASSERT_TRUE(doc.load(file)) << doc.lastError();
    initTableDocument(grid(), false, file);
    ASSERT_EQ(grid().maxRows(), 16000000);
    const auto start = std::chrono::steady_clock::now();
    command(DlgSpreadsheet::ID_PREVIEW, "answer print \"" + pdf("x.pdf") +
                                            "\"\nexpect-dialog 180\nexpect-caption-contains \"van 2\"\n"
                                            "click 1075\nclick 1\n");
    command(DlgSpreadsheet::ID_PRINT, "answer print \"" + pdf("groot.pdf") + "\"\n");
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    EXPECT_EQ(gTotalPages, 2) << "rows 1-90 in two pages, not the declared 16 million rows";
    EXPECT_TRUE(fs::exists(pdf("groot.pdf")));
    EXPECT_LT(ms, 3000) << "preview and print of a few cells (sanitizer build)";
    sheet::CellRange printed;
    grid().GetPrintBlock(printed);
    EXPECT_EQ(printed, (sheet::CellRange{1, 1, 4, 90}));

    // A whole-column selection ends where the stored cells end.
    ASSERT_TRUE(grid().SetSelectBlock({4, sheet::kAll}, {4, sheet::kAll}));
    command(DlgSpreadsheet::ID_PRINT, "answer print \"" + pdf("kolom.pdf") + "\" selection\n");
    EXPECT_EQ(gTotalPages, 2);
}

} // namespace
