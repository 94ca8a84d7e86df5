// Commands by group: add, look up without regard to case, remove a group; the command line.

#include <cad/aced.h>

#include <gtest/gtest.h>

namespace {

int g_calls = 0;
void count() { ++g_calls; }

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
