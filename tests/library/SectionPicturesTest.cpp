// Section pictures: the picture of a type code or a user section, the copy of a user section's
// picture by file time, and the "Unknown" picture when there is none.

#include "LibraryTestSupport.h"

#include "library/ProfSectionImages.h"

#include <chrono>
#include <filesystem>

namespace {

using SectionPictures = LibraryFolder;
namespace fs = std::filesystem;

TEST_F(SectionPictures, typeCodesAndDrawingsNameTheirPicture) {
    icons.write("icons/ProfSectionI-big.bmp", "BM");
    icons.write("icons/Sub/Prof 7-small.bmp", "BM");
    icons.write("icons/-small.bmp", "BM");
    struct Case {
        const char* why;
        const char* type;
        bool large;
        const char* expected;
    };
    const Case cases[] = {
        {"code 1 has its large picture", "1", true, "ProfSectionI-big.bmp"},
        {"its small one is missing", "1", false, "Unknown-small.bmp"},
        {"code 2 has no picture at all", "2", true, "Unknown-big.bmp"},
        {"a drawing's base is its name without extension", "Sub/Prof 7.dwg", false, "Sub/Prof 7-small.bmp"},
        {"\".DWG\" is a drawing too", "Sub/Prof 7.DWG", false, "Sub/Prof 7-small.bmp"},
        {"code 0 has no base: only the bare suffix file is found", "0", false, "-small.bmp"},
        {"code 18 neither", "18", true, "Unknown-big.bmp"},
        {"text that is no number reads as 0", "abc", false, "-small.bmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(profSectionImageName(c.type, "X-1", c.large), Vor_String(c.expected)) << c.why;
    EXPECT_EQ(profSectionBaseName(17), Vor_String("ProfSectionCuttedI"));
    EXPECT_EQ(profSectionBaseName(0), Vor_String());
}

TEST_F(SectionPictures, aUserSectionPictureIsCopiedOnlyWhenNewer) {
    lib.write("User Sections/Console.bmp", "first");
    const std::string target = icons.file("icons/Console-automated.bmp");
    EXPECT_EQ(profSectionImageName("", "User Sections\\Console.dwg", true), Vor_String("Unknown-big.bmp"))
        << "the large variant is never copied";
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(profSectionImageName("", "User Sections\\Console.dwg", false),
              Vor_String("Console-automated.bmp"));
    EXPECT_EQ(icons.read("icons/Console-automated.bmp"), "first");

    // an older source does not overwrite the copy, a newer one does, an equal time does not
    const auto now = fs::last_write_time(target);
    lib.write("User Sections/Console.bmp", "second");
    fs::last_write_time(lib.file("User Sections/Console.bmp"), now - std::chrono::seconds(5));
    EXPECT_EQ(profSectionImageName("", "User Sections/Console.dwg", false),
              Vor_String("Console-automated.bmp"));
    EXPECT_EQ(icons.read("icons/Console-automated.bmp"), "first") << "older source";
    fs::last_write_time(lib.file("User Sections/Console.bmp"), now);
    profSectionImageName("", "User Sections/Console.dwg", false);
    EXPECT_EQ(icons.read("icons/Console-automated.bmp"), "first") << "equal times";
    fs::last_write_time(lib.file("User Sections/Console.bmp"), now + std::chrono::milliseconds(10));
    profSectionImageName("", "User Sections/Console.dwg", false);
    EXPECT_EQ(icons.read("icons/Console-automated.bmp"), "second") << "newer by a fraction of a second";

    EXPECT_EQ(profSectionImageName("", "User Sections/Missing.dwg", false), Vor_String("Unknown-small.bmp"));
    icons.write("icons/Console-small.bmp", "own");
    EXPECT_EQ(profSectionImageName("", "user sections/Console.dwg", false), Vor_String("Console-small.bmp"))
        << "a picture of its own comes first, and the folder word is read without regard to case";
}

} // namespace
