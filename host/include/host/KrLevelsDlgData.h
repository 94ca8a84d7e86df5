#pragma once
// The levels of a model: named heights, each measured from a reference level. A chain of
// references ends at a level without one, usually the world level "wcs" at height 0.
#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json.hpp>

#include <vector>

/// One level: its height `value` above its reference level.
struct KrLevel {
    Vor_String name;
    Vor_String reference; ///< name of the level it is measured from; empty for the world level
    double value = 0;
    bool operator==(const KrLevel& o) const = default;
};

class KrLevelsDlgData {
public:
    /// The name of the world level, which cannot be taken by another level nor deleted.
    static const char* const kWorldName; // "wcs"

    /// The world level alone.
    KrLevelsDlgData();
    virtual ~KrLevelsDlgData() = default;
    KrLevelsDlgData(const KrLevelsDlgData&) = default;
    KrLevelsDlgData& operator=(const KrLevelsDlgData&) = default;

    /// The names of all levels, in order.
    void getNames(Vor_StringArray& names) const;
    /// Level `index`: its name, reference, value and absolute height (the value plus the absolute
    /// height of the reference). False, nothing changed, for a bad index.
    bool getLevelData(int index, Vor_String& name, Vor_String& reference, double& value,
                      double& absolute) const;
    /// Sets the value of level `index`; false for a bad index, a value that is no finite number, or
    /// the world level, which stays at 0.
    bool updateLevel(int index, double value);
    /// Measures level `index` from the level named `reference` (without regard to case); false when
    /// no other level has that name or the chain of references would come back to this level.
    bool updateLevel(int index, const Vor_String& reference);
    /// Appends a level of height 0 on the world level; false for an empty name or one that another
    /// level (or the world level) has, without regard to case.
    bool addLevel(const Vor_String& name, int& index);
    /// Deletes level `index`; levels measured from it are measured from its reference instead, so
    /// that their absolute heights stay. False for a bad index, the world level and the last level.
    bool deleteLevel(int index);

    int count() const { return m_levels.length(); }
    /// Index of the level named `name` without regard to case, or -1.
    int indexOf(const Vor_String& name) const;
    /// The absolute height of level `index` (0 for a bad index or a chain that never ends).
    double absoluteValue(int index) const;

    const Vor_Array<KrLevel>& levels() const { return m_levels; }
    /// Replaces every level; false (nothing changed) when names repeat or are empty, a reference
    /// names no level, or references go round in a circle.
    bool setLevels(const Vor_Array<KrLevel>& levels);

    bool operator==(const KrLevelsDlgData& o) const { return m_levels == o.m_levels; }

private:
    /// For each level the index of its reference level (-1 none, -2 a name no level has), made once
    /// for the levels as they are, so that asking every level's height stays cheap.
    const std::vector<int>& referenceIndex() const;
    void levelsChanged() { m_referenceIndex.clear(); }

    Vor_Array<KrLevel> m_levels;
    mutable std::vector<int> m_referenceIndex; ///< empty: to be made
};

/// {"levels": [{"name", "reference", "value"}, ...]}; refused when setLevels refuses them.
void to_json(nlohmann::json& j, const KrLevelsDlgData& d);
void from_json(const nlohmann::json& j, KrLevelsDlgData& d);
