#include <base/NumberText.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace {

// Runs a block under a decimal-comma locale, as on a Dutch desktop; the conversions must not notice.
class DecimalCommaLocale {
public:
    DecimalCommaLocale() {
        m_old = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"nl_NL.UTF-8", "nl_NL.utf8", "de_DE.UTF-8", "de_DE.utf8"})
            if (std::setlocale(LC_ALL, name)) {
                m_active = true;
                break;
            }
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, m_old.c_str()); }
    bool active() const { return m_active; }

private:
    std::string m_old;
    bool m_active = false;
};

TEST(NumberText, formatsEveryFiniteDoubleUnderADecimalCommaLocale) {
    DecimalCommaLocale nl;
    ASSERT_TRUE(nl.active()) << "./vor generates nl_NL.UTF-8; the conversions must be tried under it";
    struct Case {
        double value;
        int decimals;
        const char* fixed;
        const char* why;
    } cases[] = {
        {2.25, 2, "2.25", "decimal point whatever the locale"},
        {-0.001, 2, "0.00", "a negative value that rounds to zero shows no minus"},
        {1e61, 2, nullptr, "far beyond a small fixed buffer"},
        {-1.7976931348623157e308, 0, nullptr, "the largest double has 309 digits"},
        {0.125, 2, "0.12", "round half to even of the exact binary value"},
    };
    for (const Case& c : cases) {
        std::string out;
        ASSERT_TRUE(base::formatFixed(c.value, c.decimals, out)) << c.why;
        if (c.fixed) {
            EXPECT_EQ(out, c.fixed) << c.why;
        }
        if (c.value == 1e61) {
            EXPECT_EQ(out.find('.'), 61u) << "the nearest double to 1e61 has 61 digits: " << out;
        }
        double back = 0;
        ASSERT_TRUE(base::parseNumber(out, back)) << c.why << ": " << out;
        if (c.decimals == 0 || std::fabs(c.value) > 1e20) {
            EXPECT_EQ(back, std::round(c.value)) << c.why;
        }
    }
    std::string shortest;
    ASSERT_TRUE(base::formatShortest(0.1, shortest));
    EXPECT_EQ(shortest, "0.1");
    ASSERT_TRUE(base::formatShortest(1e61, shortest));
    EXPECT_EQ(shortest, "1e+61");
    ASSERT_TRUE(base::formatGeneral(1234.5678, 6, shortest));
    EXPECT_EQ(shortest, "1234.57");
}

TEST(NumberText, nanAndInfinityHaveNoText) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    for (double v : bad) {
        std::string out = "kept";
        EXPECT_FALSE(base::formatShortest(v, out));
        EXPECT_FALSE(base::formatFixed(v, 2, out));
        EXPECT_FALSE(base::formatGeneral(v, 15, out));
        EXPECT_EQ(out, "kept");
    }
}

TEST(NumberText, fileNumbersAreReadStrictlyWithAPoint) {
    DecimalCommaLocale nl;
    struct Case {
        const char* text;
        bool ok;
        double value;
        const char* why;
    } cases[] = {
        {"1.5", true, 1.5, "the point under a comma locale"},
        {" -2.5e3 ", true, -2500, "spaces around, exponent"},
        {"+7", true, 7, "a plus sign"},
        {"1,5", false, 0, "a comma is not the file form"},
        {"inf", false, 0, "no infinity"},
        {"nan", false, 0, "no NaN"},
        {"0x10", false, 0, "no hexadecimal"},
        {"1e999", false, 0, "beyond the double range"},
        {".", false, 0, "a point without digits"},
        {"", false, 0, "empty"},
    };
    for (const Case& c : cases) {
        double v = -99;
        EXPECT_EQ(base::parseNumber(c.text, v), c.ok) << c.why << ": " << c.text;
        EXPECT_EQ(v, c.ok ? c.value : -99) << c.why;
    }
}

TEST(NumberText, leadingNumbersAreReadAsAtofWouldWithAPoint) {
    DecimalCommaLocale nl;
    struct Case {
        const char* text;
        double value;
        std::size_t used;
        const char* why;
    } cases[] = {
        {"12.5 mm", 12.5, 4, "a unit after the number"},
        {"  -3e2x", -300, 6, "spaces, sign and exponent"},
        {"1e", 1, 1, "an exponent without digits is not read"},
        {"1,5", 1, 1, "the comma ends the number"},
        {".5", 0.5, 2, "no digit before the point"},
        {"mm 12", 0, 0, "no number at the start"},
        {"1e999", 0, 0, "beyond the double range"},
        {"-", 0, 0, "a sign alone"},
        {"inf", 0, 0, "no infinity"},
    };
    for (const Case& c : cases) {
        std::size_t used = 99;
        EXPECT_EQ(base::parseLeadingNumber(c.text, &used), c.value) << c.why;
        EXPECT_EQ(used, c.used) << c.why;
    }
    std::size_t used = 99;
    EXPECT_EQ(base::parseLeadingInteger(" 42 pieces", &used), 42);
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(base::parseLeadingInteger("+7", &used), 7);
    EXPECT_EQ(base::parseLeadingInteger("99999999999999999999", &used), 0) << "beyond 64 bits";
    EXPECT_EQ(used, 0u);
}

TEST(NumberText, typedNumbersAreReadAsMeant) {
    using base::TypedNumber;
    struct Case {
        const char* text;
        TypedNumber kind;
        double value;
        const char* why;
    } cases[] = {
        {"1,5", TypedNumber::Number, 1.5, "decimal comma"},
        {"1.5", TypedNumber::Number, 1.5, "decimal point"},
        {"1.234,5", TypedNumber::Number, 1234.5, "Dutch grouping with a decimal comma"},
        {"1,234.5", TypedNumber::Number, 1234.5, "English grouping with a decimal point"},
        {"1.234.567", TypedNumber::Number, 1234567, "repeated separator can only be grouping"},
        {"1.234.567,25", TypedNumber::Number, 1234567.25, "several groups and a decimal comma"},
        {"-0,75", TypedNumber::Number, -0.75, "negative with a comma"},
        {",5", TypedNumber::Number, 0.5, "no leading digit"},
        {"3,", TypedNumber::Number, 3, "trailing separator"},
        {"1,5e3", TypedNumber::Number, 1500, "exponent after a decimal comma"},
        {"  42 ", TypedNumber::Number, 42, "spaces around"},
        {"", TypedNumber::Empty, 0, "empty"},
        {"   ", TypedNumber::Empty, 0, "only spaces"},
        {"1,234,5", TypedNumber::Ambiguous, 0, "a last group of one digit is no grouping"},
        {"1.23.456", TypedNumber::Ambiguous, 0, "a group of two digits"},
        {"1,2.3", TypedNumber::Ambiguous, 0, "grouping of one digit"},
        {"1.234,5,6", TypedNumber::Ambiguous, 0, "two decimal commas"},
        {"12345,678.9", TypedNumber::Ambiguous, 0, "first group too long"},
        {"abc", TypedNumber::NotNumber, 0, "letters"},
        {"1x", TypedNumber::NotNumber, 0, "trailing letter"},
        {"--1", TypedNumber::NotNumber, 0, "double sign"},
        {",", TypedNumber::NotNumber, 0, "no digits"},
        {"1e", TypedNumber::NotNumber, 0, "exponent without digits"},
    };
    for (const Case& c : cases) {
        double v = -99;
        EXPECT_EQ(base::readTypedNumber(c.text, v), c.kind) << c.why << ": '" << c.text << "'";
        EXPECT_DOUBLE_EQ(v, c.kind == TypedNumber::Number ? c.value : -99) << c.why;
    }
}

} // namespace
