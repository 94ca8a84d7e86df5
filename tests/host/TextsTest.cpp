#include <host/Texts.h>

#include "TempDir.h"

#include <gtest/gtest.h>

TEST(Texts, catalogueLinesWithEscapesCommentsAndOldCodePage) {
    TempDir dir;
    dir.write("dial.en.txt", "\xEF\xBB\xBF# dialog texts\r\n"
                             "1\tOK\r\n"
                             "\n"
                             "   \n"
                             "2\tLine one\\nLine two\\tTabbed \\\\ back\r\n"
                             "3\t\n"
                             "4\tCaf\xE9 # not a comment\n"
                             "5\tA\tB");
    std::map<int, std::string> texts;
    std::string error;
    ASSERT_TRUE(parseTextCatalogue(dir.file("dial.en.txt"), texts, &error)) << error;
    const std::map<int, std::string> expected{{1, "OK"},
                                              {2, "Line one\nLine two\tTabbed \\ back"},
                                              {3, ""},
                                              {4, "Café # not a comment"},
                                              {5, "A\tB"}};
    EXPECT_EQ(texts, expected);
}

TEST(Texts, malformedCatalogueNamesFileAndLine) {
    struct Case {
        const char* content;
        const char* expectedError;
    };
    const Case cases[] = {
        {"1\tOK\nno tab here\n", ":2: expected NUMBER<TAB>TEXT"},
        {"1\tOK\n\nx1\tText\n", ":3: 'x1' is not a text number"},
        {"-1\tText\n", ":1: '-1' is not a text number"},
        {"99999999999\tText\n", ":1: '99999999999' is not a text number"},
        {"1\tBad \\q escape\n", ":1: unknown escape \\q"},
        {"1\tEnds in \\\n", ":1: backslash at the end of the text"},
        {"# c\n7\tA\n8\tB\n7\tC\n", ":4: number 7 already given on line 2"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        dir.write("bad.txt", c.content);
        std::map<int, std::string> texts{{42, "kept"}};
        std::string error;
        EXPECT_FALSE(parseTextCatalogue(dir.file("bad.txt"), texts, &error)) << c.content;
        EXPECT_EQ(error, dir.file("bad.txt") + c.expectedError);
        EXPECT_EQ(texts.size(), 1u) << "a failed parse leaves the map as it was";
    }
}

TEST(Texts, loadingSwitchesLanguageOnlyWhenBothFilesAreGood) {
    TempDir dir;
    dir.write("texts/dial.en.txt", "1\tOK\n2\tCancel\n");
    dir.write("texts/string.en.txt", "779\tNew table\n");
    dir.write("texts/dial.nl.txt", "1\tOK\n2\tAnnuleren\n");
    dir.write("texts/string.nl.txt", "779\tNieuwe tabel\n779\tdubbel\n");
    std::string error;
    ASSERT_TRUE(loadTextCatalogues(dir.path(), "en", &error)) << error;
    EXPECT_EQ(textLanguage(), "en");
    EXPECT_EQ(dialString(2), "Cancel");
    EXPECT_EQ(string(779), "New table");
    EXPECT_EQ(dialString(779), "#779") << "a missing text shows its number";
    EXPECT_TRUE(hasString(779));
    EXPECT_FALSE(hasDialString(779));

    EXPECT_FALSE(loadTextCatalogues(dir.path(), "nl", &error));
    EXPECT_NE(error.find("string.nl.txt:2:"), std::string::npos) << error;
    EXPECT_EQ(textLanguage(), "en") << "the texts loaded before stay current";
    EXPECT_EQ(dialString(2), "Cancel");

    EXPECT_FALSE(loadTextCatalogues(dir.path(), "fr", &error));
    EXPECT_NE(error.find("dial.fr.txt"), std::string::npos) << error;
    EXPECT_FALSE(loadTextCatalogues(dir.path(), "../en", &error)) << "a language is not a path";
}

TEST(Texts, anOldCatalogueIsReadInOneEncodingThroughout) {
    TempDir dir;
    // Windows-1252 throughout; "3×½" (D7 BD) alone would also be valid UTF-8.
    dir.write("dial.en.txt", "1\tGr\xF6\xDF"
                             "e\n2\t3\xD7\xBD\n");
    std::map<int, std::string> texts;
    std::string error;
    ASSERT_TRUE(parseTextCatalogue(dir.file("dial.en.txt"), texts, &error)) << error;
    EXPECT_EQ(texts, (std::map<int, std::string>{{1, "Größe"}, {2, "3×½"}}));
}
