#include <host/MacroConstraints.h>

#include <host/MacroCuts.h>
#include <host/MacroData.h>
#include <host/Texts.h>
#include <host/VorJson.h>

#include <cad/Drawing.h>
#include <cad/Pick.h>
#include <cad/aced.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

namespace {

constexpr std::size_t kChunkBytes = 4000; // below the drawing's longest property value
const std::string kChunkKey = "constraints:";

std::string chunkKey(int n) {
    return kChunkKey + std::to_string(n);
}

bool hasControlCharacters(const Vor_String& s) {
    return std::any_of(s.str().begin(), s.str().end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// The macro's tabs, or none when the id is no macro of the current drawing.
Vor_Array<MacroTabData> tabsOf(AcDbObjectId macro) {
    Vor_Array<MacroTabData> tabs;
    readMacroTabs(cad::curDrawing(), macro, tabs);
    return tabs;
}

Vor_String textMember(const nlohmann::json& j, const char* key) {
    const auto it = j.find(key);
    if (it == j.end()) return Vor_String();
    if (!it->is_string()) throw std::runtime_error(std::string("\"") + key + "\" is no text");
    return Vor_String(it->get<std::string>());
}

bool flagMember(const nlohmann::json& j, const char* key, bool fallback) {
    const auto it = j.find(key);
    if (it == j.end()) return fallback;
    if (!it->is_boolean()) throw std::runtime_error(std::string("\"") + key + "\" is no yes or no");
    return it->get<bool>();
}

bool isTabModule(const Vor_Array<MacroTabData>& tabs, const Vor_String& name) {
    for (const MacroTabData& t : tabs)
        if (t.moduleName.equal(name, false)) return true;
    return false;
}

// Keeps the record in the macro group after a change; what went wrong goes to the command line.
bool keep(const EditConstrData& data) {
    Vor_String error;
    if (SetEditConstrData(data, &error)) return true;
    acutPrintf("%s\n", error.c_str());
    return false;
}

Vor_String freeModuleName(const EditConstrData& data, const Vor_String& base) {
    for (int n = 1;; ++n) {
        const Vor_String name = base + " " + Vor_String(n);
        if (data.findModule(name) < 0) return name;
    }
}

} // namespace

// ---- records

MacroConstraintModule* EditConstrData::currentModule() {
    return current >= 0 && current < modules.length() ? &modules[current] : nullptr;
}

const MacroConstraintModule* EditConstrData::currentModule() const {
    return current >= 0 && current < modules.length() ? &modules[current] : nullptr;
}

int EditConstrData::findModule(const Vor_String& name) const {
    for (int i = 0; i < modules.length(); ++i)
        if (modules[i].name.equal(name, false)) return i;
    return -1;
}

void to_json(nlohmann::json& j, const MacroConstraint& v) {
    j = {{"kind", v.kind},   {"objects", v.objects},   {"name", v.name},
         {"value", v.value}, {"choice1", v.choice1},   {"choice2", v.choice2},
         {"fixed", v.fixed}, {"reversed", v.reversed}, {"cut", v.cutName}};
}

void from_json(const nlohmann::json& j, MacroConstraint& v) {
    v.kind = jsonMember<int>(j, "kind", 0, 0, kConstrCut);
    if (j.contains("objects")) v.objects = j.at("objects").get<Vor_StringArray>();
    v.name = textMember(j, "name");
    v.value = textMember(j, "value");
    v.choice1 = jsonMember<int>(j, "choice1", 1, 1, 5);
    v.choice2 = jsonMember<int>(j, "choice2", 1, 1, 5);
    v.fixed = flagMember(j, "fixed", false);
    v.reversed = flagMember(j, "reversed", false);
    v.cutName = textMember(j, "cut");
}

namespace {
void to_json(nlohmann::json& j, const MacroGeomFlex& v) {
    j = {{"object", v.object},
         {"translate", v.translate},
         {"rotate", v.rotate},
         {"constrained", v.constrained}};
}
void from_json(const nlohmann::json& j, MacroGeomFlex& v) {
    v.object = textMember(j, "object");
    v.translate = jsonMember<int>(j, "translate", 0, 0, 3);
    v.rotate = jsonMember<int>(j, "rotate", 0, 0, 2);
    v.constrained = flagMember(j, "constrained", true);
}
} // namespace

void to_json(nlohmann::json& j, const EditConstrData& v) {
    nlohmann::json modules = nlohmann::json::array();
    for (const MacroConstraintModule& m : v.modules) {
        nlohmann::json constraints = nlohmann::json::array(), flex = nlohmann::json::array();
        for (const MacroConstraint& c : m.constraints)
            constraints.push_back(c);
        for (const MacroGeomFlex& f : m.flexibility) {
            nlohmann::json x;
            to_json(x, f);
            flex.push_back(x);
        }
        modules.push_back({{"name", m.name}, {"constraints", constraints}, {"flexibility", flex}});
    }
    nlohmann::json variables = nlohmann::json::array();
    for (const MacroVariable& x : v.variables)
        variables.push_back({{"name", x.name}, {"type", x.type}, {"value", x.value}});
    j = {{"modules", modules}, {"variables", variables}, {"equations", v.equations}, {"current", v.current}};
}

void from_json(const nlohmann::json& j, EditConstrData& v) {
    EditConstrData d;
    if (j.contains("modules")) {
        const nlohmann::json& modules = j.at("modules");
        if (!modules.is_array() || modules.size() > static_cast<std::size_t>(kMaxConstraintModules))
            throw std::runtime_error("\"modules\" is no list of at most " +
                                     std::to_string(kMaxConstraintModules));
        for (const nlohmann::json& m : modules) {
            MacroConstraintModule module;
            module.name = textMember(m, "name");
            if (m.contains("constraints")) {
                const nlohmann::json& cs = m.at("constraints");
                if (!cs.is_array() || cs.size() > static_cast<std::size_t>(kMaxConstraintsPerModule))
                    throw std::runtime_error("module \"" + module.name.str() + "\" has too many constraints");
                for (const nlohmann::json& c : cs)
                    module.constraints.append(c.get<MacroConstraint>());
            }
            if (m.contains("flexibility"))
                for (const nlohmann::json& f : m.at("flexibility")) {
                    MacroGeomFlex x;
                    from_json(f, x);
                    module.flexibility.append(x);
                }
            d.modules.append(module);
        }
    }
    if (j.contains("variables")) {
        const nlohmann::json& vars = j.at("variables");
        if (!vars.is_array() || vars.size() > static_cast<std::size_t>(kMaxMacroVariables))
            throw std::runtime_error("\"variables\" is no list of at most " +
                                     std::to_string(kMaxMacroVariables));
        for (const nlohmann::json& x : vars)
            d.variables.append({textMember(x, "name"), textMember(x, "type"), textMember(x, "value")});
    }
    if (j.contains("equations")) {
        d.equations = j.at("equations").get<Vor_StringArray>();
        if (d.equations.length() > kMaxMacroEquations) throw std::runtime_error("too many equations");
    }
    d.current = jsonMember<int>(j, "current", 0, 0, kMaxConstraintModules);
    d.macro = v.macro;
    d.macroName = v.macroName;
    v = d;
}

// ---- kept in the drawing

bool GetEditConstrData(AcDbObjectId macro, EditConstrData& data, Vor_String* error) {
    const cad::Drawing& d = cad::curDrawing();
    std::string why;
    Vor_Array<MacroTabData> tabs;
    if (!readMacroTabs(d, macro, tabs, &why)) {
        if (error) *error = Vor_String(why);
        return false;
    }
    const cad::Entity* group = d.get(macro);
    std::string text;
    for (int n = 0; n < kMaxConstraintChunks; ++n) {
        const auto it = group->properties.find(chunkKey(n));
        if (it == group->properties.end()) break;
        text += it->second;
    }
    EditConstrData fresh;
    fresh.macro = macro;
    fresh.macroName = Vor_String(group->name);
    if (!text.empty()) {
        try {
            from_json(nlohmann::json::parse(text), fresh);
        } catch (const std::exception& e) {
            if (error) *error = string(10603) + " " + Vor_String(group->name) + ": " + Vor_String(e.what());
            return false;
        }
    }
    // every tab of the macro is a module, first, in the macro's order
    Vor_Array<MacroConstraintModule> modules;
    for (const MacroTabData& t : tabs) {
        const int i = fresh.findModule(t.moduleName);
        MacroConstraintModule m = i >= 0 ? fresh.modules[i] : MacroConstraintModule{t.moduleName, {}, {}};
        modules.append(m);
    }
    for (const MacroConstraintModule& m : fresh.modules)
        if (!isTabModule(tabs, m.name)) modules.append(m);
    fresh.modules = modules;
    if (fresh.current >= fresh.modules.length()) fresh.current = 0;
    data = fresh;
    return true;
}

bool SetEditConstrData(const EditConstrData& data, Vor_String* error) {
    nlohmann::json j = data;
    const std::string text = j.dump();
    const std::size_t chunks = (text.size() + kChunkBytes - 1) / kChunkBytes;
    if (chunks > static_cast<std::size_t>(kMaxConstraintChunks)) {
        if (error) *error = string(10604) + " " + data.macroName;
        return false;
    }
    std::string why;
    const Acad::ErrorStatus es = cad::curDrawing().modify(
        data.macro,
        [&](cad::Entity& e) {
            for (auto it = e.properties.begin(); it != e.properties.end();)
                it = it->first.rfind(kChunkKey, 0) == 0 ? e.properties.erase(it) : std::next(it);
            for (std::size_t n = 0; n < chunks; ++n)
                e.properties[chunkKey(static_cast<int>(n))] = text.substr(n * kChunkBytes, kChunkBytes);
        },
        &why);
    if (es != Acad::eOk) {
        if (error) *error = Vor_String(why);
        return false;
    }
    return true;
}

// ---- modules

bool MacroGetModules(const EditConstrData& data, Vor_StringArray& names) {
    names.removeAll();
    for (const MacroConstraintModule& m : data.modules)
        names.append(m.name);
    return true;
}

bool SetCurrentModule(EditConstrData& data, const Vor_String& name) {
    const int i = data.findModule(name);
    if (i < 0) return false;
    data.current = i;
    return true;
}

bool RenameModule(EditConstrData& data, const Vor_String& name) {
    MacroConstraintModule* m = data.currentModule();
    Vor_String trimmed = name;
    trimmed.trim();
    if (!m || trimmed.isEmpty() || hasControlCharacters(trimmed) || trimmed.length() > 255) return false;
    const int other = data.findModule(trimmed);
    if (other >= 0 && other != data.current) return false;
    // a module of one of the macro's tabs keeps the tab's name
    const Vor_Array<MacroTabData> tabs = tabsOf(data.macro);
    if (isTabModule(tabs, m->name)) return false;
    m->name = trimmed;
    return keep(data);
}

bool RemoveModule(EditConstrData& data, const Vor_String& name) {
    const int i = data.findModule(name);
    if (i < 0) return false;
    const Vor_Array<MacroTabData> tabs = tabsOf(data.macro);
    if (isTabModule(tabs, name)) return false;
    data.modules.removeAt(i);
    data.current = 0;
    return keep(data);
}

// ---- names

bool startsWithNumber(const Vor_String& name) {
    return !name.isEmpty() && name.str()[0] >= '0' && name.str()[0] <= '9';
}

bool VarNameInUse(const EditConstrData& data, const Vor_String& name, int exceptRow) {
    for (const MacroVariable& v : data.variables)
        if (v.name.equal(name, false)) return true;
    for (int m = 0; m < data.modules.length(); ++m)
        for (int r = 0; r < data.modules[m].constraints.length(); ++r) {
            const MacroConstraint& c = data.modules[m].constraints[r];
            if (m == data.current && r == exceptRow) continue;
            if (c.hasValue() && c.name.equal(name, false)) return true;
        }
    return false;
}

// ---- constraints

bool UpdateConstraint(EditConstrData& data, int row) {
    MacroConstraintModule* m = data.currentModule();
    if (!m || row < 0 || row >= m->constraints.length()) return false;
    MacroConstraint& c = m->constraints[row];
    if (c.hasValue() && !c.name.isEmpty()) {
        // the value of a variable of the macro goes into the macro
        MacroData macro;
        if (GetMacroData({data.macro}, macro))
            for (MacroTabData& t : macro.tabs) {
                int index = -1;
                MacroCell* cell = t.findCellWithName(c.name, &index);
                if (!cell) continue;
                if (cell->value != c.value) {
                    const Vor_String old = cell->value;
                    cell->value = c.value;
                    if (!UpdateModule(t.moduleName, macro, {index}, {})) {
                        c.value = old; // refused: the constraint shows what the macro keeps
                        return false;
                    }
                }
                break;
            }
    }
    return keep(data);
}

bool DeleteConstraint(EditConstrData& data, int row) {
    MacroConstraintModule* m = data.currentModule();
    if (!m || row < 0 || row >= m->constraints.length()) return false;
    m->constraints.removeAt(row);
    return keep(data);
}

bool SortConstraints(EditConstrData& data, int from, int to) {
    MacroConstraintModule* m = data.currentModule();
    if (!m || from < 0 || to < 0 || from >= m->constraints.length() || to >= m->constraints.length())
        return false;
    const MacroConstraint moved = m->constraints[from];
    m->constraints.removeAt(from);
    m->constraints.insertAt(to, moved);
    return keep(data);
}

bool HighlightConstraint(const EditConstrData& data, int row) {
    const MacroConstraintModule* m = data.currentModule();
    UnHighlightConstraints(data);
    if (!m || row < 0 || row >= m->constraints.length()) return false;
    cad::Drawing& d = cad::curDrawing();
    bool any = false;
    for (const Vor_String& name : m->constraints[row].objects) {
        const AcDbObjectId id = d.findByName(name.str());
        if (!id.isNull() && d.highlight(id, true) == Acad::eOk) any = true;
    }
    return any;
}

void UnHighlightConstraints(const EditConstrData&) {
    cad::curDrawing().clearHighlights();
}

bool StartMacroCommand(EditConstrData& data, int command) {
    if (command < 0 || command >= kConstraintCommands) return false;
    if (command == kCommandAddModule || command == kCommandBoltPattern || command == kCommandCoordSys) {
        if (data.modules.length() >= kMaxConstraintModules) return false;
        const int base = command == kCommandAddModule     ? 10605
                         : command == kCommandBoltPattern ? 10606
                                                          : 10607;
        data.modules.append({freeModuleName(data, string(base)), {}, {}});
        data.current = data.modules.length() - 1;
        return keep(data);
    }
    MacroConstraintModule* m = data.currentModule();
    if (!m || m->constraints.length() >= kMaxConstraintsPerModule) return false;
    // the entities it ties, picked in the drawing: one for a radius, two otherwise
    const int picks = command == kConstrRadius ? 1 : 2;
    MacroConstraint c;
    c.kind = command;
    cad::Drawing& d = cad::curDrawing();
    for (int n = 0; n < picks; ++n) {
        cad::PickRequest request;
        request.kind = cad::PickKind::Object;
        request.prompt = string(picks == 1 ? 10602 : n == 0 ? 10600 : 10601).str();
        const cad::PickResult r = cad::pick(request);
        if (!r.ok || r.ids.empty()) return false; // cancelled: nothing changes
        const cad::Entity* e = d.get(r.ids.front());
        if (!e) return false;
        c.objects.append(Vor_String(e->name));
    }
    if (c.hasValue()) c.value = "0";
    m->constraints.append(c);
    return keep(data);
}

// ---- flexibility

bool GetGeomFlexibility(EditConstrData& data) {
    MacroConstraintModule* m = data.currentModule();
    if (!m) return false;
    Vor_Array<MacroGeomFlex> parts;
    const auto listed = [&](const Vor_String& name) {
        for (const MacroGeomFlex& f : parts)
            if (f.object == name) return true;
        return false;
    };
    for (const MacroConstraint& c : m->constraints)
        for (const Vor_String& name : c.objects) {
            if (listed(name)) continue;
            MacroGeomFlex f;
            f.object = name;
            for (const MacroGeomFlex& kept : m->flexibility)
                if (kept.object == name) f = kept;
            parts.append(f);
        }
    m->flexibility = parts;
    return true;
}

bool UpdateGeomFlexibility(EditConstrData& data, int what, int value, int row) {
    MacroConstraintModule* m = data.currentModule();
    if (!m || row < 0 || row >= m->flexibility.length()) return false;
    MacroGeomFlex& f = m->flexibility[row];
    if (what == 0 && value >= 0 && value <= 3)
        f.translate = value;
    else if (what == 1 && value >= 0 && value <= 2)
        f.rotate = value;
    else
        return false;
    return SetEditConstrData(data);
}

bool UpdateConstrGeom(EditConstrData& data, int row, bool constrained) {
    MacroConstraintModule* m = data.currentModule();
    if (!m || row < 0 || row >= m->flexibility.length()) return false;
    m->flexibility[row].constrained = constrained;
    return SetEditConstrData(data);
}

bool HighlightObject(AcDbObjectId id) {
    return cad::curDrawing().highlight(id, true) == Acad::eOk;
}

bool UnHighlightObject(AcDbObjectId id) {
    return cad::curDrawing().highlight(id, false) == Acad::eOk;
}

// ---- context menu

bool ConstrContextMenu(const EditConstrData& data, int row, Vor_StringArray& texts, Vor_Array<int>& actions,
                       Vor_Array<int>& checked) {
    texts.removeAll();
    actions.removeAll();
    checked.removeAll();
    const MacroConstraintModule* m = data.currentModule();
    if (!m || row < 0 || row >= m->constraints.length()) return false;
    const MacroConstraint& c = m->constraints[row];
    const auto item = [&](int text, int action, bool on) {
        if (on) checked.append(texts.length());
        texts.append(string(text));
        actions.append(action);
    };
    if (c.hasValue()) {
        item(10608, kMenuFixed, c.fixed);
        if (c.fixed) item(10609, kMenuReversed, c.reversed);
        texts.append("%BREAK%");
        actions.append(0);
    }
    item(10610, kMenuDelete, false);
    if (row > 0) item(10611, kMenuUp, false);
    if (row + 1 < m->constraints.length()) item(10612, kMenuDown, false);
    return true;
}

bool ContextMenuAction(EditConstrData& data, int action, int row) {
    MacroConstraintModule* m = data.currentModule();
    if (!m || row < 0 || row >= m->constraints.length()) return false;
    MacroConstraint& c = m->constraints[row];
    switch (action) {
    case kMenuFixed:
        if (!c.hasValue()) return false;
        c.fixed = !c.fixed;
        if (!c.fixed) c.reversed = false;
        break;
    case kMenuReversed:
        if (!c.fixed) return false;
        c.reversed = !c.reversed;
        break;
    case kMenuDelete:
        return DeleteConstraint(data, row);
    case kMenuUp:
        return SortConstraints(data, row, row - 1);
    case kMenuDown:
        return SortConstraints(data, row, row + 1);
    default:
        return false;
    }
    return SetEditConstrData(data);
}

// ---- variables, other macros, zoom

bool UpdateVarsEqs(EditConstrData& data, Vor_String* error) {
    for (int i = 0; i < data.variables.length(); ++i) {
        const Vor_String& name = data.variables[i].name;
        bool twice = false;
        for (int k = 0; k < i; ++k)
            twice = twice || data.variables[k].name.equal(name, false);
        if (name.isEmpty() || twice) {
            if (error) *error = string(10613) + " \"" + name + "\"";
            return false;
        }
    }
    return SetEditConstrData(data, error);
}

bool SelectOtherMacro(EditConstrData& data) {
    cad::PickRequest request;
    request.kind = cad::PickKind::Object;
    request.prompt = string(10346).str();
    request.allowed = {cad::EntityKind::MacroGroup};
    const cad::PickResult r = cad::pick(request);
    if (!r.ok || r.ids.empty()) return false;
    EditConstrData fresh;
    Vor_String error;
    if (!GetEditConstrData(r.ids.front(), fresh, &error)) {
        acutPrintf("%s\n", error.c_str());
        return false;
    }
    data = fresh;
    return true;
}

bool ZoomCommand(const EditConstrData& data) {
    if (!cad::curDrawing().get(data.macro)) return false;
    return ZoomCommand(std::vector<AcDbObjectId>{data.macro});
}

// ---- the cut dialog, run by the module

bool StartEditMacroCutDlg(EditConstrData& data, int row) {
    MacroConstraintModule* m = data.currentModule();
    if (!m || row < 0 || row >= m->constraints.length() || m->constraints[row].kind != kConstrCut)
        return false;
    MacroData macro;
    int tab = -1;
    if (!GetMacroData({data.macro}, macro) || !macro.findTab(m->name, tab)) return false;
    const MacroTabData before = macro.tabs[tab];
    bool escaped = false;
    if (!StartEditMacroCutDlg(macro, tab, m->constraints[row].cutName, escaped)) return false;
    Vor_StringArray names;
    Vor_Array<int> first, second;
    if (macro.tabs[tab].differences(before, names, first, second) &&
        !UpdateModule(macro.tabs[tab].moduleName, macro, first, second))
        return false;
    return true;
}
