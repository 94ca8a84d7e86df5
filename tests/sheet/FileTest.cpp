// The native table file: everything survives a round trip; bad files are refused harmlessly.
#include "SheetTestUtil.h"

#include <sheet/SssFile.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace sheet;
using namespace sheet::test;

namespace {
std::string readAll(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void fill(Sheet& s) {
    s.setMaxCols(6);
    s.setMaxRows(12);
    s.setData(1, 1, "Title");
    s.setData(2, 2, "12.50");
    s.setData(2, 3, "3");
    s.setFormula(2, 4, "sum(#2:#3)");
    s.setFormula(3, 4, "$B$2*B3");
    s.setFormula(4, 4, "1/0");
    s.setValue(5, 4, Value::boolean(true));
    s.setData(1, 0, "Name");
    s.setData(0, 2, "first");
    s.setTag(0, 0,
             std::string("headerFile\xA4"
                         "4\xA4h.ssh\xA4",
                         16));
    s.setTag(2, 4, "total");
    s.setNote(2, 2, "typed with two decimals");
    CellType num;
    num.kind = CellKind::Number;
    num.decimals = 3;
    num.thousands = true;
    num.style = kAlignRight | kNegativeRed;
    s.setCellType({3, 1, 3, 12}, num);
    CellType combo;
    combo.kind = CellKind::ComboBox;
    combo.items = "a\tb\tc";
    combo.editable = true;
    s.setCellType({6, 1, 6, 1}, combo);
    Font f;
    f.face = "Tahoma";
    f.height = 15;
    f.weight = 700;
    f.italic = true;
    s.setFont({1, 1, 2, 1}, f);
    s.setColors({1, 1, 1, 1}, rgb(255, 255, 0), rgb(0, 0, 255));
    s.setBorder({2, 2, 3, 3}, kBorderLeft | kBorderBottom, 12, rgb(1, 2, 3));
    s.setLock({4, 4, 4, 4}, true);
    s.addSpan(1, 1, 3, 1);
    s.setColWidthPixels(2, 123);
    s.setRowHeightPixels(3, 40);
    s.setOption(12, true);
    s.setOption(Sheet::kOptChangeMade, true);
    s.setRefStyle(RefStyle::R1C1);
    s.setActiveCell(2, 3);
    s.setSelection({2, 2, 3, 4});
}
} // namespace

TEST(SheetFile, roundTripKeepsEverything) {
    Sheet a;
    fill(a);
    std::string path = ::testing::TempDir() + "/round.sss";
    ASSERT_TRUE(saveSheet(a, path));
    Sheet b;
    FileResult r = loadSheet(b, path);
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(b.maxCols(), 6);
    EXPECT_EQ(b.maxRows(), 12);
    expectSameCells(a, b);
    EXPECT_EQ(b.formula(2, 4, RefStyle::Default), "SUM(#2:#3)") << "'#' references stay '#'";
    EXPECT_EQ(b.spans(), a.spans());
    EXPECT_EQ(b.colWidthPixels(2), 123);
    EXPECT_EQ(b.rowHeightPixels(3), 40);
    EXPECT_TRUE(b.option(12));
    EXPECT_FALSE(b.option(Sheet::kOptChangeMade)) << "a saved table is not changed";
    EXPECT_TRUE(b.option(Sheet::kOptAutoRecalc));
    EXPECT_EQ(b.refStyle(), RefStyle::R1C1);
    EXPECT_EQ(b.activeCell(), (CellPos{2, 3}));
    EXPECT_EQ(b.selection(), (CellRange{2, 2, 3, 4}));
    // Dependencies are live after loading.
    b.setData(2, 3, "4");
    EXPECT_EQ(b.data(2, 4), "16.5");
}

TEST(SheetFile, damagedOrForeignFilesAreRefusedAndTheSheetStays) {
    Sheet a;
    fill(a);
    std::string good = sheetToJson(a);
    struct Case {
        std::string text;
        const char* why;
    } cases[] = {
        {"", "empty file"},
        {"PK\x03\x04 zip", "foreign binary"},
        {"{\"format\":\"other\"}", "foreign JSON"},
        {good.substr(0, good.size() / 2), "cut short"},
        {std::string(good).replace(good.find("\"version\":1"), 11, "\"version\":99"), "newer version"},
        {std::string(good).replace(good.find("\"maxRows\":12"), 12, "\"maxRows\":-5"), "bad size"},
        {std::string(good).replace(good.find("\"rows\":["), 8, "\"rows\":[99,"), "rows out of range"},
    };
    for (const auto& c : cases) {
        Sheet b;
        fill(b);
        b.setData(6, 12, "kept");
        FileResult r = sheetFromJson(b, c.text);
        EXPECT_FALSE(r) << c.why;
        EXPECT_FALSE(r.error.empty()) << c.why;
        EXPECT_EQ(b.data(6, 12), "kept") << c.why;
        EXPECT_EQ(b.formula(2, 4), a.formula(2, 4)) << c.why;
    }
}

TEST(SheetFile, failedSaveKeepsTheOldFile) {
    Sheet a;
    fill(a);
    std::string dir = ::testing::TempDir() + "/ro_dir";
    std::string path = dir + "/t.sss";
    std::system(("mkdir -p " + dir + " && chmod 755 " + dir).c_str());
    ASSERT_TRUE(saveSheet(a, path));
    std::string before = readAll(path);
    EXPECT_FALSE(saveSheet(a, dir + "/missing/t.sss"));
    a.setData(1, 1, "changed");
    // A directory in place of the file cannot be replaced: the save fails, nothing is lost.
    std::system(("mkdir -p " + dir + "/isdir.sss/x").c_str());
    FileResult r = saveSheet(a, dir + "/isdir.sss");
    EXPECT_FALSE(r);
    EXPECT_EQ(readAll(path), before);
    Sheet b;
    EXPECT_FALSE(loadSheet(b, dir + "/nothing.sss"));
}
