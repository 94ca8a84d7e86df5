#include "calc/TablePropertyList.h"

#include <host/FileUtils.h>
#include <host/VorUtils.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

bool sameKey(const Vor_String& a, const Vor_String& b) { return a.equal(b, false); }

/// True when the text holds the separator byte on its own.
bool holdsSeparator(const Vor_String& s) { return strToArr(s, kPropertySeparator).length() > 1; }

// Number reading as the classic atoi/atof: leading blanks, then the longest number that fits, else 0.
// Independent of the process locale, which the windowing toolkit sets.
std::string_view numberPrefix(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    return s;
}

double atofLike(std::string_view s) {
    s = numberPrefix(s);
    double v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() ? v : 0.0;
}

std::int64_t atolLike(std::string_view s) {
    s = numberPrefix(s);
    std::int64_t v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() ? v : 0;
}

std::string fixed2(double v) {
    char buf[64];
    // Half-way cases round as printf does; -0.00 is written as 0.00.
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    std::string s(buf, r.ptr);
    if (s == "-0.00") s = "0.00";
    return s;
}

bool parse(TablePropertyList& list, const Vor_String& text) {
    list.clear();
    if (text.isEmpty()) return false;
    Vor_StringArray pieces = strToArr(text, kPropertySeparator);
    // Only fields closed by a separator count: what follows the last one is unfinished.
    pieces.setLogicalLength(pieces.length() - 1);
    // An empty field is an empty value, never the end of the list: an empty header path must not
    // cost the margins behind it.
    for (int i = 0; i + 2 < pieces.length(); i += 3) {
        const Vor_String& key = pieces[i];
        int type = static_cast<int>(atolLike(pieces[i + 1].view()));
        const Vor_String& value = pieces[i + 2];
        TypedValue v;
        switch (type) {
        case TypedValue::Double: v = TypedValue::ofDouble(atofLike(value.view())); break;
        case TypedValue::Int: v = TypedValue::ofInt(static_cast<std::int32_t>(atolLike(value.view()))); break;
        case TypedValue::Long: v = TypedValue::ofLong(atolLike(value.view())); break;
        case TypedValue::Text: v = TypedValue::ofText(value); break;
        default: v = TypedValue{}; break;
        }
        list.set(key, v);
    }
    return true;
}

} // namespace

bool TablePropertyList::find(const Vor_String& key, int& index) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (sameKey(m_entries[i].first, key)) {
            index = static_cast<int>(i);
            return true;
        }
    return false;
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
    if (key.isEmpty() || holdsSeparator(key)) return false;
    if (value.type == TypedValue::Text && holdsSeparator(value.text)) return false;
    TypedValue v = value;
    if (v.type != TypedValue::Text) v.text = Vor_String();
    int i;
    if (find(key, i))
        m_entries[static_cast<size_t>(i)].second = v;
    else
        m_entries.emplace_back(key, v);
    return true;
}

bool TablePropertyList::remove(const Vor_String& key) {
    int i;
    if (!find(key, i)) return false;
    m_entries.erase(m_entries.begin() + i);
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
        case TypedValue::Double: s += fixed2(v.number); break;
        case TypedValue::Int:
        case TypedValue::Long: s += std::to_string(static_cast<std::int64_t>(v.number)); break;
        case TypedValue::Text: s += v.text.str(); break;
        case TypedValue::None: break;
        }
        s += kPropertySeparator;
    }
    out = Vor_String(std::move(s));
    return true;
}

bool TablePropertyList::fromText(const Vor_String& text) { return parse(*this, text); }

bool TablePropertyList::writeFile(const Vor_String& path) const {
    if (path.isEmpty()) return false;
    Vor_String text;
    toText(text);
    return atomicWriteFile(toSlashes(path).str(), text.view());
}

bool TablePropertyList::readFile(const Vor_String& path) {
    if (path.isEmpty()) return false;
    std::string bytes;
    if (!readWholeFile(toSlashes(path).str(), bytes)) return false;
    TablePropertyList read;
    parse(read, Vor_String(std::move(bytes)));
    *this = std::move(read);
    return true;
}

bool TablePropertyList::writeArray(const Vor_String& base, const Vor_StringArray& items) {
    bool ok = true;
    for (int i = 0; i < items.length(); ++i) ok = setString(base + Vor_String(i), items[i]) && ok;
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
Vor_String labelKey(int i, const char* field) { return Vor_String("LabelArr") + Vor_String(i) + Vor_String(field); }
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

int resolveNearDocument(Vor_String& path, const Vor_String& documentPath) {
    if (!path.isEmpty() && findExistingPath(path)) return 1;
    if (path.isEmpty() || documentPath.isEmpty()) return -1;
    Vor_String nearby = folderWithSlash(getFolder(toSlashes(documentPath))) + getFileName(toSlashes(path));
    if (auto found = findExistingPath(nearby)) {
        path = Vor_String(*found);
        return 0;
    }
    return -1;
}

bool checkFileReferences(Vor_String& cornerTag, const Vor_String& documentPath) {
    bool tagChanged = false;
    for (const char* key : {"headerFile", "footerFile"}) {
        TablePropertyList tag;
        tag.fromText(cornerTag);
        Vor_String path;
        tag.getString(key, path);
        if (path.isEmpty()) continue;
        int found = resolveNearDocument(path, documentPath);
        if (found < 0) continue;
        TablePropertyList header;
        if (header.readFile(path)) {
            Vor_String picture;
            header.getString("BMPSource", picture);
            if (!picture.isEmpty() && resolveNearDocument(picture, documentPath) == 0) {
                TablePropertyList fresh;
                if (fresh.readFile(path)) {
                    fresh.remove("BMPSource");
                    fresh.setString("BMPSource", picture);
                    fresh.writeFile(path);
                }
            }
        }
        if (found == 0) {
            tag.remove(key);
            tag.setString(key, path);
            tag.toText(cornerTag);
            tagChanged = true;
        }
    }
    return tagChanged;
}
