#include <host/DlgProfFeaturesData.h>

#include <host/VorJson.h>

namespace {
nlohmann::json rowJson(const ProfFeatureRow& r) {
    return {{"label", r.label}, {"value", r.value}};
}

ProfFeatureRow rowOf(const nlohmann::json& j, const char* key) {
    const nlohmann::json r = j.value(key, nlohmann::json::object());
    if (!r.is_object())
        throw nlohmann::json::type_error::create(302, std::string(key) + " must be an object", &j);
    return ProfFeatureRow{r.value("label", Vor_String()), r.value("value", Vor_String())};
}
} // namespace

void to_json(nlohmann::json& j, const DlgProfFeaturesData& d) {
    j = {{"caption", d.caption},
         {"profName", d.profName},
         {"row1", rowJson(d.row1)},
         {"items1", d.items1},
         {"row2", rowJson(d.row2)},
         {"row3", rowJson(d.row3)},
         {"row3Alt", rowJson(d.row3Alt)},
         {"row3Combo", d.row3Combo},
         {"items3", d.items3},
         {"row4", rowJson(d.row4)},
         {"checkLabel", d.checkLabel},
         {"checked", d.checked}};
}

void from_json(const nlohmann::json& j, DlgProfFeaturesData& d) {
    DlgProfFeaturesData r;
    r.caption = j.value("caption", Vor_String());
    r.profName = j.value("profName", Vor_String());
    r.row1 = rowOf(j, "row1");
    r.items1 = j.value("items1", Vor_StringArray());
    r.row2 = rowOf(j, "row2");
    r.row3 = rowOf(j, "row3");
    r.row3Alt = rowOf(j, "row3Alt");
    r.row3Combo = j.value("row3Combo", false);
    r.items3 = j.value("items3", Vor_StringArray());
    r.row4 = rowOf(j, "row4");
    r.checkLabel = j.value("checkLabel", Vor_String());
    r.checked = j.value("checked", false);
    d = std::move(r);
}
