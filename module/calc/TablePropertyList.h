#pragma once
// Typed named values of a calculation table: the table properties kept in the corner cell's tag,
// and the header and footer files (*.ssh). Entries are written as key, type and value, each closed
// by the single separator byte 0xA4.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

/// The separator byte of property texts.
inline constexpr char kPropertySeparator = '\xA4';

/// One value of a property.
struct TypedValue {
    enum Type : int {
        None = 0,   ///< no value
        Double = 1, ///< floating, written with two decimals
        Int = 2,    ///< integer; also booleans (0 or 1)
        Long = 3,   ///< long integer
        Text = 4,   ///< text
    };
    Type type = None;
    double number = 0; ///< the value of types 1 to 3 (integers are held exactly)
    Vor_String text;   ///< the value of type 4, empty for every other type

    static TypedValue ofDouble(double v) { return {Double, v, {}}; }
    static TypedValue ofInt(std::int32_t v) { return {Int, static_cast<double>(v), {}}; }
    static TypedValue ofLong(std::int64_t v) { return {Long, static_cast<double>(v), {}}; }
    static TypedValue ofText(const Vor_String& v) { return {Text, 0, v}; }
    bool operator==(const TypedValue& o) const {
        return type == o.type && number == o.number && text == o.text;
    }
};

/// What a forgiving read of a property text met besides whole entries of known types. Such a read
/// may have lost or changed something, so it is not clean, and no automatic repair writes it back.
struct PropertyReadIssues {
    bool oldCodePage = false;       ///< read as Windows-1252 (files of the old versions)
    bool ambiguousEncoding = false; ///< UTF-8 and Windows-1252 both gave whole entries; UTF-8 was taken
    bool damaged = false;           ///< an unfinished entry at the end, an empty key, a value on type 0
    bool unknownType = false;       ///< a type code that is no number from 0 to 4 ("9", "zz")
    bool looseNumber = false;       ///< a number read as atoi reads it (" 42abc", "04", out of range)
    bool repeatedKey = false;       ///< a key given twice: the last value counts, the first is lost
    bool tooLarge = false;          ///< beyond the size budget: nothing was read

    bool clean() const {
        return !(oldCodePage || ambiguousEncoding || damaged || unknownType || looseNumber || repeatedKey ||
                 tooLarge);
    }
    /// What made the read unclean, in words ("old code page, unknown type"); empty when clean.
    Vor_String describe() const;
};

/// An ordered list of (key, value); keys compare without regard to case, the first insertion
/// decides the position. Keys and texts must be UTF-8: a lone separator byte (which the format cannot
/// escape) or a stray byte of another code page would not read back. In UTF-8 the separator byte only
/// occurs inside a character, as in "ä".
class TablePropertyList {
public:
    void clear() {
        m_entries.clear();
        m_index.clear();
    }
    int length() const { return static_cast<int>(m_entries.size()); }
    const Vor_String& keyAt(int i) const { return m_entries[static_cast<size_t>(i)].first; }
    const TypedValue& valueAt(int i) const { return m_entries[static_cast<size_t>(i)].second; }

    bool getDouble(const Vor_String& key, double& out) const;
    bool getInt(const Vor_String& key, int& out) const;
    bool getBool(const Vor_String& key, bool& out) const;
    bool getString(const Vor_String& key, Vor_String& out) const;
    /// The raw value; false when the key is missing.
    bool get(const Vor_String& key, TypedValue& out) const;

    bool setDouble(const Vor_String& key, double v) { return set(key, TypedValue::ofDouble(v)); }
    bool setInt(const Vor_String& key, int v) { return set(key, TypedValue::ofInt(v)); }
    bool setBool(const Vor_String& key, bool v) { return set(key, TypedValue::ofInt(v ? 1 : 0)); }
    bool setString(const Vor_String& key, const Vor_String& v) { return set(key, TypedValue::ofText(v)); }
    /// Appends a new key or replaces the value of an existing one in place. Refused: an empty key, a
    /// key or text that is not UTF-8, NaN and infinities (they have no number text), an integer value
    /// that is not a whole number in the range of its type.
    bool set(const Vor_String& key, const TypedValue& value);

    bool remove(const Vor_String& key);
    bool find(const Vor_String& key, int& index) const;

    bool toText(Vor_String& out) const;
    /// Parses a property text; what can be parsed up to damage is kept. False for an empty text or one
    /// beyond the size budget. The encoding is decided once for the whole text (docs/formats.md);
    /// *issues says whether the read was clean.
    bool fromText(const Vor_String& text, PropertyReadIssues* issues = nullptr);
    /// Writes the list as a file with the careful writer: a failed write keeps the old file.
    bool writeFile(const Vor_String& path) const;
    /// Reads a file as fromText does; false when it cannot be read or is larger than 1 MiB.
    bool readFile(const Vor_String& path, PropertyReadIssues* issues = nullptr);

    /// Numbered text keys base0, base1, ...
    bool writeArray(const Vor_String& base, const Vor_StringArray& items);
    bool readArray(const Vor_String& base, Vor_StringArray& out) const;

    bool operator==(const TablePropertyList& o) const;

private:
    void rebuildIndex();

    std::vector<std::pair<Vor_String, TypedValue>> m_entries;
    /// Position of each key by its case-folded form: a tag or file of many keys loads in linear time.
    std::unordered_map<std::string, std::size_t> m_index;
};

/// The table properties kept in the corner cell's tag.
struct TableProperties {
    Vor_String headerFile;
    Vor_String footerFile;
    int marginLeft = 0;
    int marginRight = 0;
    int marginTop = 0;
    int marginBottom = 0;
    bool smartPrint = false;
    bool colors = false;
    bool colHeader = false;
    bool rowHeader = false;
    bool cellSeperators = false;
    bool border = false;
    Vor_StringArray varNames;
    Vor_StringArray varValues;

    /// The values a new table starts with.
    static TableProperties newTable();
    bool operator==(const TableProperties& o) const = default;
};

/// Reads the properties (missing keys give empty values); false when the variable lists had
/// different lengths, in which case the longer one is cut to the shorter.
bool readTableProperties(const Vor_String& text, TableProperties& props);
/// Writes exactly the keys of the table properties, in their fixed order.
bool writeTableProperties(Vor_String& out, const TableProperties& props);

/// A text label placed on the header picture.
struct HeaderLabel {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Vor_String text;
    bool operator==(const HeaderLabel& o) const = default;
};

/// The contents of a header or footer file.
struct HeaderFile {
    Vor_String standardFont;
    Vor_String bmpSource;
    int origBmpWidth = 0;
    int origBmpHeight = 0;
    double zoomFactor = 0;
    Vor_Array<HeaderLabel> labels;
};

bool readHeaderFile(const Vor_String& path, HeaderFile& header);
bool writeHeaderFile(const Vor_String& path, const HeaderFile& header);

/// 1 when path exists (a relative path is taken in the document's folder, never in the working
/// directory); 0 when it was replaced by a file of the same name in the document's folder; -1 when
/// neither exists.
int resolveNearDocument(Vor_String& path, const Vor_String& documentPath);

/// True when every key of the list is one a header file holds (LabelArr keys with their number).
bool hasOnlyHeaderKeys(const TablePropertyList& list);
/// True when every key of the list is one of the table properties.
bool hasOnlyTablePropertyKeys(const TablePropertyList& list);

/// The file-reference check of an opened table: header and footer paths of the corner tag, and the
/// picture of the header file, are moved next to the document where they are found there. The tag
/// is rewritten when a path changed (true is returned; only the text in memory, the caller stores it);
/// a header file is rewritten in place, but only when it lies in the document's own folder (links
/// followed): a table from elsewhere never changes shared files. Neither is rewritten unless it was
/// read cleanly and holds only known keys, since writing back a misread list would destroy the
/// person's file; each such skip is described in *skipped.
bool checkFileReferences(Vor_String& cornerTag, const Vor_String& documentPath,
                         Vor_StringArray* skipped = nullptr);
