#include <host/MacroLibrary.h>

#include <host/FileUtils.h>
#include <host/Settings.h>
#include <host/VorJson.h>

#include <base/FileRead.h>
#include <base/PathPart.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>

using nlohmann::json;

MacroDefinition::MacroDefinition() = default;
MacroDefinition::~MacroDefinition() = default;
MacroDefinition::MacroDefinition(const MacroDefinition&) = default;
MacroDefinition& MacroDefinition::operator=(const MacroDefinition&) = default;

// ---- expressions

namespace {

class ExprParser {
public:
    ExprParser(std::string_view text, const std::function<bool(const std::string&, double&)>& lookUp)
        : m_text(text)
        , m_lookUp(lookUp) {}

    bool run(double& value, std::string& error) {
        if (m_text.size() > kMaxMacroExpressionBytes) {
            error = "the expression is longer than " + std::to_string(kMaxMacroExpressionBytes) + " bytes";
            return false;
        }
        if (!sum(value)) {
            error = m_error;
            return false;
        }
        skip();
        if (m_pos != m_text.size()) {
            error = "unexpected '" + std::string(m_text.substr(m_pos, 1)) + "' in \"" + std::string(m_text) +
                    "\"";
            return false;
        }
        if (!std::isfinite(value)) {
            error = "\"" + std::string(m_text) + "\" gives no finite number";
            return false;
        }
        return true;
    }

private:
    void skip() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
            ++m_pos;
    }
    bool fail(const std::string& why) {
        if (m_error.empty()) m_error = why;
        return false;
    }
    bool sum(double& v) {
        if (!product(v)) return false;
        for (;;) {
            skip();
            if (m_pos >= m_text.size() || (m_text[m_pos] != '+' && m_text[m_pos] != '-')) return true;
            const char op = m_text[m_pos++];
            double r = 0;
            if (!product(r)) return false;
            v = op == '+' ? v + r : v - r;
        }
    }
    bool product(double& v) {
        if (!unary(v)) return false;
        for (;;) {
            skip();
            if (m_pos >= m_text.size() || (m_text[m_pos] != '*' && m_text[m_pos] != '/')) return true;
            const char op = m_text[m_pos++];
            double r = 0;
            if (!unary(r)) return false;
            if (op == '/' && r == 0) return fail("division by 0 in \"" + std::string(m_text) + "\"");
            v = op == '*' ? v * r : v / r;
        }
    }
    bool unary(double& v) {
        skip();
        if (m_pos < m_text.size() && m_text[m_pos] == '-') {
            ++m_pos;
            if (++m_depth > 64) return fail("too deeply nested");
            const bool ok = unary(v);
            --m_depth;
            v = -v;
            return ok;
        }
        return primary(v);
    }
    bool primary(double& v) {
        skip();
        if (m_pos >= m_text.size()) return fail("\"" + std::string(m_text) + "\" ends too early");
        const char c = m_text[m_pos];
        if (c == '(') {
            ++m_pos;
            if (++m_depth > 64) return fail("too deeply nested");
            if (!sum(v)) return false;
            --m_depth;
            skip();
            if (m_pos >= m_text.size() || m_text[m_pos] != ')')
                return fail("a ')' is missing in \"" + std::string(m_text) + "\"");
            ++m_pos;
            return true;
        }
        if ((c >= '0' && c <= '9') || c == '.') {
            const char* begin = m_text.data() + m_pos;
            auto [end, ec] = std::from_chars(begin, m_text.data() + m_text.size(), v);
            if (ec != std::errc()) return fail("a malformed number in \"" + std::string(m_text) + "\"");
            m_pos += static_cast<std::size_t>(end - begin);
            return true;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            std::size_t start = m_pos;
            while (m_pos < m_text.size() && (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) ||
                                             m_text[m_pos] == '_' || m_text[m_pos] == '.'))
                ++m_pos;
            const std::string name(m_text.substr(start, m_pos - start));
            if (!m_lookUp(name, v)) return fail("unknown name or no number: \"" + name + "\"");
            return true;
        }
        return fail("unexpected '" + std::string(1, c) + "' in \"" + std::string(m_text) + "\"");
    }

    std::string_view m_text;
    const std::function<bool(const std::string&, double&)>& m_lookUp;
    std::size_t m_pos = 0;
    int m_depth = 0;
    std::string m_error;
};

} // namespace

bool evaluateMacroExpression(std::string_view text,
                             const std::function<bool(const std::string&, double&)>& lookUp, double& value,
                             std::string* error) {
    std::string why;
    double v = 0;
    if (!ExprParser(text, lookUp).run(v, why)) {
        if (error) *error = why;
        return false;
    }
    value = v;
    return true;
}

// ---- section sizes

namespace {

struct SectionTable {
    std::filesystem::file_time_type time{};
    std::uintmax_t bytes = 0;
    std::map<std::string, SectionSize> rows;
};

std::mutex gSectionMutex;
std::map<std::string, SectionTable> gSectionTables;

bool loadSectionTable(const std::string& path, SectionTable& table) {
    std::string text;
    if (!base::readRegularFile(path, text, 16u << 20, nullptr)) return false;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line); // version
    std::getline(in, line); // header
    auto split = [](const std::string& l) {
        std::vector<std::string> fields;
        std::string f;
        std::istringstream s(l);
        while (std::getline(s, f, ';')) {
            if (!f.empty() && f.back() == '\r') f.pop_back();
            fields.push_back(f);
        }
        return fields;
    };
    const std::vector<std::string> header = split(line);
    auto column = [&](const char* name) {
        auto it = std::find(header.begin(), header.end(), name);
        return it == header.end() ? -1 : static_cast<int>(it - header.begin());
    };
    // flat bars and plates have a thickness where sections have a height and a web
    const int w = column("Width"), h = column("Height") >= 0 ? column("Height") : column("Thickness"),
              tw = column("Web thickness") >= 0 ? column("Web thickness") : column("Thickness"),
              tf = column("Flange thickness");
    if (w < 0 || h < 0) return false;
    auto number = [](const std::vector<std::string>& f, int c) {
        if (c < 0 || c >= static_cast<int>(f.size())) return 0.0;
        Vor_String t(f[static_cast<std::size_t>(c)]);
        bool ok = false;
        const double v = t.toDouble(&ok);
        return ok ? v : 0.0;
    };
    int count = 0;
    while (std::getline(in, line) && ++count < 100000) {
        const std::vector<std::string> f = split(line);
        if (f.empty() || f[0].empty()) continue;
        table.rows.emplace(f[0], SectionSize{number(f, w), number(f, h), number(f, tw), number(f, tf)});
    }
    return true;
}

} // namespace

bool sectionSize(const Vor_String& section, SectionSize& size) {
    const int space = section.find(" ");
    if (space <= 0) return false;
    const std::string tableName = section.left(space).str();
    const std::string key = section.mid(space + 1).trim().str();
    if (!base::isPathPart(tableName)) return false;
    const std::string path = gSettings.libDir.str() + "prof/" + tableName + ".pr";
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    if (ec) return false;
    const auto bytes = std::filesystem::file_size(path, ec);
    if (ec) return false;
    std::lock_guard lock(gSectionMutex);
    auto it = gSectionTables.find(path);
    if (it == gSectionTables.end() || it->second.time != time || it->second.bytes != bytes) {
        SectionTable table;
        table.time = time;
        table.bytes = bytes;
        if (!loadSectionTable(path, table)) return false;
        it = gSectionTables.insert_or_assign(path, std::move(table)).first;
    }
    auto row = it->second.rows.find(key);
    if (row == it->second.rows.end()) return false;
    size = row->second;
    return size.width > 0 && size.height > 0;
}

// ---- reading definitions

namespace {

/// Deepest nesting of brackets outside strings.
int jsonDepth(std::string_view text) {
    int depth = 0, most = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"')
            inString = true;
        else if (c == '[' || c == '{')
            most = std::max(most, ++depth);
        else if (c == ']' || c == '}')
            --depth;
    }
    return most;
}

std::string expressionOf(const json& j, const std::string& what) {
    if (j.is_number()) {
        const double v = j.get<double>();
        if (!std::isfinite(v)) throw std::runtime_error(what + " is no finite number");
        std::ostringstream s;
        s.imbue(std::locale::classic());
        s << v;
        return s.str();
    }
    if (!j.is_string()) throw std::runtime_error(what + " must be a number or an expression");
    std::string text = j.get<std::string>();
    if (text.size() > kMaxMacroExpressionBytes)
        throw std::runtime_error(what + " is longer than " + std::to_string(kMaxMacroExpressionBytes) +
                                 " bytes");
    // Checked now, so that a typing error shows when the library is read, not at the first commit.
    std::string error;
    double ignored = 0;
    if (!evaluateMacroExpression(
            text, [](const std::string&, double& v) { return v = 1, true; }, ignored, &error) &&
        error.find("division by 0") == std::string::npos)
        throw std::runtime_error(what + ": " + error);
    return text;
}

MacroElement::Vec vectorOf(const json& j, const std::string& what) {
    if (!j.is_array() || j.size() != 3)
        throw std::runtime_error(what + " must be three numbers or expressions");
    return {expressionOf(j[0], what), expressionOf(j[1], what), expressionOf(j[2], what)};
}

std::string textOf(const json& e, const char* key, const std::string& what) {
    const auto it = e.find(key);
    if (it == e.end()) return {};
    if (!it->is_string()) throw std::runtime_error(what + ": \"" + key + "\" must be a text");
    const std::string s = it->get<std::string>();
    if (s.size() > cad::kMaxNameBytes) throw std::runtime_error(what + ": \"" + key + "\" is too long");
    return s;
}

MacroElement elementOf(const json& e, int index) {
    const std::string what = "element " + std::to_string(index + 1);
    if (!e.is_object()) throw std::runtime_error(what + " must be an object");
    MacroElement m;
    m.key = textOf(e, "key", what);
    if (m.key.empty() || m.key.find('#') != std::string::npos || !base::isPathPart(m.key))
        throw std::runtime_error(what +
                                 " needs a \"key\": a short name without '#', '/' or control characters");
    const std::string kind = textOf(e, "kind", what);
    static const std::map<std::string, MacroElement::Kind> kinds{
        {"plate", MacroElement::Plate},     {"bolts", MacroElement::Bolts},
        {"profile", MacroElement::Profile}, {"coordsys", MacroElement::CoordSys},
        {"cut", MacroElement::Cut},         {"block", MacroElement::Block}};
    const auto k = kinds.find(kind);
    if (k == kinds.end())
        throw std::runtime_error(what + " (\"" + m.key + "\"): kind \"" + kind +
                                 "\" is none of plate, bolts, profile, coordsys, cut, block");
    m.kind = k->second;
    const std::string w = what + " (\"" + m.key + "\")";
    if (e.contains("if")) m.condition = expressionOf(e["if"], w + " if");
    m.repeat = textOf(e, "repeat", w);
    m.pattern = textOf(e, "pattern", w);
    m.boltTab = textOf(e, "boltTab", w);
    m.group = textOf(e, "group", w);
    m.tab = textOf(e, "tab", w);
    const std::pair<const char*, MacroElement::Vec*> vectors[] = {
        {"origin", &m.origin}, {"xaxis", &m.xaxis}, {"yaxis", &m.yaxis}, {"end", &m.end},
        {"u", &m.u},           {"v", &m.v},         {"axis", &m.axis},   {"normal", &m.normal}};
    for (const auto& [key, vec] : vectors)
        if (e.contains(key)) *vec = vectorOf(e[key], w + " " + key);
    const std::pair<const char*, std::string*> numbers[] = {{"width", &m.width},
                                                            {"height", &m.height},
                                                            {"thickness", &m.thickness},
                                                            {"length", &m.length},
                                                            {"size", &m.size}};
    for (const auto& [key, text] : numbers)
        if (e.contains(key)) *text = expressionOf(e[key], w + " " + key);
    if (e.contains("insertion"))
        m.insertion = static_cast<int>(jsonInteger(e["insertion"], "insertion", 0, 8));
    if (e.contains("props")) {
        if (!e["props"].is_object()) throw std::runtime_error(w + ": \"props\" must be an object");
        if (e["props"].size() > 50) throw std::runtime_error(w + ": more than 50 props");
        for (const auto& [key, value] : e["props"].items()) {
            if (key.empty() || key.size() > cad::kMaxNameBytes || key == "gen")
                throw std::runtime_error(w + ": the prop name \"" + key + "\" is not allowed");
            m.props.emplace_back(key, expressionOf(value, w + " prop " + key));
        }
    }
    if (m.kind == MacroElement::Bolts && m.pattern.empty())
        throw std::runtime_error(w + " names no \"pattern\"");
    if (m.kind == MacroElement::Profile && m.group.empty())
        throw std::runtime_error(w + " names no \"group\"");
    if (m.kind == MacroElement::Block && m.tab.empty()) throw std::runtime_error(w + " names no \"tab\"");
    return m;
}

void checkTab(const MacroTabData& tab, int index) {
    const std::string what = "tab " + std::to_string(index + 1);
    if (tab.moduleName.isEmpty() || !base::isPathPart(tab.moduleName.str()) || tab.moduleName.find(".") >= 0)
        throw std::runtime_error(what + " needs a \"module\": a name without '.', '/' or control characters");
    const int counts[] = {tab.cells.length(),  tab.patterns.length(), tab.profiles.length(),
                          tab.arrays.length(), tab.cuts.length(),     tab.segments.length(),
                          tab.flexFix.length()};
    for (int c : counts)
        if (c > kMaxMacroRecordsPerTab)
            throw std::runtime_error(what + " (" + tab.moduleName.str() + ") has more than " +
                                     std::to_string(kMaxMacroRecordsPerTab) + " records of one kind");
    for (const MacroCell& c : tab.cells)
        if (c.name.isEmpty() || c.name.length() > static_cast<int>(cad::kMaxNameBytes) ||
            c.value.length() > static_cast<int>(cad::kMaxValueBytes))
            throw std::runtime_error(what + " (" + tab.moduleName.str() +
                                     ") has a cell without a name or too long");
    if (tab.kind < 0 || tab.kind > kMaxTabKind)
        throw std::runtime_error(what + " (" + tab.moduleName.str() + "): kind must be 0 to " +
                                 std::to_string(kMaxTabKind));
}

} // namespace

bool parseMacroDefinition(std::string_view text, const std::string& source, MacroDefinition& into,
                          std::string* error) {
    try {
        if (text.size() > kMaxMacroDefinitionBytes)
            throw std::runtime_error("the file is larger than " +
                                     std::to_string(kMaxMacroDefinitionBytes >> 10) + " KiB");
        if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
            throw std::runtime_error("the file is empty");
        if (jsonDepth(text) > kMaxMacroJsonDepth)
            throw std::runtime_error("nested deeper than " + std::to_string(kMaxMacroJsonDepth) + " levels");
        const json j = json::parse(text);
        if (!j.is_object()) throw std::runtime_error("the file must hold one JSON object");
        if (j.value("format", std::string()) != "vorlane macro 1")
            throw std::runtime_error("\"format\" must be \"vorlane macro 1\"");
        MacroDefinition d;
        d.type = Vor_String(textOf(j, "type", "the definition"));
        d.title = Vor_String(textOf(j, "title", "the definition"));
        if (d.type.isEmpty() || !base::isPathPart(d.type.str()))
            throw std::runtime_error("\"type\" must be a name");
        if (!j.contains("tabs") || !j["tabs"].is_array() || j["tabs"].empty())
            throw std::runtime_error("\"tabs\" must be a list of at least one tab");
        if (j["tabs"].size() > static_cast<std::size_t>(kMaxMacroTabs))
            throw std::runtime_error("more than " + std::to_string(kMaxMacroTabs) + " tabs");
        for (const json& t : j["tabs"]) {
            MacroTabData tab;
            try {
                tab = t.get<MacroTabData>();
            } catch (const json::exception& e) {
                throw std::runtime_error("tab " + std::to_string(d.tabs.length() + 1) + ": " + e.what());
            }
            checkTab(tab, d.tabs.length());
            for (const MacroTabData& other : d.tabs)
                if (other.moduleName.equal(tab.moduleName, false))
                    throw std::runtime_error("two tabs are called " + tab.moduleName.str());
            d.tabs.append(tab);
        }
        if (j.contains("links")) {
            if (!j["links"].is_array() || j["links"].size() > 50)
                throw std::runtime_error("\"links\" must be a list of up to 50 links");
            for (const json& l : j["links"]) {
                if (!l.is_object()) throw std::runtime_error("a link must be an object");
                MacroDefinition::Link link;
                link.module = Vor_String(textOf(l, "module", "a link"));
                link.cell = Vor_String(textOf(l, "cell", "a link"));
                link.pattern = Vor_String(textOf(l, "pattern", "a link"));
                link.value = static_cast<int>(jsonInteger(l.value("value", json(0)), "value", 0, 4));
                d.links.push_back(link);
            }
        }
        if (j.contains("elements")) {
            const json& e = j["elements"];
            if (!e.is_array()) throw std::runtime_error("\"elements\" must be a list");
            if (e.size() > static_cast<std::size_t>(kMaxMacroElements))
                throw std::runtime_error("more than " + std::to_string(kMaxMacroElements) + " elements");
            for (std::size_t i = 0; i < e.size(); ++i) {
                MacroElement m = elementOf(e[i], static_cast<int>(i));
                for (const MacroElement& other : d.elements)
                    if (other.key == m.key)
                        throw std::runtime_error("two elements have the key \"" + m.key + "\"");
                d.elements.push_back(std::move(m));
            }
        }
        into = std::move(d);
        return true;
    } catch (const std::exception& e) {
        if (error) *error = source + ": " + e.what();
        return false;
    }
}

namespace {
struct CachedDefinition {
    std::filesystem::file_time_type time{};
    std::uintmax_t bytes = 0;
    std::shared_ptr<const MacroDefinition> definition;
};
std::mutex gDefinitionMutex;
std::map<std::string, CachedDefinition> gDefinitions;
} // namespace

std::shared_ptr<const MacroDefinition> macroDefinition(const Vor_String& type, std::string* error) {
    if (!base::isPathPart(type.str())) {
        if (error) *error = "\"" + type.str() + "\" is no macro type: " + base::pathPartFault(type.str());
        return nullptr;
    }
    const std::string path = gSettings.libDir.str() + "Macros/" + type.str() + ".json";
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    const auto bytes = ec ? 0 : std::filesystem::file_size(path, ec);
    std::lock_guard lock(gDefinitionMutex);
    auto it = gDefinitions.find(path);
    if (!ec && it != gDefinitions.end() && it->second.time == time && it->second.bytes == bytes)
        return it->second.definition;
    std::string text;
    if (!base::readRegularFile(path, text, kMaxMacroDefinitionBytes, error)) return nullptr;
    auto definition = std::make_shared<MacroDefinition>();
    if (!parseMacroDefinition(text, path, *definition, error)) return nullptr;
    if (!definition->type.equal(type, false)) {
        if (error) *error = path + ": \"type\" is \"" + definition->type.str() + "\", not the file's name";
        return nullptr;
    }
    gDefinitions[path] = CachedDefinition{time, bytes, definition};
    return definition;
}

Vor_StringArray macroTypes() {
    Vor_StringArray types;
    std::error_code ec;
    const std::filesystem::path folder = gSettings.libDir.str() + "Macros";
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".json" || !base::isRegularFile(it->path().string())) continue;
        types.append(Vor_String(it->path().stem().string()));
        if (types.length() > 1000) break;
    }
    std::sort(types.begin(), types.end());
    return types;
}

// ---- generating

namespace {

std::string numberText(double v) {
    if (std::fabs(v) < 5e-10) v = 0;
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::round(v * 1e6) / 1e6);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

class Generator {
public:
    Generator(const MacroDefinition& d, const Vor_Array<MacroTabData>& tabs, const cad::CoordSys& placement)
        : m_def(d)
        , m_tabs(tabs)
        , m_cs(placement) {}

    bool run(std::vector<GeneratedEntity>& out, std::string& error) {
        for (const MacroElement& e : m_def.elements) {
            m_element = &e;
            if (!element(e, out)) {
                error = m_def.type.str() + ", element \"" + e.key + "\": " + m_error;
                return false;
            }
        }
        return true;
    }

private:
    bool fail(const std::string& why) {
        m_error = why;
        return false;
    }

    bool lookUp(const std::string& name, double& v) {
        if (m_inRepeat && name == "i") return v = m_i, true;
        if (m_inRepeat && name == "pos") return v = m_pos, true;
        for (const MacroTabData& t : m_tabs)
            if (const MacroCell* c = t.findCellWithName(Vor_String(name))) {
                if (toNumber(c->value, v)) return true;
                m_valueFault = "the value \"" + c->value.str() + "\" of " + name + " is no number";
                return false;
            }
        const auto dot = name.rfind('.');
        if (dot == std::string::npos) return false;
        const Vor_String prefix(name.substr(0, dot));
        const std::string field = name.substr(dot + 1);
        for (const MacroTabData& t : m_tabs) {
            for (const MacroPatternProps& p : t.patterns) {
                if (p.name != prefix) continue;
                if (field == "rows" || field == "cols") {
                    const int n = p.getCount(field == "rows" ? 0 : 1);
                    v = p.halves[field == "rows" ? 0 : 1].on ? n : 1;
                    return n > 0 || !p.halves[field == "rows" ? 0 : 1].on;
                }
                static const char* const fields[] = {"rowSpacing", "colSpacing", "edgeTop", "edgeSide",
                                                     "clearance"};
                for (int i = 0; i < 5; ++i)
                    if (field == fields[i]) return toNumber(p.value(i), v);
                return false;
            }
            for (const MacroProfData& p : t.profiles) {
                if (p.groupName != prefix) continue;
                SectionSize s;
                if (!section(p.section, s)) return false;
                if (field == "h") return v = s.height, true;
                if (field == "w") return v = s.width, true;
                if (field == "tw") return v = s.web, true;
                if (field == "tf") return v = s.flange, true;
                return false;
            }
            if (t.moduleName == prefix && t.hasBolts) {
                if (field == "d") return toNumber(t.bolts.diameter, v);
                if (field == "tol") return toNumber(t.bolts.holeTolerance, v);
            }
        }
        return false;
    }
    /// The section library asked once a run for each section.
    bool section(const Vor_String& name, SectionSize& size) {
        auto it = m_sections.find(name.str());
        if (it == m_sections.end()) {
            SectionSize s;
            it = m_sections.emplace(name.str(), sectionSize(name, s) ? std::optional(s) : std::nullopt).first;
        }
        if (!it->second) return false;
        size = *it->second;
        return true;
    }
    static bool toNumber(const Vor_String& text, double& v) {
        bool ok = false;
        v = text.toDouble(&ok);
        return ok;
    }
    bool eval(const std::string& text, double& v) {
        std::string why;
        m_valueFault.clear();
        if (!evaluateMacroExpression(
                text, [this](const std::string& n, double& x) { return lookUp(n, x); }, v, &why))
            return fail(m_valueFault.empty() ? why : m_valueFault);
        if (std::fabs(v) > cad::kMaxCoordinate)
            return fail("\"" + text + "\" gives " + numberText(v) + ", too large");
        return true;
    }
    bool evalVec(const MacroElement::Vec& vec, cad::Point3d& p) {
        return eval(vec[0], p.x) && eval(vec[1], p.y) && eval(vec[2], p.z);
    }
    cad::Point3d point(const cad::Point3d& local) const { return m_cs.toModel(local.x, local.y, local.z); }
    cad::Vector3d direction(const cad::Vector3d& local) const { return point(local) - m_cs.origin; }

    /// Positions of an array: offsets along it; empty when the array makes nothing.
    bool arrayPositions(const Vor_String& name, std::vector<double>& positions) {
        const DynArrayData* a = nullptr;
        for (const MacroTabData& t : m_tabs)
            for (const DynArrayData& x : t.arrays)
                if (x.name == name) a = &x;
        if (!a) return fail("there is no array \"" + name.str() + "\"");
        auto number = [&](const Vor_String& text, double fallback) {
            bool ok = false;
            const double v = text.toDouble(&ok);
            return ok ? v : fallback;
        };
        const double start = number(a->startOffset, 0), end = number(a->endOffset, 0);
        double length = 0;
        if (!a->dimNames[0].isEmpty() && !lookUp(a->dimNames[0].str(), length))
            return fail("the array's dimension \"" + a->dimNames[0].str() + "\" is no number");
        const double span = length - start - end;
        int count = 0;
        double step = 0;
        if (a->kind == 1) {
            bool ok = false;
            count = a->third.toInt(&ok);
            if (!ok || count < 0)
                return fail("the array's number of parts \"" + a->third.str() + "\" is no count");
            step = count > 1 ? span / (count - 1) : 0;
        } else {
            const double distance = number(a->distance, 0);
            if (distance <= 0)
                return fail("the array's distance \"" + a->distance.str() + "\" is not above 0");
            count = span < 0 ? 0 : static_cast<int>(std::floor(span / distance + 1e-9)) + 1;
            const double minimum = number(a->minimum, 0), maximum = number(a->maximum, kMaxMacroRepeat);
            count = static_cast<int>(std::clamp<double>(count, std::max(0.0, minimum), maximum));
            step = distance;
        }
        if (count > kMaxMacroRepeat)
            return fail("the array makes " + std::to_string(count) + " parts, more than " +
                        std::to_string(kMaxMacroRepeat));
        for (int k = 0; k < count; ++k) {
            double at = start + k * step;
            const DynArrayEntry* entry = a->getEntry(k + 1);
            if (entry && entry->action == KrEntryAction::Skip) {
                positions.push_back(std::nan(""));
                continue;
            }
            if (entry) at += number(entry->offset, 0);
            positions.push_back(at);
        }
        return true;
    }

    bool element(const MacroElement& e, std::vector<GeneratedEntity>& out) {
        m_inRepeat = false;
        if (!e.condition.empty()) {
            double on = 0;
            if (!eval(e.condition, on)) return false;
            if (on == 0) return true;
        }
        if (e.repeat.empty()) return one(e, e.key, out);
        std::vector<double> positions;
        if (!arrayPositions(Vor_String(e.repeat), positions)) return false;
        m_inRepeat = true;
        for (std::size_t k = 0; k < positions.size(); ++k) {
            if (std::isnan(positions[k])) continue; // skipped entry
            m_i = static_cast<double>(k);
            m_pos = positions[k];
            if (!one(e, e.key + "#" + std::to_string(k + 1), out)) return false;
        }
        return true;
    }

    bool one(const MacroElement& e, const std::string& key, std::vector<GeneratedEntity>& out) {
        GeneratedEntity g;
        g.key = key;
        g.entity.properties["gen"] = key;
        for (const auto& [name, expr] : e.props) {
            double v = 0;
            if (!eval(expr, v)) return false;
            g.entity.properties[name] = numberText(v);
        }
        cad::Point3d origin, xa, ya;
        switch (e.kind) {
        case MacroElement::Plate: {
            double w = 0, h = 0, t = 0;
            if (!evalVec(e.origin, origin) || !evalVec(e.xaxis, xa) || !evalVec(e.yaxis, ya) ||
                !eval(e.width, w) || !eval(e.height, h) || !eval(e.thickness, t))
                return false;
            if (w <= 0 || h <= 0 || t <= 0)
                return fail("a plate of " + numberText(w) + " x " + numberText(h) + " x " + numberText(t) +
                            " has no size");
            cad::Plate p;
            p.placement = {point(origin), direction(xa), direction(ya)};
            p.outline = {{0, 0}, {w, 0}, {w, h}, {0, h}};
            p.thickness = t;
            g.entity.geometry = p;
            break;
        }
        case MacroElement::Bolts:
            return bolts(e, g, out);
        case MacroElement::Profile: {
            const MacroProfData* group = nullptr;
            for (const MacroTabData& t : m_tabs)
                for (const MacroProfData& p : t.profiles)
                    if (p.groupName.str() == e.group) group = &p;
            if (!group) return fail("there is no profile group \"" + e.group + "\"");
            SectionSize size;
            if (!section(group->section, size))
                return fail("the section \"" + group->section.str() + "\" is not in the section library");
            cad::Point3d start, end;
            if (!evalVec(e.origin, start) || !evalVec(e.end, end)) return false;
            cad::Profile p;
            p.section = group->section.str();
            p.start = point(start);
            p.end = point(end);
            p.width = size.width;
            p.height = size.height;
            p.offsetType = group->offsetType;
            p.insertion = group->offsetType >= 0 && group->offsetType <= 8    ? group->offsetType
                          : group->offsetType == MacroProfData::kMacroDefault ? e.insertion
                                                                              : 4;
            bool ok = true;
            p.offsetX = group->offsetX.isEmpty() ? 0 : group->offsetX.toDouble(&ok);
            if (!ok) return fail("the x offset \"" + group->offsetX.str() + "\" is no number");
            p.offsetY = group->offsetY.isEmpty() ? 0 : group->offsetY.toDouble(&ok);
            if (!ok) return fail("the y offset \"" + group->offsetY.str() + "\" is no number");
            p.rotation = group->rotation.isEmpty() ? 0 : group->rotation.toDouble(&ok);
            if (!ok) return fail("the rotation \"" + group->rotation.str() + "\" is no number");
            g.entity.geometry = p;
            break;
        }
        case MacroElement::CoordSys:
            if (!evalVec(e.origin, origin) || !evalVec(e.xaxis, xa) || !evalVec(e.yaxis, ya)) return false;
            g.entity.geometry = cad::CoordSysEntity{{point(origin), direction(xa), direction(ya)}};
            break;
        case MacroElement::Cut: {
            cad::Point3d n;
            double size = 0;
            if (!evalVec(e.origin, origin) || !evalVec(e.normal, n) || !eval(e.size, size)) return false;
            g.entity.geometry = cad::CutMarker{point(origin), direction(n), size};
            break;
        }
        case MacroElement::Block: {
            const MacroTabData* tab = nullptr;
            for (const MacroTabData& t : m_tabs)
                if (t.moduleName.str() == e.tab) tab = &t;
            if (!tab || !tab->hasDrawingFile)
                return fail("there is no drawing choice on tab \"" + e.tab + "\"");
            if (tab->drawingFile.isEmpty()) return true; // none chosen: nothing placed
            if (!evalVec(e.origin, origin) || !evalVec(e.xaxis, xa) || !evalVec(e.yaxis, ya)) return false;
            g.entity.geometry =
                cad::BlockRef{tab->drawingFile.str() + ".dwg", {point(origin), direction(xa), direction(ya)}};
            break;
        }
        }
        const std::string fault = cad::entityFault(g.entity);
        if (!fault.empty()) return fail(fault);
        out.push_back(std::move(g));
        return true;
    }

    bool bolts(const MacroElement& e, GeneratedEntity& g, std::vector<GeneratedEntity>& out) {
        const MacroPatternProps* pattern = nullptr;
        const MacroTabData* owner = nullptr;
        for (const MacroTabData& t : m_tabs)
            for (const MacroPatternProps& p : t.patterns)
                if (p.name.str() == e.pattern) pattern = &p, owner = &t;
        if (!pattern) return fail("there is no pattern \"" + e.pattern + "\"");
        const MacroTabData* boltTab = owner;
        if (!e.boltTab.empty()) {
            boltTab = nullptr;
            for (const MacroTabData& t : m_tabs)
                if (t.moduleName.str() == e.boltTab) boltTab = &t;
        }
        if (!boltTab || !boltTab->hasBolts) return fail("the pattern's tab has no bolt data");
        const std::vector<double> rows = pattern->offsets(0), cols = pattern->offsets(1);
        if (rows.empty() || cols.empty())
            return fail("the pattern \"" + e.pattern + "\" has a count or spacing that is no number");
        if (rows.size() * cols.size() > static_cast<std::size_t>(kMaxMacroRepeat))
            return fail("the pattern makes more than " + std::to_string(kMaxMacroRepeat) + " bolts");
        double top = 0, side = 0, d = 0, tol = 0, length = 0, width = 0, height = 0;
        if (!toNumber(pattern->edgeTop, top) || !toNumber(pattern->edgeSide, side))
            return fail("the pattern's edge distances are no numbers");
        if (!toNumber(boltTab->bolts.diameter, d) || d <= 0)
            return fail("the bolt diameter \"" + boltTab->bolts.diameter.str() + "\" is no number above 0");
        if (!boltTab->bolts.holeTolerance.isEmpty() && !toNumber(boltTab->bolts.holeTolerance, tol))
            return fail("the hole tolerance \"" + boltTab->bolts.holeTolerance.str() + "\" is no number");
        cad::Point3d origin, u, v, axis;
        if (!evalVec(e.origin, origin) || !evalVec(e.u, u) || !evalVec(e.v, v) || !evalVec(e.axis, axis) ||
            !eval(e.length, length) || !eval(e.width, width) || !eval(e.height, height))
            return false;
        const double colStep = cols.size() > 1 ? cols[1] - cols[0] : 0;
        std::vector<std::pair<double, double>> at; // across, down
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (double c : cols) {
                const double across = side + c + (pattern->staggered && r % 2 == 1 ? colStep / 2 : 0);
                at.emplace_back(across, top + rows[r]);
            }
        auto addMirrored = [&](bool on, bool horizontal, double extent) {
            if (!on || extent <= 0) return;
            const std::size_t n = at.size();
            for (std::size_t i = 0; i < n; ++i) {
                auto m = at[i];
                (horizontal ? m.first : m.second) = extent - (horizontal ? m.first : m.second);
                if (std::find(at.begin(), at.end(), m) == at.end()) at.push_back(m);
            }
        };
        addMirrored(pattern->mirror || pattern->mirrorHorizontally, true, width);
        addMirrored(pattern->mirrorVertically, false, height);
        cad::BoltGroup b;
        const cad::Vector3d un = u.normal(), vn = v.normal();
        for (const auto& [across, down] : at)
            b.positions.push_back(point(origin + un * across + vn * down));
        b.axis = direction(axis);
        b.diameter = d + tol;
        b.length = length;
        b.assembly = "M" + numberText(d) + " " + boltTab->bolts.assembly.str();
        g.entity.geometry = b;
        const std::string fault = cad::entityFault(g.entity);
        if (!fault.empty()) return fail(fault);
        out.push_back(std::move(g));
        return true;
    }

    const MacroDefinition& m_def;
    const Vor_Array<MacroTabData>& m_tabs;
    cad::CoordSys m_cs;
    const MacroElement* m_element = nullptr;
    bool m_inRepeat = false;
    double m_i = 0, m_pos = 0;
    std::string m_error;
    std::map<std::string, std::optional<SectionSize>> m_sections;
    std::string m_valueFault; ///< why the last name had no number, when a value was at fault
};

} // namespace

bool generateMacro(const MacroDefinition& definition, const Vor_Array<MacroTabData>& tabs,
                   const cad::CoordSys& placement, std::vector<GeneratedEntity>& out, std::string* error) {
    std::vector<GeneratedEntity> made;
    std::string why;
    if (!Generator(definition, tabs, placement).run(made, why)) {
        if (error) *error = why;
        return false;
    }
    out = std::move(made);
    return true;
}
