#pragma once
// What the profile features dialog asks: a profile and up to four rows of values whose labels the
// caller chooses, row 3 with two label/value pairs that a check box switches between.
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json.hpp>

/// One row of the dialog: a label and its value; a row without label is not shown.
struct ProfFeatureRow {
    Vor_String label;
    Vor_String value;
    bool operator==(const ProfFeatureRow& o) const = default;
};

class DlgProfFeaturesData {
public:
    DlgProfFeaturesData() = default;
    virtual ~DlgProfFeaturesData() = default;
    DlgProfFeaturesData(const DlgProfFeaturesData&) = default;
    DlgProfFeaturesData& operator=(const DlgProfFeaturesData&) = default;

    Vor_String caption;
    /// The profile: a system name ("HEA-200") or a user section ("User Sections/Console.dwg").
    Vor_String profName;
    ProfFeatureRow row1;    ///< a choice among items1
    Vor_StringArray items1; ///< the choices of row 1
    ProfFeatureRow row2;    ///< free text
    ProfFeatureRow row3;    ///< the pair shown while the check box is clear
    ProfFeatureRow row3Alt; ///< the pair shown while the check box is ticked
    bool row3Combo = false; ///< row 3 is a choice among items3 instead of free text
    Vor_StringArray items3; ///< the choices of row 3
    ProfFeatureRow row4;    ///< free text
    Vor_String checkLabel;  ///< the check box's label; no check box without one
    bool checked = false;

    /// Row 3 as it is shown: the pair the check box selects (the first one without check box).
    const ProfFeatureRow& shownRow3() const { return checkLabel.isEmpty() || !checked ? row3 : row3Alt; }
    ProfFeatureRow& shownRow3() { return checkLabel.isEmpty() || !checked ? row3 : row3Alt; }

    bool operator==(const DlgProfFeaturesData& o) const = default;
};

/// {"caption", "profName", "row1": {"label", "value"}, "items1", "row2", "row3", "row3Alt",
/// "row3Combo", "items3", "row4", "checkLabel", "checked"}; missing members keep their defaults.
void to_json(nlohmann::json& j, const DlgProfFeaturesData& d);
void from_json(const nlohmann::json& j, DlgProfFeaturesData& d);
