// The levels of a model without a window: heights through chains of references, names that must
// stay distinct, the world level that stays, and what a person types as a height.
#include "DecimalCommaLocale.h"

#include "production/LevelInput.h"

#include <host/KrLevelsDlgData.h>
#include <host/VorJson.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

// wcs <- Peil 0 (0) <- +3600 (3600) <- +7200 (3600); Peil 0 <- Fundering (-800)
KrLevelsDlgData building() {
    KrLevelsDlgData d;
    EXPECT_TRUE(d.setLevels({{"wcs", "", 0},
                             {"Peil 0", "wcs", 250},
                             {"+3600", "Peil 0", 3600},
                             {"+7200", "+3600", 3600},
                             {"Fundering", "Peil 0", -800}}));
    return d;
}

double absoluteOf(const KrLevelsDlgData& d, const char* name) {
    return d.absoluteValue(d.indexOf(name));
}

TEST(LevelsData, absoluteHeightsAddUpAlongTheReferences) {
    const KrLevelsDlgData d = building();
    EXPECT_EQ(absoluteOf(d, "wcs"), 0);
    EXPECT_EQ(absoluteOf(d, "+7200"), 7450) << "3600 + 3600 + 250 down to the world level";
    EXPECT_EQ(absoluteOf(d, "Fundering"), -550);
    Vor_String name, ref;
    double value = 0, absolute = 0;
    ASSERT_TRUE(d.getLevelData(3, name, ref, value, absolute));
    EXPECT_EQ(name, Vor_String("+7200"));
    EXPECT_EQ(ref, Vor_String("+3600"));
    EXPECT_EQ(value, 3600);
    EXPECT_EQ(absolute, 7450);
    EXPECT_FALSE(d.getLevelData(5, name, ref, value, absolute)) << "one past the end";
    EXPECT_EQ(name, Vor_String("+7200")) << "a bad index changes nothing";
}

TEST(LevelsData, namesStayDistinctAndTheWorldLevelStays) {
    KrLevelsDlgData d = building();
    int index = -1;
    struct Case {
        const char* name;
        bool added;
        const char* why;
    } cases[] = {{"wcs", false, "the world level's name"},
                 {"WCS", false, "names differ in more than case"},
                 {"peil 0", false, "a level of that name exists"},
                 {"   ", false, "no name at all"},
                 {"+10800", true, "a free name"}};
    for (const Case& c : cases) {
        index = -1;
        EXPECT_EQ(d.addLevel(c.name, index), c.added) << c.why;
        EXPECT_EQ(index, c.added ? 5 : -1) << c.why;
    }
    EXPECT_EQ(d.levels()[5].reference, Vor_String("wcs")) << "a new level stands on the world level";

    EXPECT_FALSE(d.deleteLevel(0)) << "the world level cannot be deleted";
    EXPECT_FALSE(d.updateLevel(0, 100.0)) << "the world level stays at 0";
    EXPECT_FALSE(d.updateLevel(1, std::numeric_limits<double>::infinity()));

    ASSERT_TRUE(d.deleteLevel(d.indexOf("+3600")));
    EXPECT_EQ(absoluteOf(d, "+7200"), 7450) << "a level on the deleted one keeps its height";
    EXPECT_EQ(d.levels()[d.indexOf("+7200")].reference, Vor_String("Peil 0"));

    KrLevelsDlgData alone;
    ASSERT_TRUE(alone.setLevels({{"Peil 0", "", 0}}));
    EXPECT_FALSE(alone.deleteLevel(0)) << "the last level cannot be deleted";
}

TEST(LevelsData, referencesNeverGoRound) {
    KrLevelsDlgData d = building();
    const int peil = d.indexOf("Peil 0");
    EXPECT_FALSE(d.updateLevel(peil, Vor_String("+7200"))) << "+7200 stands on Peil 0";
    EXPECT_FALSE(d.updateLevel(peil, Vor_String("Peil 0"))) << "not on itself";
    EXPECT_FALSE(d.updateLevel(peil, Vor_String("Dak"))) << "no such level";
    EXPECT_EQ(d.levels()[peil].reference, Vor_String("wcs")) << "refused changes change nothing";
    ASSERT_TRUE(d.updateLevel(d.indexOf("Fundering"), Vor_String("+3600")));
    EXPECT_EQ(absoluteOf(d, "Fundering"), 3050);

    EXPECT_FALSE(d.setLevels({{"A", "B", 0}, {"B", "A", 0}})) << "a circle";
    EXPECT_FALSE(d.setLevels({{"A", "", 0}, {"a", "", 0}})) << "names repeat";
    EXPECT_FALSE(d.setLevels({{"A", "Z", 0}})) << "a reference to nothing";
    EXPECT_EQ(d.count(), 5) << "refused lists leave the levels as they were";
}

TEST(LevelsData, chainsAreJudgedWhereverTheyLead) {
    struct Case {
        Vor_Array<KrLevel> levels;
        bool accepted;
        const char* why;
    } cases[] = {
        {{{"A", "", 0}, {"B", "A", 0}, {"C", "B", 0}}, true, "a chain in list order"},
        {{{"C", "B", 0}, {"B", "A", 0}, {"A", "", 0}}, true, "a chain against list order"},
        {{{"A", "", 0}, {"B", "C", 0}, {"C", "D", 0}, {"D", "C", 0}},
         false,
         "B leads into a circle it is not part of"},
        {{{"A", "A", 0}}, false, "a level on itself"},
        {{{"A", "", 0}, {"B", "a", 0}, {"C", "b", 0}}, true, "references in another letter case"},
        {{{"A", "", 0}, {"B", "A", 0}, {"C", "X", 0}, {"D", "C", 0}},
         false,
         "a chain ending in a missing level"},
    };
    for (const Case& k : cases) {
        KrLevelsDlgData d;
        EXPECT_EQ(d.setLevels(k.levels), k.accepted) << k.why;
    }
}

TEST(LevelsData, longChainsAreCheckedInLinearTime) {
    // 5,000 levels, each on the next one in the list: checking took cubic time before and ran for
    // many minutes; now it is a few milliseconds.
    constexpr int n = 5000;
    Vor_Array<KrLevel> levels;
    for (int i = 0; i < n; ++i)
        levels.append(KrLevel{Vor_String("L" + std::to_string(i)),
                              i + 1 < n ? Vor_String("l" + std::to_string(i + 1)) : Vor_String(), 1.0});
    KrLevelsDlgData d;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(d.setLevels(levels));
    EXPECT_EQ(d.absoluteValue(0), double(n)) << "every level of the chain adds 1";
    EXPECT_TRUE(d.updateLevel(n - 1, Vor_String("wcs")) == false) << "no level wcs in this list";
    EXPECT_FALSE(d.updateLevel(n - 1, Vor_String("L0"))) << "the last level on the first goes round";
    levels[n - 1].reference = "L0";
    EXPECT_FALSE(d.setLevels(levels)) << "the whole list is one circle";
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0) << "the chain check must not grow faster than the list";
}

TEST(LevelsData, jsonRoundTripAndRefusedFiles) {
    const KrLevelsDlgData d = building();
    const nlohmann::json j = d;
    EXPECT_TRUE(j.get<KrLevelsDlgData>() == d);
    const char* bad[] = {
        R"({"levels": [{"name": "A", "reference": "A", "value": 0}]})",
        R"({"levels": [{"name": "A", "value": "high"}]})",
        R"({"levels": [{"reference": "wcs"}]})",
        R"({"levels": 3})",
    };
    for (const char* text : bad)
        EXPECT_THROW(nlohmann::json::parse(text).get<KrLevelsDlgData>(), nlohmann::json::exception) << text;
}

TEST(LevelInput, heightsAreReadAsTypedWhateverTheLocale) {
    DecimalCommaLocale comma;
    struct Case {
        const char* text;
        double value;
        const char* why;
    } cases[] = {{"1,5", 1.5, "decimal comma"},
                 {"1.5", 1.5, "decimal point"},
                 {"-800", -800, "below the reference"},
                 {"3600 mm", 3600, "a unit after the number"},
                 {"abc", 0, "no number"},
                 {"", 0, "nothing"},
                 {"1.234,5", 1234.5, "grouped"}};
    for (const Case& c : cases)
        EXPECT_EQ(readLevelValue(c.text), c.value) << c.why;
    EXPECT_EQ(formatLevelValue(3600), Vor_String("3600.000"));
    EXPECT_EQ(formatLevelValue(-0.0005), Vor_String("-0.001")) << "rounded, with a point";
}

TEST(LevelInput, takenNamesAreAskedAgainAtMostTwentyTimes) {
    const Vor_StringArray names{"wcs", "Peil 0"};
    struct Case {
        std::vector<const char*> answers; ///< nullptr: the person cancels
        bool result;
        int asked;
        int refused;
        const char* why;
    } cases[] = {
        {{"Peil 1"}, true, 1, 0, "a free name at once"},
        {{"WCS", "peil 0", "+3600"}, true, 3, 2, "taken names, then a free one"},
        {{"wcs", nullptr}, false, 2, 1, "cancelled after a refusal"},
        {std::vector<const char*>(25, "wcs"), false, 20, 20, "never a 21st question"},
    };
    for (const Case& c : cases) {
        int asked = 0, refused = 0;
        Vor_String name = "New";
        const bool ok = askNewLevelName(
            names, name,
            [&](Vor_String& n) {
                const char* a = c.answers[asked++];
                if (!a) return false;
                n = a;
                return true;
            },
            [&] { ++refused; });
        EXPECT_EQ(ok, c.result) << c.why;
        EXPECT_EQ(asked, c.asked) << c.why;
        EXPECT_EQ(refused, c.refused) << c.why;
        if (ok) {
            EXPECT_EQ(name, Vor_String(c.answers[asked - 1])) << c.why;
        }
    }
}

} // namespace
