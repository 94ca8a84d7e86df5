#pragma once
// The user languages: the languages in which sections, groups and types are described.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <map>
#include <string>
#include <tuple>

/// The user languages of the library folder, in the order of a profile table's description columns.
/// They are read from `libDir + "languages.txt"` (docs/formats.md) on first use after the library
/// folder changed; without that file they are Nederlands, English, Deutsch and Français.
class MacroLangs {
public:
    /// The names of all user languages ("Nederlands", "English", ...), in column order.
    void GetAllLanguages(Vor_StringArray& names);
    /// The name of the language the interface texts are shown in (by the catalogue's code), or the
    /// first user language when none has that code.
    Vor_String GetCurLanguage();
    /// Index of the current language among GetAllLanguages.
    int GetCurLanguageIndex();
    int count();
    /// The text of `key` in group `group` for the current language, from `libDir + "translations.txt"`;
    /// the key itself when there is none.
    Vor_String GetString(const Vor_String& group, const Vor_String& key);

    /// `text` with the macro language's symbol escapes replaced, without regard to case: "%%d" the
    /// degree sign, "%%c" the diameter sign, "%%p" the plus-minus sign, "%%%" a percent sign; the
    /// underline and overline switches "%%u" and "%%o" are dropped. Other text stays as it is.
    static Vor_String GetStringChopSymbols(const Vor_String& text);

    /// Sets the languages (codes such as "nl", names such as "Nederlands") for this session.
    void setLanguages(const Vor_StringArray& codes, const Vor_StringArray& names);
    /// Forgets what was read, so that the next use reads the library folder again.
    void reset();

private:
    void ensureLoaded();

    std::string m_loadedFor; ///< library folder the languages were read from
    bool m_fixed = false;    ///< set by setLanguages: not read from files
    Vor_StringArray m_codes;
    Vor_StringArray m_names;
    std::map<std::tuple<std::string, std::string, std::string>, std::string> m_strings; ///< group, key, code
};

extern MacroLangs gMacroLangs;
