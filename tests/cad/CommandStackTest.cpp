// Commands by group: add, look up without regard to case, remove a group; the command line.

#include <cad/aced.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

int g_calls = 0;
void count() {
    ++g_calls;
}

TEST(CommandStack, groupsOfCommands) {
    AcEdCommandStack stack;
    EXPECT_EQ(stack.addCommand("G1", "TEST", "TEST", 0, &count), Acad::eOk);
    EXPECT_EQ(stack.addCommand("g1", "test", "test", 0, &count), Acad::eDuplicateKey) << "names ignore case";
    EXPECT_EQ(stack.addCommand("G2", "OTHER", "ANDERE", 0, &count), Acad::eOk);
    EXPECT_EQ(stack.addCommand("G2", "", "", 0, &count), Acad::eInvalidInput);
    ASSERT_NE(stack.lookupCmd("Test"), nullptr);
    EXPECT_EQ(stack.lookupCmd("TEST")->group, "G1");
    EXPECT_EQ(stack.lookupCmd("TEST", "G2"), nullptr);
    EXPECT_TRUE(stack.run("andere"));
    EXPECT_FALSE(stack.run("nothing"));
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(stack.removeGroup("G1"), Acad::eOk);
    EXPECT_EQ(stack.removeGroup("G1"), Acad::eKeyNotFound);
    EXPECT_FALSE(stack.hasGroup("G1"));
    EXPECT_TRUE(stack.hasGroup("G2"));
    EXPECT_EQ(stack.lookupCmd("TEST"), nullptr);
}

AcEdCommandStack* g_stack = nullptr;
std::vector<std::vector<std::string>> g_seen; // the commands in progress, as each command saw them
void record() {
    std::vector<std::string> names;
    for (const AcEdCommand& c : g_stack->activeCommands())
        names.push_back(c.globalName);
    g_seen.push_back(names);
}
void outer() {
    record();
    g_stack->run("INNER");
    record();
}
void throws() {
    throw std::runtime_error("the command failed");
}

TEST(CommandStack, knowsWhichCommandsAreInProgress) {
    AcEdCommandStack stack;
    g_stack = &stack;
    g_seen.clear();
    stack.addCommand("G", "OUTER", "OUTER", 0, &outer);
    stack.addCommand("G", "INNER", "INNER", 0, &record);
    stack.addCommand("G", "THROWS", "THROWS", 0, &throws);
    EXPECT_TRUE(stack.activeCommands().empty());
    ASSERT_TRUE(stack.run("outer"));
    const std::vector<std::vector<std::string>> expected = {
        {"OUTER"}, {"OUTER", "INNER"}, {"OUTER"}}; // a nested command sits above the one that ran it
    EXPECT_EQ(g_seen, expected);
    EXPECT_TRUE(stack.activeCommands().empty()) << "finished commands leave the list";
    EXPECT_THROW(stack.run("THROWS"), std::runtime_error);
    EXPECT_TRUE(stack.activeCommands().empty())
        << "a command that left by an exception is no longer in progress";
    g_stack = nullptr;
}

TEST(CommandLine, printfReachesTheSinkWhateverTheLength) {
    std::string seen;
    acutSetPrintSink([&](const std::string& s) { seen += s; });
    acutClearPrintedText();
    std::string long_(5000, 'x');
    acutPrintf("*Error* %s.\n", "Invalid index passed to insert");
    acutPrintf("%s", long_.c_str());
    EXPECT_EQ(seen, "*Error* Invalid index passed to insert.\n" + long_);
    EXPECT_EQ(acutPrintedText(), seen);
    int before = acedPostCommandPromptCount();
    acedPostCommandPrompt();
    EXPECT_EQ(acedPostCommandPromptCount(), before + 1);
    acutSetPrintSink(nullptr);
}

} // namespace
