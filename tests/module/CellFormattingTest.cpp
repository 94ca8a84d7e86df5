// Cell formatting: the line-style list and its pictures, the style bits, the conversions to and from
// the engine's types, and the three dialogs run as a person would over a grid with a selection.

#include "calc/ui/CellFormatting.h"
#include "calc/CellFormat.h"
#include "calc/Vor_Spread.h"
#include "calc/ui/DlgSpreadBorder.h"
#include "calc/ui/DlgSpreadCellType.h"
#include "calc/ui/DlgSpreadFont.h"
#include "calc/ui/DlgSpreadsheet.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <ui/Image.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

using namespace cellformat;

// ---- pure parts

TEST(LineStyleList, positionsGiveTheEngineCodesAndSkipSevenToTen) {
    struct Case {
        int pos, code, picture;
    } cases[] = {{0, 0, 158}, {1, 1, 160},  {2, 2, 162},  {3, 3, 163},
                 {6, 6, 166}, {7, 11, 167}, {11, 15, 171}};
    for (const Case& c : cases) {
        EXPECT_EQ(lineStyleCode(c.pos), c.code) << "position " << c.pos;
        EXPECT_EQ(lineStyleListPos(c.code), c.pos) << "code " << c.code;
        EXPECT_EQ(lineStylePictureId(c.pos), c.picture) << "position " << c.pos;
    }
    for (int code : {7, 8, 9, 10, 16, -1})
        EXPECT_EQ(lineStyleListPos(code), -1) << "code " << code << " not offered";
    for (int pos : {-1, 12}) {
        EXPECT_EQ(lineStyleCode(pos), -1) << "position " << pos;
        EXPECT_EQ(lineStylePictureId(pos), 0) << "position " << pos;
    }
}

TEST(LineStyleList, everyEntryHasAPictureOfItsOwn) {
    std::set<std::vector<bool>> seen;
    for (int pos = 0; pos < kLineStyleCount; ++pos) {
        std::vector<bool> pixels;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                pixels.push_back(lineStylePixel(lineStyleCode(pos), x, y, 32, 16));
        EXPECT_TRUE(seen.insert(pixels).second) << "position " << pos << " looks like another entry";
    }
    // A solid line runs unbroken between the margins; a thick one is two pixels high; none is empty.
    for (int x = 2; x < 30; ++x)
        EXPECT_TRUE(lineStylePixel(1, x, 8, 32, 16)) << x;
    EXPECT_TRUE(lineStylePixel(11, 10, 9, 32, 16));
    EXPECT_FALSE(lineStylePixel(1, 10, 9, 32, 16));
    EXPECT_FALSE(lineStylePixel(1, 0, 8, 32, 16)) << "margin";
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_FALSE(lineStylePixel(0, x, y, 32, 16));
}

TEST(LineStyleList, sidePicturesMarkTheirOwnSide) {
    EXPECT_EQ(sidePixel(sheet::kBorderLeft, 2, 8, 16), 2);
    EXPECT_EQ(sidePixel(sheet::kBorderRight, 13, 8, 16), 2);
    EXPECT_EQ(sidePixel(sheet::kBorderTop, 8, 2, 16), 2);
    EXPECT_EQ(sidePixel(sheet::kBorderBottom, 8, 13, 16), 2);
    EXPECT_NE(sidePixel(sheet::kBorderLeft, 13, 8, 16), 2) << "the opposite side is only outlined";
    EXPECT_EQ(sidePixel(sheet::kBorderLeft | sheet::kBorderTop, 2, 2, 16), 0) << "one side per picture";
    EXPECT_EQ(sidePictureId(3), 0);
}

TEST(LineStyleList, bitmapFileIsABmpWithTheTopRowLast) {
    std::string bmp = bitmapFile(3, 2, [](int x, int y) { return x == 0 && y == 0 ? 0x0000FFu : 0xFFFFFFu; });
    ASSERT_EQ(bmp.size(), 54u + 2 * 12) << "rows padded to four bytes";
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    // Rows are stored bottom-up and pixels as blue, green, red: the red top-left pixel is in the
    // second stored row.
    EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 12 + 2]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 12 + 0]), 0x00);
    EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 2]), 0xFF) << "bottom row is white";
}

TEST(StyleBits, listsAndCheckBoxesComposeTheStyle) {
    struct Case {
        int kind, h, v, rot;
        bool first, second;
        std::uint32_t style;
        const char* why;
    } cases[] = {
        {kKindNumber, 1, 0, 1, true, false, 0x400000 | 0x10000 | 0x3000000 | 0x10000000,
         "right, top, 90°, red"},
        {kKindText, 2, 2, 3, true, false, 0x200000 | 0x20000 | 0x2000000 | 0x4, "centred, 270°, wrap"},
        {kKindText, 0, 1, 5, false, true, 0x100000 | 0x40000 | 0x5000000, "1019 means nothing for text"},
        {kKindPicture, 0, 0, 2, true, true, 0x100000 | 0x10000 | 0x2 | 0x4, "no rotation for pictures"},
        {kKindNumber, -1, -1, -1, false, false, 0, "nothing chosen"},
    };
    for (const Case& c : cases) {
        std::uint32_t s = composeStyle(c.kind, c.h, c.v, c.rot, c.first, c.second);
        EXPECT_EQ(s, c.style) << c.why;
        if (c.h >= 0) {
            EXPECT_EQ(horizontalIndex(s, c.kind), c.h) << c.why;
        }
        if (c.v >= 0) {
            EXPECT_EQ(verticalIndex(s), c.v) << c.why;
        }
        if (c.kind != kKindPicture && c.rot >= 0) {
            EXPECT_EQ(rotationIndex(s), c.rot) << c.why;
        }
    }
    // Without alignment bits the lists show how the grid draws the kind.
    EXPECT_EQ(horizontalIndex(0, kKindNumber), 1) << "numbers on the right";
    EXPECT_EQ(horizontalIndex(0, kKindText), 0);
    EXPECT_EQ(horizontalIndex(0, kKindPicture), 2);
    EXPECT_EQ(verticalIndex(0), 2);
    EXPECT_EQ(rotationIndex(0x7000000), 0) << "unknown rotation";
}

TEST(StyleBits, fieldNumbersReadLikeAtoiAndStayInRange) {
    struct Case {
        const char* text;
        int most, value;
    } cases[] = {{"3", 15, 3},   {"abc", 15, 0}, {"  12x", 15, 12}, {"-4", 15, 0},
                 {"99", 15, 15}, {"", 255, 0},   {"+7", 15, 7},     {"99999999999999999999", 0xFFFF, 0xFFFF},
                 {"1,5", 15, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(fieldNumber(c.text, c.most), c.value) << '"' << c.text << '"';
}

TEST(CellTypeSettings, engineTypesRoundTripThroughTheSettings) {
    sheet::SpreadControl c;
    TSpread binding(&c); // a grid without a window is enough to build types
    sheet::CellType t;
    sheet::SSSetTypeNumber(&c, t, 0x400000 | 0x10000000, 4, -1e15, 1e15);
    CellTypeSettings s = cellTypeSettingsOf(t);
    EXPECT_EQ(s.kind, kKindNumber);
    EXPECT_EQ(s.decimals, 4);
    sheet::CellType back;
    ASSERT_TRUE(makeCellType(binding, s, back));
    EXPECT_EQ(back, t);

    sheet::SSSetTypeEdit(&c, t, 0, 30, true);
    s = cellTypeSettingsOf(t);
    EXPECT_EQ(s.kind, kKindText);
    EXPECT_EQ(s.maxLength, 30);
    EXPECT_TRUE(s.style & sheet::kWordWrap) << "a multi-line edit shows as wrapping";
    ASSERT_TRUE(makeCellType(binding, s, back));
    EXPECT_TRUE(back.multiLine);

    sheet::SSSetTypePicture(&c, t, sheet::kPictureStretch, "/data/logo.bmp");
    s = cellTypeSettingsOf(t);
    EXPECT_EQ(s.kind, kKindPicture);
    EXPECT_EQ(s.pictureFile, "/data/logo.bmp");
    ASSERT_TRUE(makeCellType(binding, s, back));
    EXPECT_EQ(back, t);

    sheet::SSSetTypeComboBox(&c, t, sheet::kAlignRight | 0x4, "a\tb");
    s = cellTypeSettingsOf(t);
    EXPECT_EQ(s.kind, kKindText) << "other kinds are offered as text";
    EXPECT_EQ(s.style, std::uint32_t(sheet::kAlignRight)) << "their option bits mean other things";

    s = CellTypeSettings{};
    s.kind = kKindNumber;
    s.decimals = 200;
    ASSERT_TRUE(makeCellType(binding, s, back)) << "more decimals than the grid takes are capped";
    EXPECT_EQ(back.decimals, 15);
}

TEST(FontSettings, theFontDialogAnswerKeepsWhatItCannotShow) {
    FontSettings s;
    s.font = {"Arial", 10, 600, false, false, false, 2};
    ui::FontSpec offered = fontSpecOf(s);
    EXPECT_TRUE(offered.bold);
    EXPECT_EQ(offered.color, 0u) << "the grid's own text colour is offered as black";

    ui::FontSpec chosen = offered;
    chosen.face = "Courier New";
    chosen.pointSize = 12;
    chosen.italic = true;
    takeFontSpec(s, chosen);
    EXPECT_EQ(s.font.face, "Courier New");
    EXPECT_EQ(s.font.height, 12);
    EXPECT_EQ(s.font.weight, 600) << "still bold: the exact weight stays";
    EXPECT_EQ(s.font.charset, 2);
    EXPECT_TRUE(s.font.italic);
    EXPECT_EQ(s.textColor, sheet::kDefaultColor) << "black as offered is not a choice of black";

    chosen.bold = false;
    chosen.color = ui::rgb(0, 0, 200);
    takeFontSpec(s, chosen);
    EXPECT_EQ(s.font.weight, 400);
    EXPECT_EQ(s.textColor, sheet::rgb(0, 0, 200));
}

// ---- the dialogs over a grid

class CellFormatting : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        agent.setHostHandler([this](const std::vector<std::string>& w, std::string& error) {
            if (w.empty() || w[0] != "probe") return ui::ScriptedAgent::HostResult::NotMine;
            if (probe) probe(error);
            return error.empty() ? ui::ScriptedAgent::HostResult::Done
                                 : ui::ScriptedAgent::HostResult::Failed;
        });
        ASSERT_TRUE(dlg.create());
        ASSERT_TRUE(grid.attach(&dlg, DlgSpreadsheet::IDC_GRID));
        grid.setMaxCols(4);
        grid.setMaxRows(4);
        grid.setChanged(false);
    }
    void TearDown() override {
        EXPECT_TRUE(agent.openDialogs().size() <= 1) << "a formatting dialog stayed open";
        dlg.destroyWindow();
        ui::setAgent(nullptr);
    }
    sheet::SpreadControl* h() { return grid.handle(); }
    void selectBlock(int c1, int r1, int c2, int r2) { ASSERT_TRUE(grid.SetSelectBlock({c1, r1}, {c2, r2})); }
    /// Runs `edit` under a script; the script must pass.
    bool run(bool (*edit)(Vor_Spread&, ui::Window*), const std::string& script) {
        agent.setScript(script, "t.vsc");
        bool applied = edit(grid, &dlg);
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return applied;
    }
    std::vector<sheet::CellStyle> styles() {
        std::vector<sheet::CellStyle> out;
        for (int r = 1; r <= 4; ++r)
            for (int c = 1; c <= 4; ++c)
                out.push_back(h()->sheet().style(c, r));
        return out;
    }
    template <class D> D* open() { return dynamic_cast<D*>(agent.target()); }

    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
    ui::Dialog dlg{DlgSpreadsheet::IDD};
    Vor_Spread grid;
    std::function<void(std::string&)> probe;
};

TEST_F(CellFormatting, bordersStartFromTheCurrentCellAndReachTheWholeBlock) {
    sheet::SSSetBorder(h(), 2, 2, sheet::kBorderBottom, 2, sheet::rgb(200, 0, 0));
    sheet::SSSetBorder(h(), 3, 3, sheet::kBorderLeft, 1, 0); // a side the dialog will switch off
    selectBlock(2, 2, 3, 3);
    int previewSides = -1, previewStyle = -1;
    probe = [&](std::string&) {
        std::uint32_t color;
        sheet::SSGetBorder(open<DlgSpreadBorder>()->preview().handle(), 2, 2, previewSides, previewStyle,
                           color);
    };
    ASSERT_TRUE(run(editBorders, "expect-dialog 143\n"
                                 "expect-caption \"" +
                                     dialString(9100).str() + "\"\n" +
                                     "expect-state 1011 checked\n"
                                     "expect-state 1004 unchecked\n"
                                     "expect-sel 1005 2\n"
                                     "click 1004\n"
                                     "click 1011\n"
                                     "select 1005 7\n"
                                     "answer color 0 0 255\n"
                                     "click 1006\n"
                                     "probe\n"
                                     "click 1\n"));
    EXPECT_EQ(previewSides, sheet::kBorderTop) << "the preview follows every change";
    EXPECT_EQ(previewStyle, 11) << "list position 7 is style 11";
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 4; ++c) {
            int sides, style;
            std::uint32_t color;
            sheet::SSGetBorder(h(), c, r, sides, style, color);
            bool inside = c >= 2 && c <= 3 && r >= 2 && r <= 3;
            EXPECT_EQ(sides, inside ? sheet::kBorderTop : 0) << c << "," << r;
            if (inside) {
                EXPECT_EQ(style, 11) << c << "," << r;
                EXPECT_EQ(color, sheet::rgb(0, 0, 255)) << c << "," << r;
            }
        }
    EXPECT_TRUE(grid.changed());
}

TEST_F(CellFormatting, noSideChosenGivesSidesZeroAndClearsTheLines) {
    sheet::SSSetBorderRange(h(), 1, 1, 2, 1, sheet::kBorderLeft | sheet::kBorderTop, 1, 0);
    selectBlock(1, 1, 2, 1);
    ASSERT_TRUE(run(editBorders, "expect-dialog 143\n"
                                 "check 1010 off\n"
                                 "check 1004 off\n"
                                 "click 1\n"));
    for (int c = 1; c <= 2; ++c) {
        int sides = -1, style;
        std::uint32_t color;
        sheet::SSGetBorder(h(), c, 1, sides, style, color);
        EXPECT_EQ(sides, 0) << "column " << c;
    }

    DlgSpreadBorder d;
    d.settings = {sheet::kBorderRight, 3, 0};
    agent.setScript("expect-dialog 143\ncheck 1012 off\nclick 1\n", "t.vsc");
    ASSERT_EQ(d.doModal(), ui::IDOK);
    EXPECT_EQ(d.settings.sides, 0);
    EXPECT_EQ(d.settings.style, 3) << "the style stays as it was";
}

TEST_F(CellFormatting, cancelChangesNothing) {
    sheet::SSSetBorder(h(), 1, 1, sheet::kBorderTop, 1, 0);
    sheet::SSSetFont(h(), 1, 1, {"Times New Roman", 9});
    selectBlock(1, 1, 3, 2);
    const auto before = styles();
    sheet::CellType typeBefore;
    grid.GetCellType(2, 2, typeBefore);
    EXPECT_FALSE(run(editBorders, "expect-dialog 143\nclick 1010\nselect 1005 3\nclick 2\n"));
    EXPECT_FALSE(run(editFontAndColors, "expect-dialog 174\n"
                                        "answer font \"Courier\" 20 bold\nclick 1007\n"
                                        "answer color 255 0 0\nclick 1008\n"
                                        "close\n"));
    EXPECT_FALSE(run(editCellType, "expect-dialog 175\nselect 1005 0\ntype 1017 \"5\"\nclick 2\n"));
    EXPECT_EQ(styles(), before);
    sheet::CellType typeAfter;
    grid.GetCellType(2, 2, typeAfter);
    EXPECT_EQ(typeAfter, typeBefore);
    EXPECT_FALSE(grid.changed());
}

TEST_F(CellFormatting, fontAndColoursGoToEveryCellOfTheBlock) {
    sheet::SSSetFont(h(), 2, 1, {"Times New Roman", 9, 400, false, true});
    sheet::SSSetColor(h(), 2, 1, sheet::kDefaultColor, sheet::rgb(0, 128, 0));
    selectBlock(2, 1, 3, 3);
    std::string offeredFace;
    probe = [&](std::string&) {
        sheet::Font f;
        sheet::SSGetFont(open<DlgSpreadFont>()->preview().handle(), 2, 2, f);
        offeredFace = f.face;
    };
    ASSERT_TRUE(run(editFontAndColors, "expect-dialog 174\n"
                                       "expect-caption \"" +
                                           dialString(9130).str() + "\"\n" +
                                           "probe\n"
                                           "answer font \"Courier New\" 14 bold italic\n"
                                           "click 1007\n"
                                           "answer color 255 255 0\n"
                                           "click 1008\n"
                                           "click 1\n"));
    EXPECT_EQ(offeredFace, "Times New Roman") << "the preview starts from the current cell";
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 4; ++c) {
            const sheet::CellStyle& s = h()->sheet().style(c, r);
            if (c >= 2 && c <= 3 && r <= 3) {
                EXPECT_EQ(s.font.face, "Courier New") << c << "," << r;
                EXPECT_EQ(s.font.height, 14);
                EXPECT_EQ(s.font.weight, 700);
                EXPECT_TRUE(s.font.italic);
                EXPECT_FALSE(s.font.underline) << "the font dialog's answer switched it off";
                EXPECT_EQ(s.backColor, sheet::rgb(255, 255, 0));
                EXPECT_EQ(s.textColor, sheet::rgb(0, 128, 0)) << "the text colour of the current cell";
            } else {
                EXPECT_EQ(s, sheet::CellStyle{}) << c << "," << r;
            }
        }
    EXPECT_TRUE(grid.changed());
}

TEST_F(CellFormatting, cellTypeDialogStartsOnTheCurrentCellsKind) {
    sheet::CellType t;
    grid.SetCellType(
        1, 1, *sheet::SSSetTypeNumber(h(), t, sheet::kAlignRight | sheet::kNegativeRed, 3, -1e15, 1e15));
    grid.SetCellType(2, 1, *sheet::SSSetTypePicture(h(), t, sheet::kPictureStretch, "/data/logo.bmp"));
    grid.SetCellType(3, 1, *sheet::SSSetTypeEdit(h(), t, sheet::kAlignCenter, 40, false));

    struct Case {
        int col;
        std::string script;
    } cases[] = {
        {1, "expect-dialog 175\nexpect-sel 1005 0\nexpect-text 1016 \"" + dialString(9170).str() +
                "\"\n"
                "expect-text 1017 \"3\"\nexpect-state 1018 checked\nexpect-sel 1009 1\n"
                "expect-state 1011 visible\nexpect-state 1024 hidden\nexpect-state 1019 hidden\nclick 2\n"},
        {2, "expect-dialog 175\nexpect-sel 1005 2\nexpect-state 1011 hidden\nexpect-state 1014 hidden\n"
            "expect-text 1017 \"/data/logo.bmp\"\nexpect-state 1024 visible\nexpect-state 1019 visible\n"
            "expect-state 1018 checked\nexpect-state 1019 unchecked\nclick 2\n"},
        {3, "expect-dialog 175\nexpect-sel 1005 1\nexpect-text 1016 \"" + dialString(9172).str() +
                "\"\n"
                "expect-text 1017 \"40\"\nexpect-sel 1009 2\nexpect-state 1018 unchecked\nclick 2\n"},
    };
    for (const Case& c : cases) {
        selectBlock(c.col, 1, c.col, 1);
        EXPECT_FALSE(run(editCellType, c.script)) << "column " << c.col;
    }
}

TEST_F(CellFormatting, cellTypeReachesTheBlockAndTextDecimalsGiveZero) {
    grid.setText(2, 3, "12.5");
    selectBlock(2, 2, 3, 3);
    std::string previewText;
    probe = [&](std::string&) {
        Vor_String s;
        open<DlgSpreadCellType>()->preview().getText(2, 2, kTextData, s);
        previewText = s.str();
    };
    ASSERT_TRUE(run(editCellType, "expect-dialog 175\n"
                                  "expect-caption \"" +
                                      dialString(9140).str() + "\"\n" +
                                      "expect-sel 1005 1\n"
                                      "probe\n"
                                      "select 1005 0\n"
                                      "select 1009 2\n"
                                      "select 1011 1\n"
                                      "check 1018 on\n"
                                      "type 1017 \"abc\"\n"
                                      "click 1\n"));
    EXPECT_EQ(previewText, dialString(9178).str()) << "a plain cell is shown as text";
    for (int r = 2; r <= 3; ++r)
        for (int c = 2; c <= 3; ++c) {
            sheet::CellType t;
            grid.GetCellType(c, r, t);
            EXPECT_EQ(t.kind, sheet::CellKind::Number) << c << "," << r;
            EXPECT_EQ(t.decimals, 0) << "\"abc\" is no number";
            EXPECT_EQ(t.style, std::uint32_t(sheet::kAlignCenter | sheet::kAlignVCenter | 0x3000000 |
                                             sheet::kNegativeRed));
        }
    sheet::CellType outside;
    grid.GetCellType(1, 2, outside);
    EXPECT_EQ(outside.kind, sheet::CellKind::General);
    EXPECT_TRUE(grid.changed());
}

TEST_F(CellFormatting, pictureChosenWithTheFileDialogAndKindsKeepTheirValues) {
    auto file = std::filesystem::temp_directory_path() / "cellformatting-test.bmp";
    {
        std::ofstream out(file, std::ios::binary);
        out << bitmapFile(4, 4, [](int, int) { return 0x00FF00u; });
    }
    selectBlock(1, 1, 1, 2);
    int previewKind = -1;
    probe = [&](std::string&) {
        sheet::CellType t;
        open<DlgSpreadCellType>()->preview().GetCellType(2, 2, t);
        previewKind = int(t.kind);
    };
    ASSERT_TRUE(run(editCellType, "expect-dialog 175\n"
                                  "select 1005 0\n"
                                  "type 1017 \"4\"\n"
                                  "select 1005 2\n"
                                  "expect-text 1016 \"" +
                                      dialString(9174).str() + "\"\n" + "expect-text 1018 \"" +
                                      dialString(9175).str() + "\"\n" + "answer file \"" + file.string() +
                                      "\"\n"
                                      "click 1024\n"
                                      "check 1019 on\n"
                                      "probe\n"
                                      "select 1005 0\n"
                                      "expect-text 1017 \"4\"\n"
                                      "select 1005 2\n"
                                      "expect-text 1017 \"" +
                                      file.string() +
                                      "\"\n"
                                      "click 1\n"));
    EXPECT_EQ(previewKind, int(sheet::CellKind::Picture));
    for (int r = 1; r <= 2; ++r) {
        sheet::CellType t;
        grid.GetCellType(1, r, t);
        EXPECT_EQ(t.kind, sheet::CellKind::Picture);
        EXPECT_EQ(t.picture, file.string());
        EXPECT_EQ(t.style & sheet::kPictureKeepRatio, std::uint32_t(sheet::kPictureKeepRatio));
        EXPECT_EQ(t.style & sheet::kRotationMask, 0u);
    }
    std::filesystem::remove(file);
}

TEST_F(CellFormatting, theRowAKindHidesClosesUpInsteadOfLeavingABand) {
    // Gaps between a row and the next one shown, for each kind: a hidden row must not add to them.
    struct Gaps {
        int aboveField = 0; ///< from the row above the picture's field to the field
        int aboveGroup = 0; ///< from the last check box shown to the preview group
        bool okInside = false;
    };
    std::vector<Gaps> seen;
    probe = [&](std::string&) {
        auto* d = open<DlgSpreadCellType>();
        const auto r = [d](int id) { return d->item(id)->windowRect(); };
        const bool picture = !d->item(DlgSpreadCellType::IDC_ROTATION)->isVisible();
        const int lastCheck = picture ? DlgSpreadCellType::IDC_KEEP_RATIO : DlgSpreadCellType::IDC_OPTION;
        const int rowAbove = picture ? DlgSpreadCellType::IDC_VALIGN : DlgSpreadCellType::IDC_ROTATION;
        seen.push_back({r(DlgSpreadCellType::IDC_FIELD).top - r(rowAbove).bottom,
                        r(DlgSpreadCellType::IDC_GROUP).top - r(lastCheck).bottom,
                        r(ui::IDOK).bottom <= d->windowRect().bottom});
    };
    selectBlock(1, 1, 1, 1);
    ASSERT_FALSE(run(editCellType, "expect-dialog 175\nselect 1005 1\nprobe\nselect 1005 2\nprobe\n"
                                   "select 1005 0\nprobe\nclick 2\n"));
    ASSERT_EQ(seen.size(), 3u);
    for (size_t i = 1; i < seen.size(); ++i) {
        // The template's rows are not evenly spaced to the pixel; a hidden row is some 25 pixels.
        EXPECT_NEAR(seen[i].aboveField, seen[0].aboveField, 4) << "kind switch " << i;
        EXPECT_NEAR(seen[i].aboveGroup, seen[0].aboveGroup, 4) << "kind switch " << i;
    }
    for (const Gaps& g : seen)
        EXPECT_TRUE(g.okInside) << "the dialog shrinks with its rows, but keeps its buttons";
}

TEST_F(CellFormatting, picturesAreRegisteredAsBitmapResources) {
    registerPictures();
    ui::Image solid = ui::Image::fromResource(lineStylePictureId(1));
    ASSERT_FALSE(solid.isNull());
    EXPECT_EQ(solid.size(), (ui::Size{32, 16}));
    EXPECT_EQ(solid.pixel(16, 8), 0u) << "the line is drawn in the middle";
    EXPECT_EQ(solid.pixel(16, 2), 0xFFFFFFu);
    ui::Image top = ui::Image::fromResource(sidePictureId(sheet::kBorderTop));
    ASSERT_FALSE(top.isNull());
    EXPECT_EQ(top.pixel(8, 2), 0u);
}

TEST_F(CellFormatting, withoutAGridNothingOpens) {
    Vor_Spread detached;
    agent.setScript("", "t.vsc");
    EXPECT_FALSE(editBorders(detached, &dlg));
    EXPECT_FALSE(editFontAndColors(detached, &dlg));
    EXPECT_FALSE(editCellType(detached, &dlg));
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

} // namespace

namespace {

TEST_F(CellFormatting, theOptionCheckBoxBelongsToItsKind) {
    sheet::CellType t;
    grid.SetCellType(1, 1, *grid.SetTypeEdit(t, 0, 40, true)); // long texts on several lines
    grid.SetActiveCell(1, 1);
    const std::string kind = std::to_string(DlgSpreadCellType::IDC_KIND);
    const std::string option = std::to_string(DlgSpreadCellType::IDC_OPTION);
    ASSERT_TRUE(run(editCellType, "expect-dialog " + std::to_string(DlgSpreadCellType::IDD) + "\n" +
                                      "expect-state " + option + " checked\n" + //
                                      "select " + kind + " 0\n" +               // number
                                      "expect-state " + option + " unchecked\n" + "select " + kind +
                                      " 1\n" + // back to text: its own state again
                                      "expect-state " + option + " checked\n" + //
                                      "select " + kind + " 0\n" + "click 1\n"));
    grid.GetCellType(1, 1, t);
    EXPECT_EQ(t.kind, sheet::CellKind::Number);
    EXPECT_EQ(t.style & sheet::kNegativeRed, 0u) << "wrapping text did not turn into red negatives";
}

} // namespace
