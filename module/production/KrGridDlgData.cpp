#include "production/KrGridDlgData.h"

#include <base/NumberText.h>
#include <host/VorJson.h>

#include <algorithm>
#include <limits>

int readGridCount(const Vor_String& text) {
    const long long n = base::parseLeadingInteger(text.view());
    return int(std::clamp<long long>(n, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void to_json(nlohmann::json& j, const KrGridDlgData& d) {
    j = {{"firstCount", d.firstCount},
         {"firstDistances", d.firstDistances},
         {"firstName", d.firstName},
         {"secondCount", d.secondCount},
         {"secondDistances", d.secondDistances},
         {"secondName", d.secondName},
         {"option", d.option}};
}

void from_json(const nlohmann::json& j, KrGridDlgData& d) {
    KrGridDlgData r;
    r.firstCount = jsonMember<int>(j, "firstCount", r.firstCount);
    r.firstDistances = j.value("firstDistances", r.firstDistances);
    r.firstName = j.value("firstName", r.firstName);
    r.secondCount = jsonMember<int>(j, "secondCount", r.secondCount);
    r.secondDistances = j.value("secondDistances", r.secondDistances);
    r.secondName = j.value("secondName", r.secondName);
    r.option = j.value("option", r.option);
    d = std::move(r);
}
