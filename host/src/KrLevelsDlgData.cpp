#include <host/KrLevelsDlgData.h>

#include <host/VorJson.h>

#include <cmath>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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

namespace {

/// The key under which equal(..., false) finds a name: its folded form and its length in bytes.
std::string nameKey(const Vor_String& name) {
    std::string key = name.caseFolded();
    key += '\0';
    key += std::to_string(name.str().size());
    return key;
}

/// For each level, the index of the level it is measured from: kEnds for none, kMissing for a
/// reference that names no level (the first level of a name counts).
constexpr int kEnds = -1, kMissing = -2;
std::vector<int> referenceIndexes(const Vor_Array<KrLevel>& levels) {
    std::unordered_map<std::string, int> index;
    index.reserve(std::size_t(levels.length()));
    for (int i = 0; i < levels.length(); ++i)
        index.emplace(nameKey(levels[i].name), i);
    std::vector<int> next(std::size_t(levels.length()), kEnds);
    for (int i = 0; i < levels.length(); ++i)
        if (!levels[i].reference.isEmpty()) {
            const auto found = index.find(nameKey(levels[i].reference));
            next[std::size_t(i)] = found == index.end() ? kMissing : found->second;
        }
    return next;
}

/// For every level whether following its references ends at a level without one: no reference
/// that names nothing, no circle on the way. Each level is walked once, so the whole list costs
/// linear time.
std::vector<bool> chainsThatEnd(const Vor_Array<KrLevel>& levels) {
    const std::vector<int> next = referenceIndexes(levels);
    enum : char { kUnknown, kOnPath, kGood, kBad };
    std::vector<char> state(next.size(), kUnknown);
    std::vector<int> path;
    for (std::size_t start = 0; start < next.size(); ++start) {
        path.clear();
        int at = int(start);
        char outcome = kBad;
        while (true) {
            if (at == kEnds) {
                outcome = kGood;
                break;
            }
            if (at == kMissing) break;
            const char s = state[std::size_t(at)];
            if (s == kOnPath) break; // came round to a level of this walk: a circle
            if (s == kGood || s == kBad) {
                outcome = s;
                break;
            }
            state[std::size_t(at)] = kOnPath;
            path.push_back(at);
            at = next[std::size_t(at)];
        }
        for (int i : path)
            state[std::size_t(i)] = outcome;
    }
    std::vector<bool> ends(next.size());
    for (std::size_t i = 0; i < next.size(); ++i)
        ends[i] = state[i] == kGood;
    return ends;
}

} // namespace

const std::vector<int>& KrLevelsDlgData::referenceIndex() const {
    if (m_referenceIndex.size() != std::size_t(m_levels.length()))
        m_referenceIndex = referenceIndexes(m_levels);
    return m_referenceIndex;
}

double KrLevelsDlgData::absoluteValue(int index) const {
    if (index < 0 || index >= m_levels.length()) return 0;
    const std::vector<int>& next = referenceIndex();
    double sum = 0;
    // A chain longer than the list has gone round in a circle: it never ends, and gives 0.
    int at = index;
    for (int steps = 0; at >= 0 && steps <= m_levels.length(); ++steps) {
        sum += m_levels[at].value;
        at = next[std::size_t(at)];
    }
    return at == kEnds ? sum : 0;
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
    if (!chainsThatEnd(changed)[std::size_t(index)]) return false;
    m_levels = std::move(changed);
    levelsChanged();
    return true;
}

bool KrLevelsDlgData::addLevel(const Vor_String& name, int& index) {
    Vor_String trimmed = name;
    trimmed.trim();
    if (trimmed.isEmpty() || trimmed.equal(kWorldName, false) || indexOf(name) >= 0) return false;
    const bool hasWorld = indexOf(kWorldName) >= 0;
    m_levels.append(KrLevel{name, hasWorld ? Vor_String(kWorldName) : Vor_String(), 0});
    index = m_levels.length() - 1;
    levelsChanged();
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
    levelsChanged();
    return true;
}

bool KrLevelsDlgData::setLevels(const Vor_Array<KrLevel>& levels) {
    std::unordered_set<std::string> names;
    names.reserve(std::size_t(levels.length()));
    for (int i = 0; i < levels.length(); ++i) {
        Vor_String trimmed = levels[i].name;
        if (trimmed.trim().isEmpty() || !std::isfinite(levels[i].value)) return false;
        if (!names.insert(nameKey(levels[i].name)).second) return false;
    }
    for (bool ends : chainsThatEnd(levels))
        if (!ends) return false;
    m_levels = levels;
    levelsChanged();
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
