#pragma once
// The host's look-up of section names: from a system name to the name a person reads.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <filesystem>
#include <string>
#include <unordered_map>

/// The profile tables of the library folder as the host reads them for names.
class Vor_SectionTables {
public:
    /// The description in the current user language of the section `sysName` (table name, "-",
    /// row key); false when the table, the row or the description is missing.
    bool getUserName(const Vor_String& sysName, Vor_String& name);
    /// Forgets the table kept from the last look-up.
    void reset();

private:
    bool load(const Vor_String& tableName);

    // The last table read, kept while its file is unchanged: a list of one table's sizes asks for
    // every name of that table in turn.
    std::string m_path;
    std::filesystem::file_time_type m_time{};
    long long m_size = -1;
    Vor_StringArray m_header;
    Vor_Array<Vor_StringArray> m_rows;
    std::unordered_map<std::string, int> m_rowOfKey; ///< the first row of each key
};

extern Vor_SectionTables gSectionTables;
