// The settings record of a macro: kept in its group across regeneration, saving and opening; a
// damaged or oversized record is refused with a message that names the macro, and nothing changes.
#include "TempDir.h"

#include <host/MacroData.h>
#include <host/MacroSettings.h>
#include <host/Settings.h>
#include <host/Texts.h>

#include <cad/DrawingFile.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

const std::string kHall = VOR_SOURCE_DIR "/data/lib/Drawings/Hall.dwg";

MacroSettingsData sample() {
    MacroSettingsData s;
    s.angleFiltersOn = true;
    s.axisAngles.append({"Column", true, 1, 12.345, 90});
    s.sectionAngles.append({"Flange", true, {}});
    s.sectionAngles[0].pairs.append({10, 20});
    s.pathDistances.append({"Beam", false, 0, 6000});
    s.sectionSizes.append({"I", true, {100, 600, 50, 300}});
    s.templateTexts = {"Standard", "Heavy"};
    s.templates.append({"EndPlate", {"Standard"}, "Heavy"});
    s.firstChoice = 2;
    s.number = 3;
    s.choiceRows.append({"Gap", 10.5});
    s.text1 = "Plate \"A\"\nsecond line";
    s.textRows.append({"PL", "Plate", 0});
    return s;
}

class MacroSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(configureSettings("", "", &error)) << error;
        ASSERT_TRUE(loadTextCatalogues(gSettings.vorDir.str(), "en", &error)) << error;
        ASSERT_TRUE(cad::openDrawing(kHall, &error)) << error;
    }
    static cad::Drawing& drawing() { return cad::curDrawing(); }
    static AcDbObjectId id(const char* name) { return drawing().findByName(name); }
    /// Puts `text` as the kept record of M1, as a damaged file would hold it.
    static void keepRaw(const std::string& text) {
        ASSERT_EQ(drawing().modify(id("M1"), [&](cad::Entity& e) { e.properties["@settings"] = text; }),
                  Acad::eOk);
    }
};

TEST_F(MacroSettingsTest, theRecordSurvivesRegenerationSavingAndOpening) {
    MacroSettingsData none = sample();
    std::string error;
    ASSERT_TRUE(GetMacroSettings(drawing(), id("M1"), none, &error)) << error;
    EXPECT_EQ(none, MacroSettingsData{}) << "a macro without a record has the empty one";

    MacroSettingsData kept = sample();
    // long texts make the record longer than one property value may be
    for (int i = 0; i < 40; ++i)
        kept.templateTexts.append(Vor_String(std::string(300, static_cast<char>('a' + i % 26))));
    ASSERT_TRUE(SetMacroSettings(drawing(), id("M1"), kept, &error)) << error;
    EXPECT_TRUE(drawing().get(id("M1"))->properties.count("@settings:2")) << "kept in pieces";

    ASSERT_TRUE(regenerateMacro(drawing(), id("M1"), &error)) << error;
    TempDir dir;
    ASSERT_TRUE(cad::saveDrawing(drawing(), dir.file("saved.dwg"), &error)) << error;
    ASSERT_TRUE(cad::openDrawing(kHall, &error)) << error;
    ASSERT_TRUE(cad::openDrawing(dir.file("saved.dwg"), &error)) << error;
    MacroSettingsData read;
    ASSERT_TRUE(GetMacroSettings(drawing(), id("M1"), read, &error)) << error;
    EXPECT_EQ(read, kept);
    EXPECT_EQ(read.axisAngles[0].first, 12.345) << "kept as typed, not as shown";
    std::string value;
    ASSERT_TRUE(macroValueText(drawing(), id("M1"), "settings.axisAngles.0.first", value, &error)) << error;
    EXPECT_EQ(value, "12.345");

    // a shorter record leaves no pieces of the longer one behind
    ASSERT_TRUE(SetMacroSettings(drawing(), id("M1"), sample(), &error)) << error;
    EXPECT_FALSE(drawing().get(id("M1"))->properties.count("@settings:1"));
    ASSERT_TRUE(GetMacroSettings(drawing(), id("M1"), read, &error)) << error;
    EXPECT_EQ(read, sample());
}

TEST_F(MacroSettingsTest, aDamagedRecordIsRefusedNamingTheMacroAndTheField) {
    const struct {
        const char* text;
        const char* said;
        const char* why;
    } cases[] = {
        {"{", "M1", "no JSON"},
        {R"({"axisAngles": [{"mode": 2}]})", "axisAngles.0.mode", "a mode is 0 or 1"},
        {R"({"sectionAngles": [{"pairs": [[1]]}]})", "pairs.0", "a pair has two numbers"},
        {R"({"sectionSizes": [{"values": [1, 2, 3, 4, 5]}]})", "four", "four size values"},
        {R"({"pathDistances": [{"first": 1e300}]})", "pathDistances.0.first", "numbers within the range"},
        {R"({"angleFiltersOn": 1})", "angleFiltersOn", "a flag is true or false"},
        {R"({"templates": [{"name": "A"}, {"name": "a"}]})", "twice", "one entry a template"},
        {R"({"firstChoice": 3})", "firstChoice", "three choices"},
        {R"({"text1": [[[[[[[[1]]]]]]]]})", "nested", "deeper than the record"},
        {"[]", "object", "the record is an object"},
    };
    for (const auto& c : cases) {
        keepRaw(c.text);
        MacroSettingsData data = sample();
        std::string error;
        EXPECT_FALSE(GetMacroSettings(drawing(), id("M1"), data, &error)) << c.why;
        EXPECT_NE(error.find("M1"), std::string::npos) << c.why << ": " << error;
        EXPECT_NE(error.find(c.said), std::string::npos) << c.why << ": " << error;
        EXPECT_EQ(data, sample()) << c.why << ": the caller's record stays";
    }
    std::string tooMany = R"({"choiceRows": [)";
    for (int i = 0; i <= kMaxSettingsEntries; ++i)
        tooMany += std::string(i ? "," : "") + "{}";
    keepRaw(tooMany + "]}");
    MacroSettingsData data;
    std::string error;
    EXPECT_FALSE(GetMacroSettings(drawing(), id("M1"), data, &error));
    EXPECT_NE(error.find("1000"), std::string::npos) << error;
}

TEST_F(MacroSettingsTest, aRecordBeyondItsBudgetsOrNoMacroChangesNothing) {
    std::string error;
    ASSERT_TRUE(SetMacroSettings(drawing(), id("M1"), sample(), &error)) << error;
    const std::uint64_t revision = drawing().revision();

    MacroSettingsData big = sample();
    for (int i = 0; i < 100; ++i)
        big.templateTexts.append(Vor_String(std::string(kMaxSettingsText, 'x')));
    EXPECT_FALSE(SetMacroSettings(drawing(), id("M1"), big, &error)) << "over the whole record's size";
    EXPECT_NE(error.find("M1"), std::string::npos) << error;

    MacroSettingsData longText = sample();
    longText.text2 = Vor_String(std::string(kMaxSettingsText + 1, 'x'));
    EXPECT_FALSE(SetMacroSettings(drawing(), id("M1"), longText, &error)) << "one text too long";
    EXPECT_NE(error.find("text2"), std::string::npos) << error;

    MacroSettingsData badMode = sample();
    badMode.axisAngles[0].mode = 5;
    EXPECT_FALSE(SetMacroSettings(drawing(), id("M1"), badMode, &error)) << "what could not be read again";

    EXPECT_FALSE(SetMacroSettings(drawing(), id("B1"), sample(), &error)) << "a profile keeps no settings";
    MacroSettingsData data;
    EXPECT_FALSE(GetMacroSettings(drawing(), id("B1"), data, &error));
    EXPECT_NE(error.find("B1"), std::string::npos) << error;

    EXPECT_EQ(drawing().revision(), revision) << "nothing was written";
    ASSERT_TRUE(GetMacroSettings(drawing(), id("M1"), data, &error)) << error;
    EXPECT_EQ(data, sample());
}

} // namespace
