// Rules of the module's sources that keep one pattern for every dialog: a dialog reaches a grid
// only through Vor_Spread/TSpread and TableDocument, the grid binding opens no dialog of its own,
// the frame knows no dialog of an area, and no module code speaks Qt.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Rule {
    std::regex pattern;
    std::vector<std::string> allowedIn; ///< files (relative to module/) where the pattern may appear
    const char* why;
};

/// A violation: file:line and the line.
std::vector<std::string> violations(const fs::path& root, const Rule& rule) {
    std::vector<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string ext = e.path().extension().string();
        if (!e.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        const std::string rel = fs::relative(e.path(), root).generic_string();
        bool allowed = false;
        for (const std::string& a : rule.allowedIn)
            allowed = allowed || rel == a || (a.back() == '/' && rel.rfind(a, 0) == 0);
        if (allowed) continue;
        std::ifstream in(e.path());
        std::string line;
        for (int n = 1; std::getline(in, line); ++n) {
            const size_t code = line.find_first_not_of(" \t");
            if (code != std::string::npos && line.compare(code, 2, "//") == 0)
                continue; // a comment may name them
            if (std::regex_search(line, rule.pattern))
                found.push_back(rel + ":" + std::to_string(n) + ": " + line);
        }
    }
    return found;
}

std::vector<Rule> rules() {
    return {
        {std::regex(R"(\bsheet::(SS|Spv)\w*\s*\()"),
         {"calc/TSpread.h"},
         "only the binding calls the grid's entry points; a dialog calls Vor_Spread/TSpread"},
        {std::regex(R"(\bhandle\(\)|\bm_hWnd\b)"),
         {"calc/TSpread.h", "calc/Vor_Spread.h", "calc/Vor_Spread.cpp"},
         "the control's handle stays inside the binding"},
        {std::regex(R"(#include\s*<sheet/control/)"),
         {"calc/Vor_Spread.cpp"},
         "only the binding creates grid and preview windows"},
        {std::regex(R"(#include\s*"calc/ui/)"),
         {"calc/ui/"},
         "the grid binding and the frame include no dialog of the tables: dialogs register themselves"},
        {std::regex(R"(#include\s*"frame/Dlg)"),
         {"frame/"},
         "outside the frame its dialogs are asked for through plain functions (frame/AskText.h)"},
        {std::regex(R"(#include\s*<Q)"), {}, "no Qt in module code: windows come through the ui layer"},
        {std::regex(
             R"(\b(atof|atoi|strtod|strtol|stod|stoi|sscanf|printf|snprintf|to_chars|from_chars)\s*\()"),
         {},
         "numbers and text meet only in platform/base, never in the process locale"},
    };
}

TEST(ModuleSources, keepToTheOneDoorAndTheLayers) {
    const fs::path root = fs::path(VOR_SOURCE_DIR) / "module";
    ASSERT_TRUE(fs::is_directory(root));
    for (const Rule& r : rules()) {
        const std::vector<std::string> v = violations(root, r);
        std::string list;
        for (const std::string& s : v)
            list += "\n  " + s;
        EXPECT_TRUE(v.empty()) << r.why << ":" << list;
    }
}

TEST(ModuleSources, theRulesCatchWhatTheyAreFor) {
    // Each rule against a line it must catch, so that a rule that matches nothing is noticed.
    const std::vector<std::pair<std::string, size_t>> samples = {
        {"    sheet::SSSetEditMode(m_grid.handle(), false);", 0},
        {"    m_grid.handle()->clearSelection();", 1},
        {"#include <sheet/control/GridWidget.h>", 2},
        {"#include \"calc/ui/DlgFindReplace.h\"", 3},
        {"#include \"frame/DlgTextInput.h\"", 4},
        {"#include <QWidget>", 5},
        {"    out = std::atof(s.c_str());", 6},
    };
    const std::vector<Rule> all = rules();
    for (const auto& [line, index] : samples)
        EXPECT_TRUE(std::regex_search(line, all[index].pattern)) << all[index].why << ": " << line;
    EXPECT_FALSE(std::regex_search(std::string("    m_grid.SetEditMode(false);"), all[0].pattern));
    EXPECT_FALSE(std::regex_search(std::string("    acutPrintf(\"x\");"), all[6].pattern))
        << "acutPrintf is no printf";
}

} // namespace
