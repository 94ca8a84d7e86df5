#include <host/VorUtils.h>

#include <gtest/gtest.h>

TEST(VorUtils, splitAndJoinRoundTrip) {
    struct Case {
        std::string text;
        char separator;
        Vor_StringArray fields;
        const char* why;
    };
    const Case cases[] = {
        {"", ';', {}, "the empty text has no fields"},
        {"a", ';', {"a"}, "one field"},
        {"a;b", ';', {"a", "b"}, "two fields"},
        {"a;", ';', {"a", ""}, "a trailing separator ends with an empty field"},
        {";", ';', {"", ""}, "a lone separator is two empty fields"},
        {";;x", ';', {"", "", "x"}, "leading empty fields"},
        {"Stück\xBF\xC3\xA4\xBF", '\xBF', {"Stück", "ä", ""}, "0xBF alone separates, inside ä it does not"},
        {"\xC3\xA4\xA4\xC2\xA4", '\xA4', {"ä", "¤"}, "0xA4 inside ä and ¤ is no separator"},
        {"€\xBF¿", '\xBF', {"€", "¿"}, "three-byte character before the separator"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(strToArr(c.text, c.separator), c.fields) << c.why;
        EXPECT_EQ(arrToStr(c.fields, c.separator), c.text) << c.why;
    }
}

TEST(VorUtils, splitReadsOldCodePageFields) {
    // A cutting-stock line written in Windows-1252: "Stück" and "€" with 0xBF between.
    const Vor_StringArray fields = strToArr("St\xFC"
                                            "ck\xBF\x80",
                                            '\xBF');
    EXPECT_EQ(fields, (Vor_StringArray{"Stück", "€"}));
}

TEST(VorUtils, rowsToLinesAndBack) {
    const Vor_Array<Vor_StringArray> rows{{"HEA", "200", "ä"}, {"", "", ""}, {"x"}};
    const Vor_StringArray lines = arrArrToArr(rows, '\xBF');
    ASSERT_EQ(lines.length(), 3);
    EXPECT_EQ(lines[1], "\xBF\xBF");
    EXPECT_EQ(arrToArrArr(lines, '\xBF'), rows);
}

TEST(VorUtils, numberAndDigitHelpers) {
    const std::pair<const char*, bool> numbers[] = {{"300", true},  {"-1.5", true}, {" 12 ", true},
                                                    {"2e-3", true}, {"1,5", false}, {"", false},
                                                    {"x10", false}, {"-", false}};
    for (const auto& [text, expected] : numbers)
        EXPECT_EQ(isNumber(text), expected) << text;

    const std::pair<const char*, const char*> strips[] = {
        {"Bolt12", "Bolt"}, {"Bolt", "Bolt"}, {"12", ""}, {"a1b", "a1b"}, {"Plate 3", "Plate "}, {"", ""}};
    for (const auto& [text, expected] : strips)
        EXPECT_EQ(stripNumbersAtEnd(text), expected) << text;

    EXPECT_EQ(findFirstNumbers("HEA 200"), 4);
    EXPECT_EQ(findFirstNumbers("HEA"), -1);
}

TEST(VorUtils, findNonExistingStringNeverReturnsAnExistingText) {
    EXPECT_EQ(findNonExistingString({"100", "300"}, "200"), "200") << "a free base is kept";
    EXPECT_EQ(findNonExistingString({"200"}, "200"), "200_1");
    EXPECT_EQ(findNonExistingString({"200", "200_1", "200_2"}, "200"), "200_3");
    EXPECT_EQ(findNonExistingString({"New Table", "new table_1"}, "new table"), "new table_2")
        << "compared without regard to case, since names become file names";
    EXPECT_EQ(findNonExistingString({"1", "2"}, ""), "3");

    // Creating a new name twice in a row gives two different names.
    Vor_StringArray names{"HEA"};
    names.append(findNonExistingString(names, "New"));
    names.append(findNonExistingString(names, "New"));
    EXPECT_EQ(names, (Vor_StringArray{"HEA", "New", "New_1"}));
    EXPECT_FALSE(hasDuplicates(names));
}

TEST(VorUtils, duplicatesAndArrayBuilders) {
    EXPECT_TRUE(hasDuplicates({"Bolt", "bolt"}, false));
    EXPECT_FALSE(hasDuplicates({"Bolt", "bolt"}, true));
    EXPECT_FALSE(hasDuplicates({}, false));

    Vor_StringArray a = stringArr("a", Vor_String("b"), 3);
    appStrs(a, Vor_StringArray{"c", "d"}, "e");
    EXPECT_EQ(a, (Vor_StringArray{"a", "b", "3", "c", "d", "e"}));
    EXPECT_DOUBLE_EQ(ObjectExportRoundTo(12.5, 1.0), 13.0);
    EXPECT_DOUBLE_EQ(ObjectExportRoundTo(-12.5, 1.0), -13.0);
    EXPECT_DOUBLE_EQ(ObjectExportRoundTo(7.4, 5.0), 5.0);
}
