// Header and footer labels as they print: placeholders for pages and table variables, and the
// formatting codes with their precedence.

#include "calc/HeaderLabel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

LabelContext context(int total = 3) {
    LabelContext c;
    c.totalPages = total;
    c.varNames.append("Lengte");
    c.varValues.append("1200");
    c.varNames.append("Project");
    c.varValues.append("Hal 4");
    return c;
}

TEST(HeaderLabel, placeholdersBecomePagesAndVariables) {
    struct Case {
        const char* text;
        int page;
        const char* expected;
        const char* why;
    } cases[] = {
        {"Blad %currentPage% van %totalPages%", 2, "Blad 2 van 3", "page 2 of 3"},
        {"%lengte% mm", 1, "1200 mm", "a variable in other letter case"},
        {"%LENGTE%/%Project%", 1, "1200/Hal 4", "two variables side by side"},
        {"%CURRENTPAGE%", 7, "7", "the page word in any case"},
        {"%Onbekend% blijft", 1, "%Onbekend% blijft", "a word that names nothing stays"},
        {"50% van %Lengte%", 1, "50% van 1200", "a lone % before a placeholder stays"},
        {"100%", 1, "100%", "a lone % at the end"},
        {"%%", 1, "%%", "an empty word is no placeholder"},
        {"%Lengte", 1, "%Lengte", "no closing %"},
        {"", 1, "", "empty text"},
    };
    const LabelContext c = context();
    for (const Case& k : cases)
        EXPECT_EQ(renderHeaderLabel(k.text, k.page, c).text, k.expected) << k.why;
}

TEST(HeaderLabel, aVariableListOfUnevenLengthOnlyMatchesPairs) {
    LabelContext c = context();
    c.varNames.append("Los"); // no value beside it
    EXPECT_EQ(renderHeaderLabel("%Los%", 1, c).text, "%Los%");
}

TEST(HeaderLabel, alignmentCodesAndTheirPrecedence) {
    struct Case {
        const char* text;
        LabelAlign align;
        const char* rest;
        const char* why;
    } cases[] = {
        {"Totaal", LabelAlign::Left, "Totaal", "no code: left"},
        {"/CTotaal", LabelAlign::Center, "Totaal", "centred"},
        {"Totaal/R", LabelAlign::Right, "Totaal", "a code at the end"},
        {"/L/CTotaal", LabelAlign::Center, "Totaal", "/C wins over /L"},
        {"/C/R/LTotaal", LabelAlign::Right, "Totaal", "/R wins over both"},
        {"/C/CTotaal", LabelAlign::Center, "/CTotaal", "only the first of each code goes"},
    };
    for (const Case& k : cases) {
        RenderedLabel r = renderHeaderLabel(k.text, 1, context());
        EXPECT_EQ(r.align, k.align) << k.why;
        EXPECT_EQ(r.text, k.rest) << k.why;
    }
}

TEST(HeaderLabel, styleCodesSetOrClearTheStandardFont) {
    RenderedLabel r = renderHeaderLabel("/C/BTotaal", 1, context());
    EXPECT_EQ(r.text, "Totaal");
    EXPECT_EQ(r.align, LabelAlign::Center);
    EXPECT_EQ(r.bold, true) << "centred and bold";
    EXPECT_FALSE(r.italic.has_value()) << "untouched: the standard font decides";

    r = renderHeaderLabel("/I/ULx/NB", 1, context());
    EXPECT_EQ(r.text, "x");
    EXPECT_EQ(r.italic, true);
    EXPECT_EQ(r.underline, true);
    EXPECT_EQ(r.bold, false) << "/NB takes bold away";

    r = renderHeaderLabel("/NUL/NI/NBy", 1, context());
    EXPECT_EQ(r.text, "y") << "the negative codes are not mistaken for /UL, /I or /B";
    EXPECT_EQ(r.underline, false);
    EXPECT_EQ(r.italic, false);
    EXPECT_EQ(r.bold, false);

    r = renderHeaderLabel("/B/NBz", 1, context());
    EXPECT_EQ(r.bold, false) << "not-bold comes after bold";
}

TEST(HeaderLabel, fontAndHeightCodesCarryQuotedArguments) {
    struct Case {
        const char* text;
        std::optional<std::string> face;
        std::optional<double> height;
        const char* rest;
        const char* why;
    } cases[] = {
        {"/F\"Courier New\"Titel", "Courier New", std::nullopt, "Titel", "a face with a space"},
        {"Titel/TH\"14\"", std::nullopt, 14.0, "Titel", "a height"},
        {"/TH\"10,5\"a", std::nullopt, 10.5, "a", "a height typed with a decimal comma"},
        {"/TH\"groot\"a", std::nullopt, std::nullopt, "a", "a height that is no number is dropped"},
        {"/F\"Arial", std::nullopt, std::nullopt, "/F\"Arial", "no closing quote: no code"},
        {"/F\"A\"/TH\"9\"/B/CTekst", "A", 9.0, "Tekst", "every code at once"},
    };
    for (const Case& k : cases) {
        RenderedLabel r = renderHeaderLabel(k.text, 1, context());
        EXPECT_EQ(r.face, k.face) << k.why;
        EXPECT_EQ(r.height, k.height) << k.why;
        EXPECT_EQ(r.text, k.rest) << k.why;
    }
}

TEST(HeaderLabel, placeholdersAreFilledBeforeCodesAreRead) {
    LabelContext c = context();
    c.varNames.append("Stijl");
    c.varValues.append("/B");
    RenderedLabel r = renderHeaderLabel("%Stijl%Som", 1, c);
    EXPECT_EQ(r.text, "Som");
    EXPECT_EQ(r.bold, true);
}

TEST(HeaderLabel, aLabelThatRepeatsALongVariableIsCutAtItsBudget) {
    // A header file of some 960 KB whose label repeats a variable of 20 KB 160,000 times asked
    // for 3.2 GB before and stopped the print run.
    LabelContext c = context();
    c.varNames.append("Lang");
    c.varValues.append(std::string(20'000, 'x'));
    std::string label;
    for (int i = 0; i < 160'000; ++i)
        label += "%Lang%";
    const std::string out = expandLabelPlaceholders(label, 1, c);
    EXPECT_EQ(out, std::string(kMaxLabelBytes, 'x')) << "the label keeps its budget, the rest is cut";

    struct Case {
        std::string text;
        std::size_t size;
        const char* why;
    } cases[] = {
        {std::string(kMaxLabelBytes + 10, 'a'), kMaxLabelBytes, "a long text without placeholders"},
        {std::string(kMaxLabelBytes - 1, 'a') + "\xC3\xA9rest", kMaxLabelBytes - 1,
         "cut before a character that does not fit whole"},
        {std::string(100, 'a') + "%Lengte%", 104, "a short label is whole"},
        {std::string(kMaxLabelBytes - 2, 'a') + "%Lengte%", kMaxLabelBytes,
         "a value taken as far as it fits"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(expandLabelPlaceholders(k.text, 1, c).size(), k.size) << k.why;
}

TEST(HeaderLabel, manyPlaceholdersOfEmptyVariablesCostWhatTheTextCosts) {
    // 50,000 variables and a label of 30,000 placeholders that print nothing: each placeholder is
    // found through an index, not by going through the list.
    LabelContext c;
    for (int i = 0; i < 50'000; ++i) {
        c.varNames.append(Vor_String("v" + std::to_string(i)));
        c.varValues.append("");
    }
    std::string label;
    for (int i = 0; i < 30'000; ++i)
        label += "%V49999%";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(renderHeaderLabel(label + "Einde", 1, c).text, "Einde");
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
}

} // namespace
