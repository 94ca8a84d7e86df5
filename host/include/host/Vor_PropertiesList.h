#pragma once
// Named text, int and double values in insertion order, with a file form people can read.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cad/acadstd.h>

#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

/// An ordered list of named values of three kinds. Names are compared with regard to case. A value
/// is read back only as its own kind, except that an int may be read as a double.
class Vor_PropertiesList {
public:
    enum class Type { Text, Int, Double };

    /// Sets a value; a new name goes to the end, a known one keeps its place and takes the new kind.
    /// eInvalidInput for an empty name.
    Acad::ErrorStatus setProperty(const Vor_String& name, const Vor_String& value);
    Acad::ErrorStatus setProperty(const Vor_String& name, const char* value);
    Acad::ErrorStatus setProperty(const Vor_String& name, int value);
    /// eInvalidInput for NaN and infinities, which have no number text.
    Acad::ErrorStatus setProperty(const Vor_String& name, double value);

    /// eOk and the value; eKeyNotFound when there is no such name; eInvalidInput when the value is of
    /// another kind. `value` is only changed on eOk.
    Acad::ErrorStatus getProperty(const Vor_String& name, Vor_String& value) const;
    Acad::ErrorStatus getProperty(const Vor_String& name, int& value) const;
    Acad::ErrorStatus getProperty(const Vor_String& name, double& value) const;

    bool hasProperty(const Vor_String& name) const { return m_index.count(name.str()) > 0; }
    /// eOk and the kind of the named value, or eKeyNotFound.
    Acad::ErrorStatus getType(const Vor_String& name, Type& type) const;
    Acad::ErrorStatus removeProperty(const Vor_String& name);
    void clear();
    int length() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    /// The names in order.
    Vor_StringArray names() const;

    /// Replaces the list by the file's content, read in one encoding for the whole file.
    /// eFileNotFound, eFileAccessErr (also for a file beyond 16 MiB), or eInvalidInput / eDuplicateKey
    /// for a malformed file or one beyond the budgets of docs/formats.md; on any failure the list
    /// stays as it was and *error says which file, line and what.
    Acad::ErrorStatus readFromFile(const Vor_String& path, std::string* error = nullptr);
    /// Writes the list (atomically: a failed write keeps the old file); eFileAccessErr on failure.
    Acad::ErrorStatus writeToFile(const Vor_String& path, std::string* error = nullptr) const;

    /// The file form of the list.
    std::string toText() const;
    /// Replaces the list by a file form; `source` names it in error messages. On failure the list
    /// stays as it was.
    Acad::ErrorStatus fromText(std::string_view text, const std::string& source,
                               std::string* error = nullptr);

    bool operator==(const Vor_PropertiesList& other) const { return m_entries == other.m_entries; }

    using Value = std::variant<Vor_String, int, double>;
    struct Entry {
        Vor_String name;
        Value value;
        bool operator==(const Entry&) const = default;
    };
    const std::vector<Entry>& entries() const { return m_entries; }

private:
    Acad::ErrorStatus set(const Vor_String& name, Value value);
    const Value* lookUp(const Vor_String& name) const;

    std::vector<Entry> m_entries;
    std::unordered_map<std::string, std::size_t> m_index; // name -> position in m_entries
};
