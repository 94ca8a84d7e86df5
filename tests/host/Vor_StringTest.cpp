#include <host/Vor_String.h>

#include <host/VorUtils.h>

#include "DecimalCommaLocale.h"

#include <gtest/gtest.h>

#include <limits>
#include <unordered_set>

TEST(Vor_String, caseInsensitiveComparisonsFoldLatinLettersBeyondAscii) {
    struct Case {
        const char* a;
        const char* b;
        bool equalIgnoringCase;
        const char* why;
    };
    const Case cases[] = {
        {"Plate", "PLATE", true, "ASCII"},
        {"café", "CAFÉ", true, "é/É, two-byte letters"},
        {"ÿ", "Ÿ", true, "ÿ U+00FF and Ÿ U+0178 are a pair in different blocks"},
        {"łódź", "ŁÓDŹ", true, "Latin Extended-A pairs"},
        {"Straße", "STRASSE", false, "no expansion of ß"},
        {"é", "e", false, "accents are not ignored"},
        {"Plate", "Plat", false, "different lengths"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Vor_String(c.a).equal(c.b, false), c.equalIgnoringCase) << c.why;
        EXPECT_EQ(Vor_String(c.a).equal(c.b, true), std::string(c.a) == c.b) << c.why;
    }
    EXPECT_TRUE(Vor_String("Beams/ÉndPlate.txt").startsWith("beams/é", false));
    EXPECT_FALSE(Vor_String("Beams/ÉndPlate.txt").startsWith("beams/é"));
    EXPECT_TRUE(Vor_String("Stock1.SHP").endsWith(".shp", false));
    EXPECT_EQ(Vor_String("aÉb").find("éB", 0, false), 1) << "byte index into the original text";
    EXPECT_EQ(Vor_String("café").toUpper(), "CAFÉ");
    EXPECT_EQ(Vor_String("ÀÖ×Ø").toLower(), "àö×ø") << "× is not a letter";
}

TEST(Vor_String, numbersFromAndToText) {
    EXPECT_EQ(Vor_String(-42), "-42");
    EXPECT_EQ(Vor_String(123456789L), "123456789");
    EXPECT_EQ(Vor_String(static_cast<short>(7)), "7");
    EXPECT_EQ(Vor_String(2.345, 2), "2.35");
    EXPECT_EQ(Vor_String(10.0, 0), "10");
    EXPECT_EQ(Vor_String(-0.0001, 2), "0.00") << "no '-0.00' for a value that rounds to zero";
    EXPECT_EQ(Vor_String(-0.5, 1), "-0.5");
    EXPECT_EQ(Vor_String::format("%s=%03d", "n", 5), "n=005");

    struct Case {
        const char* text;
        bool isInt;
        int intValue;
        bool isDouble;
        double doubleValue;
    };
    const Case cases[] = {
        {"12", true, 12, true, 12.0},
        {" -7 ", true, -7, true, -7.0},
        {"+3", true, 3, true, 3.0},
        {"1.5", false, 0, true, 1.5},
        {".5", false, 0, true, 0.5},
        {"1e3", false, 0, true, 1000.0},
        {"1,5", false, 0, false, 0.0},
        {"", false, 0, false, 0.0},
        {"12mm", false, 0, false, 0.0},
        {"inf", false, 0, false, 0.0},
        {"nan", false, 0, false, 0.0},
        {"0x10", false, 0, false, 0.0},
        {"99999999999", false, 0, true, 99999999999.0},
    };
    for (const Case& c : cases) {
        bool ok = !c.isInt;
        EXPECT_EQ(Vor_String(c.text).toInt(&ok), c.intValue) << c.text;
        EXPECT_EQ(ok, c.isInt) << c.text;
        ok = !c.isDouble;
        EXPECT_DOUBLE_EQ(Vor_String(c.text).toDouble(&ok), c.doubleValue) << c.text;
        EXPECT_EQ(ok, c.isDouble) << c.text;
    }
}

TEST(Vor_String, editingClipsIndexesInsteadOfFailing) {
    Vor_String s("abc");
    s.insertAt(1, "XY");
    EXPECT_EQ(s, "aXYbc");
    s.insertAt(99, "!");
    EXPECT_EQ(s, "aXYbc!");
    s.insertAt(-5, "<");
    EXPECT_EQ(s, "<aXYbc!");
    s.removeAt(1, 3);
    EXPECT_EQ(s, "<bc!");
    s.removeAt(3, 10);
    EXPECT_EQ(s, "<bc");
    s.removeAt(10);
    s.removeAt(-1);
    EXPECT_EQ(s, "<bc") << "a position outside the text removes nothing";

    EXPECT_EQ(Vor_String("abcdef").mid(2, 2), "cd");
    EXPECT_EQ(Vor_String("abcdef").mid(4), "ef");
    EXPECT_EQ(Vor_String("abcdef").mid(10), "");
    EXPECT_EQ(Vor_String("abcdef").mid(-2, 4), "ab");
    EXPECT_EQ(Vor_String("abc").left(10), "abc");
    EXPECT_EQ(Vor_String("abc").right(2), "bc");
    EXPECT_EQ(Vor_String("abc").right(-1), "");

    Vor_String t(" \t a b \r\n");
    EXPECT_EQ(t.trim(), "a b");

    Vor_String r("Ab ab AB");
    EXPECT_EQ(r.replace("ab", "x", false), 3);
    EXPECT_EQ(r, "x x x");
    EXPECT_EQ(r.replace("", "y"), 0) << "an empty pattern must not loop";
    Vor_String w("Width");
    EXPECT_EQ(w.append(1) + "/" + Vor_String(2), "Width1/2");
}

TEST(Vor_String, valueSemanticsAndHashing) {
    Vor_String a("text");
    Vor_String b = a;
    b.append('!');
    EXPECT_EQ(a, "text") << "a copy is independent";
    EXPECT_LT(Vor_String("a"), Vor_String("b"));
    EXPECT_NE(a, b);
    std::unordered_set<Vor_String> set{a, b, Vor_String("text")};
    EXPECT_EQ(set.size(), 2u);
}

TEST(Vor_String, numberTextIgnoresTheLocale) {
    DecimalCommaLocale nl;
    ASSERT_TRUE(nl.active()) << "./vor generates nl_NL.UTF-8";
    struct Case {
        double value;
        int precision;
        const char* text;
        const char* why;
    };
    const Case cases[] = {
        {2.25, 2, "2.25", "a decimal point on a decimal-comma desktop"},
        {-0.004, 2, "0.00", "no sign for a value that rounds to zero"},
        {1e61, 1, "9999999999999999493871352970740188669636450110134100730839040.0",
         "a huge value, every digit"},
        {std::numeric_limits<double>::quiet_NaN(), 2, "", "NaN has no number text"},
        {std::numeric_limits<double>::infinity(), 2, "", "nor has infinity"},
    };
    for (const Case& c : cases) {
        const Vor_String text(c.value, c.precision);
        EXPECT_EQ(text, c.text) << c.why;
        EXPECT_EQ(isNumber(text), !text.isEmpty()) << c.why << ": the host's own check reads it back";
    }
    EXPECT_EQ(Vor_String::format("%.1f mm", 2.5), "2.5 mm") << "printf-style numbers too";
    bool ok = false;
    EXPECT_EQ(Vor_String("2.5").toDouble(&ok), 2.5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Vor_String("2,5").toDouble(&ok), 0.0);
    EXPECT_FALSE(ok) << "a file number never has a comma";
}
