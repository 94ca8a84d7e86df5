#include <host/MacroLangs.h>

#include <cctype>

#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/Settings.h>
#include <host/Texts.h>

MacroLangs gMacroLangs;

namespace {
const Vor_StringArray kDefaultCodes{"nl", "en", "de", "fr"};
const Vor_StringArray kDefaultNames{"Nederlands", "English", "Deutsch",
                                    "Fran\xC3\xA7"
                                    "ais"};
} // namespace

void MacroLangs::ensureLoaded() {
    if (m_fixed || (m_loadedFor == gSettings.libDir.str() && !m_names.isEmpty())) return;
    m_loadedFor = gSettings.libDir.str();
    m_codes = kDefaultCodes;
    m_names = kDefaultNames;
    m_strings.clear();
    Vor_String name;
    Vor_Array<Vor_StringArray> lines;
    // languages.txt: one language a line, "code;name"; a file without one usable line is ignored
    if (readFile(gSettings.libDir + "languages.txt", name, lines)) {
        Vor_StringArray codes, names;
        for (const Vor_StringArray& l : lines) {
            if (l.length() < 2 || l[0].isEmpty() || l[1].isEmpty() || l[0].startsWith("#")) continue;
            if (codes.contains(l[0], false)) continue;
            codes.append(l[0]);
            names.append(l[1]);
        }
        if (!codes.isEmpty()) {
            m_codes = codes;
            m_names = names;
        }
    }
    // translations.txt: "group;key;code;text"
    if (readFile(gSettings.libDir + "translations.txt", name, lines))
        for (const Vor_StringArray& l : lines)
            if (l.length() >= 4)
                m_strings[{l[0].toLower().str(), l[1].str(), l[2].toLower().str()}] = l[3].str();
}

void MacroLangs::GetAllLanguages(Vor_StringArray& names) {
    ensureLoaded();
    names = m_names;
}

int MacroLangs::GetCurLanguageIndex() {
    ensureLoaded();
    int index = 0;
    if (!m_codes.find(Vor_String(textLanguage()), index, false)) index = 0;
    return index;
}

Vor_String MacroLangs::GetCurLanguage() {
    ensureLoaded();
    return m_names.isEmpty() ? Vor_String() : m_names[GetCurLanguageIndex()];
}

int MacroLangs::count() {
    ensureLoaded();
    return m_names.length();
}

Vor_String MacroLangs::GetString(const Vor_String& group, const Vor_String& key) {
    ensureLoaded();
    const int cur = GetCurLanguageIndex();
    if (cur >= m_codes.length()) return key;
    auto it = m_strings.find({group.toLower().str(), key.str(), m_codes[cur].toLower().str()});
    return it == m_strings.end() ? key : Vor_String(it->second);
}

void MacroLangs::setLanguages(const Vor_StringArray& codes, const Vor_StringArray& names) {
    m_fixed = true;
    m_codes = codes;
    m_names = names;
    m_strings.clear();
}

void MacroLangs::reset() {
    m_fixed = false;
    m_loadedFor.clear();
    m_codes.removeAll();
    m_names.removeAll();
    m_strings.clear();
}

Vor_String MacroLangs::GetStringChopSymbols(const Vor_String& text) {
    const std::string& in = text.str();
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '%' && i + 2 < in.size() && in[i + 1] == '%') {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(in[i + 2])));
            const char* with = nullptr;
            switch (c) {
            case 'd':
                with = "\xC2\xB0";
                break; // °
            case 'c':
                with = "\xE2\x8C\x80";
                break; // ⌀
            case 'p':
                with = "\xC2\xB1";
                break; // ±
            case '%':
                with = "%";
                break;
            case 'u':
            case 'o':
                with = "";
                break;
            default:
                break;
            }
            if (with) {
                out += with;
                i += 2;
                continue;
            }
        }
        out += in[i];
    }
    return Vor_String(out);
}
