#include "production/KrLookUpDlgData.h"

#include <host/VorJson.h>

#include <string>

namespace {
struct Pair {
    Vor_String KrLookUpDlgData::*value;
    Vor_StringArray KrLookUpDlgData::*items;
};
constexpr Pair kPairs[5] = {
    {&KrLookUpDlgData::value1, &KrLookUpDlgData::items1},
    {&KrLookUpDlgData::value2, &KrLookUpDlgData::items2},
    {&KrLookUpDlgData::value3, &KrLookUpDlgData::items3},
    {&KrLookUpDlgData::value4, &KrLookUpDlgData::items4},
    {&KrLookUpDlgData::value5, &KrLookUpDlgData::items5},
};
} // namespace

void to_json(nlohmann::json& j, const KrLookUpDlgData& d) {
    j = nlohmann::json::object();
    for (int i = 0; i < 5; ++i) {
        j["value" + std::to_string(i + 1)] = d.*kPairs[i].value;
        j["items" + std::to_string(i + 1)] = d.*kPairs[i].items;
    }
    j["direction"] = d.direction;
    j["mode"] = d.mode;
    j["flag"] = d.flag;
    j["result"] = d.result;
}

void from_json(const nlohmann::json& j, KrLookUpDlgData& d) {
    KrLookUpDlgData r;
    for (int i = 0; i < 5; ++i) {
        r.*kPairs[i].value = j.value("value" + std::to_string(i + 1), Vor_String());
        r.*kPairs[i].items = j.value("items" + std::to_string(i + 1), Vor_StringArray());
    }
    r.direction = jsonMember<int>(j, "direction", r.direction, 0, 2);
    r.mode = jsonMember<int>(j, "mode", r.mode, 0, 2);
    r.flag = j.value("flag", r.flag);
    r.result = jsonMember<int>(j, "result", r.result, 0, 2);
    d = std::move(r);
}
