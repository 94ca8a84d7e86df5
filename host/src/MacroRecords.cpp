#include <host/MacroRecords.h>

#include <host/Texts.h>
#include <host/VorJson.h>

#include <nlohmann/json.hpp>

#include <cmath>

using nlohmann::json;

Vor_String variesText() {
    return dialString(695);
}

bool isVaries(const Vor_String& text) {
    return text == variesText();
}

namespace {

// ---- merging: one helper per kind of field

void mergeText(Vor_String& mine, const Vor_String& other) {
    if (mine != other) mine = variesText();
}
void applyText(const Vor_String& merged, Vor_String& target) {
    if (!isVaries(merged)) target = merged;
}
void mergeTri(TriState& mine, TriState other) {
    if (mine != other) mine = TriState::Undecided;
}
void applyTri(TriState merged, TriState& target) {
    if (merged != TriState::Undecided) target = merged;
}
/// A choice: differing values become `varies` (kVariesIndex, or a combo's own varies entry).
void mergeChoice(int& mine, int other, int varies = kVariesIndex) {
    if (mine != other) mine = varies;
}
void applyChoice(int merged, int& target, int varies = kVariesIndex) {
    if (merged != varies) target = merged;
}

/// Lists of texts: item by item when both are as long; lists of different lengths merge into the
/// one item "varies", which keeps each macro's own list.
void mergeList(Vor_StringArray& mine, const Vor_StringArray& other) {
    if (mine.length() != other.length()) {
        mine = Vor_StringArray();
        mine.append(variesText());
        return;
    }
    for (int i = 0; i < mine.length(); ++i)
        mergeText(mine[i], other[i]);
}
void applyList(const Vor_StringArray& merged, Vor_StringArray& target) {
    if (merged.length() == 1 && isVaries(merged[0]) && target.length() != 1) return;
    if (merged.length() != target.length()) {
        // A list of another length was typed: it is taken whole where it is decided.
        bool decided = true;
        for (const Vor_String& s : merged)
            decided = decided && !isVaries(s);
        if (decided) target = merged;
        return;
    }
    for (int i = 0; i < merged.length(); ++i)
        applyText(merged[i], target[i]);
}

bool hasVaries(const SlottedHole& h) {
    return isVaries(h.radius) || isVaries(h.length) || isVaries(h.angle) || isVaries(h.offset) ||
           h.appliesTo == kVariesIndex;
}

/// Entries of a list of records: merged one by one as far as both lists go; an entry the other
/// list lacks has every text made "varies", so that it is only written where it exists.
template <class T, class MergeOne, class MarkVaries>
void mergeRecords(Vor_Array<T>& mine, const Vor_Array<T>& other, MergeOne mergeOne, MarkVaries markVaries) {
    for (int i = 0; i < mine.length(); ++i) {
        if (i < other.length())
            mergeOne(mine[i], other[i]);
        else
            markVaries(mine[i]);
    }
    for (int i = mine.length(); i < other.length(); ++i) {
        T extra = other[i];
        markVaries(extra);
        mine.append(extra);
    }
}
template <class T, class ApplyOne, class Decided>
void applyRecords(const Vor_Array<T>& merged, Vor_Array<T>& target, ApplyOne applyOne, Decided decided) {
    for (int i = 0; i < merged.length(); ++i) {
        if (i < target.length())
            applyOne(merged[i], target[i]);
        else if (decided(merged[i]))
            target.append(merged[i]);
    }
}

void mergeHalf(PatternHalf& mine, const PatternHalf& other) {
    mergeChoice(mine.partsChoice, other.partsChoice, 0);
    mergeText(mine.count, other.count);
    mergeText(mine.spacing, other.spacing);
    mergeList(mine.distances, other.distances);
}
void applyHalf(const PatternHalf& merged, PatternHalf& target) {
    target.on = merged.on;
    applyChoice(merged.partsChoice, target.partsChoice, 0);
    target.equalSpacing = merged.equalSpacing;
    applyText(merged.count, target.count);
    applyText(merged.spacing, target.spacing);
    applyList(merged.distances, target.distances);
}

void mergeEntry(DynArrayEntry& mine, const DynArrayEntry& other) {
    mergeText(mine.number, other.number);
    mergeText(mine.offset, other.offset);
    mergeText(mine.part, other.part);
    mergeText(mine.note, other.note);
}
void markEntry(DynArrayEntry& e) {
    e.number = e.offset = e.part = e.note = variesText();
}
void applyEntry(const DynArrayEntry& merged, DynArrayEntry& target) {
    applyText(merged.number, target.number);
    applyText(merged.offset, target.offset);
    applyText(merged.part, target.part);
    applyText(merged.note, target.note);
    target.action = merged.action;
}
bool entryDecided(const DynArrayEntry& e) {
    return !isVaries(e.number) && !isVaries(e.offset) && !isVaries(e.part) && !isVaries(e.note);
}

// ---- JSON helpers: members may be missing (their defaults stay); present ones must be of the
// right type.

template <class T> void readMember(const json& j, const char* key, T& value) {
    const auto found = j.find(key);
    if (found == j.end()) return;
    if constexpr (std::is_same_v<T, int>)
        value = static_cast<int>(jsonInteger(*found, key, -1000000, 1000000));
    else if constexpr (std::is_same_v<T, bool>) {
        if (!found->is_boolean())
            throw json::type_error::create(302, std::string(key) + " must be true or false", &j);
        value = found->get<bool>();
    } else
        value = found->get<T>();
}
void readTri(const json& j, const char* key, TriState& value) {
    const auto found = j.find(key);
    if (found == j.end()) return;
    value = static_cast<TriState>(jsonInteger(*found, key, 0, 2));
}
void requireObject(const json& j, const char* what) {
    if (!j.is_object()) throw json::type_error::create(302, std::string(what) + " must be an object", &j);
}

} // namespace

// ---- MacroBoltData

void MacroBoltData::setHoleColumns(const Vor_StringArray& columns) {
    m_holeColumns = columns;
    m_holeColumns.setLogicalLength(5);
}

void MacroBoltData::mergeWith(const MacroBoltData& other) {
    mergeText(assembly, other.assembly);
    mergeText(diameter, other.diameter);
    mergeText(penetrationLength, other.penetrationLength);
    mergeText(addedLength, other.addedLength);
    mergeText(holeTolerance, other.holeTolerance);
    specialPresent = specialPresent && other.specialPresent;
    mergeTri(special, other.special);
    mergeTri(tapped, other.tapped);
    mergeTri(reverse, other.reverse);
    mergeTri(countersunk, other.countersunk);
    mergeTri(workshop, other.workshop);
    mergeRecords(
        slottedHoles, other.slottedHoles,
        [](SlottedHole& a, const SlottedHole& b) {
            mergeText(a.radius, b.radius);
            mergeText(a.length, b.length);
            mergeText(a.angle, b.angle);
            mergeText(a.offset, b.offset);
            mergeChoice(a.appliesTo, b.appliesTo);
            a.active = a.active || b.active;
        },
        [](SlottedHole& h) {
            h.radius = h.length = h.angle = h.offset = variesText();
            h.appliesTo = kVariesIndex;
        });
    mergeChoice(nut1, other.nut1);
    mergeChoice(nut2, other.nut2);
    mergeChoice(washer1, other.washer1);
    mergeChoice(washer2, other.washer2);
    mergeChoice(washers, other.washers);
    for (int i = 0; i < m_holeColumns.length() && i < other.m_holeColumns.length(); ++i)
        mergeText(m_holeColumns[i], other.m_holeColumns[i]);
}

void MacroBoltData::applyTo(MacroBoltData& target) const {
    applyText(assembly, target.assembly);
    applyText(diameter, target.diameter);
    applyText(penetrationLength, target.penetrationLength);
    applyText(addedLength, target.addedLength);
    applyText(holeTolerance, target.holeTolerance);
    if (target.specialPresent) applyTri(special, target.special);
    applyTri(tapped, target.tapped);
    applyTri(reverse, target.reverse);
    applyTri(countersunk, target.countersunk);
    applyTri(workshop, target.workshop);
    applyRecords(
        slottedHoles, target.slottedHoles,
        [](const SlottedHole& m, SlottedHole& t) {
            t.active = m.active;
            applyText(m.radius, t.radius);
            applyText(m.length, t.length);
            applyText(m.angle, t.angle);
            applyText(m.offset, t.offset);
            applyChoice(m.appliesTo, t.appliesTo);
        },
        [](const SlottedHole& h) { return !hasVaries(h); });
    applyChoice(nut1, target.nut1);
    applyChoice(nut2, target.nut2);
    applyChoice(washer1, target.washer1);
    applyChoice(washer2, target.washer2);
    applyChoice(washers, target.washers);
    for (int i = 0; i < m_holeColumns.length() && i < target.m_holeColumns.length(); ++i)
        applyText(m_holeColumns[i], target.m_holeColumns[i]);
}

// ---- MacroPatternProps

Vor_StringArray MacroPatternProps::partsChoiceTexts() {
    Vor_StringArray texts;
    texts.append(variesText());
    texts.append(dialString(996));
    texts.append(dialString(1055));
    texts.append(dialString(994));
    texts.append(Vor_String(""));
    return texts;
}

int MacroPatternProps::getCount(int half) const {
    if (half < 0 || half > 1 || !halves[half].on) return -1;
    bool ok = false;
    const int n = halves[half].count.toInt(&ok);
    return ok && n >= 1 && n <= 1000 ? n : -1;
}

Vor_String MacroPatternProps::value(int index) const {
    switch (index) {
    case 0:
        return halves[0].spacing;
    case 1:
        return halves[1].spacing;
    case 2:
        return edgeTop;
    case 3:
        return edgeSide;
    case 4:
        return clearance;
    default:
        return Vor_String();
    }
}

void MacroPatternProps::setValue(int index, const Vor_String& text) {
    switch (index) {
    case 0:
        halves[0].spacing = text;
        break;
    case 1:
        halves[1].spacing = text;
        break;
    case 2:
        edgeTop = text;
        break;
    case 3:
        edgeSide = text;
        break;
    case 4:
        clearance = text;
        break;
    default:
        break;
    }
}

std::vector<double> MacroPatternProps::offsets(int half) const {
    if (half < 0 || half > 1) return {};
    const PatternHalf& h = halves[half];
    if (!h.on) return {0.0};
    const int n = getCount(half);
    if (n < 1) return {};
    std::vector<double> result{0.0};
    bool ok = false;
    if (h.equalSpacing) {
        const double s = h.spacing.toDouble(&ok);
        if (n > 1 && (!ok || s < 0)) return {};
        for (int i = 1; i < n; ++i)
            result.push_back(i * s);
        return result;
    }
    if (h.distances.length() < n - 1) return {};
    double at = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double d = h.distances[i].toDouble(&ok);
        if (!ok || d < 0) return {};
        at += d;
        result.push_back(at);
    }
    return result;
}

void MacroPatternProps::mergeWith(const MacroPatternProps& other) {
    for (int i = 0; i < 2; ++i)
        mergeHalf(halves[i], other.halves[i]);
    mergeText(edgeTop, other.edgeTop);
    mergeText(edgeSide, other.edgeSide);
    mergeText(clearance, other.clearance);
}

void MacroPatternProps::applyTo(MacroPatternProps& target) const {
    for (int i = 0; i < 2; ++i)
        applyHalf(halves[i], target.halves[i]);
    applyText(edgeTop, target.edgeTop);
    applyText(edgeSide, target.edgeSide);
    applyText(clearance, target.clearance);
    target.staggered = staggered;
    target.mirror = mirror;
    target.mirrorHorizontally = mirrorHorizontally;
    target.mirrorVertically = mirrorVertically;
}

// ---- MacroProfData

namespace {
// Combo index -> stored offset type. 3 and 9 to 12 and 5 to 8 are the nine insertion points; 1, 2
// and 4 are the macro's default, free and the centre of gravity.
constexpr int kDlgToProf[13] = {kVariesIndex,
                                MacroProfData::kMacroDefault,
                                MacroProfData::kFree,
                                4,
                                MacroProfData::kCentreOfGravity,
                                1,
                                7,
                                3,
                                5,
                                0,
                                2,
                                6,
                                8};
// Catalogue texts of the combo entries 1 to 12.
constexpr int kOffsetTypeText[13] = {0,     10300, 10301, 10302, 10303, 10304, 10305,
                                     10306, 10307, 10308, 10309, 10310, 10311};
} // namespace

Vor_StringArray MacroProfData::getOffsetTypeStrings() {
    Vor_StringArray texts;
    texts.append(variesText());
    for (int i = 1; i < 13; ++i)
        texts.append(dialString(kOffsetTypeText[i]));
    return texts;
}

int MacroProfData::getDlgOffsetType(int offsetType) {
    for (int i = 1; i < 13; ++i)
        if (kDlgToProf[i] == offsetType) return i;
    return 0;
}

int MacroProfData::getProfOffsetType(int dlgIndex) {
    return dlgIndex >= 1 && dlgIndex < 13 ? kDlgToProf[dlgIndex] : kVariesIndex;
}

Vor_StringArray MacroProfData::getBasePlaneStrings() {
    Vor_StringArray texts;
    texts.append(variesText());
    texts.append(dialString(1022));
    texts.append(dialString(1023));
    texts.append(dialString(1024));
    return texts;
}

void MacroProfData::mergeWith(const MacroProfData& other) {
    mergeText(section, other.section);
    mergeChoice(offsetType, other.offsetType);
    mergeText(offsetX, other.offsetX);
    mergeText(offsetY, other.offsetY);
    mergeText(rotation, other.rotation);
    mergeChoice(orientation, other.orientation);
    mergeChoice(basePlane, other.basePlane, 0);
    mergeText(coordSys, other.coordSys);
    mergeTri(mirrored, other.mirrored);
    mergeText(segment, other.segment);
    mergeText(section2, other.section2);
    mergeText(transitionStart, other.transitionStart);
    mergeText(transitionEnd, other.transitionEnd);
    mergeChoice(transitionType, other.transitionType);
}

void MacroProfData::applyTo(MacroProfData& target) const {
    applyText(section, target.section);
    applyChoice(offsetType, target.offsetType);
    applyText(offsetX, target.offsetX);
    applyText(offsetY, target.offsetY);
    applyText(rotation, target.rotation);
    applyChoice(orientation, target.orientation);
    applyChoice(basePlane, target.basePlane, 0);
    applyText(coordSys, target.coordSys);
    applyTri(mirrored, target.mirrored);
    target.onSegment = onSegment;
    applyText(segment, target.segment);
    target.fromPreview = fromPreview;
    target.morphed = morphed;
    applyText(section2, target.section2);
    applyText(transitionStart, target.transitionStart);
    applyText(transitionEnd, target.transitionEnd);
    applyChoice(transitionType, target.transitionType);
}

// ---- DynArrayData

Vor_StringArray DynArrayData::getValidDimNames(bool first, bool second, bool third) const {
    const bool use[3] = {first, second, third};
    Vor_StringArray names;
    for (int d = 0; d < 3; ++d) {
        if (!use[d]) continue;
        for (const Vor_String& name : validDims[d])
            if (!names.contains(name)) names.append(name);
    }
    return names;
}

bool DynArrayData::setEntryAction(int index, KrEntryAction action) {
    if (index < 0 || index >= entries.length()) return false;
    entries[index].action = action;
    return true;
}

const DynArrayEntry* DynArrayData::getEntry(int number) const {
    for (const DynArrayEntry& e : entries) {
        bool ok = false;
        if (e.number.toInt(&ok) == number && ok) return &e;
    }
    return nullptr;
}

void DynArrayData::mergeWith(const DynArrayData& other) {
    mergeChoice(kind, other.kind);
    for (int i = 0; i < 3; ++i)
        mergeText(dimNames[i], other.dimNames[i]);
    mergeText(third, other.third);
    mergeText(distance, other.distance);
    mergeText(minimum, other.minimum);
    mergeText(maximum, other.maximum);
    mergeText(startOffset, other.startOffset);
    mergeText(endOffset, other.endOffset);
    mergeRecords(entries, other.entries, mergeEntry, markEntry);
}

void DynArrayData::applyTo(DynArrayData& target) const {
    applyChoice(kind, target.kind);
    for (int i = 0; i < 3; ++i)
        applyText(dimNames[i], target.dimNames[i]);
    applyText(third, target.third);
    applyText(distance, target.distance);
    applyText(minimum, target.minimum);
    applyText(maximum, target.maximum);
    applyText(startOffset, target.startOffset);
    applyText(endOffset, target.endOffset);
    target.mirror = mirror;
    applyRecords(entries, target.entries, applyEntry, entryDecided);
}

// ---- JSON forms

void to_json(json& j, const MacroCell& v) {
    j = json{{"name", v.name}, {"value", v.value}};
    if (v.flag) j["flag"] = true;
    if (v.ctrlRef != 0) j["ctrlRef"] = v.ctrlRef;
}
void from_json(const json& j, MacroCell& v) {
    requireObject(j, "a cell");
    MacroCell c;
    readMember(j, "name", c.name);
    readMember(j, "value", c.value);
    readMember(j, "flag", c.flag);
    readMember(j, "ctrlRef", c.ctrlRef);
    v = c;
}

void to_json(json& j, const SlottedHole& h) {
    j = json{{"active", h.active}, {"radius", h.radius}, {"length", h.length},
             {"angle", h.angle},   {"offset", h.offset}, {"appliesTo", h.appliesTo}};
}
void from_json(const json& j, SlottedHole& h) {
    requireObject(j, "a slotted hole");
    SlottedHole s;
    readMember(j, "active", s.active);
    readMember(j, "radius", s.radius);
    readMember(j, "length", s.length);
    readMember(j, "angle", s.angle);
    readMember(j, "offset", s.offset);
    readMember(j, "appliesTo", s.appliesTo);
    h = s;
}
void to_json(json& j, const PatternHalf& h) {
    j = json{{"on", h.on},
             {"parts", h.partsChoice},
             {"equal", h.equalSpacing},
             {"count", h.count},
             {"spacing", h.spacing}};
    if (!h.distances.isEmpty()) j["distances"] = h.distances;
}
void from_json(const json& j, PatternHalf& h) {
    requireObject(j, "a pattern direction");
    PatternHalf p;
    readMember(j, "on", p.on);
    readMember(j, "parts", p.partsChoice);
    readMember(j, "equal", p.equalSpacing);
    readMember(j, "count", p.count);
    readMember(j, "spacing", p.spacing);
    readMember(j, "distances", p.distances);
    h = p;
}
void to_json(json& j, const DynArrayEntry& e) {
    j = json{{"number", e.number},
             {"offset", e.offset},
             {"part", e.part},
             {"note", e.note},
             {"action", static_cast<int>(e.action)}};
}
void from_json(const json& j, DynArrayEntry& e) {
    requireObject(j, "an array entry");
    DynArrayEntry x;
    readMember(j, "number", x.number);
    readMember(j, "offset", x.offset);
    readMember(j, "part", x.part);
    readMember(j, "note", x.note);
    if (j.contains("action")) x.action = static_cast<KrEntryAction>(jsonInteger(j["action"], "action", 0, 3));
    e = x;
}

void to_json(json& j, const MacroBoltData& v) {
    Vor_StringArray columns;
    v.getHoleColumns(columns);
    j = json{{"assembly", v.assembly},
             {"diameter", v.diameter},
             {"penetration", v.penetrationLength},
             {"added", v.addedLength},
             {"tolerance", v.holeTolerance},
             {"specialPresent", v.specialPresent},
             {"special", static_cast<int>(v.special)},
             {"tapped", static_cast<int>(v.tapped)},
             {"reverse", static_cast<int>(v.reverse)},
             {"countersunk", static_cast<int>(v.countersunk)},
             {"workshop", static_cast<int>(v.workshop)},
             {"nut1", v.nut1},
             {"nut2", v.nut2},
             {"washer1", v.washer1},
             {"washer2", v.washer2},
             {"washers", v.washers},
             {"holeColumns", columns}};
    json slots = json::array();
    for (const SlottedHole& h : v.slottedHoles)
        slots.push_back(h);
    if (!slots.empty()) j["slottedHoles"] = slots;
}
void from_json(const json& j, MacroBoltData& v) {
    requireObject(j, "bolt data");
    MacroBoltData b;
    readMember(j, "assembly", b.assembly);
    readMember(j, "diameter", b.diameter);
    readMember(j, "penetration", b.penetrationLength);
    readMember(j, "added", b.addedLength);
    readMember(j, "tolerance", b.holeTolerance);
    readMember(j, "specialPresent", b.specialPresent);
    readTri(j, "special", b.special);
    readTri(j, "tapped", b.tapped);
    readTri(j, "reverse", b.reverse);
    readTri(j, "countersunk", b.countersunk);
    readTri(j, "workshop", b.workshop);
    readMember(j, "nut1", b.nut1);
    readMember(j, "nut2", b.nut2);
    readMember(j, "washer1", b.washer1);
    readMember(j, "washer2", b.washer2);
    readMember(j, "washers", b.washers);
    if (j.contains("holeColumns")) b.setHoleColumns(j["holeColumns"].get<Vor_StringArray>());
    if (j.contains("slottedHoles")) {
        const json& s = j["slottedHoles"];
        if (!s.is_array()) throw json::type_error::create(302, "slottedHoles must be an array", &j);
        for (const json& item : s)
            b.slottedHoles.append(item.get<SlottedHole>());
    }
    v = b;
}

void to_json(json& j, const MacroPatternProps& v) {
    j = json{{"name", v.name},
             {"rows", v.halves[0]},
             {"columns", v.halves[1]},
             {"edgeTop", v.edgeTop},
             {"edgeSide", v.edgeSide},
             {"clearance", v.clearance},
             {"staggered", v.staggered},
             {"mirror", v.mirror},
             {"mirrorH", v.mirrorHorizontally},
             {"mirrorV", v.mirrorVertically}};
    if (v.btnId != 0) j["btnId"] = v.btnId;
}
void from_json(const json& j, MacroPatternProps& v) {
    requireObject(j, "a pattern");
    MacroPatternProps p;
    readMember(j, "name", p.name);
    readMember(j, "btnId", p.btnId);
    if (j.contains("rows")) p.halves[0] = j["rows"].get<PatternHalf>();
    if (j.contains("columns")) p.halves[1] = j["columns"].get<PatternHalf>();
    readMember(j, "edgeTop", p.edgeTop);
    readMember(j, "edgeSide", p.edgeSide);
    readMember(j, "clearance", p.clearance);
    readMember(j, "staggered", p.staggered);
    readMember(j, "mirror", p.mirror);
    readMember(j, "mirrorH", p.mirrorHorizontally);
    readMember(j, "mirrorV", p.mirrorVertically);
    v = p;
}

void to_json(json& j, const MacroProfData& v) {
    j = json{{"group", v.groupName},         {"section", v.section},
             {"offsetType", v.offsetType},   {"offsetX", v.offsetX},
             {"offsetY", v.offsetY},         {"rotation", v.rotation},
             {"orientation", v.orientation}, {"basePlane", v.basePlane},
             {"coordSys", v.coordSys},       {"mirrored", static_cast<int>(v.mirrored)},
             {"onSegment", v.onSegment},     {"segment", v.segment},
             {"fromPreview", v.fromPreview}, {"morphed", v.morphed}};
    if (v.morphed) {
        j["section2"] = v.section2;
        j["transitionStart"] = v.transitionStart;
        j["transitionEnd"] = v.transitionEnd;
        j["transitionType"] = v.transitionType;
    }
    if (v.btnId != 0) j["btnId"] = v.btnId;
}
void from_json(const json& j, MacroProfData& v) {
    requireObject(j, "a profile group");
    MacroProfData p;
    readMember(j, "group", p.groupName);
    readMember(j, "section", p.section);
    readMember(j, "offsetType", p.offsetType);
    readMember(j, "offsetX", p.offsetX);
    readMember(j, "offsetY", p.offsetY);
    readMember(j, "rotation", p.rotation);
    readMember(j, "orientation", p.orientation);
    readMember(j, "basePlane", p.basePlane);
    readMember(j, "coordSys", p.coordSys);
    readTri(j, "mirrored", p.mirrored);
    readMember(j, "onSegment", p.onSegment);
    readMember(j, "segment", p.segment);
    readMember(j, "fromPreview", p.fromPreview);
    readMember(j, "morphed", p.morphed);
    readMember(j, "section2", p.section2);
    readMember(j, "transitionStart", p.transitionStart);
    readMember(j, "transitionEnd", p.transitionEnd);
    readMember(j, "transitionType", p.transitionType);
    readMember(j, "btnId", p.btnId);
    v = p;
}

void to_json(json& j, const DynArrayData& v) {
    j = json{{"name", v.name},
             {"kind", v.kind},
             {"dims", json::array({v.dimNames[0], v.dimNames[1], v.dimNames[2]})},
             {"third", v.third},
             {"distance", v.distance},
             {"minimum", v.minimum},
             {"maximum", v.maximum},
             {"startOffset", v.startOffset},
             {"endOffset", v.endOffset},
             {"mirror", v.mirror}};
    json entries = json::array();
    for (const DynArrayEntry& e : v.entries)
        entries.push_back(e);
    if (!entries.empty()) j["entries"] = entries;
    json valid = json::array({v.validDims[0], v.validDims[1], v.validDims[2]});
    if (!v.validDims[0].isEmpty() || !v.validDims[1].isEmpty() || !v.validDims[2].isEmpty())
        j["validDims"] = valid;
    if (v.btnId != 0) j["btnId"] = v.btnId;
}
void from_json(const json& j, DynArrayData& v) {
    requireObject(j, "an array");
    DynArrayData a;
    readMember(j, "name", a.name);
    readMember(j, "btnId", a.btnId);
    readMember(j, "kind", a.kind);
    if (j.contains("dims")) {
        const Vor_StringArray dims = j["dims"].get<Vor_StringArray>();
        for (int i = 0; i < 3 && i < dims.length(); ++i)
            a.dimNames[i] = dims[i];
    }
    readMember(j, "third", a.third);
    readMember(j, "distance", a.distance);
    readMember(j, "minimum", a.minimum);
    readMember(j, "maximum", a.maximum);
    readMember(j, "startOffset", a.startOffset);
    readMember(j, "endOffset", a.endOffset);
    readMember(j, "mirror", a.mirror);
    if (j.contains("entries")) {
        const json& e = j["entries"];
        if (!e.is_array()) throw json::type_error::create(302, "entries must be an array", &j);
        for (const json& item : e)
            a.entries.append(item.get<DynArrayEntry>());
    }
    if (j.contains("validDims")) {
        const json& d = j["validDims"];
        if (!d.is_array() || d.size() > 3)
            throw json::type_error::create(302, "validDims must be up to three lists", &j);
        for (std::size_t i = 0; i < d.size(); ++i)
            a.validDims[i] = d[i].get<Vor_StringArray>();
    }
    v = a;
}

void to_json(json& j, const MacroSegmentData& v) {
    j = json{{"name", v.name},
             {"section", v.section},
             {"clearance", v.clearance},
             {"breakAtEveryPoint", v.breakAtEveryPoint},
             {"breakPoints", v.breakPoints}};
}
void from_json(const json& j, MacroSegmentData& v) {
    requireObject(j, "a segmented profile");
    MacroSegmentData s;
    readMember(j, "name", s.name);
    readMember(j, "section", s.section);
    readMember(j, "clearance", s.clearance);
    readMember(j, "breakAtEveryPoint", s.breakAtEveryPoint);
    readMember(j, "breakPoints", s.breakPoints);
    v = s;
}

void to_json(json& j, const MacroCutData& v) {
    j = json{{"name", v.name}, {"choice", v.choice}, {"varNames", v.varNames}, {"values", v.values}};
}
void from_json(const json& j, MacroCutData& v) {
    requireObject(j, "a cut");
    MacroCutData c;
    readMember(j, "name", c.name);
    readMember(j, "choice", c.choice);
    readMember(j, "varNames", c.varNames);
    readMember(j, "values", c.values);
    v = c;
}

void to_json(json& j, const MacroFlexFixGroup& v) {
    j = json{{"name", v.name}, {"cells", v.cells}, {"flexible", v.flexible}};
}
void from_json(const json& j, MacroFlexFixGroup& v) {
    requireObject(j, "a flex-fix group");
    MacroFlexFixGroup g;
    readMember(j, "name", g.name);
    readMember(j, "cells", g.cells);
    readMember(j, "flexible", g.flexible);
    v = g;
}
