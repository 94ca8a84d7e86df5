#include <host/MacroCuts.h>

#include <host/Texts.h>
#include <host/VorJson.h>

#include <cad/Pick.h>
#include <cad/aced.h>

#include <nlohmann/json.hpp>

namespace {

MacroCutDlgRunner gRunner = nullptr;

bool nameIn(const Vor_StringArray& names, const Vor_String& name, int skip = -1) {
    for (int i = 0; i < names.length(); ++i)
        if (i != skip && names[i].equal(name, false)) return true;
    return false;
}

template <class T> void readOptional(const nlohmann::json& j, const char* key, T& value) {
    if (j.contains(key)) value = j.at(key).get<T>();
}
int readInt(const nlohmann::json& j, const char* key, int value, int lo, int hi) {
    if (!j.contains(key)) return value;
    return static_cast<int>(jsonInteger(j.at(key), std::string("the cut's ") + key, lo, hi));
}

} // namespace

bool MacrosInDlgData::UserSelectMacro() {
    cad::PickRequest request;
    request.kind = cad::PickKind::Object;
    request.prompt = string(10650).str();
    request.allowed = {cad::EntityKind::MacroGroup};
    const cad::PickResult r = cad::pick(request);
    if (!r.ok || r.ids.empty()) return false;
    Vor_Array<MacroTabData> tabs;
    std::string error;
    if (!readMacroTabs(cad::curDrawing(), r.ids[0], tabs, &error)) {
        acutPrintf("%s\n", error.c_str());
        return false;
    }
    Vor_StringArray names;
    for (const MacroTabData& t : tabs)
        names.append(t.moduleName);
    modules = names;
    pickedMacro = r.ids[0];
    return true;
}

bool DlgMacroCutsData::CutNameInUse() const {
    return mode == kModeNew && nameIn(otherCutNames, cutName);
}

bool DlgMacroCutsData::AreVarNamesValid() const {
    if (values.length() < varNames.length()) return false;
    for (int i = 0; i < varNames.length(); ++i) {
        Vor_String name = varNames[i];
        name.trim();
        if (name.isEmpty() || name.startsWith(kGeneratedNamePrefix, false) ||
            nameIn(varNames, varNames[i], i))
            return false;
    }
    return true;
}

void DlgMacroCutsData::GetDefaultValues(int kind, Vor_StringArray& names, Vor_StringArray& values) {
    static const std::vector<std::vector<std::pair<const char*, const char*>>> kDefaults = {
        {{"Offset", "0"}, {"PolyOffset", "0"}},                      // profile against plate
        {{"Offset", "0"}, {"LengthOffset", "0"}},                    // profile against profile
        {{"InsideOffset", "0"}, {"OutsideOffset", "0"}},             // profile inside profile
        {{"Offset1", "0"}, {"Offset2", "0"}, {"CenterOffset", "0"}}, // three segments
        {{"Offset1", "10"}, {"Offset2", "10"}},                      // chamfer
        {{"Radius", "10"}},                                          // fillet
    };
    names = Vor_StringArray();
    values = Vor_StringArray();
    if (kind < 0 || kind >= static_cast<int>(kDefaults.size())) return;
    for (const auto& [name, value] : kDefaults[kind]) {
        names.append(name);
        values.append(value);
    }
}

void to_json(nlohmann::json& j, const DlgMacroCutsData& v) {
    j = nlohmann::json{{"kind", v.cutKind},
                       {"name", v.cutName},
                       {"secondText", v.secondText},
                       {"varNames", v.varNames},
                       {"values", v.values},
                       {"option", v.option},
                       {"checks", {v.check1, v.check2, v.check3}},
                       {"method", v.method},
                       {"macroChoice", v.macroChoice},
                       {"macroName", v.macroName},
                       {"fixed", v.fixed},
                       {"mode", v.mode},
                       {"otherCutNames", v.otherCutNames},
                       {"modules", v.macros.modules}};
}

void from_json(const nlohmann::json& j, DlgMacroCutsData& v) {
    if (!j.is_object()) throw nlohmann::json::other_error::create(501, "a cut must be an object", &j);
    DlgMacroCutsData c;
    c.cutKind = readInt(j, "kind", c.cutKind, 0, kCutKinds - 1);
    readOptional(j, "name", c.cutName);
    readOptional(j, "secondText", c.secondText);
    readOptional(j, "varNames", c.varNames);
    readOptional(j, "values", c.values);
    c.option = readInt(j, "option", c.option, 1, 3);
    if (j.contains("checks")) {
        const nlohmann::json& checks = j.at("checks");
        if (!checks.is_array() || checks.size() != 3)
            throw nlohmann::json::other_error::create(501, "the cut's checks must be three booleans", &j);
        c.check1 = checks[0].get<bool>();
        c.check2 = checks[1].get<bool>();
        c.check3 = checks[2].get<bool>();
    }
    c.method = readInt(j, "method", c.method, 0, 4);
    c.macroChoice = readInt(j, "macroChoice", c.macroChoice, 1, 2);
    readOptional(j, "macroName", c.macroName);
    readOptional(j, "fixed", c.fixed);
    c.mode = readInt(j, "mode", c.mode, DlgMacroCutsData::kModeEdit, DlgMacroCutsData::kModeNew);
    readOptional(j, "otherCutNames", c.otherCutNames);
    readOptional(j, "modules", c.macros.modules);
    if (c.varNames.length() > kMaxCutVariables)
        throw nlohmann::json::other_error::create(
            501, "the cut has more than " + std::to_string(kMaxCutVariables) + " variables", &j);
    if (c.values.length() < c.varNames.length())
        throw nlohmann::json::other_error::create(501, "the cut has fewer values than variable names", &j);
    v = c;
}

void setMacroCutDlgRunner(MacroCutDlgRunner runner) {
    gRunner = runner;
}

bool macroCutDlgDataOf(const MacroData& data, int tab, const Vor_String& cutName, DlgMacroCutsData& out) {
    if (tab < 0 || tab >= data.tabs.length()) return false;
    const MacroTabData& t = data.tabs[tab];
    DlgMacroCutsData d;
    for (const MacroTabData& other : data.tabs)
        d.macros.modules.append(other.moduleName);
    d.macroName = t.moduleName;
    int index = -1;
    for (int i = 0; i < t.cuts.length(); ++i)
        if (!cutName.isEmpty() && t.cuts[i].name == cutName) index = i;
    if (!cutName.isEmpty() && index < 0) return false;
    for (int i = 0; i < t.cuts.length(); ++i)
        if (i != index) d.otherCutNames.append(t.cuts[i].name);
    if (index < 0) {
        d.mode = DlgMacroCutsData::kModeNew;
        for (int n = 1;; ++n) {
            Vor_String name("Cut");
            name.append(n);
            if (!nameIn(d.otherCutNames, name)) {
                d.cutName = name;
                break;
            }
        }
        DlgMacroCutsData::GetDefaultValues(0, d.varNames, d.values);
    } else {
        const MacroCutData& c = t.cuts[index];
        d.mode = DlgMacroCutsData::kModeEdit;
        d.cutKind = c.choice >= 0 && c.choice < kCutKinds ? c.choice : 0;
        d.cutName = c.name;
        d.varNames = c.varNames;
        d.values = c.values;
        while (d.values.length() < d.varNames.length())
            d.values.append(Vor_String());
    }
    out = d;
    return true;
}

bool applyMacroCutDlgData(MacroData& data, int tab, const Vor_String& oldName, const DlgMacroCutsData& cut) {
    if (tab < 0 || tab >= data.tabs.length() || cut.macroChoice != 1 || cut.cutName.isEmpty()) return false;
    int target = -1;
    if (!data.findTab(cut.macroName, target) || target < 0 || target >= data.tabs.length()) return false;
    // designed controls find a cut by its name: two cuts of one module may not share it
    for (const MacroCutData& c : data.tabs[target].cuts)
        if (c.name.equal(cut.cutName, false) && !(target == tab && c.name == oldName)) return false;
    MacroCutData record;
    record.name = cut.cutName;
    record.choice = cut.cutKind;
    record.varNames = cut.varNames;
    record.values = cut.values;
    int old = -1;
    if (!oldName.isEmpty() && data.tabs[tab].findCutWithName(oldName, &old) && target == tab) {
        data.tabs[tab].cuts[old] = record;
        return true;
    }
    if (old >= 0) data.tabs[tab].cuts.removeAt(old);
    data.tabs[target].cuts.append(record);
    return true;
}

bool StartEditMacroCutDlg(MacroData& data, int tab, const Vor_String& cutName, bool& escaped) {
    escaped = false;
    DlgMacroCutsData cut;
    if (!gRunner || !macroCutDlgDataOf(data, tab, cutName, cut)) return false;
    if (!gRunner(cut, escaped)) return false;
    return applyMacroCutDlgData(data, tab, cutName, cut);
}
