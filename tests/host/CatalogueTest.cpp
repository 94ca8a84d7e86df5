// Checks the numbered text catalogues: they load, both languages agree, and every number the code asks
// for has a text. A missing text only shows as "#n" at run time, so this is where it gets caught.
#include <host/Texts.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Catalogue = std::map<int, std::string>;

enum class Family { Dial, String };

/// One number that source code asks the host for, with the place that asks.
struct TextUse {
    Family family;
    int number;
    std::string where;
};

const fs::path kSourceDir = VOR_SOURCE_DIR;
const std::vector<std::string> kLanguages = {"en", "nl"};
const std::vector<Family> kFamilies = {Family::Dial, Family::String};

std::string callName(Family family) {
    return family == Family::Dial ? "dialString" : "string";
}

fs::path cataloguePath(Family family, const std::string& language) {
    const std::string stem = family == Family::Dial ? "dial" : "string";
    return kSourceDir / "data/install/texts" / (stem + "." + language + ".txt");
}

std::string fileName(Family family, const std::string& language) {
    return cataloguePath(family, language).filename().string();
}

Catalogue load(Family family, const std::string& language) {
    Catalogue texts;
    std::string error;
    const fs::path path = cataloguePath(family, language);
    EXPECT_TRUE(parseTextCatalogue(path.string(), texts, &error)) << path.string() << ": " << error;
    return texts;
}

Family familyOf(const std::string& name) {
    return name == "dialString" ? Family::Dial : Family::String;
}

/// Host text calls with a literal number, and "// texts: dialString 903-916" declarations of numbers that
/// the code computes. A `string(` right after an identifier character or "::" belongs to another
/// function (std::string, my_string), not to the host.
std::vector<TextUse> findTextUses(const std::string& line, const std::string& where) {
    static const std::regex call(R"((dialString|string)\s*\(\s*(\d+)\s*\))");
    static const std::regex marker(R"(//\s*texts:(.*))");
    static const std::regex range(R"((dialString|string)\s+(\d+)(?:\s*-\s*(\d+))?)");

    std::vector<TextUse> uses;
    for (auto it = std::sregex_iterator(line.begin(), line.end(), call); it != std::sregex_iterator(); ++it) {
        const auto start = static_cast<std::size_t>(it->position(0));
        const char before = start > 0 ? line[start - 1] : ' ';
        const bool qualified = start > 1 && line.compare(start - 2, 2, "::") == 0;
        if (std::isalnum(static_cast<unsigned char>(before)) || before == '_' || qualified) continue;
        uses.push_back({familyOf((*it)[1]), std::stoi((*it)[2]), where});
    }

    std::smatch declared;
    if (std::regex_search(line, declared, marker)) {
        const std::string list = declared[1];
        for (auto it = std::sregex_iterator(list.begin(), list.end(), range); it != std::sregex_iterator();
             ++it) {
            const int first = std::stoi((*it)[2]);
            const int last = (*it)[3].matched ? std::stoi((*it)[3]) : first;
            for (int n = first; n <= last; ++n)
                uses.push_back({familyOf((*it)[1]), n, where});
        }
    }
    return uses;
}

std::vector<TextUse> scanSources() {
    std::vector<TextUse> uses;
    for (const char* folder : {"module", "host", "apps"}) {
        const fs::path root = kSourceDir / folder;
        if (!fs::is_directory(root)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
            std::ifstream in(entry.path());
            std::string line;
            for (int lineNo = 1; std::getline(in, line); ++lineNo) {
                const std::string where =
                    fs::relative(entry.path(), kSourceDir).string() + ":" + std::to_string(lineNo);
                for (TextUse& use : findTextUses(line, where))
                    uses.push_back(std::move(use));
            }
        }
    }
    return uses;
}

/// Placeholders that code fills: printf conversions in order, and Qt-style %1, %2 in any order.
struct Placeholders {
    std::vector<std::string> printfStyle;
    std::vector<std::string> numbered;
    bool operator==(const Placeholders&) const = default;
};

Placeholders placeholdersOf(const std::string& text) {
    static const std::regex placeholder(R"(%(%|[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l)?[diouxXeEfgGcsp]|\d+))");
    Placeholders found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator();
         ++it) {
        const std::string token = (*it)[0];
        if (token == "%%") continue;
        if (token.find_first_not_of("0123456789", 1) == std::string::npos)
            found.numbered.push_back(token);
        else
            found.printfStyle.push_back(token);
    }
    std::sort(found.numbered.begin(), found.numbered.end());
    return found;
}

std::string join(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : " ") + item;
    return out.empty() ? "none" : out;
}

TEST(CatalogueTest, scannerFindsHostCallsAndDeclaredNumbersOnly) {
    struct Case {
        std::string line;
        std::vector<std::pair<Family, int>> expected;
        const char* why;
    };
    const std::vector<Case> cases = {
        {"caption = dialString(1150);", {{Family::Dial, 1150}}, "plain call"},
        {"h = string( 2333 ) + \" 1\";", {{Family::String, 2333}}, "blanks inside the parentheses"},
        {"t = dialString(1) + dialString(2);", {{Family::Dial, 1}, {Family::Dial, 2}}, "two calls"},
        {"std::string pad = std::string(5, ' ');", {}, "standard string constructor"},
        {"Vor_String count(12); my_string(7); obj::string(3);", {}, "other functions named like it"},
        {"label = dialString(base + k);", {}, "computed numbers need a declaration"},
        {"// texts: dialString 903-905",
         {{Family::Dial, 903}, {Family::Dial, 904}, {Family::Dial, 905}},
         "declared range"},
        {"x(); // texts: string 10046-10047, dialString 7",
         {{Family::String, 10046}, {Family::String, 10047}, {Family::Dial, 7}},
         "several declarations after code"},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<Family, int>> got;
        for (const TextUse& use : findTextUses(c.line, "sample"))
            got.emplace_back(use.family, use.number);
        EXPECT_EQ(got, c.expected) << c.why << ": " << c.line;
    }
}

TEST(CatalogueTest, placeholderExtractionSeparatesPrintfAndNumberedForms) {
    EXPECT_EQ(placeholdersOf("Loading %s: %5.2f mm").printfStyle, (std::vector<std::string>{"%s", "%5.2f"}));
    EXPECT_EQ(placeholdersOf("%2 of %1").numbered, (std::vector<std::string>{"%1", "%2"}));
    EXPECT_EQ(placeholdersOf("100%% done"), Placeholders{}) << "%% is a literal percent sign";
    EXPECT_EQ(placeholdersOf("Up to 90°"), Placeholders{});
}

TEST(CatalogueTest, everyCatalogueParsesWithAscendingNumbers) {
    for (Family family : kFamilies) {
        for (const std::string& language : kLanguages) {
            const std::string file = fileName(family, language);
            EXPECT_FALSE(load(family, language).empty()) << file << " holds no texts";

            std::ifstream in(cataloguePath(family, language));
            ASSERT_TRUE(in) << file << " cannot be opened";
            std::string line;
            int previous = -1;
            for (int lineNo = 1; std::getline(in, line); ++lineNo) {
                if (line.empty() || line[0] == '#') continue;
                const int number = std::atoi(line.c_str());
                EXPECT_GT(number, previous) << file << ":" << lineNo << ": " << number << " is out of order";
                previous = number;
            }
        }
    }
}

TEST(CatalogueTest, bothLanguagesHoldTheSameNumbersAndNoEmptyText) {
    for (Family family : kFamilies) {
        std::map<std::string, Catalogue> byLanguage;
        for (const std::string& language : kLanguages)
            byLanguage[language] = load(family, language);

        for (const std::string& language : kLanguages) {
            for (const auto& [number, text] : byLanguage[language]) {
                EXPECT_FALSE(text.empty())
                    << callName(family) << " " << number << " is empty in " << fileName(family, language);
                for (const std::string& other : kLanguages)
                    EXPECT_TRUE(byLanguage[other].count(number))
                        << callName(family) << " " << number << " is in " << fileName(family, language)
                        << " but missing from " << fileName(family, other);
            }
        }
    }
}

TEST(CatalogueTest, everyNumberUsedInCodeHasATextInBothLanguages) {
    std::map<Family, std::map<std::string, Catalogue>> catalogues;
    for (Family family : kFamilies)
        for (const std::string& language : kLanguages)
            catalogues[family][language] = load(family, language);

    for (const TextUse& use : scanSources())
        for (const std::string& language : kLanguages)
            EXPECT_TRUE(catalogues[use.family][language].count(use.number))
                << use.where << " uses " << callName(use.family) << "(" << use.number << "), which "
                << fileName(use.family, language) << " lacks";
}

TEST(CatalogueTest, translationsKeepThePlaceholdersOfTheEnglishText) {
    for (Family family : kFamilies) {
        const Catalogue english = load(family, "en");
        const Catalogue dutch = load(family, "nl");
        for (const auto& [number, text] : english) {
            const auto translated = dutch.find(number);
            if (translated == dutch.end())
                continue; // reported by bothLanguagesHoldTheSameNumbersAndNoEmptyText
            const Placeholders expected = placeholdersOf(text);
            const Placeholders got = placeholdersOf(translated->second);
            EXPECT_EQ(got.printfStyle, expected.printfStyle)
                << callName(family) << " " << number << ": " << fileName(family, "nl")
                << " has printf fields " << join(got.printfStyle) << " where " << fileName(family, "en")
                << " has " << join(expected.printfStyle);
            EXPECT_EQ(got.numbered, expected.numbered)
                << callName(family) << " " << number << ": " << fileName(family, "nl") << " has "
                << join(got.numbered) << " where " << fileName(family, "en") << " has "
                << join(expected.numbered);
        }
    }
}

} // namespace
