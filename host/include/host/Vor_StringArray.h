#pragma once
// The host's array of texts.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>

#include <string>
#include <vector>

/// An array of Vor_String, indexed from 0, whose look-ups take a case flag.
class Vor_StringArray : public Vor_Array<Vor_String> {
public:
    using Vor_Array<Vor_String>::Vor_Array;
    Vor_StringArray() = default;
    Vor_StringArray(const Vor_Array<Vor_String>& items)
        : Vor_Array<Vor_String>(items) {}

    /// Index of the first text equal to `text` (from `start` on); false when there is none.
    bool find(const Vor_String& text, int& index, bool caseSensitive = true, int start = 0) const;
    bool contains(const Vor_String& text, bool caseSensitive = true) const;
    /// Removes the first text equal to `text`; false when there is none.
    bool removeFirst(const Vor_String& text, bool caseSensitive = true);

    std::vector<std::string> toStdVector() const;
    static Vor_StringArray fromStdVector(const std::vector<std::string>& items);

    bool operator==(const Vor_StringArray& other) const = default;
};
