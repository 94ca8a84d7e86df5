// vorhost's options: defaults, repeated modules, "none", and bad input named.

#include "HostOptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool parse(std::vector<const char*> args, HostOptions& o, std::string& error) {
    args.insert(args.begin(), "vorhost");
    return parseHostOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), o, error);
}

TEST(HostOptions, defaultsLoadTheModuleInEnglish) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(parse({}, o, error)) << error;
    EXPECT_EQ(o.modules, std::vector<std::string>{"vordlg"});
    EXPECT_EQ(o.lang, "en");
    EXPECT_FALSE(o.offscreen);
    EXPECT_TRUE(o.script.empty());
}

TEST(HostOptions, everyOptionIsTaken) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--module", "a",      "--module", "b",         "--offscreen", "--script",  "-",
                       "--shot",   "x.png",  "--lib",    "L",         "--install",   "I",         "--profile",
                       "p.ini",    "--lang", "nl",       "--command", "TEST",        "--drawing", "d.dwg"},
                      o, error))
        << error;
    EXPECT_EQ(o.modules, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(o.offscreen);
    EXPECT_EQ(o.script, "-");
    EXPECT_EQ(o.shot, "x.png");
    EXPECT_EQ(o.libDir, "L");
    EXPECT_EQ(o.installDir, "I");
    EXPECT_EQ(o.profile, "p.ini");
    EXPECT_EQ(o.lang, "nl");
    EXPECT_EQ(o.commands, std::vector<std::string>{"TEST"});
    EXPECT_EQ(o.drawing, "d.dwg");
}

TEST(HostOptions, scriptHelpIsASwitchAndTheUsageNamesEveryOption) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--script-help"}, o, error)) << error;
    EXPECT_TRUE(o.scriptHelp);
    EXPECT_TRUE(o.script.empty()) << "a switch takes no value";
    const std::string usage = kHostUsage;
    for (const char* option :
         {"--module NAME", "--script FILE", "--script-help", "--offscreen", "--shot FILE", "--lib DIR",
          "--install DIR", "--profile FILE", "--lang en|nl", "--command NAME", "--drawing FILE"})
        EXPECT_NE(usage.find(option), std::string::npos) << option << " is missing from:\n" << usage;
}

TEST(HostOptions, moduleNoneLoadsNothing) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--module", "none"}, o, error));
    EXPECT_TRUE(o.modules.empty());
}

TEST(HostOptions, badInputIsNamed) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--frob"}, "unknown option --frob"},
        {{"--script"}, "option --script needs a value"},
        {{"--lang", "de"}, "--lang takes en or nl, not de"},
        {{"--module"}, "option --module needs a value"},
    };
    for (const auto& [args, message] : cases) {
        HostOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << message;
        EXPECT_EQ(error, message);
    }
}

} // namespace
