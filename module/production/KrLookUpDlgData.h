#pragma once
// What the look-up dialog asks: five values, each typed or chosen from its list, a direction, a
// search method and a flag; and how the dialog was closed.
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json.hpp>

#include "frame/VorExport.h"

class VOR_EXPORT KrLookUpDlgData {
public:
    /// How the dialog was closed: with OK, or with "Show All" (both count as OK for the launcher).
    enum Result { ResultOk = 0, ResultShowAll = 2 };

    KrLookUpDlgData() = default;
    virtual ~KrLookUpDlgData() = default;
    KrLookUpDlgData(const KrLookUpDlgData&) = default;
    KrLookUpDlgData& operator=(const KrLookUpDlgData&) = default;

    Vor_String value1;
    Vor_StringArray items1;
    Vor_String value2;
    Vor_StringArray items2;
    Vor_String value3;
    Vor_StringArray items3;
    Vor_String value4;
    Vor_StringArray items4;
    int direction = 2; ///< 0 horizontal, 1 vertical, 2 both
    Vor_String value5;
    Vor_StringArray items5;
    int mode = 0; ///< 0 exact value, 1 nearest smaller, 2 nearest larger
    bool flag = false;
    int result = ResultOk;

    bool operator==(const KrLookUpDlgData& o) const = default;
};

/// {"value1", "items1", ..., "value5", "items5", "direction", "mode", "flag", "result"}; missing
/// members keep their defaults; direction and mode outside their lists are refused.
void to_json(nlohmann::json& j, const KrLookUpDlgData& d);
void from_json(const nlohmann::json& j, KrLookUpDlgData& d);
