// The arithmetic of printing without windows: margins against unprintable edges, the print options
// of a run, fitting the columns to the paper, page setup, and header and footer bands on a page.

#include "calc/PrintTable.h"
#include "calc/ui/DlgPrintPreview.h"

#include <host/Texts.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

TEST(PrintMargins, whatIsLeftBeyondTheUnprintableEdge) {
    struct Case {
        int marginMm;
        double offsetMm, inches;
        const char* why;
    } cases[] = {
        {5, 6, 0, "a margin inside the edge gives 0"},
        {6, 6, 0, "a margin equal to the edge gives 0"},
        {20, 6, 14 / 25.4, "the rest beyond the edge"},
        {9, 0, 9 / 25.4, "no edge (preview): the margin itself"},
        {0, 0, 0, "no margin"},
        {-3, 0, 0, "a negative margin never pushes off the page"},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(engineMarginInches(c.marginMm, c.offsetMm), c.inches) << c.why;
    EXPECT_DOUBLE_EQ(dotsToMm(600, 600), 25.4);
    EXPECT_DOUBLE_EQ(dotsToMm(100, 0), 0) << "no resolution, no offset";
}

TEST(PrintMargins, theColumnFitCountsMarginsItsOwnWay) {
    const double off = 0.25; // inches
    EXPECT_DOUBLE_EQ(fitMarginInches(5, off), off) << "within the edge: the edge itself";
    EXPECT_DOUBLE_EQ(fitMarginInches(254, off), 10 - off);
    EXPECT_DOUBLE_EQ(fitMarginInches(5, 0), 5 / 25.4) << "preview";
    // 8 inches of drawing area less 1 and 0.5 inch margins and the 0.08 inch strip.
    EXPECT_DOUBLE_EQ(printableWidthTwips(4800, 600, 1, 0.5), (8 - 1.5 - 0.08) * 1440);
    EXPECT_DOUBLE_EQ(printableWidthTwips(4800, 0, 1, 0.5), 0) << "no resolution";
}

TEST(PrintMargins, marginFieldsReadAsAtoiReadsThem) {
    struct Case {
        const char* text;
        int value;
        const char* why;
    } cases[] = {
        {"12", 12, "a number"},
        {"  7", 7, "leading blanks"},
        {"-4", -4, "a sign"},
        {"12mm", 12, "digits up to the first other character"},
        {"12,5", 12, "a decimal part is cut"},
        {"abc", 0, "text that is no number reads as 0"},
        {"", 0, "an empty field"},
        {"99999999999999999999", 2147483647, "a huge number stops at the int range"},
        {"-99999999999999999999", -2147483647 - 1, "and a huge negative one"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(marginFromText(c.text), c.value) << c.why;
}

TEST(ColumnFit, eachColumnKeepsItsShareOfTheWidth) {
    std::vector<double> w{1000, 3000};
    ASSERT_TRUE(fitColumnWidths(w, 500, 8500));
    EXPECT_DOUBLE_EQ(w[0], 2000) << "a quarter of the 8000 twips beside column 0";
    EXPECT_DOUBLE_EQ(w[1], 6000);

    std::vector<double> wide{9000, 9000};
    ASSERT_TRUE(fitColumnWidths(wide, 0, 9000)) << "too wide tables shrink as well";
    EXPECT_DOUBLE_EQ(wide[0], 4500);

    std::vector<double> same{1000, 3000};
    EXPECT_FALSE(fitColumnWidths(same, 500, 4500)) << "already fits";
    EXPECT_EQ(same, (std::vector<double>{1000, 3000}));

    std::vector<double> hidden{0, 0, 0};
    EXPECT_FALSE(fitColumnWidths(hidden, 500, 8000)) << "all hidden: no division by a zero sum";
    EXPECT_EQ(hidden, (std::vector<double>{0, 0, 0}));

    std::vector<double> none;
    EXPECT_FALSE(fitColumnWidths(none, 500, 8000));

    std::vector<double> narrow{1000};
    EXPECT_FALSE(fitColumnWidths(narrow, 9000, 8000))
        << "row headers wider than the page: no negative widths";
    EXPECT_EQ(narrow[0], 1000);
}

ui::PrinterInfo printerWithEdges() {
    ui::PrinterInfo p;
    p.name = "Kantoor";
    p.dpiX = p.dpiY = 600;
    p.offsetX = 142; // 6.01 mm
    p.offsetY = 236; // 9.99 mm
    p.drawWidth = 4960 - 2 * 142;
    p.drawHeight = 7016 - 2 * 236;
    return p;
}

TEST(PrintOptionsOfARun, printerEdgesAndTableSwitches) {
    TableProperties props = TableProperties::newTable();
    props.marginLeft = 5;
    props.marginRight = 20;
    props.marginTop = 30;
    props.marginBottom = 10;
    props.colors = false;
    props.smartPrint = true;
    PrintRunSetup setup;
    setup.printer = printerWithEdges();
    setup.fromPage = 2;
    setup.toPage = 4;
    setup.headerHeight = 40;
    sheet::PrintOptions o = makePrintOptions(props, setup);
    const double offX = 142 / 600.0 * 25.4, offY = 236 / 600.0 * 25.4;
    EXPECT_DOUBLE_EQ(o.marginLeft, 0) << "5 mm lies within the 6 mm edge";
    EXPECT_DOUBLE_EQ(o.marginRight, (20 - offX) / 25.4 * 72) << "left and right use the horizontal edge";
    EXPECT_DOUBLE_EQ(o.marginTop, (30 - offY) / 25.4 * 72) << "top and bottom the vertical one";
    EXPECT_DOUBLE_EQ(o.marginBottom, (10 - offY) / 25.4 * 72);
    EXPECT_DOUBLE_EQ(o.pageWidth, 4676 / 600.0 * 72) << "the page is the drawing area";
    EXPECT_FALSE(o.colors);
    EXPECT_TRUE(o.smartPrint && o.gridLines && o.frame && o.colHeaders && o.rowHeaders);
    EXPECT_EQ(o.firstPage, 2);
    EXPECT_EQ(o.lastPage, 4);
    EXPECT_DOUBLE_EQ(o.headerHeight, 40);

    setup.preview = true;
    o = makePrintOptions(props, setup);
    EXPECT_DOUBLE_EQ(o.marginLeft, 5 / 25.4 * 72) << "in preview the margins are the table's own";
    EXPECT_DOUBLE_EQ(o.marginTop, 30 / 25.4 * 72);
    EXPECT_NEAR(o.pageWidth, 595.3, 0.1) << "and the page is the paper";

    setup.printer.landscape = true;
    std::swap(setup.printer.paperWidthMm, setup.printer.paperHeightMm);
    o = makePrintOptions(props, setup);
    EXPECT_TRUE(o.landscape) << "orientation comes from the printer";
    EXPECT_LT(o.pageWidth, o.pageHeight) << "the engine turns a portrait size itself";
}

TEST(PageSetup, orientationAndPaperKeepTheEdges) {
    ui::PrinterInfo p = printerWithEdges();
    ui::PageSetupRequest r;
    r.paper = "A4";
    r.landscape = true;
    applyPageSetup(p, r);
    EXPECT_TRUE(p.landscape);
    EXPECT_DOUBLE_EQ(p.paperWidthMm, 297);
    EXPECT_EQ(p.drawWidth, 7016 - 2 * 236) << "turned: the long side less the edges that lie across it";
    EXPECT_EQ(p.drawHeight, 4960 - 2 * 142);
    r.landscape = false;
    r.paper = "a3";
    applyPageSetup(p, r);
    EXPECT_EQ(p.paper, "A3");
    EXPECT_DOUBLE_EQ(p.paperHeightMm, 420);
    EXPECT_NEAR(p.drawWidth, 7016 - 2 * 142, 1) << "A3 is 297 mm wide (rounded to a dot)";
    r.paper = "Onbekend";
    applyPageSetup(p, r);
    EXPECT_EQ(p.paper, "A3") << "an unknown paper keeps the paper";
}

TEST(PreviewButtons, enabledByPageAndZoom) {
    using B = DlgPrintPreview::ButtonStates;
    struct Case {
        int page, total, zoom;
        B states;
        const char* why;
    } cases[] = {
        {1, 3, 100, {false, true, true, true}, "first page: no previous"},
        {2, 3, 100, {true, true, true, true}, "a middle page"},
        {3, 3, 100, {true, false, true, true}, "last page: no next"},
        {1, 1, 100, {false, false, true, true}, "a single page"},
        {1, 3, 200, {false, true, false, true}, "Zoom In at 200 is disabled"},
        {1, 3, 50, {false, true, true, false}, "Zoom Out at 50 is disabled"},
        {0, 0, 150, {false, false, true, true}, "nothing to show"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DlgPrintPreview::buttonStates(c.page, c.total, c.zoom), c.states) << c.why;
    ASSERT_TRUE(loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "nl"));
    EXPECT_EQ(DlgPrintPreview::caption(2, 3), "Afdrukvoorbeeld - Pagina 2 van 3");
    ASSERT_TRUE(loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "en"));
    EXPECT_EQ(DlgPrintPreview::caption(2, 3), "Print preview - Page 2 of 3");
}

// ---- header and footer bands

struct Recorder : sheet::Painter {
    struct Text {
        sheet::PageRect r;
        std::string text;
        sheet::Font font;
        std::uint32_t align;
    };
    std::vector<Text> texts;
    std::vector<std::pair<sheet::PageRect, std::string>> images;
    void fillRect(const sheet::PageRect&, std::uint32_t) override {}
    void drawLine(double, double, double, double, std::uint32_t, double) override {}
    void drawText(const sheet::PageRect& r, const std::string& t, const sheet::Font& f, std::uint32_t,
                  std::uint32_t a) override {
        texts.push_back({r, t, f, a});
    }
    void drawImage(const sheet::PageRect& r, const std::string& file) override {
        images.push_back({r, file});
    }
};

class Bands : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vor-bands-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string write(const std::string& name, const HeaderFile& h) {
        std::string path = (dir / name).string();
        EXPECT_TRUE(writeHeaderFile(path, h));
        return path;
    }
    static HeaderFile sample() {
        HeaderFile h;
        h.standardFont = "Tahoma";
        h.bmpSource = "kop.bmp";
        h.origBmpWidth = 400;
        h.origBmpHeight = 50;
        h.labels.append({10, 5, 110, 25, "/R/BBlad %currentPage% van %totalPages%"});
        h.labels.append({200, 30, 300, 45, "/TH\"20\"%lengte%"});
        return h;
    }
    fs::path dir;
};

TEST_F(Bands, labelsArePlacedAndScaledWithThePicture) {
    std::ofstream(dir / "kop.bmp") << "BM";
    const std::string file = write("kop.ssh", sample());
    PageBand band = loadPageBand("kop.ssh", (dir / "tabel.sss").string());
    ASSERT_TRUE(band.present) << "a relative path is taken in the table's folder";
    EXPECT_EQ(band.picture, (dir / "kop.bmp").string());
    EXPECT_DOUBLE_EQ(band.heightFor(800), 100) << "the picture fills the width";

    LabelContext ctx;
    ctx.totalPages = 3;
    ctx.varNames.append("Lengte");
    ctx.varValues.append("1200");
    Recorder rec;
    // An area twice the picture's size, 100 pt from the page's left edge and 30 from its top.
    drawPageBand(rec, {100, 30, 800, 100}, band, 2, ctx, 0.5);
    ASSERT_EQ(rec.images.size(), 1u);
    EXPECT_DOUBLE_EQ(rec.images[0].first.w, 800);
    EXPECT_DOUBLE_EQ(rec.images[0].first.h, 100);
    ASSERT_EQ(rec.texts.size(), 2u);
    const auto& first = rec.texts[0];
    EXPECT_EQ(first.text, "Blad 2 van 3");
    EXPECT_DOUBLE_EQ(first.r.x, 100 + 20);
    EXPECT_DOUBLE_EQ(first.r.y, 30 + 10);
    EXPECT_DOUBLE_EQ(first.r.w, 200);
    EXPECT_DOUBLE_EQ(first.r.h, 40);
    EXPECT_TRUE(first.align & sheet::kAlignRight);
    EXPECT_EQ(first.font.weight, 700);
    EXPECT_EQ(first.font.face, "Tahoma") << "the standard font";
    EXPECT_EQ(first.font.height, 5) << "10 points at the engine's scale of a half";
    EXPECT_EQ(rec.texts[1].text, "1200");
    EXPECT_EQ(rec.texts[1].font.height, 10) << "/TH 20 at half scale";
    EXPECT_EQ(rec.texts[1].font.weight, 400);
}

TEST_F(Bands, aNarrowAreaCentresTheScaledPicture) {
    HeaderFile h = sample();
    h.bmpSource = "";
    write("kop.ssh", h);
    PageBand band = loadPageBand((dir / "kop.ssh").string(), "");
    ASSERT_TRUE(band.present);
    EXPECT_TRUE(band.picture.empty()) << "no picture: the labels alone";
    Recorder rec;
    drawPageBand(rec, {0, 0, 1000, 25}, band, 1, LabelContext{}, 1.0); // height limits: scale 0.5
    ASSERT_EQ(rec.texts.size(), 2u);
    EXPECT_TRUE(rec.images.empty());
    EXPECT_DOUBLE_EQ(rec.texts[0].r.x, (1000 - 200) / 2.0 + 5);
    EXPECT_DOUBLE_EQ(rec.texts[0].r.w, 50);
}

TEST_F(Bands, missingOrDamagedFilesPrintNothing) {
    struct Case {
        std::string path;
        const char* why;
    } cases[] = {
        {"", "no file named"},
        {(dir / "weg.ssh").string(), "a file that is not there"},
        {dir.string(), "a folder"},
    };
    HeaderFile noSize = sample();
    noSize.origBmpWidth = 0;
    std::string damaged = write("nul.ssh", noSize);
    std::ofstream(dir / "rommel.ssh") << "\xA4\xA4garbage";
    for (const Case& c : cases) {
        PageBand b = loadPageBand(c.path, "");
        EXPECT_FALSE(b.present) << c.why;
        EXPECT_DOUBLE_EQ(b.heightFor(500), 0) << c.why;
        Recorder rec;
        drawPageBand(rec, {0, 0, 500, 50}, b, 1, LabelContext{}, 1);
        EXPECT_TRUE(rec.texts.empty() && rec.images.empty()) << c.why;
    }
    EXPECT_FALSE(loadPageBand(damaged, "").present) << "a picture size of 0 cannot place labels";
    EXPECT_FALSE(loadPageBand((dir / "rommel.ssh").string(), "").present) << "garbage";
}

} // namespace
