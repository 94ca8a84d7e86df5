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
    /// What the last load could not take as it stood ("prof/groups.grp:3: no group number", one a
    /// line); empty when both files were read cleanly (or are missing).
    std::string m_readFaults;

    /// Reads groups and types from the library folder; a missing file is an empty list. Lines that
    /// cannot be used are skipped and named in *error and m_readFaults. False only when a file exists
    /// but cannot be read.
    bool load(std::string* error = nullptr);
    /// Writes groups and types atomically; false (old files kept) when a write fails, or when the
    /// last load was not clean: a file not read cleanly is never written over.
    bool save(std::string* error = nullptr) const;
    bool operator==(const DlgEditLibData&) const = default;

private:
    bool read(std::string* error);
};

/// The groups of the lines of "prof/groups.grp" (its header first) in the order of the user languages
/// `langs`; lines that cannot be used are skipped and named in *faults, one a line.
SectionGroupArray sectionGroupsOfLines(const Vor_Array<Vor_StringArray>& lines, const Vor_StringArray& langs,
                                       std::string* faults);
/// The types of the lines of "prof/types.typ", as sectionGroupsOfLines; a group that is no number
/// is read as none (-1) and named.
Vor_Array<SectionType> sectionTypesOfLines(const Vor_Array<Vor_StringArray>& lines,
                                           const Vor_StringArray& langs, std::string* faults);
/// The lines the groups and the types are written as (a header with the user languages first).
Vor_Array<Vor_StringArray> linesOfSectionGroups(const SectionGroupArray& groups,
                                                const Vor_StringArray& langs);
Vor_Array<Vor_StringArray> linesOfSectionTypes(const Vor_Array<SectionType>& types,
                                               const Vor_StringArray& langs);
