// The unload of the module: the handlers the areas register close their windows before the frame
// looks for windows still open, and the exported closers run them.

#include "frame/ModuleEntry.h"
#include "frame/ModuleResourceScope.h"
#include "frame/UnloadHandlers.h"

#include <cad/aced.h>
#include <ui/Dialog.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

// The handler names these tests register; each test leaves none behind.
const char* const kNames[] = {"a", "b", "c", "macro windows", "throws"};

class ModuleUnload : public testing::Test {
protected:
    void SetUp() override { ui::setAgent(&agent); }
    void TearDown() override {
        for (const char* n : kNames) {
            unregisterUnloadHandler(UnloadStep::DestroyAllMacroDlgs, n);
            unregisterUnloadHandler(UnloadStep::EndDlgEditConstraints, n);
        }
        ui::setAgent(nullptr);
    }
    ui::ScriptedAgent agent;
};

bool moduleWindowOpen() {
    for (ui::Dialog* d : ui::Dialog::openDialogs())
        if (d->resourceSet() == kModuleName) return true;
    return false;
}

TEST_F(ModuleUnload, withNothingRegisteredTheClosersDoNothingAndTheUnloadGoesOn) {
    DestroyAllMacroDlgs();
    EndDlgEditConstraints();
    acrxInitHost();
    ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
    EXPECT_FALSE(acedRegCmds()->hasGroup(kCommandGroup));
}

TEST_F(ModuleUnload, theUnloadMessageClosesWhatAnAreaRegisteredAndOnlyThenLetsGo) {
    acrxInitHost();
    ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
    // A modeless window of the module, as a macro dialog will be.
    auto dialog = std::make_unique<ui::Dialog>(8069);
    {
        ModuleResourceScope scope;
        ASSERT_TRUE(dialog->create());
    }
    ASSERT_TRUE(moduleWindowOpen());

    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetError)
        << "without a handler the open window keeps the module loaded";
    EXPECT_TRUE(acedRegCmds()->hasGroup(kCommandGroup)) << "a refused unload keeps the commands";

    int calls = 0;
    ASSERT_TRUE(registerUnloadHandler(UnloadStep::DestroyAllMacroDlgs, "macro windows", [&] {
        ++calls;
        dialog->destroyWindow();
    }));
    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(moduleWindowOpen());
    EXPECT_FALSE(acedRegCmds()->hasGroup(kCommandGroup));
}

TEST_F(ModuleUnload, eachCloserRunsItsOwnHandlersInOrderOfRegistration) {
    std::string log;
    // Table: step, name, what it writes; "a" is registered twice, the second replacing the first.
    struct Row {
        UnloadStep step;
        const char* name;
        const char* mark;
    };
    const Row rows[] = {{UnloadStep::DestroyAllMacroDlgs, "a", "x"},
                        {UnloadStep::DestroyAllMacroDlgs, "b", "b"},
                        {UnloadStep::EndDlgEditConstraints, "a", "c"},
                        {UnloadStep::DestroyAllMacroDlgs, "a", "a"}};
    for (const Row& r : rows) {
        const std::string mark = r.mark;
        ASSERT_TRUE(registerUnloadHandler(r.step, r.name, [&log, mark] { log += mark; }));
    }
    DestroyAllMacroDlgs();
    EXPECT_EQ(log, "ab") << "the macro closer runs its two handlers, the replaced one in its first place";
    log.clear();
    EndDlgEditConstraints();
    EXPECT_EQ(log, "c") << "the constraint closer runs only its own, though it shares a name";

    EXPECT_TRUE(unregisterUnloadHandler(UnloadStep::DestroyAllMacroDlgs, "a"));
    EXPECT_FALSE(unregisterUnloadHandler(UnloadStep::DestroyAllMacroDlgs, "a")) << "already gone";
    log.clear();
    DestroyAllMacroDlgs();
    EXPECT_EQ(log, "b");

    EXPECT_FALSE(registerUnloadHandler(UnloadStep::DestroyAllMacroDlgs, "", [] {}))
        << "a handler needs a name";
    EXPECT_FALSE(registerUnloadHandler(UnloadStep::DestroyAllMacroDlgs, "c", nullptr)) << "and a function";
}

TEST_F(ModuleUnload, aHandlerThatThrowsIsReportedAndTheOthersStillRun) {
    std::string log;
    registerUnloadHandler(UnloadStep::DestroyAllMacroDlgs, "throws",
                          [] { throw std::runtime_error("broken"); });
    registerUnloadHandler(UnloadStep::DestroyAllMacroDlgs, "b", [&] {
        log += "b";
        // A handler that removes another while the run goes on does not upset it.
        unregisterUnloadHandler(UnloadStep::DestroyAllMacroDlgs, "throws");
    });
    acrxInitHost();
    ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
    acutClearPrintedText();
    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
    EXPECT_EQ(log, "b");
    EXPECT_NE(acutPrintedText().find("Closing throws at unload failed: broken"), std::string::npos)
        << acutPrintedText();
    EXPECT_FALSE(acedRegCmds()->hasGroup(kCommandGroup));
}

} // namespace
