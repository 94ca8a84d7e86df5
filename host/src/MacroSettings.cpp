#include <host/MacroSettings.h>

#include <host/Texts.h>
#include <host/VorJson.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>
#include <vector>

using nlohmann::json;

MacroTemplateTexts* MacroSettingsData::findTemplate(const Vor_String& name) {
    for (MacroTemplateTexts& t : templates)
        if (t.name.equal(name, false)) return &t;
    return nullptr;
}

const MacroTemplateTexts* MacroSettingsData::findTemplate(const Vor_String& name) const {
    return const_cast<MacroSettingsData*>(this)->findTemplate(name);
}

MacroTemplateTexts& MacroSettingsData::templateEntry(const Vor_String& name) {
    if (MacroTemplateTexts* t = findTemplate(name)) return *t;
    MacroTemplateTexts t;
    t.name = name;
    templates.append(t);
    return templates[templates.length() - 1];
}

namespace {

const char* const kSettingsKey = "@settings";
/// Deepest nesting of the record's JSON form (the pairs of a section-angle filter lie 4 deep).
constexpr int kMaxSettingsDepth = 6;

[[noreturn]] void fault(const std::string& what, const json& at) {
    throw json::other_error::create(501, what, &at);
}

Vor_String textAt(const json& j, const char* key, const std::string& where) {
    if (!j.contains(key)) return {};
    const json& v = j.at(key);
    if (!v.is_string()) fault(where + "." + key + " is no text", v);
    if (v.get_ref<const std::string&>().size() > static_cast<std::size_t>(kMaxSettingsText))
        fault(where + "." + key + " is longer than " + std::to_string(kMaxSettingsText) + " bytes", v);
    return Vor_String(v.get<std::string>());
}

bool boolAt(const json& j, const char* key, const std::string& where) {
    if (!j.contains(key)) return false;
    if (!j.at(key).is_boolean()) fault(where + "." + key + " is not true or false", j.at(key));
    return j.at(key).get<bool>();
}

double numberAt(const json& j, const char* key, const std::string& where) {
    if (!j.contains(key)) return 0;
    return jsonNumber(j.at(key), where + "." + key, -kMaxSettingsNumber, kMaxSettingsNumber);
}

int intAt(const json& j, const char* key, const std::string& where, long long lo, long long hi) {
    if (!j.contains(key)) return 0;
    return static_cast<int>(jsonInteger(j.at(key), where + "." + key, lo, hi));
}

/// The list `key` of `j` (empty when missing), within the entry budget.
const json& listAt(const json& j, const char* key, const std::string& where) {
    static const json empty = json::array();
    if (!j.contains(key)) return empty;
    const json& v = j.at(key);
    if (!v.is_array()) fault(where + "." + key + " is no list", v);
    if (v.size() > static_cast<std::size_t>(kMaxSettingsEntries))
        fault(where + "." + key + " has more than " + std::to_string(kMaxSettingsEntries) + " entries", v);
    return v;
}

std::string at(const std::string& where, const char* key, std::size_t i) {
    return where + "." + key + "." + std::to_string(i);
}

json textsJson(const Vor_StringArray& texts) {
    json j = json::array();
    for (const Vor_String& t : texts)
        j.push_back(t.str());
    return j;
}

Vor_StringArray textsAt(const json& j, const char* key, const std::string& where) {
    Vor_StringArray result;
    const json& list = listAt(j, key, where);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const json holder = {{"t", list[i]}};
        result.append(textAt(holder, "t", at(where, key, i)));
    }
    return result;
}

/// Where the keys of the record's pieces begin and end in a group's properties.
bool isSettingsKey(const std::string& key) {
    return key == kSettingsKey || key.rfind(std::string(kSettingsKey) + ":", 0) == 0;
}

const cad::Entity* macroGroupOf(const cad::Drawing& d, AcDbObjectId id, std::string* error) {
    const cad::Entity* e = d.get(id);
    if (!e || e->kind() != cad::EntityKind::MacroGroup || !e->properties.count("macro")) {
        if (error)
            *error = string(10340).str() + " " +
                     (e && !e->name.empty() ? e->name : "#" + std::to_string(id.handle()));
        return nullptr;
    }
    return e;
}

} // namespace

void to_json(json& j, const MacroSettingsData& v) {
    j = json::object();
    j["angleFiltersOn"] = v.angleFiltersOn;
    j["sizeFiltersOn"] = v.sizeFiltersOn;
    j["axisAngles"] = json::array();
    for (const MacroAxisAngleFilter& f : v.axisAngles)
        j["axisAngles"].push_back({{"name", f.name.str()},
                                   {"enabled", f.enabled},
                                   {"mode", f.mode},
                                   {"first", f.first},
                                   {"second", f.second}});
    j["sectionAngles"] = json::array();
    for (const MacroSectionAngleFilter& f : v.sectionAngles) {
        json pairs = json::array();
        for (const MacroValuePair& p : f.pairs)
            pairs.push_back({p.first, p.second});
        j["sectionAngles"].push_back({{"name", f.name.str()}, {"enabled", f.enabled}, {"pairs", pairs}});
    }
    j["pathDistances"] = json::array();
    for (const MacroDistanceFilter& f : v.pathDistances)
        j["pathDistances"].push_back(
            {{"name", f.name.str()}, {"enabled", f.enabled}, {"first", f.first}, {"second", f.second}});
    j["sectionSizes"] = json::array();
    for (const MacroSizeFilter& f : v.sectionSizes)
        j["sectionSizes"].push_back({{"name", f.name.str()},
                                     {"enabled", f.enabled},
                                     {"values", {f.values[0], f.values[1], f.values[2], f.values[3]}}});
    j["templateTexts"] = textsJson(v.templateTexts);
    j["templates"] = json::array();
    for (const MacroTemplateTexts& t : v.templates)
        j["templates"].push_back(
            {{"name", t.name.str()}, {"texts", textsJson(t.texts)}, {"text", t.text.str()}});
    j["firstChoice"] = v.firstChoice;
    j["secondChoice"] = v.secondChoice;
    j["number"] = v.number;
    j["choiceRows"] = json::array();
    for (const MacroChoiceRow& r : v.choiceRows)
        j["choiceRows"].push_back({{"text", r.text.str()}, {"value", r.value}});
    j["text1"] = v.text1.str();
    j["text2"] = v.text2.str();
    j["textRows"] = json::array();
    for (const MacroTextRow& r : v.textRows)
        j["textRows"].push_back({{"first", r.first.str()}, {"second", r.second.str()}, {"choice", r.choice}});
}

void from_json(const json& j, MacroSettingsData& v) {
    const std::string w = "settings";
    if (!j.is_object()) fault("the settings are no JSON object", j);
    MacroSettingsData r;
    r.angleFiltersOn = boolAt(j, "angleFiltersOn", w);
    r.sizeFiltersOn = boolAt(j, "sizeFiltersOn", w);
    const json& axis = listAt(j, "axisAngles", w);
    for (std::size_t i = 0; i < axis.size(); ++i) {
        const std::string e = at(w, "axisAngles", i);
        r.axisAngles.append({textAt(axis[i], "name", e), boolAt(axis[i], "enabled", e),
                             intAt(axis[i], "mode", e, 0, 1), numberAt(axis[i], "first", e),
                             numberAt(axis[i], "second", e)});
    }
    const json& sect = listAt(j, "sectionAngles", w);
    for (std::size_t i = 0; i < sect.size(); ++i) {
        const std::string e = at(w, "sectionAngles", i);
        MacroSectionAngleFilter f{textAt(sect[i], "name", e), boolAt(sect[i], "enabled", e), {}};
        const json& pairs = listAt(sect[i], "pairs", e);
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            const std::string pe = at(e, "pairs", p);
            if (!pairs[p].is_array() || pairs[p].size() != 2) fault(pe + " is no pair of numbers", pairs[p]);
            f.pairs.append({jsonNumber(pairs[p][0], pe, -kMaxSettingsNumber, kMaxSettingsNumber),
                            jsonNumber(pairs[p][1], pe, -kMaxSettingsNumber, kMaxSettingsNumber)});
        }
        r.sectionAngles.append(f);
    }
    const json& dist = listAt(j, "pathDistances", w);
    for (std::size_t i = 0; i < dist.size(); ++i) {
        const std::string e = at(w, "pathDistances", i);
        r.pathDistances.append({textAt(dist[i], "name", e), boolAt(dist[i], "enabled", e),
                                numberAt(dist[i], "first", e), numberAt(dist[i], "second", e)});
    }
    const json& sizes = listAt(j, "sectionSizes", w);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const std::string e = at(w, "sectionSizes", i);
        MacroSizeFilter f{textAt(sizes[i], "name", e), boolAt(sizes[i], "enabled", e), {0, 0, 0, 0}};
        const json& values = listAt(sizes[i], "values", e);
        if (values.size() > 4) fault(e + ".values has more than four numbers", values);
        for (std::size_t k = 0; k < values.size(); ++k)
            f.values[k] = jsonNumber(values[k], at(e, "values", k), -kMaxSettingsNumber, kMaxSettingsNumber);
        r.sectionSizes.append(f);
    }
    r.templateTexts = textsAt(j, "templateTexts", w);
    const json& templates = listAt(j, "templates", w);
    for (std::size_t i = 0; i < templates.size(); ++i) {
        const std::string e = at(w, "templates", i);
        MacroTemplateTexts t{textAt(templates[i], "name", e), textsAt(templates[i], "texts", e),
                             textAt(templates[i], "text", e)};
        if (r.findTemplate(t.name))
            fault(e + ": the template " + t.name.str() + " is listed twice", templates[i]);
        r.templates.append(t);
    }
    r.firstChoice = intAt(j, "firstChoice", w, 0, 2);
    r.secondChoice = intAt(j, "secondChoice", w, 0, 2);
    r.number = intAt(j, "number", w, -1000000000, 1000000000);
    const json& rows = listAt(j, "choiceRows", w);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string e = at(w, "choiceRows", i);
        r.choiceRows.append({textAt(rows[i], "text", e), numberAt(rows[i], "value", e)});
    }
    r.text1 = textAt(j, "text1", w);
    r.text2 = textAt(j, "text2", w);
    const json& textRows = listAt(j, "textRows", w);
    for (std::size_t i = 0; i < textRows.size(); ++i) {
        const std::string e = at(w, "textRows", i);
        r.textRows.append({textAt(textRows[i], "first", e), textAt(textRows[i], "second", e),
                           intAt(textRows[i], "choice", e, 0, kMaxSettingsEntries)});
    }
    v = std::move(r);
}

bool GetMacroSettings(const cad::Drawing& drawing, AcDbObjectId macro, MacroSettingsData& data,
                      std::string* error) {
    const cad::Entity* g = macroGroupOf(drawing, macro, error);
    if (!g) return false;
    auto first = g->properties.find(kSettingsKey);
    if (first == g->properties.end()) {
        data = MacroSettingsData{};
        return true;
    }
    std::string text = first->second;
    for (int piece = 1;; ++piece) {
        auto it = g->properties.find(std::string(kSettingsKey) + ":" + std::to_string(piece));
        if (it == g->properties.end()) break;
        if (text.size() + it->second.size() > static_cast<std::size_t>(kMaxSettingsBytes)) {
            if (error)
                *error = string(10700).str() + " " + g->name + ": " + string(10701).str() + " " +
                         std::to_string(kMaxSettingsBytes);
            return false;
        }
        text += it->second;
    }
    try {
        const json::parser_callback_t shallow = [&](int depth, json::parse_event_t, json&) {
            if (depth > kMaxSettingsDepth) throw std::runtime_error("nested deeper than the record is");
            return true;
        };
        MacroSettingsData read = json::parse(text, shallow).get<MacroSettingsData>();
        data = std::move(read);
        return true;
    } catch (const std::exception& e) {
        if (error) *error = string(10700).str() + " " + g->name + ": " + e.what();
        return false;
    }
}

bool SetMacroSettings(cad::Drawing& drawing, AcDbObjectId macro, const MacroSettingsData& data,
                      std::string* error) {
    const cad::Entity* g = macroGroupOf(drawing, macro, error);
    if (!g) return false;
    std::string text;
    try {
        // checked as a reader would see it, so that what is kept can be read again
        const json j = data;
        MacroSettingsData check = j.get<MacroSettingsData>();
        (void)check;
        text = j.dump(-1, ' ', true); // ASCII: the pieces may be cut anywhere
    } catch (const json::exception& e) {
        if (error) *error = string(10702).str() + " " + g->name + ": " + e.what();
        return false;
    }
    if (text.size() > static_cast<std::size_t>(kMaxSettingsBytes)) {
        if (error)
            *error = string(10702).str() + " " + g->name + ": " + string(10701).str() + " " +
                     std::to_string(kMaxSettingsBytes);
        return false;
    }
    std::string why;
    const Acad::ErrorStatus es = drawing.modify(
        macro,
        [&](cad::Entity& e) {
            for (auto it = e.properties.begin(); it != e.properties.end();)
                it = isSettingsKey(it->first) ? e.properties.erase(it) : std::next(it);
            for (std::size_t at = 0, piece = 0; at < text.size(); at += kSettingsPieceBytes, ++piece)
                e.properties[piece == 0 ? std::string(kSettingsKey)
                                        : std::string(kSettingsKey) + ":" + std::to_string(piece)] =
                    text.substr(at, kSettingsPieceBytes);
        },
        &why);
    if (es != Acad::eOk) {
        if (error) *error = string(10702).str() + " " + g->name + ": " + why;
        return false;
    }
    return true;
}

bool GetMacroSettings(AcDbObjectId macro, MacroSettingsData& data, Vor_String* error) {
    std::string why;
    if (GetMacroSettings(cad::curDrawing(), macro, data, &why)) return true;
    if (error) *error = Vor_String(why);
    return false;
}

bool SetMacroSettings(AcDbObjectId macro, const MacroSettingsData& data, Vor_String* error) {
    std::string why;
    if (SetMacroSettings(cad::curDrawing(), macro, data, &why)) return true;
    if (error) *error = Vor_String(why);
    return false;
}

bool macroSettingsValueText(const cad::Drawing& drawing, AcDbObjectId macro, const std::string& path,
                            std::string& value, std::string* error) {
    MacroSettingsData data;
    if (!GetMacroSettings(drawing, macro, data, error)) return false;
    json j = data;
    std::istringstream parts(path);
    for (std::string p; std::getline(parts, p, '.');) {
        if (j.is_object() && j.contains(p))
            j = json(j[p]);
        else if (j.is_array() && !p.empty() && p.size() < 8 &&
                 std::all_of(p.begin(), p.end(), [](unsigned char c) { return std::isdigit(c); }) &&
                 std::stoul(p) < j.size())
            j = json(j[std::stoul(p)]);
        else {
            if (error) *error = "no setting \"" + path + "\" in this macro";
            return false;
        }
    }
    value = j.is_string() ? j.get<std::string>() : j.dump();
    return true;
}
