#pragma once
// The section groups of the library: named sets of section types (I-sections, channels, ...).

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

/// One section group: a fixed numeric identifier that types refer to, an enabled flag, a picture and
/// a name per user language.
struct SectionGroup {
    int id = 0;
    bool enabled = true;
    Vor_String image;
    Vor_StringArray langs; ///< one name per user language, in the order of GetAllLanguages
    bool operator==(const SectionGroup&) const = default;
};

/// The groups, addressed by index; a group's identifier stays when others are added or removed.
class SectionGroupArray {
public:
    int length() const { return m_groups.length(); }
    /// The name in the current user language (the first non-empty name when that one is empty).
    Vor_String getName(int index) const;
    bool getEnabled(int index) const;
    void setEnabled(int index, bool enabled);
    Vor_String getImage(int index) const;
    void setImage(int index, const Vor_String& image);
    Vor_StringArray getLangs(int index) const;
    void setLangs(int index, const Vor_StringArray& names);
    int getId(int index) const;
    /// Index of the group with this identifier, or -1.
    int indexOfId(int id) const;
    /// Appends a group with a fresh identifier and "New group" in every language; its index.
    int appendNewGrp();
    /// Appends a group as it is (reading the library); false when its identifier is taken.
    bool append(const SectionGroup& group);
    bool removeAt(int index);
    /// The names of all groups (current language) with their identifiers, in index order.
    void namesOfAllGroups(Vor_StringArray& names, Vor_Array<int>& ids) const;
    const SectionGroup& at(int index) const { return m_groups[index]; }
    bool operator==(const SectionGroupArray&) const = default;

private:
    bool valid(int index) const { return index >= 0 && index < m_groups.length(); }
    Vor_Array<SectionGroup> m_groups;
};
