#include <host/Vor_PropertiesList.h>

#include <host/FileUtils.h>
#include <host/TextCodec.h>

#include <base/NumberText.h>

#include <charconv>
#include <cmath>

namespace {

constexpr const char* kHeader = "# Vorlane property list: NAME<TAB>int|double|text<TAB>VALUE\n";

// Budgets far above any real list (a dialog template holds a few thousand values), so that a damaged
// or hostile file is refused before it costs memory without bound.
constexpr std::size_t kMaxFileBytes = std::size_t(16) << 20;
constexpr std::size_t kMaxLineBytes = std::size_t(1) << 20;
constexpr int kMaxEntries = 200000;

std::string escape(std::string_view in, bool isName) {
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        switch (const char c = in[i]) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '#':
            out += (isName && i == 0) ? "\\#" : "#";
            break; // a line starting with # is a comment
        default:
            out += c;
        }
    }
    return out;
}

bool unescape(std::string_view in, std::string& out, std::string& what) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (++i == in.size()) {
            what = "backslash at the end of the line";
            return false;
        }
        switch (in[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '#':
            out += '#';
            break;
        default:
            what = std::string("unknown escape \\") + in[i];
            return false;
        }
    }
    return true;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool parseInt(std::string_view s, int& value) {
    s = trimBlanks(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

} // namespace

Acad::ErrorStatus Vor_PropertiesList::set(const Vor_String& name, Value value) {
    if (name.isEmpty()) return Acad::eInvalidInput;
    if (const auto it = m_index.find(name.str()); it != m_index.end()) {
        m_entries[it->second].value = std::move(value);
    } else {
        m_index.emplace(name.str(), m_entries.size());
        m_entries.push_back({name, std::move(value)});
    }
    return Acad::eOk;
}

const Vor_PropertiesList::Value* Vor_PropertiesList::lookUp(const Vor_String& name) const {
    const auto it = m_index.find(name.str());
    return it == m_index.end() ? nullptr : &m_entries[it->second].value;
}

Acad::ErrorStatus Vor_PropertiesList::setProperty(const Vor_String& name, const Vor_String& value) {
    return set(name, value);
}

Acad::ErrorStatus Vor_PropertiesList::setProperty(const Vor_String& name, const char* value) {
    return set(name, Vor_String(value));
}

Acad::ErrorStatus Vor_PropertiesList::setProperty(const Vor_String& name, int value) {
    return set(name, value);
}

Acad::ErrorStatus Vor_PropertiesList::setProperty(const Vor_String& name, double value) {
    // NaN and infinities have no number text and would not read back.
    if (!std::isfinite(value)) return Acad::eInvalidInput;
    return set(name, value);
}

Acad::ErrorStatus Vor_PropertiesList::getProperty(const Vor_String& name, Vor_String& value) const {
    const Value* v = lookUp(name);
    if (!v) return Acad::eKeyNotFound;
    const auto* text = std::get_if<Vor_String>(v);
    if (!text) return Acad::eInvalidInput;
    value = *text;
    return Acad::eOk;
}

Acad::ErrorStatus Vor_PropertiesList::getProperty(const Vor_String& name, int& value) const {
    const Value* v = lookUp(name);
    if (!v) return Acad::eKeyNotFound;
    const int* n = std::get_if<int>(v);
    if (!n) return Acad::eInvalidInput;
    value = *n;
    return Acad::eOk;
}

Acad::ErrorStatus Vor_PropertiesList::getProperty(const Vor_String& name, double& value) const {
    const Value* v = lookUp(name);
    if (!v) return Acad::eKeyNotFound;
    if (const double* d = std::get_if<double>(v))
        value = *d;
    else if (const int* n = std::get_if<int>(v))
        value = *n;
    else
        return Acad::eInvalidInput;
    return Acad::eOk;
}

Acad::ErrorStatus Vor_PropertiesList::getType(const Vor_String& name, Type& type) const {
    const Value* v = lookUp(name);
    if (!v) return Acad::eKeyNotFound;
    type = static_cast<Type>(v->index());
    return Acad::eOk;
}

Acad::ErrorStatus Vor_PropertiesList::removeProperty(const Vor_String& name) {
    const auto it = m_index.find(name.str());
    if (it == m_index.end()) return Acad::eKeyNotFound;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(it->second));
    m_index.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_index.emplace(m_entries[i].name.str(), i);
    return Acad::eOk;
}

void Vor_PropertiesList::clear() {
    m_entries.clear();
    m_index.clear();
}

Vor_StringArray Vor_PropertiesList::names() const {
    Vor_StringArray out;
    for (const Entry& e : m_entries)
        out.append(e.name);
    return out;
}

std::string Vor_PropertiesList::toText() const {
    std::string out = kHeader;
    for (const Entry& e : m_entries) {
        out += escape(e.name.view(), true);
        if (const auto* text = std::get_if<Vor_String>(&e.value))
            out += "\ttext\t" + escape(text->view(), false);
        else if (const int* n = std::get_if<int>(&e.value))
            out += "\tint\t" + std::to_string(*n);
        else if (std::string number; base::formatShortest(std::get<double>(e.value), number))
            out += "\tdouble\t" + number;
        else
            continue; // unreachable: setProperty refuses what has no number text
        out += '\n';
    }
    return out;
}

Acad::ErrorStatus Vor_PropertiesList::fromText(std::string_view text, const std::string& source,
                                               std::string* error) {
    Vor_PropertiesList result;
    std::unordered_map<std::string, int> lineOf;
    int lineNo = 0;
    const auto fail = [&](Acad::ErrorStatus status, const std::string& what) {
        if (error) *error = source + ":" + std::to_string(lineNo) + ": " + what;
        return status;
    };
    if (text.size() > kMaxFileBytes) {
        if (error) *error = source + ": the text is larger than 16 MiB";
        return Acad::eInvalidInput;
    }
    // One encoding for the whole file: an old file is Windows-1252 throughout, also in lines that
    // happen to be valid UTF-8.
    const std::string decoded = decodeText(stripUtf8Bom(text));
    std::string_view rest = decoded;
    while (!rest.empty()) {
        ++lineNo;
        const std::size_t nl = rest.find('\n');
        std::string_view line = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        if (line.size() > kMaxLineBytes) return fail(Acad::eInvalidInput, "line longer than 1 MiB");
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (trimBlanks(line).empty() || line.front() == '#') continue;
        if (result.length() >= kMaxEntries)
            return fail(Acad::eInvalidInput, "more than " + std::to_string(kMaxEntries) + " properties");
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) return fail(Acad::eInvalidInput, "expected NAME<TAB>TYPE<TAB>VALUE");
        std::string name, what;
        if (!unescape(std::string_view(line).substr(0, tab1), name, what))
            return fail(Acad::eInvalidInput, what);
        if (name.empty()) return fail(Acad::eInvalidInput, "empty name");
        const std::string_view type = std::string_view(line).substr(tab1 + 1, tab2 - tab1 - 1);
        const std::string_view value = std::string_view(line).substr(tab2 + 1);
        Value parsed;
        if (type == "text") {
            std::string unescaped;
            if (!unescape(value, unescaped, what)) return fail(Acad::eInvalidInput, what);
            parsed = Vor_String(std::move(unescaped));
        } else if (type == "int") {
            int n = 0;
            if (!parseInt(value, n))
                return fail(Acad::eInvalidInput,
                            "'" + std::string(value) + "' is not an int (name " + name + ")");
            parsed = n;
        } else if (type == "double") {
            double d = 0.0;
            if (!base::parseNumber(value, d))
                return fail(Acad::eInvalidInput,
                            "'" + std::string(value) + "' is not a number (name " + name + ")");
            parsed = d;
        } else {
            return fail(Acad::eInvalidInput,
                        "unknown type '" + std::string(type) + "' (int, double or text)");
        }
        if (const auto seen = lineOf.find(name); seen != lineOf.end())
            return fail(Acad::eDuplicateKey,
                        "name '" + name + "' already given on line " + std::to_string(seen->second));
        lineOf.emplace(name, lineNo);
        result.set(Vor_String(name), std::move(parsed));
    }
    *this = std::move(result);
    return Acad::eOk;
}

Acad::ErrorStatus Vor_PropertiesList::readFromFile(const Vor_String& path, std::string* error) {
    std::string bytes;
    if (!readWholeFile(path.str(), bytes, error, kMaxFileBytes))
        return fileExists(path) ? Acad::eFileAccessErr : Acad::eFileNotFound;
    return fromText(bytes, path.str(), error);
}

Acad::ErrorStatus Vor_PropertiesList::writeToFile(const Vor_String& path, std::string* error) const {
    return atomicWriteFile(path.str(), toText(), error) ? Acad::eOk : Acad::eFileAccessErr;
}
