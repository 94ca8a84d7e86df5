#include "calc/TablePropertyList.h"

#include <base/NumberText.h>
#include <host/FileUtils.h>
#include <host/TextCodec.h>
#include <host/VorUtils.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace {

// Budgets far above any real header file or tag (a header holds a few dozen labels), so that a
// damaged or hostile file is refused before it costs memory without bound.
constexpr std::size_t kMaxFileBytes = std::size_t(1) << 20;
constexpr std::size_t kMaxEntries = 100000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The exact form the writer gives an integer: an optional '-' and digits without a leading zero.
bool isPlainInteger(std::string_view s) {
    if (!s.empty() && s.front() == '-') s.remove_prefix(1);
    if (s.empty() || (s.size() > 1 && s.front() == '0')) return false;
    for (char c : s)
        if (!isDigit(c)) return false;
    return true;
}

// Number reading as the classic atoi/atof: leading blanks, then the longest number that fits, else 0.
// Independent of the process locale, which the windowing toolkit sets. `exact` says whether the whole
// text was that number in the writer's own form.
std::string_view numberPrefix(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    return s;
}

double atofLike(std::string_view text, bool& exact) {
    double v = 0;
    if (base::parseNumber(text, v) && text == numberPrefix(text) && text.back() != ' ' &&
        text.back() != '\t') {
        exact = true;
        return v;
    }
    exact = false;
    return base::parseLeadingNumber(text);
}

// True when the text begins, after blanks and a sign, with a digit: atoi reads a number from it.
bool startsWithNumber(std::string_view text) {
    std::string_view s = numberPrefix(text);
    if (!s.empty() && s.front() == '-') s.remove_prefix(1);
    return !s.empty() && isDigit(s.front());
}

std::int64_t atolLike(std::string_view text, bool& exact) {
    std::size_t used = 0;
    const std::int64_t v = base::parseLeadingInteger(text, &used);
    exact = used > 0 && used == text.size() && text == numberPrefix(text) && isPlainInteger(text);
    return v;
}

// Entries are whole when every field is closed by a separator, they come in threes, and every type
// field is a type code the writer gives. A separator swallowed by a misread character breaks this.
bool wholeEntries(const std::vector<std::string>& pieces) {
    if (pieces.empty() || !pieces.back().empty()) return false;
    const std::size_t fields = pieces.size() - 1;
    if (fields % 3 != 0) return false;
    for (std::size_t i = 1; i < fields; i += 3)
        if (pieces[i].size() != 1 || pieces[i][0] < '0' || pieces[i][0] > '4') return false;
    return true;
}

// The fields of a property text in the one encoding decided for the whole text. UTF-8 holds the
// separator byte inside some characters ("ä" is C3 A4), and an old Windows-1252 text holds it after
// letters that look like the start of a UTF-8 character ("ß" is DF, and DF A4 is valid UTF-8). When
// the two readings find different separators, the one that gives whole entries is the text's.
std::vector<std::string> decodeFields(std::string_view bytes, PropertyReadIssues& issues) {
    std::vector<std::string> utf8, cp1252;
    const bool canBeUtf8 = splitDecoded(bytes, kPropertySeparator, TextEncoding::Utf8, utf8);
    splitDecoded(bytes, kPropertySeparator, TextEncoding::Windows1252, cp1252);
    if (!canBeUtf8) {
        issues.oldCodePage = true;
        return cp1252;
    }
    if (utf8.size() == cp1252.size()) return utf8; // no separator byte inside a character
    const bool utf8Whole = wholeEntries(utf8);
    const bool cp1252Whole = wholeEntries(cp1252);
    if (cp1252Whole && !utf8Whole) {
        issues.oldCodePage = true;
        return cp1252;
    }
    if (utf8Whole && cp1252Whole) issues.ambiguousEncoding = true;
    return utf8;
}

bool parse(TablePropertyList& list, std::string_view bytes, PropertyReadIssues& issues) {
    list.clear();
    issues = PropertyReadIssues();
    if (bytes.empty()) return false;
    if (static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), kPropertySeparator)) >
        3 * kMaxEntries) {
        issues.tooLarge = true;
        return false;
    }
    std::vector<std::string> pieces = decodeFields(bytes, issues);
    // Only fields closed by a separator count: what follows the last one is unfinished.
    if (!pieces.back().empty()) issues.damaged = true;
    pieces.pop_back();
    if (pieces.size() % 3 != 0) issues.damaged = true;
    // An empty field is an empty value, never the end of the list: an empty header path must not
    // cost the margins behind it.
    for (std::size_t i = 0; i + 2 < pieces.size(); i += 3) {
        const Vor_String key(std::move(pieces[i]));
        bool exact = false;
        const std::int64_t code = atolLike(pieces[i + 1], exact);
        const bool knownCode = code >= TypedValue::None && code <= TypedValue::Text;
        if (!knownCode || !startsWithNumber(pieces[i + 1]))
            issues.unknownType = true; // "9", "zz", "": stored as type 0, its value is lost
        else if (!exact)
            issues.looseNumber = true; // " 4", "04"
        const std::string_view value = pieces[i + 2];
        TypedValue v;
        switch (code) {
        case TypedValue::Double:
            v = TypedValue::ofDouble(atofLike(value, exact));
            break;
        case TypedValue::Int: {
            const std::int64_t n = atolLike(value, exact);
            if (n < INT32_MIN || n > INT32_MAX) exact = false;
            v = TypedValue::ofInt(
                static_cast<std::int32_t>(std::clamp<std::int64_t>(n, INT32_MIN, INT32_MAX)));
            break;
        }
        case TypedValue::Long: {
            // Held in a double: beyond 2^53 it would not be written back as it was.
            const std::int64_t n = atolLike(value, exact);
            if (n < -(std::int64_t(1) << 53) || n > (std::int64_t(1) << 53)) exact = false;
            v = TypedValue::ofLong(n);
            break;
        }
        case TypedValue::Text:
            v = TypedValue::ofText(Vor_String(value));
            break;
        default:
            // Type 0 has no value; one given would be lost. Unknown types are counted above.
            if (code == TypedValue::None && !issues.unknownType && !value.empty()) issues.damaged = true;
            exact = true;
            v = TypedValue{};
            break;
        }
        if (!exact) issues.looseNumber = true;
        const int before = list.length();
        if (!list.set(key, v))
            issues.damaged = true; // an empty key
        else if (list.length() == before)
            issues.repeatedKey = true;
    }
    return true;
}

} // namespace

Vor_String PropertyReadIssues::describe() const {
    const std::pair<bool, const char*> parts[] = {
        {oldCodePage, "old code page"},
        {ambiguousEncoding, "encoding unclear"},
        {damaged, "damaged entries"},
        {unknownType, "unknown type"},
        {looseNumber, "numbers not in their written form"},
        {repeatedKey, "a key given twice"},
        {tooLarge, "too large"},
    };
    Vor_String out;
    for (const auto& [present, words] : parts) {
        if (!present) continue;
        if (!out.isEmpty()) out += ", ";
        out += words;
    }
    return out;
}

bool TablePropertyList::find(const Vor_String& key, int& index) const {
    const auto it = m_index.find(key.caseFolded());
    if (it == m_index.end()) return false;
    index = static_cast<int>(it->second);
    return true;
}

void TablePropertyList::rebuildIndex() {
    m_index.clear();
    m_index.reserve(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_index.emplace(m_entries[i].first.caseFolded(), i);
}

bool TablePropertyList::get(const Vor_String& key, TypedValue& out) const {
    int i;
    if (!find(key, i)) return false;
    out = valueAt(i);
    return true;
}

bool TablePropertyList::getDouble(const Vor_String& key, double& out) const {
    out = 0;
    TypedValue v;
    if (!get(key, v) || v.type != TypedValue::Double) return false;
    out = v.number;
    return true;
}

bool TablePropertyList::getInt(const Vor_String& key, int& out) const {
    out = 0;
    TypedValue v;
    if (!get(key, v) || v.type != TypedValue::Int) return false;
    out = static_cast<int>(v.number);
    return true;
}

bool TablePropertyList::getBool(const Vor_String& key, bool& out) const {
    out = false;
    TypedValue v;
    if (!get(key, v) || v.type != TypedValue::Int) return false;
    out = v.number != 0;
    return true;
}

bool TablePropertyList::getString(const Vor_String& key, Vor_String& out) const {
    out = Vor_String();
    TypedValue v;
    if (!get(key, v) || v.type != TypedValue::Text) return false;
    out = v.text;
    return true;
}

bool TablePropertyList::set(const Vor_String& key, const TypedValue& value) {
    if (key.isEmpty() || !isValidUtf8(key.view())) return false;
    switch (value.type) {
    case TypedValue::Text:
        if (!isValidUtf8(value.text.view())) return false;
        break;
    case TypedValue::Double:
        if (!std::isfinite(value.number)) return false;
        break;
    case TypedValue::Int:
        if (!(value.number >= INT32_MIN && value.number <= INT32_MAX) ||
            value.number != std::trunc(value.number))
            return false;
        break;
    case TypedValue::Long:
        if (!(value.number >= -0x1p63 && value.number < 0x1p63) || value.number != std::trunc(value.number))
            return false;
        break;
    case TypedValue::None:
        break;
    default:
        return false;
    }
    TypedValue v = value;
    if (v.type != TypedValue::Text) v.text = Vor_String();
    if (v.type == TypedValue::None) v.number = 0;
    const auto [it, added] = m_index.try_emplace(key.caseFolded(), m_entries.size());
    if (added)
        m_entries.emplace_back(key, v);
    else
        m_entries[it->second].second = v;
    return true;
}

bool TablePropertyList::remove(const Vor_String& key) {
    int i;
    if (!find(key, i)) return false;
    m_entries.erase(m_entries.begin() + i);
    rebuildIndex(); // the keys behind it moved up
    return true;
}

bool TablePropertyList::toText(Vor_String& out) const {
    std::string s;
    for (const auto& [key, v] : m_entries) {
        s += key.str();
        s += kPropertySeparator;
        s += std::to_string(static_cast<int>(v.type));
        s += kPropertySeparator;
        switch (v.type) {
        case TypedValue::Double: {
            std::string number;
            base::formatFixed(v.number, 2, number); // finite: set refuses anything else
            s += number;
            break;
        }
        case TypedValue::Int:
        case TypedValue::Long:
            s += std::to_string(static_cast<std::int64_t>(v.number));
            break;
        case TypedValue::Text:
            s += v.text.str();
            break;
        case TypedValue::None:
            break;
        }
        s += kPropertySeparator;
    }
    out = Vor_String(std::move(s));
    return true;
}

bool TablePropertyList::fromText(const Vor_String& text, PropertyReadIssues* issues) {
    PropertyReadIssues found;
    const bool ok = parse(*this, text.view(), found);
    if (issues) *issues = found;
    return ok;
}

bool TablePropertyList::writeFile(const Vor_String& path) const {
    if (path.isEmpty()) return false;
    Vor_String text;
    toText(text);
    return atomicWriteFile(toSlashes(path).str(), text.view());
}

bool TablePropertyList::readFile(const Vor_String& path, PropertyReadIssues* issues) {
    if (path.isEmpty()) return false;
    std::string bytes;
    if (!readWholeFile(toSlashes(path).str(), bytes, nullptr, kMaxFileBytes)) {
        if (issues) *issues = PropertyReadIssues();
        return false;
    }
    TablePropertyList read;
    PropertyReadIssues found;
    const bool parsed = parse(read, bytes, found);
    if (issues) *issues = found;
    if (found.tooLarge) return false;
    if (parsed || bytes.empty()) *this = std::move(read);
    return true;
}

bool TablePropertyList::writeArray(const Vor_String& base, const Vor_StringArray& items) {
    bool ok = true;
    for (int i = 0; i < items.length(); ++i)
        ok = setString(base + Vor_String(i), items[i]) && ok;
    return ok;
}

bool TablePropertyList::readArray(const Vor_String& base, Vor_StringArray& out) const {
    out = Vor_StringArray();
    for (int i = 0;; ++i) {
        TypedValue v;
        if (!get(base + Vor_String(i), v) || v.type != TypedValue::Text) break;
        out.append(v.text);
    }
    return true;
}

bool TablePropertyList::operator==(const TablePropertyList& o) const {
    if (m_entries.size() != o.m_entries.size()) return false;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (!(m_entries[i].first == o.m_entries[i].first) || !(m_entries[i].second == o.m_entries[i].second))
            return false;
    return true;
}

// ---- table properties

TableProperties TableProperties::newTable() {
    TableProperties p;
    p.marginLeft = 9;
    p.marginRight = 5;
    p.marginTop = 5;
    p.marginBottom = 5;
    p.smartPrint = false;
    p.colors = p.colHeader = p.rowHeader = p.cellSeperators = p.border = true;
    return p;
}

bool readTableProperties(const Vor_String& text, TableProperties& p) {
    TablePropertyList list;
    list.fromText(text);
    list.getString("headerFile", p.headerFile);
    list.getString("footerFile", p.footerFile);
    list.getInt("marginLeft", p.marginLeft);
    list.getInt("marginRight", p.marginRight);
    list.getInt("marginTop", p.marginTop);
    list.getInt("marginBottom", p.marginBottom);
    list.getBool("smartPrint", p.smartPrint);
    list.getBool("colors", p.colors);
    list.getBool("colHeader", p.colHeader);
    list.getBool("rowHeader", p.rowHeader);
    list.getBool("cellSeperators", p.cellSeperators);
    list.getBool("border", p.border);
    list.readArray("varNames", p.varNames);
    list.readArray("varValues", p.varValues);
    int names = p.varNames.length(), values = p.varValues.length();
    if (names == values) return true;
    int n = std::min(names, values);
    p.varNames.setLogicalLength(n);
    p.varValues.setLogicalLength(n);
    return false;
}

bool writeTableProperties(Vor_String& out, const TableProperties& p) {
    TablePropertyList list;
    bool ok = list.setString("headerFile", p.headerFile);
    ok = list.setString("footerFile", p.footerFile) && ok;
    list.setInt("marginLeft", p.marginLeft);
    list.setInt("marginRight", p.marginRight);
    list.setInt("marginTop", p.marginTop);
    list.setInt("marginBottom", p.marginBottom);
    list.setBool("smartPrint", p.smartPrint);
    list.setBool("colors", p.colors);
    list.setBool("colHeader", p.colHeader);
    list.setBool("rowHeader", p.rowHeader);
    list.setBool("cellSeperators", p.cellSeperators);
    list.setBool("border", p.border);
    ok = list.writeArray("varNames", p.varNames) && ok;
    ok = list.writeArray("varValues", p.varValues) && ok;
    list.toText(out);
    return ok;
}

// ---- header files

namespace {
Vor_String labelKey(int i, const char* field) {
    return Vor_String("LabelArr") + Vor_String(i) + Vor_String(field);
}
} // namespace

bool readHeaderFile(const Vor_String& path, HeaderFile& h) {
    TablePropertyList list;
    if (!list.readFile(path)) return false;
    h = HeaderFile();
    list.getString("standardFont", h.standardFont);
    list.getString("BMPSource", h.bmpSource);
    list.getInt("origBmpWidth", h.origBmpWidth);
    list.getInt("origBmpHeight", h.origBmpHeight);
    list.getDouble("zoomFactor", h.zoomFactor);
    for (int i = 0;; ++i) {
        HeaderLabel l;
        if (!list.getDouble(labelKey(i, "x1"), l.x1) || !list.getDouble(labelKey(i, "y1"), l.y1) ||
            !list.getDouble(labelKey(i, "x2"), l.x2) || !list.getDouble(labelKey(i, "y2"), l.y2) ||
            !list.getString(labelKey(i, "text"), l.text))
            break;
        h.labels.append(l);
    }
    return true;
}

bool writeHeaderFile(const Vor_String& path, const HeaderFile& h) {
    TablePropertyList list;
    bool ok = list.setString("standardFont", h.standardFont);
    ok = list.setString("BMPSource", h.bmpSource) && ok;
    list.setInt("origBmpWidth", h.origBmpWidth);
    list.setInt("origBmpHeight", h.origBmpHeight);
    list.setDouble("zoomFactor", h.zoomFactor);
    for (int i = 0; i < h.labels.length(); ++i) {
        const HeaderLabel& l = h.labels[i];
        list.setDouble(labelKey(i, "x1"), l.x1);
        list.setDouble(labelKey(i, "y1"), l.y1);
        list.setDouble(labelKey(i, "x2"), l.x2);
        list.setDouble(labelKey(i, "y2"), l.y2);
        ok = list.setString(labelKey(i, "text"), l.text) && ok;
    }
    return ok && list.writeFile(path);
}

// ---- file references

namespace {

bool isRelative(const Vor_String& path) {
    return !path.isEmpty() && toSlashes(path).str().front() != '/';
}

// Where a reference points: a relative one against the table's folder, never against the working
// directory of whoever opened the table. A new table (no document) has no folder for it.
std::optional<std::string> locateReference(const Vor_String& path, const Vor_String& documentPath) {
    if (path.isEmpty()) return std::nullopt;
    if (!isRelative(path)) return findExistingPath(path);
    if (documentPath.isEmpty()) return std::nullopt;
    return findExistingPath(folderWithSlash(getFolder(toSlashes(documentPath))) + toSlashes(path));
}

int resolveReference(Vor_String& path, const Vor_String& documentPath, std::string& actual) {
    if (auto found = locateReference(path, documentPath)) {
        actual = *found;
        return 1;
    }
    if (path.isEmpty() || documentPath.isEmpty()) return -1;
    Vor_String nearby = folderWithSlash(getFolder(toSlashes(documentPath))) + getFileName(toSlashes(path));
    if (auto found = findExistingPath(nearby)) {
        path = Vor_String(*found);
        actual = *found;
        return 0;
    }
    return -1;
}

// True when `file`, with every symbolic link followed, lies directly in the document's folder: the
// only place an automatic repair of an opened table may write. A table comes from anywhere, and its
// references may name shared files (the library's header) or links out of its folder.
bool insideDocumentFolder(const std::string& file, const Vor_String& documentPath) {
    if (documentPath.isEmpty()) return false;
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(file, ec);
    if (ec) return false;
    Vor_String folder = getFolder(toSlashes(documentPath));
    if (folder.isEmpty()) folder = "./";
    const std::filesystem::path realFolder = std::filesystem::canonical(folder.str(), ec);
    return !ec && real.parent_path() == realFolder;
}

} // namespace

int resolveNearDocument(Vor_String& path, const Vor_String& documentPath) {
    std::string actual;
    return resolveReference(path, documentPath, actual);
}

namespace {

// True when `key` (lower-cased) is `prefix` + a number as the writers give it + one of `suffixes`.
bool isNumberedKey(std::string_view key, std::string_view prefix,
                   std::initializer_list<std::string_view> suffixes) {
    if (key.substr(0, prefix.size()) != prefix) return false;
    key.remove_prefix(prefix.size());
    std::size_t digits = 0;
    while (digits < key.size() && isDigit(key[digits]))
        ++digits;
    if (digits == 0 || digits > 9 || (digits > 1 && key[0] == '0')) return false;
    key.remove_prefix(digits);
    return std::find(suffixes.begin(), suffixes.end(), key) != suffixes.end();
}

bool hasOnlyKeys(const TablePropertyList& list, std::initializer_list<std::string_view> single,
                 bool (*numbered)(std::string_view)) {
    for (int i = 0; i < list.length(); ++i) {
        const Vor_String lower = list.keyAt(i).toLower();
        if (std::find(single.begin(), single.end(), lower.view()) == single.end() && !numbered(lower.view()))
            return false;
    }
    return true;
}

} // namespace

bool hasOnlyHeaderKeys(const TablePropertyList& list) {
    return hasOnlyKeys(list, {"standardfont", "bmpsource", "origbmpwidth", "origbmpheight", "zoomfactor"},
                       [](std::string_view k) {
                           return isNumberedKey(k, "labelarr", {"x1", "y1", "x2", "y2", "text"});
                       });
}

bool hasOnlyTablePropertyKeys(const TablePropertyList& list) {
    return hasOnlyKeys(list,
                       {"headerfile", "footerfile", "marginleft", "marginright", "margintop", "marginbottom",
                        "smartprint", "colors", "colheader", "rowheader", "cellseperators", "border"},
                       [](std::string_view k) {
                           return isNumberedKey(k, "varnames", {""}) || isNumberedKey(k, "varvalues", {""});
                       });
}

bool checkFileReferences(Vor_String& cornerTag, const Vor_String& documentPath, Vor_StringArray* skipped) {
    const auto skip = [&](const Vor_String& what, const PropertyReadIssues& issues, bool knownKeys) {
        if (!skipped) return;
        Vor_String why = issues.describe();
        if (!knownKeys) why += why.isEmpty() ? "unknown keys" : ", unknown keys";
        skipped->append(what + " not rewritten: it was not read cleanly (" + why + ")");
    };
    bool tagChanged = false;
    for (const char* key : {"headerFile", "footerFile"}) {
        TablePropertyList tag;
        PropertyReadIssues tagIssues;
        tag.fromText(cornerTag, &tagIssues);
        Vor_String path;
        tag.getString(key, path);
        if (path.isEmpty()) continue;
        std::string headerFile;
        int found = resolveReference(path, documentPath, headerFile);
        if (found < 0) continue;
        TablePropertyList header;
        PropertyReadIssues headerIssues;
        if (header.readFile(headerFile, &headerIssues)) {
            Vor_String picture;
            header.getString("BMPSource", picture);
            std::string pictureFile;
            if (!picture.isEmpty() && resolveReference(picture, documentPath, pictureFile) == 0) {
                // Writing back a list that was misread (an old code page, damage, keys of another
                // version) would destroy labels the person made; such a file is left as it is. A
                // header outside the table's folder may be shared by other tables or other people:
                // opening a table from elsewhere never rewrites it.
                const bool known = hasOnlyHeaderKeys(header);
                if (!insideDocumentFolder(headerFile, documentPath)) {
                    if (skipped)
                        skipped->append("header file " + Vor_String(headerFile) +
                                        " not rewritten: it is not in the table's folder");
                } else if (headerIssues.clean() && known) {
                    header.remove("BMPSource");
                    header.setString("BMPSource", picture);
                    header.writeFile(headerFile);
                } else {
                    skip("header file " + Vor_String(headerFile), headerIssues, known);
                }
            }
        }
        if (found == 0) {
            const bool known = hasOnlyTablePropertyKeys(tag);
            if (!tagIssues.clean() || !known) {
                skip(Vor_String("table properties"), tagIssues, known);
                continue;
            }
            tag.remove(key);
            tag.setString(key, path);
            tag.toText(cornerTag);
            tagChanged = true;
        }
    }
    return tagChanged;
}
