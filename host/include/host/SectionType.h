#pragma once
// A section type of the library: one series of sections, shown under a group, listed in one table.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

class SectionType {
public:
    bool m_enabled = true;
    Vor_String m_image;      ///< picture base name
    int m_group = -1;        ///< identifier of its group; -1 for none
    Vor_String m_table;      ///< profile table name (file name without ".pr")
    Vor_StringArray m_names; ///< one name per user language

    /// The name in the current user language (the first non-empty name when that one is empty).
    Vor_String getName() const;
    bool operator==(const SectionType&) const = default;
};
