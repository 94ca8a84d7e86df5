#pragma once
// The section library as the library editor edits it: groups, types and the available tables.

#include <host/SectionGroupArray.h>
#include <host/SectionType.h>
#include <host/Vor_Array.h>
#include <host/Vor_StringArray.h>

#include <string>

/// Groups and types live in "prof/groups.grp" and "prof/types.typ" of the library folder
/// (docs/formats.md); the tables are the "prof/*.pr" files.
class DlgEditLibData {
public:
    SectionGroupArray m_groups;
    Vor_Array<SectionType> m_types;
    Vor_StringArray m_tableNames; ///< file names without ".pr", sorted

    /// Lists the tables of the library folder's "prof/" into m_tableNames.
    void GetAvailableFiles();
    /// Reads groups and types from the library folder; a missing file is an empty list. Lines that
    /// cannot be used are skipped and named in *error. False only when a file exists but cannot be read.
    bool load(std::string* error = nullptr);
    /// Writes groups and types atomically; false (old files kept) when a write fails.
    bool save(std::string* error = nullptr) const;
    bool operator==(const DlgEditLibData&) const = default;
};
