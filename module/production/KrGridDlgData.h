#pragma once
// The layout of a grid of axes in two directions: per direction the number of lines, their
// distances and the name of the first line.
#include <host/Vor_String.h>

#include <nlohmann/json.hpp>

#include "frame/VorExport.h"

class VOR_EXPORT KrGridDlgData {
public:
    KrGridDlgData() = default;
    virtual ~KrGridDlgData() = default;
    KrGridDlgData(const KrGridDlgData&) = default;
    KrGridDlgData& operator=(const KrGridDlgData&) = default;

    int firstCount = 4;
    Vor_String firstDistances = "5000"; ///< free text, passed on as typed
    Vor_String firstName = "A";         ///< lettered direction
    int secondCount = 3;
    Vor_String secondDistances = "5000";
    Vor_String secondName = "1"; ///< numbered direction
    bool option = false;         ///< the caller's option (the check box)

    bool operator==(const KrGridDlgData& o) const = default;
};

/// A count as typed: the whole number at the start of the text ("12 lines" gives 12), 0 when the
/// text does not begin with one, limited to the range of an int.
int readGridCount(const Vor_String& text);

/// {"firstCount", "firstDistances", "firstName", "secondCount", "secondDistances", "secondName",
/// "option"}; missing members keep their defaults.
void to_json(nlohmann::json& j, const KrGridDlgData& d);
void from_json(const nlohmann::json& j, KrGridDlgData& d);
