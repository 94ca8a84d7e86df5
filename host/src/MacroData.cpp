// The macros of the drawing: their values stored in the macro group's properties, read merged for
// the dialogs, written back as differences and regenerated through the macro library's rule.

#include <host/MacroData.h>
#include <host/MacroSettings.h>

#include "MacroFind_p.h"

#include <host/MacroLibrary.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/Vor_PropertiesList.h>

#include <base/FileRead.h>
#include <base/PathPart.h>

#include <cad/Pick.h>
#include <cad/aced.h>

#include <ui/Timer.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

using nlohmann::json;

// ---- helpers

namespace {

void applyText(const Vor_String& merged, Vor_String& target) {
    if (!isVaries(merged)) target = merged;
}
bool hasVariesText(const Vor_StringArray& texts) {
    for (const Vor_String& t : texts)
        if (isVaries(t)) return true;
    return false;
}

} // namespace

// ---- writing a tab's listed changes into one macro's values

namespace {

/// Writes the changes of `from` (a merged tab) that the lists name into `to` (one macro's tab).
void applyListed(const MacroTabData& from, MacroTabData& to, const Vor_Array<int>& first,
                 const Vor_Array<int>& second) {
    for (int code : first) {
        if (code >= 0 && code < from.cells.length()) {
            const MacroCell& c = from.cells[code];
            if (MacroCell* t = to.findCellWithName(c.name)) {
                applyText(c.value, t->value);
                t->flag = c.flag;
            }
            continue;
        }
        switch (code) {
        case kChangedBolts:
            if (from.hasBolts && to.hasBolts) from.bolts.applyTo(to.bolts);
            break;
        case kChangedDrawingFile:
            if (from.hasDrawingFile && to.hasDrawingFile) applyText(from.drawingFile, to.drawingFile);
            break;
        case kChangedProfiles:
            for (const MacroProfData& p : from.profiles)
                if (MacroProfData* t = to.findProfDataWithGroup(p.groupName)) p.applyTo(*t);
            break;
        case kChangedSegments:
            for (const MacroSegmentData& s : from.segments)
                for (MacroSegmentData& t : to.segments)
                    if (t.name == s.name) {
                        applyText(s.section, t.section);
                        applyText(s.clearance, t.clearance);
                        t.breakAtEveryPoint = s.breakAtEveryPoint;
                        if (!hasVariesText(s.breakPoints)) t.breakPoints = s.breakPoints;
                    }
            break;
        case kChangedCuts:
            for (const MacroCutData& c : from.cuts)
                if (MacroCutData* t = to.findCutWithName(c.name)) {
                    if (c.choice != kVariesIndex) t->choice = c.choice;
                    if (c.values.length() == t->values.length())
                        for (int i = 0; i < c.values.length(); ++i)
                            applyText(c.values[i], t->values[i]);
                    else if (!hasVariesText(c.values))
                        t->values = c.values, t->varNames = c.varNames;
                }
            break;
        case kChangedArrays:
            for (const DynArrayData& a : from.arrays)
                if (DynArrayData* t = to.findArrayWithName(a.name)) a.applyTo(*t);
            break;
        case kChangedFlexFix:
            for (const MacroFlexFixGroup& g : from.flexFix)
                if (MacroFlexFixGroup* t = to.findFlexFixGroup(g.name)) t->flexible = g.flexible;
            break;
        default:
            break;
        }
    }
    for (int index : second) {
        if (index < 0 || index >= from.patterns.length()) continue;
        if (MacroPatternProps* t = to.findPatternWithName(from.patterns[index].name))
            from.patterns[index].applyTo(*t);
    }
}

/// Keeps linked cells and pattern values equal: the one that was written wins.
void applyLinks(const MacroDefinition& def, Vor_Array<MacroTabData>& tabs, const Vor_String& module,
                const Vor_Array<int>& first, const Vor_Array<int>& second, const MacroTabData& from) {
    for (const MacroDefinition::Link& l : def.links) {
        MacroCell* cell = nullptr;
        MacroPatternProps* pattern = nullptr;
        for (MacroTabData& t : tabs) {
            if (t.moduleName == l.module)
                if (MacroCell* c = t.findCellWithName(l.cell)) cell = c;
            if (MacroPatternProps* p = t.findPatternWithName(l.pattern)) pattern = p;
        }
        if (!cell || !pattern) continue;
        bool cellWritten = false, patternWritten = false;
        if (from.moduleName == module) {
            for (int code : first)
                if (code >= 0 && code < from.cells.length() && from.cells[code].name == l.cell &&
                    module == l.module)
                    cellWritten = true;
            for (int index : second)
                if (index >= 0 && index < from.patterns.length() && from.patterns[index].name == l.pattern)
                    patternWritten = true;
        }
        if (patternWritten)
            cell->value = pattern->value(l.value);
        else if (cellWritten)
            pattern->setValue(l.value, cell->value);
    }
}

// ---- the values of a macro in its group's properties

const char* const kRecordKinds[] = {"bolts", "drawing", "pattern", "profile",
                                    "array", "cut",     "segment", "flexfix"};

std::string vecText(const cad::Point3d& p) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s.precision(12);
    s << p.x << ',' << p.y << ',' << p.z;
    return s.str();
}

bool vecOf(const std::string& text, cad::Point3d& p) {
    double v[3];
    std::istringstream s(text);
    s.imbue(std::locale::classic());
    char comma = 0;
    if (!(s >> v[0] >> comma) || comma != ',' || !(s >> v[1] >> comma) || comma != ',' || !(s >> v[2]))
        return false;
    p = {v[0], v[1], v[2]};
    return true;
}

/// Drops the members that hold their default (the readers take a missing member as its default),
/// one level into nested objects.
void dropDefaults(json& j, const json& defaults, int depth = 0) {
    for (auto it = j.begin(); it != j.end();) {
        const auto d = defaults.find(it.key());
        if (d != defaults.end() && *d == *it) {
            it = j.erase(it);
            continue;
        }
        if (depth == 0 && d != defaults.end() && it->is_object() && d->is_object()) dropDefaults(*it, *d, 1);
        ++it;
    }
}

template <class T> std::string recordText(T record) {
    json j = record;
    j.erase("btnId");
    j.erase("ctrlRef");
    j.erase("validDims");
    static const json defaults = T{};
    dropDefaults(j, defaults);
    return j.dump();
}

/// The properties that hold a macro's values (besides "macro", its placement and "connects").
std::map<std::string, std::string> valueProperties(const Vor_Array<MacroTabData>& tabs) {
    std::map<std::string, std::string> props;
    for (const MacroTabData& t : tabs) {
        const std::string m = t.moduleName.str() + ".";
        for (const MacroCell& c : t.cells)
            props[m + c.name.str()] = c.value.str();
        if (t.hasBolts) props[m + "@bolts"] = recordText(t.bolts);
        if (t.hasDrawingFile) props[m + "@drawing"] = t.drawingFile.str();
        for (const MacroPatternProps& p : t.patterns)
            props[m + "@pattern." + p.name.str()] = recordText(p);
        for (const MacroProfData& p : t.profiles)
            props[m + "@profile." + p.groupName.str()] = recordText(p);
        for (const DynArrayData& a : t.arrays)
            props[m + "@array." + a.name.str()] = recordText(a);
        for (const MacroCutData& c : t.cuts)
            props[m + "@cut." + c.name.str()] = recordText(c);
        for (const MacroSegmentData& s : t.segments)
            props[m + "@segment." + s.name.str()] = recordText(s);
        for (const MacroFlexFixGroup& g : t.flexFix)
            props[m + "@flexfix." + g.name.str()] = recordText(g);
    }
    return props;
}

/// Sets one stored value into the tabs; false when the key has no place there.
bool setStoredValue(Vor_Array<MacroTabData>& tabs, const std::string& key, const std::string& value) {
    const auto dot = key.find('.');
    if (dot == std::string::npos) return false;
    const Vor_String module(key.substr(0, dot));
    const std::string rest = key.substr(dot + 1);
    MacroTabData* tab = nullptr;
    for (MacroTabData& t : tabs)
        if (t.moduleName == module) tab = &t;
    if (!tab) return false;
    if (rest.empty() || rest[0] != '@') {
        MacroCell* c = tab->findCellWithName(Vor_String(rest));
        if (!c) return false;
        c->value = Vor_String(value);
        return true;
    }
    const auto dot2 = rest.find('.');
    const std::string kind = rest.substr(1, dot2 == std::string::npos ? std::string::npos : dot2 - 1);
    const Vor_String name(dot2 == std::string::npos ? std::string() : rest.substr(dot2 + 1));
    try {
        if (kind == "drawing") {
            if (!tab->hasDrawingFile) return false;
            tab->drawingFile = Vor_String(value);
            return true;
        }
        const json j = json::parse(value);
        if (kind == "bolts") {
            if (!tab->hasBolts) return false;
            tab->bolts = j.get<MacroBoltData>();
        } else if (kind == "pattern") {
            MacroPatternProps* p = tab->findPatternWithName(name);
            if (!p) return false;
            const int btnId = p->btnId;
            *p = j.get<MacroPatternProps>();
            p->name = name, p->btnId = btnId;
        } else if (kind == "profile") {
            MacroProfData* p = tab->findProfDataWithGroup(name);
            if (!p) return false;
            const int btnId = p->btnId;
            *p = j.get<MacroProfData>();
            p->groupName = name, p->btnId = btnId;
        } else if (kind == "array") {
            DynArrayData* a = tab->findArrayWithName(name);
            if (!a) return false;
            DynArrayData n = j.get<DynArrayData>();
            n.name = name, n.btnId = a->btnId;
            for (int i = 0; i < 3; ++i)
                n.validDims[i] = a->validDims[i];
            *a = n;
        } else if (kind == "cut") {
            MacroCutData* c = tab->findCutWithName(name);
            if (!c) return false;
            *c = j.get<MacroCutData>();
            c->name = name;
        } else if (kind == "segment") {
            for (MacroSegmentData& s : tab->segments)
                if (s.name == name) {
                    s = j.get<MacroSegmentData>();
                    s.name = name;
                    return true;
                }
            return false;
        } else if (kind == "flexfix") {
            MacroFlexFixGroup* g = tab->findFlexFixGroup(name);
            if (!g) return false;
            *g = j.get<MacroFlexFixGroup>();
            g->name = name;
        } else
            return false;
    } catch (const json::exception&) {
        return false;
    }
    return true;
}

bool isValueKey(const std::string& key) {
    return key != "macro" && key != "origin" && key != "xaxis" && key != "yaxis" && key != "connects" &&
           key.find('.') != std::string::npos;
}

cad::CoordSys placementOf(const cad::Entity& group) {
    cad::CoordSys cs;
    auto get = [&](const char* key, cad::Point3d& p) {
        auto it = group.properties.find(key);
        if (it != group.properties.end()) vecOf(it->second, p);
    };
    get("origin", cs.origin);
    get("xaxis", cs.xAxis);
    get("yaxis", cs.yAxis);
    if (cs.xAxis.length() == 0 || cs.yAxis.length() == 0 || cs.zAxis().length() < 1e-9) cs = {cs.origin};
    return cs;
}

const cad::Entity* macroGroup(const cad::Drawing& d, AcDbObjectId id, std::string* error) {
    const cad::Entity* e = d.get(id);
    if (!e || e->kind() != cad::EntityKind::MacroGroup || !e->properties.count("macro")) {
        if (error)
            *error = string(10340).str() + " " +
                     (e && !e->name.empty() ? e->name : "#" + std::to_string(id.handle()));
        return nullptr;
    }
    return e;
}

/// The stored values of a macro over the definition's defaults; faulty stored values are left at
/// their defaults.
void tabsOf(const cad::Entity& group, const MacroDefinition& def, Vor_Array<MacroTabData>& tabs) {
    tabs = def.tabs;
    for (const auto& [key, value] : group.properties)
        if (isValueKey(key)) setStoredValue(tabs, key, value);
}

/// Replaces the generated entities of a macro by `made`, keeping ids and names where the element
/// is the same.
void placeGenerated(cad::Drawing& d, AcDbObjectId macro, const std::string& macroName,
                    std::vector<GeneratedEntity>& made) {
    std::map<std::string, AcDbObjectId> existing;
    for (AcDbObjectId id : d.members(macro)) {
        const cad::Entity* e = d.get(id);
        auto gen = e->properties.find("gen");
        if (gen != e->properties.end()) existing.emplace(gen->second, id);
    }
    for (GeneratedEntity& g : made) {
        auto it = existing.find(g.key);
        if (it != existing.end()) {
            const cad::Entity* old = d.get(it->second);
            if (old->kind() == g.entity.kind()) {
                if (!(old->geometry == g.entity.geometry && old->properties == g.entity.properties))
                    d.modify(it->second, [&](cad::Entity& e) {
                        e.geometry = g.entity.geometry;
                        e.properties = g.entity.properties;
                    });
                existing.erase(it);
                continue;
            }
        }
        g.entity.owner = macro;
        g.entity.name = macroName + "." + g.key;
        if (it != existing.end()) {
            // another kind under the same key: the old one goes, the new one takes its name
            g.entity.name = d.get(it->second)->name;
            d.erase(it->second);
            existing.erase(it);
        }
        d.add(g.entity);
    }
    for (const auto& [key, id] : existing)
        d.erase(id);
}

/// Stores the values (when `store`) and places what the rule made of them (`made`, or made here
/// when null).
bool regenerate(cad::Drawing& d, AcDbObjectId macro, const MacroDefinition& def,
                const Vor_Array<MacroTabData>& tabs, bool store, std::string* error,
                std::vector<GeneratedEntity>* madeAlready = nullptr) {
    const cad::Entity* group = d.get(macro);
    std::vector<GeneratedEntity> madeHere;
    if (!madeAlready && !generateMacro(def, tabs, placementOf(*group), madeHere, error)) {
        if (error) *error = (group->name.empty() ? std::string() : group->name + ": ") + *error;
        return false;
    }
    std::vector<GeneratedEntity>& made = madeAlready ? *madeAlready : madeHere;
    if (store) {
        std::map<std::string, std::string> props = valueProperties(tabs);
        std::string why;
        const Acad::ErrorStatus es = d.modify(
            macro,
            [&](cad::Entity& e) {
                for (auto it = e.properties.begin(); it != e.properties.end();)
                    it = isValueKey(it->first) && !props.count(it->first) ? e.properties.erase(it)
                                                                          : std::next(it);
                for (auto& [k, v] : props)
                    e.properties[k] = v;
            },
            &why);
        if (es != Acad::eOk) {
            if (error) *error = group->name + ": " + why;
            return false;
        }
    }
    placeGenerated(d, macro, d.get(macro)->name, made);
    return true;
}

// ---- busy macros (deferred close)

std::map<std::int64_t, int>& busyMacros() {
    static std::map<std::int64_t, int> busy; // macro -> timer that frees it
    return busy;
}

void markBusy(const Vor_Array<AcDbObjectId>& ids) {
    const int delay = macroHostSettings().regenerationDelayMs;
    if (delay <= 0 || ids.isEmpty()) return;
    auto timer = std::make_shared<int>(0);
    *timer = ui::setTimer(delay, [timer] {
        auto& busy = busyMacros();
        for (auto it = busy.begin(); it != busy.end();)
            it = it->second == *timer ? busy.erase(it) : std::next(it);
        ui::killTimer(*timer);
    });
    for (AcDbObjectId id : ids)
        busyMacros()[id.handle()] = *timer; // a later change keeps the macro busy until its own timer
}

} // namespace

// ---- MacroData

bool MacroData::findTab(const Vor_String& name, int& index) const {
    for (int i = 0; i < tabs.length(); ++i)
        if (tabs[i].moduleName.equal(name, false) || tabs[i].caption.equal(name, false)) {
            index = i;
            return true;
        }
    return false;
}

MacroTabData* MacroData::findTabWithModule(const Vor_String& moduleName, int* index) {
    return findByName(tabs, moduleName, index, [](const MacroTabData& t) { return t.moduleName; });
}

void MacroData::changeView(const Vor_String& /*moduleName*/, int direction) {
    if (direction < 0 || direction > 3) return;
    ::changeView(static_cast<cad::ViewDirection>(direction));
    std::vector<AcDbObjectId> shown;
    for (AcDbObjectId id : ids)
        if (cad::curDrawing().get(id)) shown.push_back(id);
    if (!shown.empty()) ZoomCommand(shown);
}

bool MacroData::reApply() {
    bool any = false;
    for (AcDbObjectId id : ids) {
        std::string error;
        if (!regenerateMacro(cad::curDrawing(), id, &error)) {
            acutPrintf("%s\n", error.c_str());
            return false;
        }
        any = true;
    }
    return any;
}

bool MacroData::propListAllowed(Vor_String& folder) const {
    if (macroType.isEmpty() || !base::isPathPart(macroType.str())) return false;
    folder = gSettings.libDir + "Macros/" + macroType + "/";
    return true;
}

void MacroData::getPropFiles(Vor_String& folder, Vor_String& extension, Vor_StringArray& allNames,
                             Vor_StringArray& filteredNames) const {
    extension = ".vmp";
    allNames.removeAll();
    filteredNames.removeAll();
    if (!propListAllowed(folder)) return;
    std::set<std::string> modules;
    for (const MacroTabData& t : tabs)
        modules.insert(t.moduleName.str());
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder.str(), ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".vmp" || !base::isRegularFile(it->path().string())) continue;
        files.push_back(it->path());
        if (static_cast<int>(files.size()) >= kMaxPropFilesListed) break;
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& f : files) {
        const Vor_String name(f.stem().string());
        allNames.append(name);
        Vor_PropertiesList list;
        if (list.readFromFile(Vor_String(f.string())) != Acad::eOk) continue;
        Vor_String type;
        if (list.getProperty("macro", type) != Acad::eOk || !type.equal(macroType, false)) continue;
        bool fits = true;
        for (const Vor_PropertiesList::Entry& e : list.entries()) {
            if (e.name.equal("macro", false)) continue;
            const std::string key = e.name.str();
            const std::size_t dot = key.find('.');
            fits = fits && dot != std::string::npos && modules.count(key.substr(0, dot));
        }
        if (fits) filteredNames.append(name);
    }
}

namespace {
// The path of a property file: a full path as given, a bare name in the macro type's folder. A bare
// name that is no single path part ("..", empty) has no path: "" with the reason in `why`.
std::string propFilePath(const MacroData& data, const Vor_String& fileName, std::string& why) {
    Vor_String folder;
    if (fileName.find("/") >= 0 || !data.propListAllowed(folder)) return fileName.str();
    why = base::pathPartFault(fileName.str());
    if (!why.empty()) return "";
    return (folder + fileName).str();
}
} // namespace

bool MacroData::readFromFile(const Vor_String& fileName, int& notSet, Vor_String* error) {
    Vor_PropertiesList list;
    std::string why;
    const std::string path = propFilePath(*this, fileName, why);
    if (path.empty() || list.readFromFile(Vor_String(path), &why) != Acad::eOk) {
        if (error) *error = Vor_String(why);
        return false;
    }
    Vor_String type;
    if (list.getProperty("macro", type) == Acad::eOk && !type.equal(macroType, false)) {
        if (error) *error = Vor_String(path + ": " + string(10341).str() + " " + type.str());
        return false;
    }
    Vor_Array<MacroTabData> changed = tabs;
    int missing = 0;
    for (const Vor_PropertiesList::Entry& e : list.entries()) {
        if (e.name.equal("macro", false)) continue;
        std::string text;
        if (const Vor_String* s = std::get_if<Vor_String>(&e.value))
            text = s->str();
        else if (const int* i = std::get_if<int>(&e.value))
            text = std::to_string(*i);
        else
            text = Vor_String(std::get<double>(e.value), 6).str();
        if (!setStoredValue(changed, e.name.str(), text)) ++missing;
    }
    tabs = changed;
    notSet = missing;
    return true;
}

bool MacroData::writeToFile(const Vor_String& fileName, Vor_String* error) const {
    Vor_PropertiesList list;
    list.setProperty("macro", macroType);
    for (const auto& [key, value] : valueProperties(tabs)) {
        // a value that differs between the macros has no one value to keep
        if (Vor_String(value) == variesText() || value.find(variesText().str()) != std::string::npos)
            continue;
        list.setProperty(Vor_String(key), Vor_String(value));
    }
    std::string why;
    const std::string path = propFilePath(*this, fileName, why);
    if (path.empty()) {
        if (error) *error = Vor_String(why);
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (list.writeToFile(Vor_String(path), &why) != Acad::eOk) {
        if (error) *error = Vor_String(why);
        return false;
    }
    return true;
}

bool MacroData::differences(const MacroData& other, Vor_StringArray& names, Vor_Array<Vor_Array<int>>& first,
                            Vor_Array<Vor_Array<int>>& second) const {
    names.removeAll();
    first.removeAll();
    second.removeAll();
    bool any = false;
    for (const MacroTabData& t : tabs) {
        Vor_StringArray n;
        Vor_Array<int> f, s;
        const MacroTabData* o = nullptr;
        for (const MacroTabData& x : other.tabs)
            if (x.moduleName == t.moduleName) o = &x;
        if (o && t.differences(*o, n, f, s)) {
            any = true;
            for (const Vor_String& name : n)
                names.append(t.moduleName + "." + name);
        }
        first.append(f);
        second.append(s);
    }
    return any;
}

bool MacroData::getMergedPropsOfGroup(const Vor_String& moduleName, const Vor_String& group,
                                      MacroProfData& props) const {
    const MacroTabData* t = const_cast<MacroData*>(this)->findTabWithModule(moduleName);
    return t && t->getMergedPropsOfGroup(group, props);
}

bool MacroData::setMergedPropsOfGroup(const Vor_String& moduleName, const Vor_String& group,
                                      const MacroProfData& props) {
    MacroTabData* t = findTabWithModule(moduleName);
    return t && t->setMergedPropsOfGroup(group, props);
}

bool MacroData::swapBlockRefs(const Vor_String& path) {
    if (!base::isRegularFile(path.str())) {
        acutPrintf("%s %s\n", string(10342).c_str(), path.c_str());
        return false;
    }
    const Vor_String name(std::filesystem::path(path.str()).stem().string());
    bool ok = false;
    for (MacroTabData& t : tabs) {
        if (!t.hasDrawingFile) continue;
        t.drawingFile = name;
        Vor_Array<int> first;
        first.append(kChangedDrawingFile);
        if (!UpdateModule(t.moduleName, *this, first, {})) return false;
        ok = true;
    }
    return ok;
}

bool MacroData::deferredCloseSet() const {
    if (deferredClose) return true;
    for (AcDbObjectId id : ids)
        if (busyMacros().count(id.handle())) return true;
    return false;
}

// ---- building and writing

bool readMacroTabs(const cad::Drawing& drawing, AcDbObjectId macro, Vor_Array<MacroTabData>& tabs,
                   std::string* error) {
    const cad::Entity* g = macroGroup(drawing, macro, error);
    if (!g) return false;
    auto def = macroDefinition(Vor_String(g->properties.at("macro")), error);
    if (!def) return false;
    tabsOf(*g, *def, tabs);
    return true;
}

bool GetMacroData(const Vor_Array<AcDbObjectId>& ids, MacroData& data, Vor_String* error) {
    std::string why;
    auto fail = [&](const std::string& message) {
        if (error) *error = Vor_String(message);
        return false;
    };
    if (ids.isEmpty()) return fail(string(10343).str());
    const cad::Drawing& d = cad::curDrawing();
    MacroData result;
    std::shared_ptr<const MacroDefinition> def;
    for (AcDbObjectId id : ids) {
        const cad::Entity* g = macroGroup(d, id, &why);
        if (!g) return fail(why);
        const Vor_String type(g->properties.at("macro"));
        if (!def) {
            def = macroDefinition(type, &why);
            if (!def) return fail(why);
            result.macroType = def->type;
        } else if (!type.equal(result.macroType, false))
            return fail(string(10344).str() + " " + result.macroType.str() + ", " + type.str());
        Vor_Array<MacroTabData> tabs;
        tabsOf(*g, *def, tabs);
        if (result.tabs.isEmpty())
            result.tabs = tabs;
        else
            for (int i = 0; i < result.tabs.length(); ++i)
                result.tabs[i].mergeWith(tabs[i]);
        result.ids.append(id);
        result.macroNames.append(Vor_String(g->name));
    }
    result.allIds = result.ids;
    result.dialogTitle = def->title.isEmpty() ? def->type : def->title;
    if (ids.length() == 1) result.dialogTitle += " - " + result.macroNames[0];
    result.groupKeys.append(Vor_String("ALL"));
    result.filter1.append(dialString(10312));
    for (const Vor_String& n : result.macroNames) {
        result.filter1.append(n);
        result.groupKeys.append(n);
    }
    result.filter2.append(dialString(10313));
    for (const MacroTabData& t : result.tabs)
        result.filter2.append(t.caption);
    result.activeTabName = result.tabs.isEmpty() ? Vor_String() : result.tabs[0].moduleName;
    data = result;
    return true;
}

bool GetMacroDataByNames(const Vor_StringArray& names, MacroData& data, Vor_String* error) {
    Vor_Array<AcDbObjectId> ids;
    for (const Vor_String& n : names) {
        const AcDbObjectId id = cad::curDrawing().findByName(n.str());
        if (id.isNull()) {
            if (error) *error = string(10345) + " " + n;
            return false;
        }
        ids.append(id);
    }
    return GetMacroData(ids, data, error);
}

bool UpdateModule(const Vor_String& moduleName, const MacroData& data, const Vor_Array<int>& first,
                  const Vor_Array<int>& second) {
    const MacroTabData* from = nullptr;
    for (const MacroTabData& t : data.tabs)
        if (t.moduleName == moduleName) from = &t;
    if (!from) return false;
    cad::Drawing& d = cad::curDrawing();
    std::string why;
    // Everything is computed before anything is written: a value the rule cannot use changes no macro.
    struct Pending {
        AcDbObjectId id;
        std::shared_ptr<const MacroDefinition> def;
        Vor_Array<MacroTabData> tabs;
        std::vector<GeneratedEntity> made;
    };
    std::vector<Pending> pending;
    for (AcDbObjectId id : data.ids) {
        const cad::Entity* g = macroGroup(d, id, &why);
        auto def = g ? macroDefinition(Vor_String(g->properties.at("macro")), &why) : nullptr;
        if (!def) {
            acutPrintf("%s\n", why.c_str());
            return false;
        }
        Pending p{id, def, {}, {}};
        tabsOf(*g, *def, p.tabs);
        for (MacroTabData& t : p.tabs)
            if (t.moduleName == moduleName) applyListed(*from, t, first, second);
        applyLinks(*def, p.tabs, moduleName, first, second, *from);
        if (!generateMacro(*def, p.tabs, placementOf(*g), p.made, &why)) {
            acutPrintf("%s: %s\n", g->name.c_str(), why.c_str());
            return false;
        }
        pending.push_back(std::move(p));
    }
    bool ok = true;
    for (Pending& p : pending)
        if (!regenerate(d, p.id, *p.def, p.tabs, true, &why, &p.made)) {
            acutPrintf("%s\n", why.c_str());
            ok = false;
        }
    markBusy(data.ids);
    return ok;
}

bool setAllToMacro(const MacroData& data, const Vor_Array<Vor_Array<int>>& first,
                   const Vor_Array<Vor_Array<int>>& second) {
    bool ok = true;
    for (int i = 0; i < data.tabs.length(); ++i) {
        const Vor_Array<int> f = i < first.length() ? first[i] : Vor_Array<int>();
        const Vor_Array<int> s = i < second.length() ? second[i] : Vor_Array<int>();
        if (f.isEmpty() && s.isEmpty()) continue;
        ok = UpdateModule(data.tabs[i].moduleName, data, f, s) && ok;
    }
    return ok;
}

void removeAll(Vor_Array<Vor_Array<int>>& lists, int value) {
    for (Vor_Array<int>& l : lists)
        for (int i = l.length() - 1; i >= 0; --i)
            if (l[i] == value) l.removeAt(i);
}

bool UpdateAllFilterModified(MacroData& data, bool /*first*/) {
    if (data.allIds.isEmpty()) data.allIds = data.ids;
    Vor_Array<AcDbObjectId> ids;
    if (data.filter1Index <= 0 || data.filter1Index > data.allIds.length())
        ids = data.allIds;
    else
        ids.append(data.allIds[data.filter1Index - 1]);
    MacroData fresh;
    Vor_String error;
    if (!GetMacroData(ids, fresh, &error)) {
        acutPrintf("%s\n", error.c_str());
        return false;
    }
    MacroData result = data;
    result.ids = fresh.ids;
    result.macroNames = fresh.macroNames;
    result.tabs = fresh.tabs;
    if (result.filter2Index > 0 && result.filter2Index <= fresh.tabs.length()) {
        const MacroTabData only = fresh.tabs[result.filter2Index - 1];
        result.tabs.removeAll();
        result.tabs.append(only);
    }
    int active = 0;
    if (!result.findTab(data.activeTabName, active) && !result.tabs.isEmpty())
        result.activeTabName = result.tabs[0].moduleName;
    data = result;
    return true;
}

bool SelectOtherMacros(MacroData& data) {
    cad::PickRequest request;
    request.kind = cad::PickKind::Objects;
    request.prompt = string(10346).str();
    request.allowed = {cad::EntityKind::MacroGroup};
    const cad::PickResult r = cad::pick(request);
    if (!r.ok || r.ids.empty()) return false;
    Vor_Array<AcDbObjectId> ids;
    for (AcDbObjectId id : r.ids)
        if (!ids.contains(id)) ids.append(id);
    if (ids == data.allIds || (data.allIds.isEmpty() && ids == data.ids)) return false;
    MacroData fresh;
    Vor_String error;
    if (!GetMacroData(ids, fresh, &error)) {
        acutPrintf("%s\n", error.c_str());
        return false;
    }
    fresh.closedByUser = data.closedByUser;
    fresh.deferredClose = data.deferredClose;
    fresh.previewIds = data.previewIds;
    fresh.previewFlag = data.previewFlag;
    data = fresh;
    return true;
}

// ---- macros made and regenerated directly

AcDbObjectId createMacro(cad::Drawing& drawing, const Vor_String& type, const Vor_String& name,
                         const cad::CoordSys& placement, const Vor_StringArray& connects,
                         const std::vector<std::pair<std::string, std::string>>& values, std::string* error) {
    auto def = macroDefinition(type, error);
    if (!def) return {};
    Vor_Array<MacroTabData> tabs = def->tabs;
    for (const auto& [key, value] : values)
        if (!setStoredValue(tabs, key, value)) {
            if (error) *error = type.str() + ": " + string(10347).str() + " " + key;
            return {};
        }
    std::vector<GeneratedEntity> made;
    if (!generateMacro(*def, tabs, placement, made, error)) return {};
    cad::Entity group;
    group.name = name.str();
    group.geometry = cad::MacroGroup{};
    group.properties["macro"] = def->type.str();
    group.properties["origin"] = vecText(placement.origin);
    group.properties["xaxis"] = vecText(placement.xAxis);
    group.properties["yaxis"] = vecText(placement.yAxis);
    std::string joined;
    for (const Vor_String& c : connects) {
        const AcDbObjectId other = drawing.findByName(c.str());
        if (other.isNull()) {
            if (error) *error = type.str() + ": " + string(10353).str() + " " + c.str();
            return {};
        }
        joined += (joined.empty() ? "" : ",") + std::to_string(other.handle());
    }
    if (!joined.empty()) group.properties["connects"] = joined;
    for (auto& [k, v] : valueProperties(tabs))
        group.properties[k] = v;
    const AcDbObjectId id = drawing.add(group, error);
    if (id.isNull()) return {};
    placeGenerated(drawing, id, name.str(), made);
    return id;
}

bool regenerateMacro(cad::Drawing& drawing, AcDbObjectId macro, std::string* error) {
    const cad::Entity* g = macroGroup(drawing, macro, error);
    if (!g) return false;
    auto def = macroDefinition(Vor_String(g->properties.at("macro")), error);
    if (!def) return false;
    Vor_Array<MacroTabData> tabs;
    tabsOf(*g, *def, tabs);
    return regenerate(drawing, macro, *def, tabs, false, error);
}

bool macroValueText(const cad::Drawing& drawing, AcDbObjectId macro, const std::string& key,
                    std::string& value, std::string* error) {
    if (key.rfind("settings.", 0) == 0) // the general settings record
        return macroSettingsValueText(drawing, macro, key.substr(9), value, error);
    Vor_Array<MacroTabData> tabs;
    if (!readMacroTabs(drawing, macro, tabs, error)) return false;
    auto fail = [&] {
        if (error) *error = "no value \"" + key + "\" in this macro";
        return false;
    };
    const auto dot = key.find('.');
    if (dot == std::string::npos) return fail();
    const Vor_String module(key.substr(0, dot));
    std::string rest = key.substr(dot + 1);
    const MacroTabData* tab = nullptr;
    for (const MacroTabData& t : tabs)
        if (t.moduleName.equal(module, false)) tab = &t;
    if (!tab) return fail();
    if (const MacroCell* c = tab->findCellWithName(Vor_String(rest))) {
        value = c->value.str();
        return true;
    }
    if (rest == "drawing" && tab->hasDrawingFile) {
        value = tab->drawingFile.str();
        return true;
    }
    // a record: kind, name (not for bolts), then a path in its JSON form
    std::istringstream parts(rest);
    std::vector<std::string> p;
    for (std::string part; std::getline(parts, part, '.');)
        p.push_back(part);
    if (p.empty()) return fail();
    json j;
    std::size_t next = 2;
    MacroTabData t = *tab;
    if (p[0] == "bolts" && t.hasBolts) {
        j = t.bolts;
        next = 1;
    } else if (p.size() < 2)
        return fail();
    else if (p[0] == "pattern" && t.findPatternWithName(Vor_String(p[1])))
        j = *t.findPatternWithName(Vor_String(p[1]));
    else if (p[0] == "profile" && t.findProfDataWithGroup(Vor_String(p[1])))
        j = *t.findProfDataWithGroup(Vor_String(p[1]));
    else if (p[0] == "array" && t.findArrayWithName(Vor_String(p[1])))
        j = *t.findArrayWithName(Vor_String(p[1]));
    else if (p[0] == "cut" && t.findCutWithName(Vor_String(p[1])))
        j = *t.findCutWithName(Vor_String(p[1]));
    else
        return fail();
    for (std::size_t i = next; i < p.size(); ++i) {
        if (j.is_object() && j.contains(p[i]))
            j = json(j[p[i]]);
        else if (j.is_array() && !p[i].empty() && std::all_of(p[i].begin(), p[i].end(), ::isdigit) &&
                 std::stoul(p[i]) < j.size())
            j = json(j[std::stoul(p[i])]);
        else
            return fail();
    }
    value = j.is_string() ? j.get<std::string>() : j.dump();
    return true;
}

// ---- clash bookkeeping

namespace {

struct ClashSlot {
    std::set<std::pair<std::int64_t, std::int64_t>> reported;
    std::set<AcDbObjectId> highlighted;
};
bool gClashOn = false;
std::map<int, ClashSlot>& clashSlots() {
    static std::map<int, ClashSlot> slots;
    return slots;
}
/// Boxes are shrunk by this much before they are compared: parts that touch do not clash.
constexpr double kClashTolerance = 0.5;

std::string entityLabel(const cad::Drawing& d, AcDbObjectId id) {
    const cad::Entity* e = d.get(id);
    return e && !e->name.empty() ? e->name : "#" + std::to_string(id.handle());
}

} // namespace

void clashInitDlgStarted(int slot) {
    clashSlots()[slot] = ClashSlot{};
}

void clashResetInfo(int slot, const Vor_Array<AcDbObjectId>& /*ids*/) {
    clashSlots()[slot].reported.clear();
}

int clashcheck(int slot, const Vor_Array<AcDbObjectId>& ids) {
    if (!gClashOn) return 0;
    cad::Drawing& d = cad::curDrawing();
    ClashSlot& s = clashSlots()[slot];
    std::set<std::pair<std::int64_t, std::int64_t>> found;
    for (AcDbObjectId macro : ids) {
        const cad::Entity* g = d.get(macro);
        if (!g || g->kind() != cad::EntityKind::MacroGroup) continue;
        std::set<AcDbObjectId> ignore;
        const std::vector<AcDbObjectId> own = d.allMembers(macro);
        ignore.insert(own.begin(), own.end());
        auto c = g->properties.find("connects");
        if (c != g->properties.end()) {
            std::istringstream handles(c->second);
            for (std::string n; std::getline(handles, n, ',');) {
                const AcDbObjectId other(std::atoll(n.c_str()));
                if (!d.get(other)) continue;
                ignore.insert(other);
                for (AcDbObjectId m : d.allMembers(other))
                    ignore.insert(m);
            }
        }
        for (AcDbObjectId part : own) {
            const cad::Entity* e = d.get(part);
            if (e->kind() == cad::EntityKind::MacroGroup || e->kind() == cad::EntityKind::CoordSys ||
                e->kind() == cad::EntityKind::CutMarker || e->kind() == cad::EntityKind::BlockRef)
                continue;
            const cad::Extents box = d.extents(part).grown(-kClashTolerance);
            if (box.isEmpty() || box.min.x > box.max.x || box.min.y > box.max.y || box.min.z > box.max.z)
                continue;
            for (AcDbObjectId other : d.overlapping(box)) {
                if (ignore.count(other)) continue;
                const cad::Entity* o = d.get(other);
                if (o->kind() == cad::EntityKind::CoordSys || o->kind() == cad::EntityKind::CutMarker ||
                    o->kind() == cad::EntityKind::BlockRef)
                    continue;
                found.insert(
                    {std::min(part.handle(), other.handle()), std::max(part.handle(), other.handle())});
            }
        }
    }
    for (const auto& pair : found) {
        if (!s.reported.insert(pair).second) continue;
        const AcDbObjectId a(pair.first), b(pair.second);
        acutPrintf("%s %s - %s\n", string(10330).c_str(), entityLabel(d, a).c_str(),
                   entityLabel(d, b).c_str());
        for (AcDbObjectId id : {a, b})
            if (d.highlight(id, true) == Acad::eOk) s.highlighted.insert(id);
    }
    return static_cast<int>(found.size());
}

void clashDlgClosed(int slot) {
    auto it = clashSlots().find(slot);
    if (it == clashSlots().end()) return;
    cad::Drawing& d = cad::curDrawing();
    for (AcDbObjectId id : it->second.highlighted)
        if (d.get(id)) d.highlight(id, false);
    clashSlots().erase(it);
}

bool clashGetStatus() {
    return gClashOn;
}

void clashSetStatus(bool on) {
    gClashOn = on;
}

// ---- picks and small operations

bool UserChooseSectionPoint(const Vor_String& section, int& offsetType) {
    cad::PickRequest request;
    request.kind = cad::PickKind::Point;
    request.prompt = string(10348).str();
    const cad::PickResult r = cad::pick(request);
    if (!r.ok) return false;
    // The profile of that section whose line passes nearest the point gives the section's frame.
    const cad::Drawing& d = cad::curDrawing();
    const cad::Profile* best = nullptr;
    double bestDistance = 0;
    for (AcDbObjectId id : d.ids(cad::EntityKind::Profile)) {
        const cad::Profile& p = std::get<cad::Profile>(d.get(id)->geometry);
        if (!Vor_String(p.section).equal(section, false)) continue;
        const cad::Vector3d axis = p.end - p.start;
        const double len2 = axis.dot(axis);
        const double t = len2 > 0 ? std::clamp((r.point - p.start).dot(axis) / len2, 0.0, 1.0) : 0;
        const double dist = (r.point - (p.start + axis * t)).length();
        if (!best || dist < bestDistance) best = &p, bestDistance = dist;
    }
    if (!best || best->width <= 0 || best->height <= 0) {
        acutPrintf("%s %s\n", string(10349).c_str(), section.c_str());
        return false;
    }
    // the corners at the start: side from corner 0 to 1, up from 0 to 3 (cad::profileCorners)
    const std::array<cad::Point3d, 8> c = cad::profileCorners(*best);
    const cad::Vector3d side = (c[1] - c[0]).normal(), up = (c[3] - c[0]).normal();
    const cad::Point3d centre = (c[0] + c[2]) * 0.5;
    const double a = (r.point - centre).dot(side) / best->width; // -0.5 .. 0.5 across
    const double b = (r.point - centre).dot(up) / best->height;  // -0.5 .. 0.5 upwards
    const int col = std::clamp(static_cast<int>(std::lround(a * 2)) + 1, 0, 2);
    const int row = std::clamp(1 - static_cast<int>(std::lround(b * 2)), 0, 2);
    offsetType = row * 3 + col;
    return true;
}

bool UserSelectPlane(Vor_String& plane) {
    cad::PickRequest request;
    request.kind = cad::PickKind::Plane;
    request.prompt = string(10350).str();
    const cad::PickResult r = cad::pick(request);
    if (!r.ok || r.plane.normal.length() == 0) return false;
    plane = Vor_String(vecText(r.plane.origin) + ";" + vecText(r.plane.normal.normal()));
    return true;
}

bool selectCoordSys(Vor_String& name) {
    cad::PickRequest request;
    request.kind = cad::PickKind::CoordSys;
    request.prompt = string(10351).str();
    request.allowed = {cad::EntityKind::CoordSys};
    const cad::PickResult r = cad::pick(request);
    if (!r.ok || r.ids.empty()) return false;
    name = Vor_String(entityLabel(cad::curDrawing(), r.ids[0]));
    return true;
}

bool createCoordSys(bool fromPreview, const Vor_Array<AcDbObjectId>& previewIds, Vor_String& name) {
    cad::Drawing& d = cad::curDrawing();
    cad::CoordSys cs;
    if (fromPreview) {
        if (previewIds.length() != 1 || !d.get(previewIds[0])) return false;
        const cad::Entity& e = *d.get(previewIds[0]);
        if (const auto* p = std::get_if<cad::Plate>(&e.geometry))
            cs = p->placement;
        else if (const auto* c = std::get_if<cad::CoordSysEntity>(&e.geometry))
            cs = c->cs;
        else if (const auto* b = std::get_if<cad::BlockRef>(&e.geometry))
            cs = b->placement;
        else if (const auto* p = std::get_if<cad::Profile>(&e.geometry)) {
            const std::array<cad::Point3d, 8> c = cad::profileCorners(*p);
            cs = {p->start, p->end - p->start, c[3] - c[0]};
        } else {
            const cad::Extents box = d.extents(previewIds[0]);
            if (box.isEmpty()) return false;
            cs.origin = (box.min + box.max) * 0.5;
        }
    } else {
        cad::PickRequest request;
        request.kind = cad::PickKind::Point;
        request.prompt = string(10352).str();
        const cad::PickResult r = cad::pick(request);
        if (!r.ok) return false;
        cs.origin = r.point;
    }
    std::string n;
    for (int i = 1; i < 1000000; ++i) {
        n = "UCS" + std::to_string(i);
        if (d.findByName(n).isNull()) break;
    }
    cad::Entity e;
    e.name = n;
    e.geometry = cad::CoordSysEntity{cs};
    if (d.add(e).isNull()) return false;
    name = Vor_String(n);
    return true;
}

bool EraseObject(AcDbObjectId id) {
    return cad::curDrawing().erase(id) == Acad::eOk;
}

MacroHostSettings& macroHostSettings() {
    static MacroHostSettings settings;
    return settings;
}

// ---- JSON form of the data

namespace {
json idsJson(const Vor_Array<AcDbObjectId>& ids) {
    json a = json::array();
    for (AcDbObjectId id : ids)
        a.push_back(id.handle());
    return a;
}
Vor_Array<AcDbObjectId> idsOf(const json& j, const char* key) {
    Vor_Array<AcDbObjectId> ids;
    if (!j.contains(key)) return ids;
    if (!j[key].is_array()) throw json::type_error::create(302, std::string(key) + " must be an array", &j);
    for (const json& x : j[key])
        ids.append(AcDbObjectId(jsonInteger(x, key, 0, std::int64_t(1) << 48)));
    return ids;
}
} // namespace

void to_json(json& j, const MacroData& v) {
    j = json{{"ids", idsJson(v.ids)},
             {"allIds", idsJson(v.allIds)},
             {"dialogTitle", v.dialogTitle},
             {"groupKeys", v.groupKeys},
             {"filter1", v.filter1},
             {"filter1Index", v.filter1Index},
             {"macroNames", v.macroNames},
             {"filter2", v.filter2},
             {"filter2Index", v.filter2Index},
             {"tabs", v.tabs},
             {"activeTabName", v.activeTabName},
             {"openProfileDetails", v.openProfileDetails},
             {"previewIds", idsJson(v.previewIds)},
             {"previewFlag", v.previewFlag},
             {"closedByUser", v.closedByUser},
             {"deferredClose", v.deferredClose},
             {"macroType", v.macroType}};
}

void from_json(const json& j, MacroData& v) {
    if (!j.is_object()) throw json::type_error::create(302, "macro data must be an object", &j);
    MacroData d;
    d.ids = idsOf(j, "ids");
    d.allIds = idsOf(j, "allIds");
    auto text = [&](const char* key, Vor_String& to) {
        if (j.contains(key)) to = j[key].get<Vor_String>();
    };
    auto texts = [&](const char* key, Vor_StringArray& to) {
        if (j.contains(key)) to = j[key].get<Vor_StringArray>();
    };
    auto flag = [&](const char* key, bool& to) {
        if (j.contains(key)) to = j[key].get<bool>();
    };
    text("dialogTitle", d.dialogTitle);
    texts("groupKeys", d.groupKeys);
    texts("filter1", d.filter1);
    d.filter1Index = jsonMember<int>(j, "filter1Index", 0, -1, 1000000);
    texts("macroNames", d.macroNames);
    texts("filter2", d.filter2);
    d.filter2Index = jsonMember<int>(j, "filter2Index", 0, -1, 1000000);
    if (j.contains("tabs")) d.tabs = j["tabs"].get<Vor_Array<MacroTabData>>();
    text("activeTabName", d.activeTabName);
    flag("openProfileDetails", d.openProfileDetails);
    d.previewIds = idsOf(j, "previewIds");
    flag("previewFlag", d.previewFlag);
    flag("closedByUser", d.closedByUser);
    flag("deferredClose", d.deferredClose);
    text("macroType", d.macroType);
    v = d;
}
