#include <host/TextCodec.h>

#include <gtest/gtest.h>

#include <vector>

TEST(TextCodec, validUtf8) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"plain", true},
        {"café €𝄞", true},
        {"\xC3", false},             // cut off
        {"\xC0\xAF", false},         // overlong '/'
        {"\xE0\x80\xAF", false},     // overlong
        {"\xED\xA0\x80", false},     // surrogate
        {"\xF4\x90\x80\x80", false}, // beyond U+10FFFF
        {"caf\xE9", false},          // Windows-1252 é
        {"\xBF", false},             // lone continuation byte
    };
    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ(isValidUtf8(bytes), valid) << bytes;
}

TEST(TextCodec, windows1252ToUtf8) {
    EXPECT_EQ(cp1252ToUtf8("caf\xE9 \x80 \x93x\x94 \x9F"), "café € “x” Ÿ");
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81") << "undefined bytes keep their number";
    EXPECT_EQ(decodeText("café"), "café") << "UTF-8 is kept";
    EXPECT_EQ(decodeText("caf\xE9"), "café") << "anything else is Windows-1252";
}

TEST(TextCodec, separatorBytesStayAloneForSplitting) {
    // New files: UTF-8 with lone separator bytes stays as it is.
    EXPECT_EQ(decodeText("Stück\xBFä", "\xA4\xBF"), "Stück\xBFä");
    // Old files: the text is converted, the separators are kept.
    EXPECT_EQ(decodeText("St\xFC"
                         "ck\xBF\xE4",
                         "\xA4\xBF"),
              "Stück\xBFä");
    // Without keep bytes a lone 0xBF is the old code page's ¿.
    EXPECT_EQ(decodeText("a\xBF"), "a¿");
    EXPECT_EQ(stripUtf8Bom("\xEF\xBB\xBFx"), "x");
}

TEST(TextCodec, theEncodingIsDecidedForTheWholeText) {
    struct Case {
        std::string bytes;
        std::string separators;
        TextEncoding encoding;
        const char* why;
    };
    const Case cases[] = {
        {"plain ASCII", "", TextEncoding::Utf8, "nothing to decide"},
        {"Größe\n3×½", "", TextEncoding::Utf8, "valid UTF-8 throughout"},
        {"Gr\xF6\xDF"
         "e\n3\xD7\xBD",
         "", TextEncoding::Windows1252,
         "the second line (× ½ in the old code page) is valid UTF-8 by accident, the file is not"},
        {"Länge\xA4"
         "4\xA4ä\xA4",
         "\xA4", TextEncoding::Utf8, "UTF-8 with lone separator bytes"},
        {"Länge\xA4", "", TextEncoding::Windows1252, "a lone 0xA4 that is not a separator here"},
        {"Stra\xDF\xA4"
         "x\xE9\xA4",
         "\xA4", TextEncoding::Windows1252, "ß before a separator is valid UTF-8, the é elsewhere is not"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detectEncoding(c.bytes, c.separators), c.encoding) << c.why;
        TextEncoding used = TextEncoding::Utf8;
        const std::string text = decodeText(c.bytes, c.separators, &used);
        EXPECT_EQ(used, c.encoding) << c.why;
        EXPECT_EQ(text, decodeAs(c.bytes, c.encoding, c.separators)) << c.why;
    }
    EXPECT_EQ(decodeText("Gr\xF6\xDF"
                         "e\n3\xD7\xBD"),
              "Größe\n3×½")
        << "a piece that looks like UTF-8 is read in the file's encoding too";
    EXPECT_EQ(decodeAs("Stra\xDF\xA4x", TextEncoding::Windows1252, "\xA4"), "Straß\xA4x")
        << "the separator after ß stays a single byte";
}

TEST(TextCodec, splitDecodedSplitsAsTheEncodingReads) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        bool ok;
        std::vector<std::string> pieces;
        const char* why;
    };
    const Case cases[] = {
        {"a\xA4"
         "b\xA4",
         TextEncoding::Utf8,
         true,
         {"a", "b", ""},
         "n separators give n + 1 pieces"},
        {"L\xC3\xA4nge\xA4", TextEncoding::Utf8, true, {"Länge", ""}, "the byte inside ä does not split"},
        {"L\xC3\xA4nge\xA4",
         TextEncoding::Windows1252,
         true,
         {"L\xC3\x83", "nge", ""},
         "in the old code page every separator byte splits"},
        {"Stra\xDF\xA4x", TextEncoding::Windows1252, true, {"Straß", "x"}, "ß keeps its separator"},
        {"Stra\xDF\xA4x", TextEncoding::Utf8, true, {"Stra\xDF\xA4x"}, "as UTF-8 the pair is one character"},
        {"caf\xE9\xA4", TextEncoding::Utf8, false, {}, "not UTF-8 apart from separators"},
        {"", TextEncoding::Utf8, true, {""}, "the empty text is one empty piece"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> pieces{"untouched"};
        EXPECT_EQ(splitDecoded(c.bytes, '\xA4', c.encoding, pieces), c.ok) << c.why;
        EXPECT_EQ(pieces, c.ok ? c.pieces : std::vector<std::string>{"untouched"}) << c.why;
    }
    std::vector<std::string> pieces;
    ASSERT_TRUE(splitDecoded("a;b", ';', TextEncoding::Utf8, pieces));
    EXPECT_EQ(pieces, (std::vector<std::string>{"a", "b"})) << "an ASCII separator splits too";
}
