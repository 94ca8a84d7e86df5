#include <host/Texts.h>

#include <host/FileUtils.h>
#include <host/TextCodec.h>

#include <cctype>
#include <charconv>

namespace {

struct Catalogues {
    std::map<int, std::string> dial;
    std::map<int, std::string> general;
    std::string language;
};

Catalogues& current() {
    static Catalogues catalogues;
    return catalogues;
}

Vor_String lookUp(const std::map<int, std::string>& texts, int n) {
    const auto it = texts.find(n);
    return it != texts.end() ? Vor_String(it->second) : Vor_String("#" + std::to_string(n));
}

// Undoes the escapes \n, \t and \\; false for any other backslash.
bool unescape(std::string_view in, std::string& out, std::string& what) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (++i == in.size()) {
            what = "backslash at the end of the text";
            return false;
        }
        switch (in[i]) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            what = std::string("unknown escape \\") + in[i];
            return false;
        }
    }
    return true;
}

bool isBlankLine(std::string_view line) {
    for (char c : line)
        if (c != ' ' && c != '\t') return false;
    return true;
}

bool validLanguage(const std::string& lang) {
    if (lang.empty() || lang.size() > 16) return false;
    for (char c : lang)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
    return true;
}

} // namespace

bool parseTextCatalogue(const std::string& path, std::map<int, std::string>& texts, std::string* error) {
    std::string bytes;
    // A catalogue holds a few thousand short texts; anything near this budget is not a catalogue.
    if (!readWholeFile(path, bytes, error, std::size_t(16) << 20)) return false;
    std::map<int, std::string> result;
    std::map<int, int> lineOf;
    // One encoding for the whole file, never line by line.
    const std::string decoded = decodeText(stripUtf8Bom(bytes));
    std::string_view rest = decoded;
    const auto fail = [&](int line, const std::string& what) {
        if (error) *error = path + ":" + std::to_string(line) + ": " + what;
        return false;
    };
    for (int lineNo = 1; !rest.empty(); ++lineNo) {
        const std::size_t nl = rest.find('\n');
        std::string_view raw = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        if (isBlankLine(raw) || raw.front() == '#') continue;
        const std::string_view line = raw;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) return fail(lineNo, "expected NUMBER<TAB>TEXT");
        const std::string_view number(line.data(), tab);
        int n = 0;
        const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
        if (number.empty() || ec != std::errc() || end != number.data() + number.size() || n < 0)
            return fail(lineNo, "'" + std::string(number) + "' is not a text number");
        std::string text, what;
        if (!unescape(std::string_view(line).substr(tab + 1), text, what)) return fail(lineNo, what);
        if (const auto seen = lineOf.find(n); seen != lineOf.end())
            return fail(lineNo, "number " + std::to_string(n) + " already given on line " +
                                    std::to_string(seen->second));
        lineOf[n] = lineNo;
        result[n] = std::move(text);
    }
    texts = std::move(result);
    return true;
}

bool loadTextCatalogues(const std::string& installDir, const std::string& lang, std::string* error) {
    if (!validLanguage(lang)) {
        if (error) *error = "invalid text language '" + lang + "'";
        return false;
    }
    const std::string folder = folderWithSlash(Vor_String(installDir)).str() + "texts/";
    Catalogues loaded;
    if (!parseTextCatalogue(folder + "dial." + lang + ".txt", loaded.dial, error)) return false;
    if (!parseTextCatalogue(folder + "string." + lang + ".txt", loaded.general, error)) return false;
    loaded.language = lang;
    current() = std::move(loaded);
    return true;
}

Vor_String dialString(int n) {
    return lookUp(current().dial, n);
}

Vor_String string(int n) {
    return lookUp(current().general, n);
}

bool hasDialString(int n) {
    return current().dial.count(n) > 0;
}

bool hasString(int n) {
    return current().general.count(n) > 0;
}

std::string textLanguage() {
    return current().language;
}
