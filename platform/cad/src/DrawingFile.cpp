// Writing and reading the drawing file.

#include <cad/DrawingFile.h>

#include <base/FileRead.h>
#include <base/NumberText.h>
#include <base/SafeFile.h>

#include <cmath>
#include <deque>
#include <map>
#include <optional>

namespace cad {

namespace {

// ---- writing

void quote(std::string& out, std::string_view s) {
    out += '"';
    for (char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    out += '"';
}

void number(std::string& out, double v) {
    std::string t;
    base::formatShortest(v, t); // entities hold finite numbers only
    out += t;
}

struct Writer {
    std::string& out;
    void text(const char* key, std::string_view v) {
        out += ' ';
        out += key;
        out += '=';
        quote(out, v);
    }
    void num(const char* key, double v) {
        out += ' ';
        out += key;
        out += '=';
        number(out, v);
    }
    void integer(const char* key, long long v) {
        out += ' ';
        out += key;
        out += '=';
        out += std::to_string(v);
    }
    void point(const char* key, const Point3d& p) {
        out += ' ';
        out += key;
        out += '=';
        point(p);
    }
    void point(const Point3d& p) {
        number(out, p.x);
        out += ',';
        number(out, p.y);
        out += ',';
        number(out, p.z);
    }
    void placement(const CoordSys& cs) {
        point("origin", cs.origin);
        point("xaxis", cs.xAxis);
        point("yaxis", cs.yAxis);
    }

    void operator()(const Profile& p) {
        text("section", p.section);
        point("start", p.start);
        point("end", p.end);
        num("width", p.width);
        num("height", p.height);
        integer("insertion", p.insertion);
        out += " offset=";
        number(out, p.offsetX);
        out += ',';
        number(out, p.offsetY);
        num("rotation", p.rotation);
        integer("offsettype", p.offsetType);
    }
    void operator()(const Plate& p) {
        placement(p.placement);
        num("thickness", p.thickness);
        out += " outline=";
        for (std::size_t i = 0; i < p.outline.size(); ++i) {
            if (i) out += ';';
            number(out, p.outline[i].x);
            out += ',';
            number(out, p.outline[i].y);
        }
    }
    void operator()(const BoltHole& b) {
        point("position", b.position);
        point("axis", b.axis);
        num("diameter", b.diameter);
        num("length", b.length);
        text("assembly", b.assembly);
    }
    void operator()(const BoltGroup& b) {
        point("axis", b.axis);
        num("diameter", b.diameter);
        num("length", b.length);
        text("assembly", b.assembly);
        out += " positions=";
        for (std::size_t i = 0; i < b.positions.size(); ++i) {
            if (i) out += ';';
            point(b.positions[i]);
        }
    }
    void operator()(const CoordSysEntity& c) { placement(c.cs); }
    void operator()(const CutMarker& c) {
        point("position", c.position);
        point("normal", c.normal);
        num("size", c.size);
    }
    void operator()(const BlockRef& b) {
        text("file", b.fileName);
        placement(b.placement);
    }
    void operator()(const MacroGroup&) {}
};

// ---- reading

// One record: its word and its fields in the order of the line.
struct Record {
    struct Field {
        std::string key;
        std::string value;
        bool taken = false;
    };
    std::string word;
    std::vector<Field> fields;
};
// No record has this many fields of its own: more are unknown or given twice.
constexpr std::size_t kMaxFields = 32;

// Splits a line into the record's word and its fields; "" or the fault.
std::string splitRecord(std::string_view line, Record& r) {
    std::size_t i = 0, n = line.size();
    auto blank = [&](std::size_t k) { return k < n && (line[k] == ' ' || line[k] == '\t'); };
    while (blank(i))
        ++i;
    std::size_t w = i;
    while (i < n && !blank(i))
        ++i;
    r.word = std::string(line.substr(w, i - w));
    r.fields.clear();
    for (;;) {
        while (blank(i))
            ++i;
        if (i >= n) return "";
        std::size_t k = i;
        while (i < n && line[i] != '=' && !blank(i) && line[i] != '"')
            ++i;
        if (i >= n || line[i] != '=' || i == k)
            return "expected KEY=VALUE at \"" +
                   std::string(line.substr(k, std::min<std::size_t>(20, n - k))) + "\"";
        std::string key(line.substr(k, i - k));
        ++i;
        std::string value;
        if (i < n && line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                // Plain characters are taken a run at a time.
                const std::size_t run = i;
                while (i < n && line[i] != '"' && line[i] != '\\')
                    ++i;
                value.append(line.data() + run, i - run);
                if (i >= n) break;
                if (line[i++] == '"') {
                    closed = true;
                    break;
                }
                if (i >= n) break;
                char e = line[i++];
                switch (e) {
                case '"':
                    value += '"';
                    break;
                case '\\':
                    value += '\\';
                    break;
                case 'n':
                    value += '\n';
                    break;
                case 'r':
                    value += '\r';
                    break;
                case 't':
                    value += '\t';
                    break;
                default:
                    return "unknown escape \\" + std::string(1, e) + " in " + key;
                }
            }
            if (!closed) return "the text of " + key + " has no closing quote";
            if (i < n && !blank(i)) return "no space after the text of " + key;
        } else {
            std::size_t v = i;
            while (i < n && !blank(i))
                ++i;
            value = std::string(line.substr(v, i - v));
            if (value.find('"') != std::string::npos) return "a stray quote in " + key;
        }
        for (const Record::Field& f : r.fields)
            if (f.key == key) return "the field " + key + " is given twice";
        if (r.fields.size() >= kMaxFields) return "more than " + std::to_string(kMaxFields) + " fields";
        r.fields.push_back({std::move(key), std::move(value)});
    }
}

// Takes the fields of one record in turn; what is left at the end is unknown.
struct Reader {
    explicit Reader(Record& record)
        : r(record) {}
    Record& r;
    std::string fault;

    const std::string* take(std::string_view key) {
        for (Record::Field& f : r.fields)
            if (!f.taken && f.key == key) {
                f.taken = true;
                return &f.value;
            }
        return nullptr;
    }
    bool fail(std::string why) {
        if (fault.empty()) fault = std::move(why);
        return false;
    }
    static bool parseDouble(std::string_view s, double& v) {
        // The file form only: no spaces, no leading '+'.
        if (s.empty() || s.front() == ' ' || s.back() == ' ') return false;
        return base::parseNumber(s, v) && std::abs(v) <= kMaxCoordinate;
    }
    void num(std::string_view key, double& v) {
        if (const std::string* s = take(key))
            if (!parseDouble(*s, v))
                fail(std::string(key) + " is not a number within ±1e9: \"" + clip(*s) + "\"");
    }
    static std::string clip(const std::string& s) { return s.size() > 40 ? s.substr(0, 40) + "..." : s; }
    static bool parseInt(std::string_view s, long long& v, long long max) {
        if (s.empty() || s.size() > 18) return false;
        v = 0;
        for (char c : s) {
            if (c < '0' || c > '9') return false;
            v = v * 10 + (c - '0');
        }
        return v <= max;
    }
    void integer(std::string_view key, int& v, int max) {
        if (const std::string* s = take(key)) {
            long long x;
            if (!parseInt(*s, x, max))
                fail(std::string(key) + " is not a whole number 0 to " + std::to_string(max) + ": \"" +
                     clip(*s) + "\"");
            else
                v = static_cast<int>(x);
        }
    }
    void text(std::string_view key, std::string& v) {
        if (const std::string* s = take(key)) v = *s;
    }
    template <std::size_t N> bool numbers(std::string_view s, double (&out)[N]) {
        for (std::size_t i = 0; i < N; ++i) {
            std::size_t comma = i + 1 < N ? s.find(',') : std::string_view::npos;
            if ((i + 1 < N) == (comma == std::string_view::npos)) return false;
            if (!parseDouble(s.substr(0, comma), out[i])) return false;
            if (comma != std::string_view::npos) s.remove_prefix(comma + 1);
        }
        return s.find(',') == std::string_view::npos;
    }
    bool parsePoint(std::string_view s, Point3d& p) {
        double v[3];
        if (!numbers(s, v)) return false;
        p = {v[0], v[1], v[2]};
        return true;
    }
    void point(std::string_view key, Point3d& p) {
        if (const std::string* s = take(key))
            if (!parsePoint(*s, p))
                fail(std::string(key) + " is not three numbers x,y,z within ±1e9: \"" + clip(*s) + "\"");
    }
    template <class P, class F>
    void list(std::string_view key, std::vector<P>& out, F parse, const char* form) {
        const std::string* s = take(key);
        if (!s || s->empty()) return;
        std::string_view rest = *s;
        for (;;) {
            if (out.size() >= kMaxPoints) {
                fail(std::string(key) + " holds more than " + std::to_string(kMaxPoints) + " points");
                return;
            }
            std::size_t semi = rest.find(';');
            P p;
            if (!parse(rest.substr(0, semi), p)) {
                fail(std::string(key) + ": point " + std::to_string(out.size() + 1) + " is not " + form);
                return;
            }
            out.push_back(p);
            if (semi == std::string_view::npos) return;
            rest.remove_prefix(semi + 1);
        }
    }
    void placement(CoordSys& cs) {
        point("origin", cs.origin);
        point("xaxis", cs.xAxis);
        point("yaxis", cs.yAxis);
    }

    void operator()(Profile& p) {
        text("section", p.section);
        point("start", p.start);
        point("end", p.end);
        num("width", p.width);
        num("height", p.height);
        integer("insertion", p.insertion, 8);
        if (const std::string* s = take("offset")) {
            double v[2];
            if (!numbers(*s, v))
                fail("offset is not two numbers x,y within ±1e9: \"" + clip(*s) + "\"");
            else
                p.offsetX = v[0], p.offsetY = v[1];
        }
        num("rotation", p.rotation);
        integer("offsettype", p.offsetType, 1000);
    }
    void operator()(Plate& p) {
        placement(p.placement);
        num("thickness", p.thickness);
        list(
            "outline", p.outline,
            [this](std::string_view s, Point2d& q) {
                double v[2];
                if (!numbers(s, v)) return false;
                q = {v[0], v[1]};
                return true;
            },
            "two numbers x,y");
    }
    void operator()(BoltHole& b) {
        point("position", b.position);
        point("axis", b.axis);
        num("diameter", b.diameter);
        num("length", b.length);
        text("assembly", b.assembly);
    }
    void operator()(BoltGroup& b) {
        point("axis", b.axis);
        num("diameter", b.diameter);
        num("length", b.length);
        text("assembly", b.assembly);
        list(
            "positions", b.positions, [this](std::string_view s, Point3d& q) { return parsePoint(s, q); },
            "three numbers x,y,z");
    }
    void operator()(CoordSysEntity& c) { placement(c.cs); }
    void operator()(CutMarker& c) {
        point("position", c.position);
        point("normal", c.normal);
        num("size", c.size);
    }
    void operator()(BlockRef& b) {
        text("file", b.fileName);
        placement(b.placement);
    }
    void operator()(MacroGroup&) {}

    std::string leftOver() const {
        for (const Record::Field& f : r.fields)
            if (!f.taken) return "unknown field " + f.key + " for a " + r.word;
        return "";
    }
};

std::optional<Entity::Geometry> geometryOf(std::string_view word) {
    for (int k = 0; k < kEntityKindCount; ++k)
        if (word == entityKindName(static_cast<EntityKind>(k))) {
            static const Entity::Geometry blanks[kEntityKindCount] = {
                Profile{},        Plate{},     BoltHole{}, BoltGroup{},
                CoordSysEntity{}, CutMarker{}, BlockRef{}, MacroGroup{}};
            return blanks[k];
        }
    return std::nullopt;
}

} // namespace

std::vector<std::pair<std::string, std::string>> entityFields(const Entity& e) {
    std::string line = entityKindName(e.kind());
    Writer w{line};
    w.integer("id", e.id.handle());
    if (!e.owner.isNull()) w.integer("owner", e.owner.handle());
    w.text("name", e.name);
    std::visit(w, e.geometry);
    std::vector<std::pair<std::string, std::string>> out{{"kind", entityKindName(e.kind())}};
    Record r;
    if (!splitRecord(line, r).empty()) return out; // cannot be: the writer wrote it
    for (Record::Field& f : r.fields)
        out.emplace_back(std::move(f.key), std::move(f.value));
    return out;
}

std::string drawingText(const Drawing& drawing) {
    std::string out(kDrawingSignature);
    out += "\ndrawing nextid=" + std::to_string(drawing.nextId()) + " view=";
    Writer w{out};
    w.point(drawing.viewDirection());
    out += '\n';
    for (AcDbObjectId id : drawing.ids()) {
        const Entity& e = *drawing.get(id);
        if (e.temporary) continue;
        out += entityKindName(e.kind());
        w.integer("id", e.id.handle());
        if (!e.owner.isNull()) w.integer("owner", e.owner.handle());
        if (!e.name.empty()) w.text("name", e.name);
        std::visit(w, e.geometry);
        out += '\n';
        for (const auto& [key, value] : e.properties) {
            out += "prop";
            w.text("key", key);
            w.text("value", value);
            out += '\n';
        }
    }
    return out;
}

bool readDrawingText(std::string_view text, Drawing& into, const std::string& fileName, std::string* error) {
    std::size_t lineNo = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = fileName + ":" + std::to_string(lineNo) + ": " + why;
        return false;
    };
    if (text.substr(0, 4) == "AC10") {
        lineNo = 1;
        std::string version(text.substr(0, 6));
        for (char& c : version)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) c = '?';
        return fail("a DWG drawing (" + version +
                    "), which cannot be read: drawings here are Vorlane drawing text files, \"" +
                    std::string(kDrawingSignature) + "\" on the first line");
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    // The count of entities is checked before anything is read, so that a file of a million tiny
    // records is refused without building them.
    {
        std::size_t records = 0, at = 0;
        lineNo = 0;
        while (at < text.size()) {
            ++lineNo;
            std::size_t end = text.find('\n', at);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(at, end - at);
            at = end + 1;
            std::size_t first = line.find_first_not_of(" \t");
            if (lineNo == 1 || first == std::string_view::npos || line[first] == '#') continue;
            line.remove_prefix(first);
            if (line.substr(0, 5) == "prop " || line.substr(0, 8) == "drawing ") continue;
            if (++records > kMaxDrawingEntities)
                return fail("more than " + std::to_string(kMaxDrawingEntities) + " entities");
        }
        lineNo = 0;
    }

    std::optional<Entity> pending;
    std::size_t pendingLine = 0;
    Record r; // one for every line: its fields keep their room
    bool header = false;
    auto flush = [&]() {
        if (!pending) return true;
        std::string why;
        std::size_t at = lineNo;
        lineNo = pendingLine;
        if (into.insertWithId(std::move(*pending), &why) != Acad::eOk) return fail(why);
        lineNo = at;
        pending.reset();
        return true;
    };

    std::size_t pos = 0;
    while (pos < text.size()) {
        ++lineNo;
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() > kMaxDrawingLineBytes) return fail("line longer than 256 KiB");
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        for (unsigned char c : line)
            if ((c < 0x20 && c != '\t') || c == 0x7f)
                return fail(c == 0 ? "a NUL byte: this is no drawing text file"
                                   : "a control character (" + std::to_string(c) + ") outside a quoted text");
        if (lineNo == 1) {
            if (line == kDrawingSignature) continue;
            if (line.substr(0, 16) == "VORLANE DRAWING ")
                return fail("a drawing of a newer version (\"" + std::string(line.substr(0, 40)) +
                            "\"); this program reads \"" + std::string(kDrawingSignature) + "\"");
            return fail("not a Vorlane drawing: the first line must be \"" + std::string(kDrawingSignature) +
                        "\"");
        }
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') continue;

        std::string why = splitRecord(line, r);
        if (!why.empty()) return fail(why);
        Reader rd(r);
        if (r.word == "prop") {
            if (!pending) return fail("a prop line must follow an entity");
            std::string key, value;
            const std::string* k = rd.take("key");
            const std::string* v = rd.take("value");
            if (!k || !v) return fail("a prop line needs key=\"...\" and value=\"...\"");
            if (!rd.leftOver().empty()) return fail(rd.leftOver());
            if (pending->properties.size() >= kMaxProperties)
                return fail("more than " + std::to_string(kMaxProperties) + " properties on one entity");
            if (!pending->properties.emplace(*k, *v).second)
                return fail("the property \"" + *k + "\" is given twice");
            continue;
        }
        if (!flush()) return false;
        if (r.word == "drawing") {
            if (header) return fail("a second drawing line");
            header = true;
            long long next = 1;
            if (const std::string* s = rd.take("nextid"))
                if (!Reader::parseInt(*s, next, kMaxDrawingId))
                    return fail("nextid is not a whole number 1 to 2^48: \"" + Reader::clip(*s) + "\"");
            Point3d view = viewVector(ViewDirection::Standard);
            rd.point("view", view);
            if (!rd.fault.empty()) return fail(rd.fault);
            if (!rd.leftOver().empty()) return fail(rd.leftOver());
            if (!into.changeView(view)) return fail("the view direction has length 0");
            into.reserveIds(next);
            continue;
        }
        std::optional<Entity::Geometry> geometry = geometryOf(r.word);
        if (!geometry) return fail("unknown record \"" + Reader::clip(r.word) + "\"");
        Entity e;
        e.geometry = std::move(*geometry);
        long long id = 0, owner = 0;
        const std::string* s = rd.take("id");
        if (!s) return fail("the " + r.word + " has no id");
        if (!Reader::parseInt(*s, id, kMaxDrawingId - 1) || id == 0)
            return fail("the id is not a whole number 1 to 2^48-1: \"" + Reader::clip(*s) + "\"");
        if ((s = rd.take("owner")) && (!Reader::parseInt(*s, owner, kMaxDrawingId - 1) || owner == 0))
            return fail("the owner is not a whole number 1 to 2^48-1: \"" + Reader::clip(*s) + "\"");
        e.id = AcDbObjectId(id);
        e.owner = AcDbObjectId(owner);
        if (owner != 0 && !into.get(e.owner))
            return fail("the owner " + std::to_string(owner) + " is not defined above this line");
        // As in a drawing, where an owner is made before what it generates: the file is written in
        // the order of ids, and owners must come first in it.
        if (owner >= id)
            return fail("the owner " + std::to_string(owner) + " has no lower id than what it owns");
        rd.text("name", e.name);
        std::visit(rd, e.geometry);
        if (!rd.fault.empty()) return fail(rd.fault);
        if (!rd.leftOver().empty()) return fail(rd.leftOver());
        pending = std::move(e);
        pendingLine = lineNo;
    }
    if (lineNo == 0) {
        lineNo = 1;
        return fail("an empty file, not a Vorlane drawing");
    }
    return flush();
}

bool saveDrawing(const Drawing& drawing, const std::string& path, std::string* error) {
    return base::writeFileSafely(path, drawingText(drawing), error);
}

bool loadDrawing(const std::string& path, Drawing& into, std::string* error) {
    std::string bytes;
    if (!base::readRegularFile(path, bytes, kMaxDrawingFileBytes, error)) return false;
    return readDrawingText(bytes, into, path, error);
}

bool openDrawing(const std::string& path, std::string* error) {
    Drawing fresh;
    if (!loadDrawing(path, fresh, error)) return false;
    curDrawing().takeContentOf(fresh);
    return true;
}

} // namespace cad
