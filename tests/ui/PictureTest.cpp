// Pictures drawn without a window and kept as bitmap files: a known figure lands on the pixels it
// should, survives a save and a load exactly, and a failed save or load loses nothing.

#include <ui/Picture.h>

#include <base/SafeFile.h>

#include "../host/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace ui;

namespace {

class PictureTest : public ::testing::Test {
protected:
    void TearDown() override { base::failSafeWritesAfterForTesting(-1, 0); }
    std::string path(const std::string& name) const { return m_dir.file(name); }
    std::string read(const std::string& name) const { return m_dir.read(name); }
    TempDir m_dir;
};

constexpr ColorRef kRed = rgb(255, 0, 0), kBlue = rgb(0, 0, 255), kGreen = rgb(0, 160, 0),
                   kWhite = rgb(255, 255, 255);

/// A rectangle filled red, a blue line across, a green triangle, a circle and a word.
Picture figure() {
    Picture p(64, 48);
    p.paint([](Painter& g) {
        g.fillRect(Rect::fromSize(4, 4, 10, 6), kRed);
        g.setPen(kBlue);
        g.drawLine(0, 30, 63, 30);
        g.setPen(kGreen);
        g.drawPolyline({{20, 5}, {40, 5}, {30, 20}, {20, 5}});
        g.setPen(kBlue);
        g.drawCircle({50, 12}, 6);
        g.setPen(rgb(0, 0, 0));
        g.setFont(FontSpec{"DejaVu Sans", 10});
        g.drawText(Rect::fromSize(2, 34, 60, 14), "HEA");
    });
    return p;
}

TEST_F(PictureTest, aFigureLandsOnItsPixels) {
    Picture p = figure();
    ASSERT_FALSE(p.isNull());
    EXPECT_EQ(p.width(), 64);
    EXPECT_EQ(p.height(), 48);
    const struct {
        int x, y;
        ColorRef want;
        const char* why;
    } cases[] = {
        {0, 0, kWhite, "the ground is white"},
        {4, 4, kRed, "the filled rectangle's first pixel"},
        {13, 9, kRed, "and its last"},
        {14, 9, kWhite, "right and bottom are exclusive"},
        {0, 30, kBlue, "the line's first pixel"},
        {63, 30, kBlue, "and its last"},
        {30, 5, kGreen, "the triangle's top edge"},
        {30, 12, kWhite, "inside the triangle: only its edges are drawn"},
        {56, 12, kBlue, "the circle's right-most point"},
        {50, 12, kWhite, "and its unfilled middle"},
        {-1, 0, 0, "outside: black"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(p.pixel(c.x, c.y), c.want) << c.why << " (" << c.x << ", " << c.y << ")";
    int inked = 0;
    for (int y = 34; y < 48; ++y)
        for (int x = 2; x < 62; ++x)
            inked += p.pixel(x, y) != kWhite;
    EXPECT_GT(inked, 30) << "the word is drawn";
    EXPECT_TRUE(Picture(0, 10).isNull()) << "no pixels";
    EXPECT_TRUE(Picture(20000, 10).isNull()) << "wider than a bitmap may be";
}

TEST_F(PictureTest, aSavedPictureReadsBackPixelForPixel) {
    Picture p = figure();
    std::string error;
    ASSERT_TRUE(p.saveBmp(path("M1.bmp"), &error)) << error;
    std::string bytes = read("M1.bmp");
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(bytes.size(), 54u + 64 * 3 * 48) << "a 24-bit bitmap: rows of 192 bytes need no padding";
    Picture back;
    ASSERT_TRUE(Picture::loadBmp(path("M1.bmp"), back, &error)) << error;
    ASSERT_EQ(back.width(), 64);
    ASSERT_EQ(back.height(), 48);
    int differ = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            differ += back.pixel(x, y) != p.pixel(x, y);
    EXPECT_EQ(differ, 0) << "every pixel is read back as it was drawn";
    EXPECT_EQ(back.toImage().size(), (Size{64, 48})) << "the picture shows as an image";
    EXPECT_EQ(back.toImage().pixel(4, 4), kRed);
}

TEST_F(PictureTest, aFailedSaveKeepsTheOldFileAndSaysWhy) {
    Picture old(8, 8, kRed);
    std::string error;
    ASSERT_TRUE(old.saveBmp(path("M1.bmp"), &error)) << error;
    const std::string before = read("M1.bmp");
    Picture next = figure();

    base::failSafeWritesAfterForTesting(100, ENOSPC);
    EXPECT_FALSE(next.saveBmp(path("M1.bmp"), &error)) << "the disk fills up during the save";
    EXPECT_NE(error.find("M1.bmp"), std::string::npos) << error;
    base::failSafeWritesAfterForTesting(-1, 0);
    EXPECT_EQ(read("M1.bmp"), before) << "the old picture is whole";

    fs::create_directory(fs::path(path("Macros")));
    EXPECT_FALSE(next.saveBmp(path("Macros"), &error)) << "the path is a folder";
    EXPECT_NE(error.find("Macros"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(fs::path(path("Macros"))));
    EXPECT_FALSE(next.saveBmp(path("no/such/folder/M1.bmp"), &error)) << "no such folder";
    EXPECT_NE(error.find("no/such/folder/M1.bmp"), std::string::npos) << error;
    EXPECT_FALSE(Picture().saveBmp(path("empty.bmp"), &error)) << "an empty picture";
    EXPECT_FALSE(fs::exists(fs::path(path("empty.bmp"))));
}

TEST_F(PictureTest, aFailedLoadKeepsThePictureAndNamesTheFile) {
    std::ofstream(path("notes.bmp"), std::ios::binary) << "these are no pixels at all, but words in a file";
    fs::create_directory(fs::path(path("folder.bmp")));
    const struct {
        std::string file;
        const char* message;
        const char* why;
    } cases[] = {
        {path("missing.bmp"), "missing.bmp", "no such file"},
        {path("folder.bmp"), "folder", "a folder"},
        {"/dev/zero", "not a file", "a device is never read"},
        {path("notes.bmp"), "not a bitmap", "text named as a bitmap"},
    };
    for (const auto& c : cases) {
        Picture p = figure();
        std::string error;
        EXPECT_FALSE(Picture::loadBmp(c.file, p, &error)) << c.why;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.why << ": " << error;
        EXPECT_EQ(p.width(), 64) << c.why << ": the picture is as it was";
        EXPECT_EQ(p.pixel(4, 4), kRed) << c.why;
    }
}

} // namespace
