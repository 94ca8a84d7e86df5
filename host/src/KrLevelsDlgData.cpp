#include <host/KrLevelsDlgData.h>

#include <host/VorJson.h>

#include <cmath>

const char* const KrLevelsDlgData::kWorldName = "wcs";

KrLevelsDlgData::KrLevelsDlgData() {
    m_levels.append(KrLevel{kWorldName, "", 0});
}

void KrLevelsDlgData::getNames(Vor_StringArray& names) const {
    names.removeAll();
    for (const KrLevel& l : m_levels)
        names.append(l.name);
}

int KrLevelsDlgData::indexOf(const Vor_String& name) const {
    for (int i = 0; i < m_levels.length(); ++i)
        if (m_levels[i].name.equal(name, false)) return i;
    return -1;
}

bool KrLevelsDlgData::chainEnds(const Vor_Array<KrLevel>& levels, int start) {
    int at = start;
    // A chain longer than the list has gone round in a circle.
    for (int steps = 0; steps <= levels.length(); ++steps) {
        if (levels[at].reference.isEmpty()) return true;
        int next = -1;
        for (int i = 0; i < levels.length() && next < 0; ++i)
            if (levels[i].name.equal(levels[at].reference, false)) next = i;
        if (next < 0 || next == start) return false;
        at = next;
    }
    return false;
}

double KrLevelsDlgData::absoluteValue(int index) const {
    if (index < 0 || index >= m_levels.length() || !chainEnds(m_levels, index)) return 0;
    double sum = 0;
    for (int at = index; at >= 0;) {
        sum += m_levels[at].value;
        at = m_levels[at].reference.isEmpty() ? -1 : indexOf(m_levels[at].reference);
    }
    return sum;
}

bool KrLevelsDlgData::getLevelData(int index, Vor_String& name, Vor_String& reference, double& value,
                                   double& absolute) const {
    if (index < 0 || index >= m_levels.length()) return false;
    name = m_levels[index].name;
    reference = m_levels[index].reference;
    value = m_levels[index].value;
    absolute = absoluteValue(index);
    return true;
}

bool KrLevelsDlgData::updateLevel(int index, double value) {
    if (index < 0 || index >= m_levels.length() || !std::isfinite(value)) return false;
    if (m_levels[index].name.equal(kWorldName, false)) return false;
    m_levels[index].value = value;
    return true;
}

bool KrLevelsDlgData::updateLevel(int index, const Vor_String& reference) {
    if (index < 0 || index >= m_levels.length()) return false;
    const int ref = indexOf(reference);
    if (ref < 0 || ref == index) return false;
    Vor_Array<KrLevel> changed = m_levels;
    changed[index].reference = m_levels[ref].name;
    if (!chainEnds(changed, index)) return false;
    m_levels = std::move(changed);
    return true;
}

bool KrLevelsDlgData::addLevel(const Vor_String& name, int& index) {
    Vor_String trimmed = name;
    trimmed.trim();
    if (trimmed.isEmpty() || trimmed.equal(kWorldName, false) || indexOf(name) >= 0) return false;
    const bool hasWorld = indexOf(kWorldName) >= 0;
    m_levels.append(KrLevel{name, hasWorld ? Vor_String(kWorldName) : Vor_String(), 0});
    index = m_levels.length() - 1;
    return true;
}

bool KrLevelsDlgData::deleteLevel(int index) {
    if (index < 0 || index >= m_levels.length() || m_levels.length() < 2) return false;
    const KrLevel gone = m_levels[index];
    if (gone.name.equal(kWorldName, false)) return false;
    for (KrLevel& l : m_levels)
        if (l.reference.equal(gone.name, false)) {
            l.reference = gone.reference;
            l.value += gone.value;
        }
    m_levels.removeAt(index);
    return true;
}

bool KrLevelsDlgData::setLevels(const Vor_Array<KrLevel>& levels) {
    for (int i = 0; i < levels.length(); ++i) {
        Vor_String trimmed = levels[i].name;
        if (trimmed.trim().isEmpty() || !std::isfinite(levels[i].value)) return false;
        for (int j = 0; j < i; ++j)
            if (levels[j].name.equal(levels[i].name, false)) return false;
    }
    for (int i = 0; i < levels.length(); ++i)
        if (!chainEnds(levels, i)) return false;
    m_levels = levels;
    return true;
}

void to_json(nlohmann::json& j, const KrLevelsDlgData& d) {
    j = {{"levels", nlohmann::json::array()}};
    for (const KrLevel& l : d.levels())
        j["levels"].push_back({{"name", l.name}, {"reference", l.reference}, {"value", l.value}});
}

void from_json(const nlohmann::json& j, KrLevelsDlgData& d) {
    Vor_Array<KrLevel> levels;
    for (const auto& l : j.at("levels")) {
        KrLevel level;
        level.name = l.at("name").get<Vor_String>();
        level.reference = l.value("reference", Vor_String());
        level.value = jsonNumber(l.value("value", nlohmann::json(0)), "value", -1e12, 1e12);
        levels.append(level);
    }
    if (!d.setLevels(levels))
        throw nlohmann::json::other_error::create(
            501,
            "levels need distinct names and references to levels of the list that end at a level without one",
            &j);
}
