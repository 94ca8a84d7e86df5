// Reader of resource scripts and the registry of resource sets.

#include <ui/Resources.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

namespace ui {

bool ControlTemplate::hasStyle(const std::string& s) const {
    return std::find(styles.begin(), styles.end(), s) != styles.end();
}

bool DialogTemplate::hasStyle(const std::string& s) const {
    return std::find(styles.begin(), styles.end(), s) != styles.end();
}

const ControlTemplate* DialogTemplate::control(int cid) const {
    for (const auto& c : controls)
        if (c.id == cid) return &c;
    return nullptr;
}

int dluToPixelsX(int dlu) {
    return (dlu * 3 + (dlu >= 0 ? 1 : -1)) / 2;
}
int dluToPixelsY(int dlu) {
    return (dlu * 13 + (dlu >= 0 ? 4 : -4)) / 8;
}
Rect dluToPixels(const Rect& r) {
    return {dluToPixelsX(r.left), dluToPixelsY(r.top), dluToPixelsX(r.right), dluToPixelsY(r.bottom)};
}

namespace {

struct Token {
    enum Kind { Word, Number, String, Comma, Bar, End } kind = End;
    std::string text;
    long value = 0;
};

/// Splits one logical line into tokens.
class Lexer {
public:
    Lexer(const std::string& line)
        : m_s(line) {}

    bool next(Token& t, std::string& error) {
        while (m_i < m_s.size() && std::isspace(static_cast<unsigned char>(m_s[m_i])))
            ++m_i;
        t = Token{};
        if (m_i >= m_s.size()) return true;
        char c = m_s[m_i];
        if (c == ',') {
            ++m_i;
            t.kind = Token::Comma;
            t.text = ",";
            return true;
        }
        if (c == '|') {
            ++m_i;
            t.kind = Token::Bar;
            t.text = "|";
            return true;
        }
        if (c == '"') {
            ++m_i;
            t.kind = Token::String;
            while (true) {
                if (m_i >= m_s.size()) {
                    error = "unterminated string";
                    return false;
                }
                char d = m_s[m_i++];
                if (d == '"') {
                    if (m_i < m_s.size() && m_s[m_i] == '"') {
                        t.text += '"';
                        ++m_i;
                        continue;
                    }
                    break;
                }
                if (d == '\\' && m_i < m_s.size()) {
                    char e = m_s[m_i++];
                    switch (e) {
                    case 'n':
                        t.text += '\n';
                        break;
                    case 't':
                        t.text += '\t';
                        break;
                    case 'r':
                        break;
                    case '\\':
                        t.text += '\\';
                        break;
                    case '"':
                        t.text += '"';
                        break;
                    default:
                        t.text += '\\';
                        t.text += e;
                        break;
                    }
                    continue;
                }
                t.text += d;
            }
            return true;
        }
        if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c))) {
            size_t start = m_i;
            if (c == '-' || c == '+') ++m_i;
            while (m_i < m_s.size() && std::isalnum(static_cast<unsigned char>(m_s[m_i])))
                ++m_i;
            t.text = m_s.substr(start, m_i - start);
            char* end = nullptr;
            t.value = std::strtol(t.text.c_str(), &end, 0);
            if (!end || *end != 0) {
                error = "malformed number '" + t.text + "'";
                return false;
            }
            t.kind = Token::Number;
            return true;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '{' || c == '}') {
            size_t start = m_i;
            if (c == '{' || c == '}')
                ++m_i;
            else
                while (m_i < m_s.size() && (std::isalnum(static_cast<unsigned char>(m_s[m_i])) ||
                                            m_s[m_i] == '_' || m_s[m_i] == '.'))
                    ++m_i;
            t.kind = Token::Word;
            t.text = m_s.substr(start, m_i - start);
            return true;
        }
        error = std::string("unexpected character '") + c + "'";
        return false;
    }

private:
    const std::string& m_s;
    size_t m_i = 0;
};

/// One statement line as a token list with a cursor and helpers that name what was expected.
class Stmt {
public:
    std::vector<Token> toks;
    size_t pos = 0;
    std::string error;

    bool atEnd() const { return pos >= toks.size(); }
    const Token* peek() const { return atEnd() ? nullptr : &toks[pos]; }
    bool word(const char* w) {
        if (!atEnd() && toks[pos].kind == Token::Word && toks[pos].text == w) {
            ++pos;
            return true;
        }
        return false;
    }
    bool comma() {
        if (!atEnd() && toks[pos].kind == Token::Comma) {
            ++pos;
            return true;
        }
        return false;
    }
    bool number(long& v, const char* what) {
        if (!atEnd() && toks[pos].kind == Token::Number) {
            v = toks[pos++].value;
            return true;
        }
        error = std::string("expected ") + what +
                (atEnd() ? " at the end of the line" : " at '" + toks[pos].text + "'");
        return false;
    }
    bool string(std::string& s, const char* what) {
        if (!atEnd() && toks[pos].kind == Token::String) {
            s = toks[pos++].text;
            return true;
        }
        error = std::string("expected ") + what + " (a quoted text)" +
                (atEnd() ? "" : " at '" + toks[pos].text + "'");
        return false;
    }
    bool textOrNumber(std::string& s, const char* what) {
        if (!atEnd() && (toks[pos].kind == Token::String || toks[pos].kind == Token::Number)) {
            s = toks[pos++].text;
            return true;
        }
        error = std::string("expected ") + what;
        return false;
    }
    /// Style words joined by '|', "NOT X" kept as one word.
    bool styles(std::vector<std::string>& out) {
        while (!atEnd()) {
            const Token& t = toks[pos];
            if (t.kind == Token::Bar) {
                ++pos;
                continue;
            }
            if (t.kind == Token::Comma) return true;
            if (t.kind == Token::Word && t.text == "NOT") {
                ++pos;
                if (atEnd() || toks[pos].kind != Token::Word) {
                    error = "expected a style after NOT";
                    return false;
                }
                out.push_back("NOT " + toks[pos++].text);
                continue;
            }
            if (t.kind == Token::Word || t.kind == Token::Number) {
                out.push_back(t.text);
                ++pos;
                continue;
            }
            error = "unexpected '" + t.text + "' in a style";
            return false;
        }
        return true;
    }
    bool rect(Rect& r, bool sizeOptional = false) {
        long x, y, w = 0, h = 0;
        if (!number(x, "x")) return false;
        if (!comma()) {
            error = "expected ',' after x";
            return false;
        }
        if (!number(y, "y")) return false;
        if (comma()) {
            if (!number(w, "width")) return false;
            if (!comma()) {
                error = "expected ',' after width";
                return false;
            }
            if (!number(h, "height")) return false;
        } else if (!sizeOptional) {
            error = "expected ', width, height'";
            return false;
        }
        if (w < 0 || h < 0) {
            error = "negative size";
            return false;
        }
        r = Rect::fromSize(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                           static_cast<int>(h));
        return true;
    }
};

const char* const kTextControls[] = {
    "LTEXT",        "RTEXT",      "CTEXT",  "GROUPBOX",    "PUSHBUTTON",      "DEFPUSHBUTTON", "CHECKBOX",
    "AUTOCHECKBOX", "AUTO3STATE", "STATE3", "RADIOBUTTON", "AUTORADIOBUTTON", "ICON"};
const char* const kIdControls[] = {"EDITTEXT", "COMBOBOX", "LISTBOX"};

template <size_t N> bool oneOf(const std::string& w, const char* const (&list)[N]) {
    for (const char* s : list)
        if (w == s) return true;
    return false;
}

class Parser {
public:
    Parser(const std::string& text, const std::string& source, ResourceSet& out)
        : m_source(source)
        , m_out(out) {
        std::string line;
        std::istringstream in(text);
        bool inComment = false;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            // strip comments outside strings
            std::string clean;
            bool inString = false;
            for (size_t i = 0; i < line.size(); ++i) {
                if (inComment) {
                    if (line.compare(i, 2, "*/") == 0) {
                        inComment = false;
                        ++i;
                    }
                    continue;
                }
                char c = line[i];
                if (c == '"') inString = !inString;
                if (!inString && line.compare(i, 2, "//") == 0) break;
                if (!inString && line.compare(i, 2, "/*") == 0) {
                    inComment = true;
                    ++i;
                    continue;
                }
                clean += c;
            }
            m_lines.push_back(clean);
        }
    }

    bool run(std::string& error) {
        while (nextStatement()) {
            if (!m_ok) break;
            if (m_st.atEnd()) continue;
            if (!topLevel()) break;
        }
        if (!m_ok) {
            error = m_source + ":" + std::to_string(m_lineNo) + ": " + m_error;
            return false;
        }
        for (const auto& [id, d] : m_out.dialogs)
            if (d.menuId && !m_out.menus.count(d.menuId)) {
                error = d.source + ": dialog " + std::to_string(id) + " names menu " +
                        std::to_string(d.menuId) + ", which the script does not define";
                return false;
            }
        return true;
    }

private:
    bool nextStatement() {
        while (m_next < m_lines.size()) {
            m_lineNo = static_cast<int>(m_next) + 1;
            const std::string& l = m_lines[m_next++];
            size_t first = l.find_first_not_of(" \t");
            if (first != std::string::npos && l[first] == '#') continue; // #include and friends
            m_st = Stmt{};
            Lexer lx(l);
            Token t;
            std::string err;
            while (true) {
                if (!lx.next(t, err)) return fail(err), true;
                if (t.kind == Token::End) break;
                m_st.toks.push_back(t);
            }
            if (m_st.toks.empty()) continue;
            return true;
        }
        return false;
    }
    bool fail(const std::string& what) {
        if (m_ok) {
            m_ok = false;
            m_error = what;
        }
        return false;
    }
    bool failStmt() { return fail(m_st.error.empty() ? "malformed line" : m_st.error); }
    bool isBegin() const {
        return m_st.toks.size() == 1 && m_st.toks[0].kind == Token::Word &&
               (m_st.toks[0].text == "BEGIN" || m_st.toks[0].text == "{");
    }
    bool isEnd() const {
        return m_st.toks.size() == 1 && m_st.toks[0].kind == Token::Word &&
               (m_st.toks[0].text == "END" || m_st.toks[0].text == "}");
    }
    bool expectBegin(const std::string& what) {
        if (!nextStatement() || !isBegin()) return fail("expected BEGIN after " + what);
        return true;
    }

    bool topLevel() {
        if (m_st.word("STRINGTABLE")) return stringTable();
        long id;
        if (!m_st.number(id, "a resource number or STRINGTABLE")) return failStmt();
        if (m_st.atEnd() || m_st.peek()->kind != Token::Word)
            return fail("expected a resource kind after the number");
        std::string kind = m_st.toks[m_st.pos++].text;
        if (kind == "DIALOG" || kind == "DIALOGEX") return dialog(static_cast<int>(id));
        if (kind == "MENU" || kind == "MENUEX") return menu(static_cast<int>(id));
        if (kind == "TOOLBAR") return toolbar(static_cast<int>(id));
        if (kind == "BITMAP" || kind == "ICON") return image(static_cast<int>(id), kind == "ICON");
        return fail("unknown resource kind '" + kind + "'");
    }

    bool stringTable() {
        if (!expectBegin("STRINGTABLE")) return false;
        while (nextStatement()) {
            if (isEnd()) return true;
            long id;
            std::string text;
            if (!m_st.number(id, "a string number")) return failStmt();
            m_st.comma();
            if (!m_st.string(text, "the string")) return failStmt();
            m_out.strings[static_cast<int>(id)] = text;
        }
        return fail("STRINGTABLE without END");
    }

    bool image(int id, bool icon) {
        ImageTemplate im;
        im.id = id;
        im.icon = icon;
        if (!m_st.string(im.file, "the picture's file name")) return failStmt();
        if (m_st.word("THEME") && !m_st.string(im.themeName, "the theme icon name")) return failStmt();
        if (!m_st.atEnd()) return fail("unexpected '" + m_st.peek()->text + "' after the picture");
        if (m_out.images.count(id)) return fail("picture " + std::to_string(id) + " is defined twice");
        m_out.images[id] = im;
        return true;
    }

    bool toolbar(int id) {
        ToolbarTemplate tb;
        tb.id = id;
        long w = 16, h = 15;
        if (!m_st.atEnd()) {
            if (!m_st.number(w, "button width") || !m_st.comma() || !m_st.number(h, "button height"))
                return failStmt();
        }
        tb.buttonWidth = static_cast<int>(w);
        tb.buttonHeight = static_cast<int>(h);
        if (!expectBegin("TOOLBAR")) return false;
        while (nextStatement()) {
            if (isEnd()) {
                m_out.toolbars[id] = tb;
                return true;
            }
            if (m_st.word("SEPARATOR")) {
                tb.buttons.push_back({});
                continue;
            }
            if (!m_st.word("BUTTON")) return fail("expected BUTTON, SEPARATOR or END in a toolbar");
            ToolbarButtonTemplate b;
            long cid;
            if (!m_st.number(cid, "the button's command id")) return failStmt();
            b.id = static_cast<int>(cid);
            if (m_st.comma() && !m_st.string(b.icon, "the icon name")) return failStmt();
            if (m_st.comma() && !m_st.string(b.tip, "the tool tip")) return failStmt();
            tb.buttons.push_back(b);
        }
        return fail("TOOLBAR without END");
    }

    bool menuItems(std::vector<MenuItemTemplate>& items) {
        if (!expectBegin("a menu or popup")) return false;
        while (nextStatement()) {
            if (isEnd()) return true;
            MenuItemTemplate it;
            if (m_st.word("POPUP")) {
                if (!m_st.string(it.text, "the popup's text")) return failStmt();
                if (!menuItems(it.children)) return false;
                items.push_back(std::move(it));
                continue;
            }
            if (!m_st.word("MENUITEM")) return fail("expected MENUITEM, POPUP or END in a menu");
            if (m_st.word("SEPARATOR")) {
                it.separator = true;
                items.push_back(it);
                continue;
            }
            if (!m_st.string(it.text, "the item's text")) return failStmt();
            long cid;
            if (!m_st.comma() || !m_st.number(cid, "the item's command id")) return failStmt();
            if (cid <= 0) return fail("a menu item needs a positive command id");
            it.id = static_cast<int>(cid);
            while (m_st.comma()) {
                if (m_st.word("GRAYED") || m_st.word("DISABLED"))
                    it.grayed = true;
                else if (m_st.word("CHECKED"))
                    it.checked = true;
                else
                    return fail("unknown menu item option");
            }
            if (!m_st.atEnd()) return fail("unexpected '" + m_st.peek()->text + "' after the menu item");
            items.push_back(it);
        }
        return fail("menu without END");
    }

    bool menu(int id) {
        MenuTemplate m;
        m.id = id;
        if (!menuItems(m.items)) return false;
        if (m_out.menus.count(id)) return fail("menu " + std::to_string(id) + " is defined twice");
        m_out.menus[id] = std::move(m);
        return true;
    }

    bool dialog(int id) {
        DialogTemplate d;
        d.id = id;
        d.source = m_source + ":" + std::to_string(m_lineNo);
        if (!m_st.rect(d.rect)) return failStmt();
        if (m_out.dialogs.count(id)) return fail("dialog " + std::to_string(id) + " is defined twice");
        // header lines up to BEGIN
        while (true) {
            if (!nextStatement()) return fail("dialog " + std::to_string(id) + " has no BEGIN");
            if (isBegin()) break;
            if (m_st.word("CAPTION")) {
                if (!m_st.string(d.caption, "the caption")) return failStmt();
            } else if (m_st.word("STYLE") || m_st.word("EXSTYLE")) {
                if (!m_st.styles(d.styles)) return failStmt();
            } else if (m_st.word("FONT")) {
                long size;
                if (!m_st.number(size, "the font size") || !m_st.comma() ||
                    !m_st.string(d.fontFace, "the font name"))
                    return failStmt();
                d.fontSize = static_cast<int>(size);
            } else if (m_st.word("MENU")) {
                long mid;
                if (!m_st.number(mid, "the menu number")) return failStmt();
                d.menuId = static_cast<int>(mid);
            } else {
                return fail("unknown dialog statement '" + m_st.toks[0].text + "'");
            }
        }
        while (nextStatement()) {
            if (isEnd()) {
                m_out.dialogs[id] = std::move(d);
                return true;
            }
            ControlTemplate c;
            c.line = m_lineNo;
            if (!control(c)) return false;
            if (c.id > 0 && d.control(c.id))
                return fail("control " + std::to_string(c.id) + " appears twice in dialog " +
                            std::to_string(id));
            d.controls.push_back(std::move(c));
        }
        return fail("dialog " + std::to_string(id) + " has no END");
    }

    bool control(ControlTemplate& c) {
        if (m_st.atEnd() || m_st.peek()->kind != Token::Word) return fail("expected a control keyword");
        std::string kw = m_st.toks[m_st.pos++].text;
        long id;
        if (kw == "CONTROL") {
            if (!m_st.textOrNumber(c.text, "the control's text")) return failStmt();
            if (!m_st.comma() || !m_st.number(id, "the control id") || !m_st.comma()) return failStmt();
            if (!m_st.string(c.kind, "the control class")) return failStmt();
            if (!m_st.comma() || !m_st.styles(c.styles) || !m_st.comma() || !m_st.rect(c.rect))
                return failStmt();
            c.id = static_cast<int>(id);
            static const char* const known[] = {"Button",
                                                "Static",
                                                "Edit",
                                                "ComboBox",
                                                "ListBox",
                                                "SysTabControl32",
                                                "SysListView32",
                                                "RichEdit20A",
                                                "RichEdit20W",
                                                "RICHEDIT50W",
                                                "ToolbarWindow32",
                                                "msctls_trackbar32",
                                                "msctls_progress32",
                                                "VorGrid",
                                                "VorPreview",
                                                "VorView",
                                                "VorCheckCombo"};
            if (!oneOf(c.kind, known)) return fail("unknown control class \"" + c.kind + "\"");
        } else if (oneOf(kw, kTextControls)) {
            c.kind = kw;
            if (!m_st.textOrNumber(c.text, "the control's text")) return failStmt();
            if (!m_st.comma() || !m_st.number(id, "the control id") || !m_st.comma()) return failStmt();
            c.id = static_cast<int>(id);
            if (!m_st.rect(c.rect, kw == "ICON")) return failStmt();
        } else if (oneOf(kw, kIdControls)) {
            c.kind = kw;
            if (!m_st.number(id, "the control id") || !m_st.comma()) return failStmt();
            c.id = static_cast<int>(id);
            if (!m_st.rect(c.rect)) return failStmt();
        } else {
            return fail("unknown control keyword '" + kw + "'");
        }
        if (m_st.comma() && !m_st.styles(c.styles)) return failStmt();
        if (m_st.comma()) { // extended styles: kept with the others
            if (!m_st.styles(c.styles)) return failStmt();
        }
        if (!m_st.atEnd())
            return fail("unexpected '" + m_st.peek()->text + "' at the end of the control line");
        return true;
    }

    std::string m_source;
    ResourceSet& m_out;
    std::vector<std::string> m_lines;
    size_t m_next = 0;
    int m_lineNo = 0;
    Stmt m_st;
    bool m_ok = true;
    std::string m_error;
};

struct Registry {
    std::vector<std::shared_ptr<ResourceSet>> sets;
    std::map<std::string, std::string> errors;
    std::string current;

    std::vector<const ResourceSet*> searchOrder() const {
        std::vector<const ResourceSet*> order;
        for (const auto& s : sets)
            if (s->name == current) order.push_back(s.get());
        for (auto it = sets.rbegin(); it != sets.rend(); ++it)
            if ((*it)->name != current) order.push_back(it->get());
        return order;
    }
};

// Never destroyed: libraries remove their sets while the process exits, after static destructors.
Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

} // namespace

bool parseResourceScript(const std::string& text, const std::string& sourceName, ResourceSet& out,
                         std::string& error) {
    ResourceSet parsed;
    parsed.name = out.name;
    parsed.files = out.files;
    Parser p(text, sourceName, parsed);
    if (!p.run(error)) return false;
    for (const auto& [id, im] : parsed.images)
        if (!parsed.files.empty() && !parsed.files.count(im.file) && im.themeName.empty()) {
            error = sourceName + ": picture " + std::to_string(id) + " names the file \"" + im.file +
                    "\", which is not embedded";
            return false;
        }
    out = std::move(parsed);
    return true;
}

void Resources::addEmbedded(const std::string& setName, const std::string& sourceName,
                            const std::string& script, std::vector<EmbeddedFile> files) {
    auto set = std::make_shared<ResourceSet>();
    set->name = setName;
    for (auto& f : files)
        set->files[f.name] = std::move(f.bytes);
    std::string error;
    std::string shortName = sourceName.substr(sourceName.find_last_of('/') + 1);
    if (!parseResourceScript(script, shortName, *set, error)) {
        std::fprintf(stderr, "resources of %s: %s\n", setName.c_str(), error.c_str());
        registry().errors[setName] = error;
        auto empty = std::make_shared<ResourceSet>();
        empty->name = setName;
        add(empty);
        return;
    }
    add(set);
}

void Resources::add(std::shared_ptr<ResourceSet> set) {
    auto& sets = registry().sets;
    sets.erase(std::remove_if(sets.begin(), sets.end(), [&](const auto& s) { return s->name == set->name; }),
               sets.end());
    sets.push_back(std::move(set));
}

void Resources::remove(const std::string& setName) {
    auto& sets = registry().sets;
    sets.erase(std::remove_if(sets.begin(), sets.end(), [&](const auto& s) { return s->name == setName; }),
               sets.end());
    if (registry().current == setName) registry().current.clear();
}

bool Resources::has(const std::string& setName) {
    for (const auto& s : registry().sets)
        if (s->name == setName) return true;
    return false;
}

std::string Resources::loadError(const std::string& setName) {
    auto it = registry().errors.find(setName);
    return it == registry().errors.end() ? std::string() : it->second;
}

std::string Resources::setCurrent(const std::string& setName) {
    std::string previous = registry().current;
    registry().current = setName;
    return previous;
}

std::string Resources::current() {
    return registry().current;
}

const DialogTemplate* Resources::dialog(int id, std::string* setName) {
    for (const ResourceSet* s : registry().searchOrder()) {
        auto it = s->dialogs.find(id);
        if (it != s->dialogs.end()) {
            if (setName) *setName = s->name;
            return &it->second;
        }
    }
    return nullptr;
}

const MenuTemplate* Resources::menu(int id) {
    for (const ResourceSet* s : registry().searchOrder()) {
        auto it = s->menus.find(id);
        if (it != s->menus.end()) return &it->second;
    }
    return nullptr;
}

const ToolbarTemplate* Resources::toolbar(int id) {
    for (const ResourceSet* s : registry().searchOrder()) {
        auto it = s->toolbars.find(id);
        if (it != s->toolbars.end()) return &it->second;
    }
    return nullptr;
}

const ImageTemplate* Resources::image(int id, std::string* setName) {
    for (const ResourceSet* s : registry().searchOrder()) {
        auto it = s->images.find(id);
        if (it != s->images.end()) {
            if (setName) *setName = s->name;
            return &it->second;
        }
    }
    return nullptr;
}

std::optional<std::string> Resources::string(int id) {
    for (const ResourceSet* s : registry().searchOrder()) {
        auto it = s->strings.find(id);
        if (it != s->strings.end()) return it->second;
    }
    return std::nullopt;
}

const std::string* Resources::fileOfImage(int id) {
    for (const ResourceSet* s : registry().searchOrder()) {
        auto it = s->images.find(id);
        if (it != s->images.end()) {
            auto f = s->files.find(it->second.file);
            return f == s->files.end() ? nullptr : &f->second;
        }
    }
    return nullptr;
}

} // namespace ui
