// Numbers to text and back in the engine do not depend on the process locale: every case runs
// under a decimal-comma locale, as on a Dutch desktop, and extreme doubles come out right.
#include "SheetTestUtil.h"

#include <sheet/Export.h>
#include <sheet/SssFile.h>
#include <sheet/Value.h>

#include <base/NumberText.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

using namespace sheet;
using namespace sheet::test;

namespace {

class DutchLocale : public testing::Test {
protected:
    void SetUp() override {
        m_before = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(std::setlocale(LC_ALL, "nl_NL.UTF-8"), nullptr) << "./vor test generates nl_NL.UTF-8";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "the test needs a decimal comma";
    }
    void TearDown() override { std::setlocale(LC_ALL, m_before.c_str()); }

private:
    std::string m_before;
};

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST_F(DutchLocale, generalFormatHasAPointAndFifteenDigits) {
    const struct {
        double v;
        const char* text;
        const char* why;
    } cases[] = {
        {1.5, "1.5", "the point, never the locale's comma"},
        {-0.1, "-0.1", "negative fraction"},
        {0.1 + 0.2, "0.3", "15 significant digits hide binary noise"},
        {1e61, "1E+61", "far beyond 1e60"},
        {-1e300, "-1E+300", "near the top of the range"},
        {kMax, "1.79769313486232E+308", "the largest double"},
        {kTiny, "4.94065645841247E-324", "the smallest double"},
        {123456789012345678.0, "1.23456789012346E+17", "more digits than shown"},
        {kNaN, "#NUM!", "no text for NaN: an error value"},
        {-kInf, "#NUM!", "nor for an infinity"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatGeneral(c.v), c.text) << c.why;
}

TEST_F(DutchLocale, fixedFormatShowsDecimalDigitsOnly) {
    const struct {
        double v;
        int decimals;
        bool thousands;
        const char* text;
        const char* why;
    } cases[] = {
        {1.5, 2, false, "1.50", "point under a comma locale"},
        {1234567.891, 2, true, "1,234,567.89", "comma groups, point decimal"},
        {1e23, 2, false, "100000000000000000000000.00",
         "no binary digits beyond 15 (not 99999999999999991611392)"},
        {1e61, 0, false, "10000000000000000000000000000000000000000000000000000000000000", "1e61 whole"},
        {-1e61, 1, true,
         "-10,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000.0",
         "1e61 grouped"},
        {0.49999999999, 0, false, "0", "just below a half rounds down"},
        {0.5, 0, false, "1", "a half rounds away from zero"},
        {-2.5, 0, false, "-3", "also when negative"},
        {9.995, 2, false, "10.00", "the carry runs into a new digit"},
        {-0.004, 2, false, "0.00", "no negative zero"},
        {kTiny, 15, false, "0.000000000000000", "far below the last decimal"},
        {kNaN, 2, false, "#NUM!", "NaN shows as an error value"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.v, c.decimals, c.thousands), c.text) << c.why;
    EXPECT_EQ(formatFixed(kMax, 15, true).size(), 309u + 102u + 1u + 15u)
        << "309 digits, 102 commas, point, 15 decimals";
}

TEST_F(DutchLocale, textsReadAsNumbersOnlyWithAPoint) {
    const struct {
        const char* text;
        bool number;
        double v;
        const char* why;
    } cases[] = {
        {"1.5", true, 1.5, "file and formula form"},
        {" -2.5e3 ", true, -2500, "exponent and spaces"},
        {".5", true, 0.5, "no leading zero"},
        {"50%", true, 0.5, "percent"},
        {"1e61", true, 1e61, "beyond 1e60"},
        {"1.7976931348623157e308", true, kMax, "the largest double"},
        {"1,5", false, 0, "the comma is not the file form's decimal separator"},
        {"1e400", false, 0, "beyond the doubles"},
        {"inf", false, 0, "no infinity"},
        {"nan", false, 0, "no NaN"},
        {"0x10", false, 0, "no hexadecimal"},
    };
    for (const auto& c : cases) {
        auto n = parseNumber(c.text);
        EXPECT_EQ(n.has_value(), c.number) << c.text << ": " << c.why;
        if (n && c.number) {
            EXPECT_EQ(*n, c.v) << c.text << ": " << c.why;
        }
    }
}

TEST_F(DutchLocale, formulasReadAndWriteNumbersWithAPoint) {
    Sheet s;
    sized(s);
    const struct {
        const char* formula;
        const char* shown;
        const char* why;
    } cases[] = {
        {"1.5*2", "3", "a literal with a point"},
        {"ROUND(2.675, 2)", "2.68", "rounding goes through 15-digit text"},
        {"TEXT(1234.5, \"#,##0.00\")", "1,234.50", "TEXT uses the format's own separators"},
        {"VALUE(\"1.25\")*2", "2.5", "VALUE reads the point"},
        {"1E+61*10", "1E+62", "big literals"},
        {"1.7976931348623157e308", "1.79769313486232E+308", "the largest literal"},
        {"1.5&\"\"", "1.5", "a number as text"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eval(s, c.formula), c.shown) << c.formula << ": " << c.why;

    // A literal prints as the shortest text that reads back as the same double.
    for (double v : {0.1, 1e61, kMax, kTiny, 123456789.125}) {
        ParseError err;
        std::string f;
        ASSERT_TRUE(base::formatShortest(v, f));
        ASSERT_TRUE(s.setFormula(2, 2, f + "+0", &err)) << f << ": " << err.message;
        const std::string printed = s.formula(2, 2, RefStyle::A1);
        EXPECT_EQ(printed, f + "+0") << "printed back with a point";
        ASSERT_TRUE(s.setFormula(3, 3, printed, &err)) << printed;
        EXPECT_EQ(s.value(3, 3), Value::num(v)) << printed << ": the same double again";
    }
    ParseError err;
    EXPECT_FALSE(s.setFormula(4, 4, "1e400", &err));
    EXPECT_EQ(err.code, ParseErrorCode::UnexpectedToken) << "out of range, not malformed";
    EXPECT_FALSE(s.setFormula(4, 4, "1.2.3", &err));
    EXPECT_EQ(err.code, ParseErrorCode::UnexpectedCharacter);
}

TEST_F(DutchLocale, tableFilesKeepEveryDoubleAndRefuseNoneOfThem) {
    Sheet a;
    sized(a, 3, 10);
    const double values[] = {0.1, -1.5, 1e61, -1e300, kMax, -kMax, kTiny, 123456789.125, 1.0 / 3};
    for (int i = 0; i < int(std::size(values)); ++i)
        a.setNumber(1, i + 1, values[i]);
    a.setValue(2, 1, Value::num(kNaN)); // cannot be typed, but a loader or paste could store it
    CellType open;
    open.kind = CellKind::Number;
    open.minimum = -kInf;
    open.maximum = kInf;
    a.setCellType({3, 1, 3, 1}, open);
    const std::string text = sheetToJson(a);
    Sheet b;
    FileResult r = sheetFromJson(b, text);
    ASSERT_TRUE(r) << r.error;
    for (int i = 0; i < int(std::size(values)); ++i) {
        const Value v = b.value(1, i + 1);
        ASSERT_TRUE(v.isNumber()) << values[i];
        EXPECT_EQ(std::memcmp(&v.number, &values[i], sizeof(double)), 0) << "bit for bit: " << values[i];
    }
    EXPECT_EQ(b.value(2, 1), Value::err(ErrorCode::Num)) << "NaN is stored as the error it shows";
    EXPECT_LE(b.cellType(3, 1).minimum, -kMax) << "an open bound stays open";
    EXPECT_GE(b.cellType(3, 1).maximum, kMax);
}

TEST_F(DutchLocale, exportsWriteNumbersWithAPoint) {
    Sheet s;
    sized(s, 2, 1);
    s.setNumber(1, 1, 1.5);
    s.setNumber(2, 1, 1e61);
    EXPECT_EQ(exportText(s, kTextBar), "1.5|1E+61\n");
    EXPECT_EQ(clipboardCopy(s, {1, 1, 2, 1}), "1.5\t1E+61\r\n");
    EXPECT_NE(exportHtml(s).find(">1.5<"), std::string::npos);
    CellType num;
    num.kind = CellKind::Number;
    num.decimals = 2;
    num.thousands = true;
    s.setCellType({1, 1, 2, 1}, num);
    EXPECT_EQ(exportText(s, kTextBar | kTextShown),
              "1.50|10,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000.00\n")
        << "the shown texts, grouped with commas whatever the locale";
}

} // namespace

namespace {

TEST_F(DutchLocale, numberCellsReadPastedAndSetTextsAsTyped) {
    Sheet s;
    sized(s, 2, 2);
    CellType num;
    num.kind = CellKind::Number;
    num.decimals = 2;
    s.setCellType({1, 1, 2, 2}, num);
    const struct {
        const char* text;
        Value value;
        const char* why;
    } cases[] = {
        {"1,5", Value::num(1.5), "a decimal comma is no thousands separator (was 15)"},
        {"1.234,5", Value::num(1234.5), "grouping where nothing else fits"},
        {"1,234,5", Value::str("1,234,5"), "two readings: kept as the text it is, not a wrong number"},
        {"12,5%", Value::num(0.125), "a percentage"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(s.setData(1, 1, c.text));
        EXPECT_EQ(s.value(1, 1), c.value) << c.text << ": " << c.why;
    }
    // A grouped cell's own shown text reads back as the value it shows.
    CellType grouped = num;
    grouped.decimals = 0;
    grouped.thousands = true;
    s.setCellType({2, 1, 2, 1}, grouped);
    ASSERT_TRUE(s.setNumber(2, 1, 12500));
    ASSERT_EQ(s.data(2, 1), "12,500");
    ASSERT_TRUE(s.setData(2, 1, s.data(2, 1)));
    EXPECT_EQ(s.value(2, 1), Value::num(12500)) << "read and written back, the value stays";
    ASSERT_TRUE(s.setData(2, 1, "1,5"));
    EXPECT_EQ(s.value(2, 1), Value::num(1.5)) << "not its shown form: a decimal comma";

    EXPECT_EQ(clipboardPaste(s, {1, 2}, "2,75\t1.000,25\r\n"), (CellRange{1, 2, 2, 2}));
    EXPECT_EQ(s.data(1, 2), "2.75") << "pasted with a decimal comma";
    EXPECT_EQ(s.data(2, 2), "1000.25");
}

} // namespace
