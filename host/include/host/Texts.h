#pragma once
// Numbered interface texts in the current language, read from the catalogues of the install folder.

#include <host/Vor_String.h>

#include <map>
#include <string>

/// Reads installDir + "texts/dial.<lang>.txt" and "texts/string.<lang>.txt" and makes them current.
/// On failure the texts loaded before stay current and *error names the file and line at fault.
bool loadTextCatalogues(const std::string& installDir, const std::string& lang, std::string* error = nullptr);

/// The dialog text with number n, or "#n" when there is none (so that a gap is noticed, not hidden).
Vor_String dialString(int n);
/// The general text with number n, or "#n" when there is none.
Vor_String string(int n);
bool hasDialString(int n);
bool hasString(int n);
/// Language of the loaded catalogues ("en", "nl"), or "" before any was loaded.
std::string textLanguage();

/// Reads one catalogue file into `texts` (replaced only on success); *error names file and line.
bool parseTextCatalogue(const std::string& path, std::map<int, std::string>& texts,
                        std::string* error = nullptr);
