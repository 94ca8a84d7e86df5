// Every built-in function against results computed once by LibreOffice Calc for the same formulas on
// the same cells (tests/sheet/data/lo_expected.tsv, made by make_lo_expected.sh).
#include <sheet/Sheet.h>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>

using namespace sheet;

namespace {

struct Row {
    std::string formula, expected;
};

std::vector<Row> readExpected() {
    std::ifstream in(std::string(VOR_SOURCE_DIR) + "/tests/sheet/data/lo_expected.tsv");
    std::vector<Row> rows;
    std::string line;
    while (std::getline(in, line)) {
        auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::string e = line.substr(tab + 1);
        if (e.size() >= 2 && e.front() == '"' && e.back() == '"') e = e.substr(1, e.size() - 2);
        std::string un;
        for (std::size_t i = 0; i < e.size(); ++i) {
            un += e[i];
            if (e[i] == '"' && i + 1 < e.size() && e[i + 1] == '"') ++i;
        }
        rows.push_back({line.substr(0, tab), un});
    }
    return rows;
}

// LibreOffice's own code for "invalid argument", where spreadsheets in the Excel family name the
// error by its cause.
const std::set<std::string> kInvalidArgument{"#NUM!", "#VALUE!", "#REF!"};

// Where LibreOffice differs from Excel, the engine follows Excel (booleans are their own kind and print
// as TRUE/FALSE); these are the only cases allowed to differ, each with its reason.
const std::map<std::string, std::string> kExcelRule{
    {"CONCATENATE(B1,\" \",TRUE)", "apple TRUE"},
};

} // namespace

TEST(Functions, agreeWithLibreOfficeCalc) {
    auto rows = readExpected();
    ASSERT_GE(rows.size(), 200u) << "expected results missing";
    Sheet s;
    s.setMaxCols(6);
    s.setMaxRows(int(rows.size()));
    const char* names[] = {"apple", "banana", "cherry", "date", "elder",
                           "fig",   "grape",  "honey",  "ice",  "jam"};
    const char* cvals[] = {"2.5", "-1", "0", "3.75", "10", "1000", "-7.25", "0.5", "4", "8"};
    for (int r = 1; r <= 10; ++r) {
        s.setData(1, r, std::to_string(r));
        s.setData(2, r, names[r - 1]);
        s.setData(3, r, cvals[r - 1]);
    }
    std::set<std::string> covered;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        int r = int(i) + 1;
        ParseError err;
        ASSERT_TRUE(s.setFormula(5, r, row.formula, &err)) << row.formula << ": " << err.message;
        Value v = s.value(5, r);
        std::string got = s.data(5, r);
        SCOPED_TRACE(row.formula + " -> " + got + ", LibreOffice: " + row.expected);
        if (auto it = kExcelRule.find(row.formula); it != kExcelRule.end()) {
            EXPECT_EQ(got, it->second);
            continue;
        }
        if (row.expected.rfind("Err:502", 0) == 0) {
            EXPECT_TRUE(v.isError() && kInvalidArgument.count(got));
        } else if (!row.expected.empty() && row.expected[0] == '#') {
            EXPECT_EQ(got, row.expected);
        } else if (auto n = parseNumber(row.expected); n && row.expected.find('%') == std::string::npos &&
                                                       row.expected.find(',') == std::string::npos &&
                                                       !v.isText()) {
            EXPECT_TRUE(v.isNumber() || v.isBool());
            EXPECT_NEAR(v.number, *n, 1e-12 * std::max(1.0, std::fabs(*n)));
        } else {
            EXPECT_EQ(got, row.expected);
        }
        for (std::size_t k = 0; k < row.formula.size(); ++k) {
            std::size_t e = k;
            while (e < row.formula.size() && (std::isalnum((unsigned char)row.formula[e])))
                ++e;
            if (e < row.formula.size() && row.formula[e] == '(' && e > k)
                covered.insert(row.formula.substr(k, e - k));
            k = e;
        }
    }
    for (const char* f :
         {"SUM",        "PRODUCT", "SUMPRODUCT", "SUMIF",  "AVERAGE", "MIN",    "MAX",         "COUNT",
          "COUNTA",     "COUNTIF", "MEDIAN",     "ABS",    "SIGN",    "SQRT",   "POWER",       "EXP",
          "LN",         "LOG",     "LOG10",      "MOD",    "INT",     "TRUNC",  "ROUND",       "ROUNDUP",
          "ROUNDDOWN",  "MROUND",  "CEILING",    "FLOOR",  "PI",      "FACT",   "SIN",         "COS",
          "TAN",        "ASIN",    "ACOS",       "ATAN",   "ATAN2",   "SINH",   "COSH",        "TANH",
          "RADIANS",    "DEGREES", "IF",         "AND",    "OR",      "NOT",    "TRUE",        "FALSE",
          "IFERROR",    "ISERROR", "ISNUMBER",   "ISTEXT", "ISBLANK", "NA",     "CHOOSE",      "VLOOKUP",
          "HLOOKUP",    "LOOKUP",  "INDEX",      "MATCH",  "ROW",     "COLUMN", "CONCATENATE", "LEFT",
          "RIGHT",      "MID",     "LEN",        "TRIM",   "UPPER",   "LOWER",  "FIND",        "SEARCH",
          "SUBSTITUTE", "REPT",    "EXACT",      "TEXT",   "VALUE",   "FIXED"})
        EXPECT_TRUE(covered.count(f)) << f << " has no case in the agreement data";
}
