// The script commands vorhost lists (from the tables that run them) and the ones docs/scripting.md
// describes are the same, with the same usage.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace {

std::string run(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    if (!pipe) return out;
    std::array<char, 4096> buffer;
    while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe.get()))
        out.append(buffer.data(), n);
    return out;
}

/// Command name -> usage, from the help: a usage line is indented two spaces, its summary six.
std::map<std::string, std::string> fromHelp(const std::string& help) {
    std::map<std::string, std::string> out;
    std::istringstream in(help);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("  ", 0) == 0 && line.size() > 2 && line[2] != ' ') {
            std::string usage = line.substr(2);
            out[usage.substr(0, usage.find(' '))] = usage;
        }
    return out;
}

/// Command name -> usage, from the first column of every table whose header is "| command |".
std::map<std::string, std::string> fromDocs(const std::string& text) {
    std::map<std::string, std::string> out;
    std::istringstream in(text);
    bool inCommandTable = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("| command |", 0) == 0) {
            inCommandTable = true;
            continue;
        }
        if (line.rfind("|", 0) != 0) {
            inCommandTable = false;
            continue;
        }
        size_t open = line.find('`'), close = line.find('`', open + 1);
        if (!inCommandTable || open == std::string::npos || close == std::string::npos) continue;
        std::string usage = line.substr(open + 1, close - open - 1);
        for (size_t at = usage.find("\\|"); at != std::string::npos; at = usage.find("\\|", at))
            usage.erase(at, 1); // a bar inside a table cell is written \|
        out[usage.substr(0, usage.find(' '))] = usage;
    }
    return out;
}

TEST(ScriptHelp, listsExactlyTheCommandsTheDocsDescribe) {
    std::string help = run(VOR_BINARY_DIR "/bin/vorhost --script-help");
    std::ifstream docFile(VOR_SOURCE_DIR "/docs/scripting.md");
    ASSERT_TRUE(docFile) << "docs/scripting.md is missing";
    std::stringstream docText;
    docText << docFile.rdbuf();
    auto listed = fromHelp(help);
    auto documented = fromDocs(docText.str());
    ASSERT_GT(listed.size(), 30u) << "the help lists both tables:\n" << help;
    for (const auto& [name, usage] : listed) {
        auto it = documented.find(name);
        if (it == documented.end()) {
            ADD_FAILURE() << "'" << name << "' runs in scripts but docs/scripting.md does not describe it";
            continue;
        }
        EXPECT_EQ(it->second, usage) << "the docs and the help disagree on the usage of " << name;
    }
    for (const auto& [name, usage] : documented)
        EXPECT_TRUE(listed.count(name))
            << "docs/scripting.md describes '" << usage << "', which no table runs";
    EXPECT_TRUE(listed.count("unload") && listed.count("expect-dialog"))
        << "host commands and the agent's own commands are both there";
}

TEST(ScriptHelp, theDocTableReaderSeesEveryRowOfCommandTablesOnly) {
    const std::string doc = "| command | what |\n|---|---|\n| `a X\\|Y` | one |\n| `b` | two |\n\n"
                            "| form | answers |\n|---|---|\n| `c` | not a command |\n";
    auto got = fromDocs(doc);
    const std::map<std::string, std::string> want = {{"a", "a X|Y"}, {"b", "b"}};
    EXPECT_EQ(got, want) << "rows of other tables are forms, not commands; \\| is a bar";
}

} // namespace
