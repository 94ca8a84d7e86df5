// The values of one tab of a macro: finding records by name or control, the differences a commit
// writes, merging several macros' tabs, and the JSON form (also the tabs of a macro definition).

#include <host/MacroData.h>

#include "MacroFind_p.h"

#include <host/VorJson.h>

#include <nlohmann/json.hpp>

#include <algorithm>

using nlohmann::json;

// ---- MacroTabData

namespace {

// Records without their references to controls, for comparing what a person changed.
MacroTabData withoutReferences(const MacroTabData& tab) {
    MacroTabData t = tab;
    t.removeAllDlgReferences();
    return t;
}

void mergeText(Vor_String& mine, const Vor_String& other) {
    if (mine != other) mine = variesText();
}
} // namespace

MacroCell* MacroTabData::findCellWithName(const Vor_String& name, int* index) {
    return findByName(cells, name, index, [](const MacroCell& c) { return c.name; });
}
const MacroCell* MacroTabData::findCellWithName(const Vor_String& name, int* index) const {
    return const_cast<MacroTabData*>(this)->findCellWithName(name, index);
}
MacroPatternProps* MacroTabData::findPatternWithName(const Vor_String& name, int* index) {
    return findByName(patterns, name, index, [](const MacroPatternProps& p) { return p.name; });
}
MacroPatternProps* MacroTabData::findPatternWithBtnId(int btnId, int* index) {
    if (btnId == 0) return nullptr;
    for (int i = 0; i < patterns.length(); ++i)
        if (patterns[i].btnId == btnId) {
            if (index) *index = i;
            return &patterns[i];
        }
    return nullptr;
}
MacroProfData* MacroTabData::findProfDataWithGroup(const Vor_String& group, int* index) {
    return findByName(profiles, group, index, [](const MacroProfData& p) { return p.groupName; });
}
MacroProfData* MacroTabData::findProfDataWithButtonId(int btnId, int* index) {
    if (btnId == 0) return nullptr;
    for (int i = 0; i < profiles.length(); ++i)
        if (profiles[i].btnId == btnId) {
            if (index) *index = i;
            return &profiles[i];
        }
    return nullptr;
}
DynArrayData* MacroTabData::findArrayWithName(const Vor_String& name, int* index) {
    return findByName(arrays, name, index, [](const DynArrayData& a) { return a.name; });
}
DynArrayData* MacroTabData::findArrayWithBtnId(int btnId, int* index) {
    if (btnId == 0) return nullptr;
    for (int i = 0; i < arrays.length(); ++i)
        if (arrays[i].btnId == btnId) {
            if (index) *index = i;
            return &arrays[i];
        }
    return nullptr;
}
MacroCutData* MacroTabData::findCutWithName(const Vor_String& name, int* index) {
    return findByName(cuts, name, index, [](const MacroCutData& c) { return c.name; });
}
MacroFlexFixGroup* MacroTabData::findFlexFixGroup(const Vor_String& name, int* index) {
    return findByName(flexFix, name, index, [](const MacroFlexFixGroup& g) { return g.name; });
}

void MacroTabData::setProfButtonId(const Vor_String& group, int btnId) {
    if (MacroProfData* p = findProfDataWithGroup(group)) p->btnId = btnId;
}

Vor_StringArray MacroTabData::getProfGroups() const {
    Vor_StringArray names;
    for (const MacroProfData& p : profiles)
        names.append(p.groupName);
    return names;
}

bool MacroTabData::getMergedPropsOfGroup(const Vor_String& group, MacroProfData& props) const {
    const MacroProfData* p = const_cast<MacroTabData*>(this)->findProfDataWithGroup(group);
    if (!p) return false;
    props = *p;
    return true;
}

bool MacroTabData::setMergedPropsOfGroup(const Vor_String& group, const MacroProfData& props) {
    MacroProfData* p = findProfDataWithGroup(group);
    if (!p) return false;
    const int btnId = p->btnId;
    *p = props;
    p->groupName = group;
    if (p->btnId == 0) p->btnId = btnId;
    return true;
}

bool MacroTabData::flexFixBtnClicked(const Vor_String& group, const Vor_String& cell, bool flex) {
    MacroFlexFixGroup* g = findFlexFixGroup(group);
    if (!g) return false;
    int i = -1;
    if (!g->cells.find(cell, i)) return false;
    g->flexible.setLogicalLength(std::max(g->flexible.length(), g->cells.length()));
    g->flexible[i] = flex ? 1 : 0;
    if (MacroCell* c = findCellWithName(cell)) c->flag = !flex;
    return true;
}

void MacroTabData::removeAllDlgReferences() {
    for (MacroCell& c : cells)
        c.ctrlRef = 0;
    for (MacroPatternProps& p : patterns)
        p.btnId = 0;
    for (DynArrayData& a : arrays)
        a.btnId = 0;
    for (MacroProfData& p : profiles)
        p.btnId = 0;
}

bool MacroTabData::differences(const MacroTabData& other, Vor_StringArray& names, Vor_Array<int>& first,
                               Vor_Array<int>& second) const {
    names.removeAll();
    first.removeAll();
    second.removeAll();
    const MacroTabData a = withoutReferences(*this), b = withoutReferences(other);
    for (int i = 0; i < a.cells.length(); ++i) {
        const bool same = i < b.cells.length() && a.cells[i].name == b.cells[i].name &&
                          a.cells[i].value == b.cells[i].value && a.cells[i].flag == b.cells[i].flag;
        if (same) continue;
        first.append(i);
        names.append(a.cells[i].name);
    }
    auto code = [&](bool differs, int c, const char* name) {
        if (!differs) return;
        first.append(c);
        names.append(Vor_String(name));
    };
    code(a.hasBolts && !(a.bolts == b.bolts), kChangedBolts, "bolts");
    code(a.hasDrawingFile && a.drawingFile != b.drawingFile, kChangedDrawingFile, "drawing");
    code(!(a.profiles == b.profiles), kChangedProfiles, "profiles");
    code(!(a.segments == b.segments), kChangedSegments, "segments");
    code(!(a.cuts == b.cuts), kChangedCuts, "cuts");
    code(!(a.arrays == b.arrays), kChangedArrays, "arrays");
    code(!(a.flexFix == b.flexFix), kChangedFlexFix, "flexfix");
    for (int i = 0; i < a.patterns.length(); ++i) {
        if (i < b.patterns.length() && a.patterns[i] == b.patterns[i]) continue;
        second.append(i);
        names.append(a.patterns[i].name);
    }
    return !first.isEmpty() || !second.isEmpty();
}

void MacroTabData::mergeWith(const MacroTabData& other) {
    for (MacroCell& c : cells) {
        const MacroCell* o = other.findCellWithName(c.name);
        if (!o) continue;
        mergeText(c.value, o->value);
        c.flag = c.flag || o->flag;
    }
    for (MacroPatternProps& p : patterns)
        if (const MacroPatternProps* o = const_cast<MacroTabData&>(other).findPatternWithName(p.name))
            p.mergeWith(*o);
    for (MacroProfData& p : profiles)
        if (const MacroProfData* o = const_cast<MacroTabData&>(other).findProfDataWithGroup(p.groupName))
            p.mergeWith(*o);
    for (DynArrayData& a : arrays)
        if (const DynArrayData* o = const_cast<MacroTabData&>(other).findArrayWithName(a.name))
            a.mergeWith(*o);
    for (MacroCutData& c : cuts) {
        const MacroCutData* o = const_cast<MacroTabData&>(other).findCutWithName(c.name);
        if (!o) continue;
        if (c.choice != o->choice) c.choice = kVariesIndex;
        if (c.values.length() == o->values.length()) {
            for (int i = 0; i < c.values.length(); ++i)
                mergeText(c.values[i], o->values[i]);
        } else {
            for (Vor_String& v : c.values)
                v = variesText();
        }
    }
    for (MacroSegmentData& s : segments)
        for (const MacroSegmentData& o : other.segments)
            if (o.name == s.name) {
                mergeText(s.section, o.section);
                mergeText(s.clearance, o.clearance);
                if (!(s.breakPoints == o.breakPoints)) s.breakPoints = Vor_StringArray{variesText()};
            }
    if (hasBolts && other.hasBolts) bolts.mergeWith(other.bolts);
    if (hasDrawingFile && other.hasDrawingFile) mergeText(drawingFile, other.drawingFile);
}

// ---- JSON forms of the tabs and the data

void to_json(json& j, const MacroTabData& v) {
    j = json{{"kind", v.kind},
             {"module", v.moduleName},
             {"caption", v.caption},
             {"template", v.designTemplate},
             {"cells", v.cells}};
    if (!v.patterns.isEmpty()) j["patterns"] = v.patterns;
    if (!v.profiles.isEmpty()) j["profiles"] = v.profiles;
    if (!v.arrays.isEmpty()) j["arrays"] = v.arrays;
    if (!v.cuts.isEmpty()) j["cuts"] = v.cuts;
    if (!v.segments.isEmpty()) j["segments"] = v.segments;
    if (!v.flexFix.isEmpty()) j["flexFix"] = v.flexFix;
    if (v.hasBolts) j["bolts"] = v.bolts;
    if (v.hasDrawingFile) j["drawingFile"] = v.drawingFile;
}

void from_json(const json& j, MacroTabData& v) {
    if (!j.is_object()) throw json::type_error::create(302, "a tab must be an object", &j);
    MacroTabData t;
    t.kind = static_cast<int>(jsonMember<int>(j, "kind", 0, -1000, 1000));
    if (j.contains("module")) t.moduleName = j["module"].get<Vor_String>();
    if (j.contains("caption")) t.caption = j["caption"].get<Vor_String>();
    if (j.contains("template")) t.designTemplate = j["template"].get<Vor_String>();
    if (j.contains("cells")) t.cells = j["cells"].get<Vor_Array<MacroCell>>();
    if (j.contains("patterns")) t.patterns = j["patterns"].get<Vor_Array<MacroPatternProps>>();
    if (j.contains("profiles")) t.profiles = j["profiles"].get<Vor_Array<MacroProfData>>();
    if (j.contains("arrays")) t.arrays = j["arrays"].get<Vor_Array<DynArrayData>>();
    if (j.contains("cuts")) t.cuts = j["cuts"].get<Vor_Array<MacroCutData>>();
    if (j.contains("segments")) t.segments = j["segments"].get<Vor_Array<MacroSegmentData>>();
    if (j.contains("flexFix")) t.flexFix = j["flexFix"].get<Vor_Array<MacroFlexFixGroup>>();
    if (j.contains("bolts")) {
        t.hasBolts = true;
        t.bolts = j["bolts"].get<MacroBoltData>();
    }
    if (j.contains("drawingFile")) {
        t.hasDrawingFile = true;
        t.drawingFile = j["drawingFile"].get<Vor_String>();
    }
    v = t;
}
