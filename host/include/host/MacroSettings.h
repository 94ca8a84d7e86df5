#pragma once
// The general settings of a macro: its angle and size filters, the texts offered per designer
// template, a few choices and two texts with their lists. The record is kept in the macro's group in
// the drawing (properties `@settings`, `@settings:1`, ..., its JSON form in pieces), so it is saved
// and opened with the drawing and survives regenerating the macro. The host applies the filters;
// the settings dialog shows and edits the record.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cad/Drawing.h>
#include <cad/acadstd.h>

#include <nlohmann/json_fwd.hpp>

#include <string>

/// Most entries of one filter list, template entries, rows of a list, and value pairs an entry.
inline constexpr int kMaxSettingsEntries = 1000;
/// Longest text of the record, in bytes.
inline constexpr int kMaxSettingsText = 4096;
/// Longest JSON form of the whole record, in bytes (kept in pieces of kSettingsPieceBytes).
inline constexpr int kMaxSettingsBytes = 256 * 1024;
inline constexpr int kSettingsPieceBytes = 4000;
/// Largest value a setting's number may have (either sign).
inline constexpr double kMaxSettingsNumber = 1e9;

/// An axis-angle filter: on or off, a mode (0 or 1) and two values.
struct MacroAxisAngleFilter {
    Vor_String name;
    bool enabled = false;
    int mode = 0;
    double first = 0;
    double second = 0;
    bool operator==(const MacroAxisAngleFilter&) const = default;
};

/// A pair of values of a section-angle filter.
struct MacroValuePair {
    double first = 0;
    double second = 0;
    bool operator==(const MacroValuePair&) const = default;
};

/// A section-angle filter: on or off and its value pairs.
struct MacroSectionAngleFilter {
    Vor_String name;
    bool enabled = false;
    Vor_Array<MacroValuePair> pairs;
    bool operator==(const MacroSectionAngleFilter&) const = default;
};

/// A path-distance filter: on or off and two values.
struct MacroDistanceFilter {
    Vor_String name;
    bool enabled = false;
    double first = 0;
    double second = 0;
    bool operator==(const MacroDistanceFilter&) const = default;
};

/// A section-size filter: on or off and four values.
struct MacroSizeFilter {
    Vor_String name;
    bool enabled = false;
    double values[4] = {0, 0, 0, 0};
    bool operator==(const MacroSizeFilter&) const = default;
};

/// The texts of one designer template, keyed by the template's name (relative to the designer
/// folder, as the designer lists it).
struct MacroTemplateTexts {
    Vor_String name;
    Vor_StringArray texts;
    Vor_String text;
    bool operator==(const MacroTemplateTexts&) const = default;
};

/// A row of the choices page: a text and a number.
struct MacroChoiceRow {
    Vor_String text;
    double value = 0;
    bool operator==(const MacroChoiceRow&) const = default;
};

/// A row of the texts page: two texts and a choice (0 none, n: row n).
struct MacroTextRow {
    Vor_String first;
    Vor_String second;
    int choice = 0;
    bool operator==(const MacroTextRow&) const = default;
};

/// The general settings of one macro.
class MacroSettingsData {
public:
    bool angleFiltersOn = false;
    bool sizeFiltersOn = false;
    Vor_Array<MacroAxisAngleFilter> axisAngles;
    Vor_Array<MacroSectionAngleFilter> sectionAngles;
    Vor_Array<MacroDistanceFilter> pathDistances;
    Vor_Array<MacroSizeFilter> sectionSizes;
    Vor_StringArray templateTexts; ///< the texts offered for every template
    Vor_Array<MacroTemplateTexts> templates;
    int firstChoice = 0;  ///< 0 to 2
    int secondChoice = 0; ///< 0 to 2
    int number = 0;
    Vor_Array<MacroChoiceRow> choiceRows;
    Vor_String text1;
    Vor_String text2;
    Vor_Array<MacroTextRow> textRows;

    /// The entry of the designer template `name` (compared without case), or null.
    MacroTemplateTexts* findTemplate(const Vor_String& name);
    const MacroTemplateTexts* findTemplate(const Vor_String& name) const;
    /// The entry of `name`, made (empty) at the end when there is none yet.
    MacroTemplateTexts& templateEntry(const Vor_String& name);

    bool operator==(const MacroSettingsData&) const = default;
};

void to_json(nlohmann::json& j, const MacroSettingsData& v);
/// Reads the JSON form; throws a json error naming the field at fault (a budget above exceeded, a
/// number out of range, a mode or choice unknown).
void from_json(const nlohmann::json& j, MacroSettingsData& v);

/// The settings kept in the macro group `macro` of `drawing`; a macro without any gets the empty
/// record. False with a message (and `data` unchanged) when the id is no macro or its record cannot
/// be read.
bool GetMacroSettings(const cad::Drawing& drawing, AcDbObjectId macro, MacroSettingsData& data,
                      std::string* error = nullptr);
/// Keeps `data` in the macro group; false with a message (the drawing unchanged) when the id is no
/// macro or the record exceeds its budgets.
bool SetMacroSettings(cad::Drawing& drawing, AcDbObjectId macro, const MacroSettingsData& data,
                      std::string* error = nullptr);
/// The same on the current drawing.
bool GetMacroSettings(AcDbObjectId macro, MacroSettingsData& data, Vor_String* error = nullptr);
bool SetMacroSettings(AcDbObjectId macro, const MacroSettingsData& data, Vor_String* error = nullptr);

/// One value of the kept record as text, for scripts: `path` walks its JSON form by member names
/// and list indexes ("axisAngles.0.first"). False with a message.
bool macroSettingsValueText(const cad::Drawing& drawing, AcDbObjectId macro, const std::string& path,
                            std::string& value, std::string* error = nullptr);
