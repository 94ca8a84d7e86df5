#include <host/TextCodec.h>

#include <gtest/gtest.h>

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
