// The module frame: entry messages, the command, resource scopes, placements of real windows and
// the text-input dialog.

#include "calc/ui/DlgSpreadsheet.h"
#include "frame/DlgTextInput.h"
#include "frame/ModuleEntry.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"

#include <cad/aced.h>
#include <ui/Application.h>
#include <ui/Resources.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

namespace {

class ModuleFrame : public testing::Test {
protected:
    void SetUp() override { ui::setAgent(&agent); }
    void TearDown() override { ui::setAgent(nullptr); }
    ui::ScriptedAgent agent;
};

TEST_F(ModuleFrame, initRegistersTestAndUnloadRemovesTheGroup) {
    acrxInitHost();
    EXPECT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
    const AcEdCommand* c = acedRegCmds()->lookupCmd("TEST");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->group, "VORLANE_SS");
    EXPECT_EQ(c->flags, 0);
    EXPECT_FALSE(checkedBitmap().isNull()) << "the check-box pictures are loaded with the command";
    EXPECT_FALSE(uncheckedBitmap().isNull());
    EXPECT_NE(checkedBitmap().pixel(3, 6), uncheckedBitmap().pixel(3, 6)) << "the two pictures differ";
    EXPECT_EQ(acrxEntryPoint(AcRx::kLoadDwgMsg, nullptr), AcRx::kRetOK);
    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
    EXPECT_FALSE(acedRegCmds()->hasGroup("VORLANE_SS"));
}

TEST_F(ModuleFrame, resourceScopesNestAndRestore) {
    std::string outer = ui::Resources::setCurrent("host");
    {
        ModuleResourceScope a;
        EXPECT_EQ(ui::Resources::current(), kModuleName);
        {
            ModuleResourceScope b;
            EXPECT_EQ(ui::Resources::current(), kModuleName);
        }
        EXPECT_EQ(ui::Resources::current(), kModuleName);
    }
    EXPECT_EQ(ui::Resources::current(), "host");
    ui::Resources::setCurrent(outer);
}

TEST_F(ModuleFrame, testOpensTheEditorAndCancellingChangesNothing) {
    agent.setScript("expect-dialog 140\nclose\n", "t.vsc");
    SSEditor();
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_TRUE(ui::Profile::has(kPlacementSection, "DLG_SPREADSHEET_TOP"))
        << "the editor saved its placement";
}

TEST_F(ModuleFrame, placementSavedOnCloseIsRestoredNextTime) {
    ModuleResourceScope scope;
    ui::Rect saved;
    {
        DlgSpreadsheet dlg;
        ASSERT_TRUE(dlg.create());
        dlg.moveWindow(ui::Rect::fromSize(40, 60, 700, 500));
        ui::processEvents();
        saved = dlg.windowRect();
        EXPECT_EQ(saved, ui::Rect::fromSize(40, 60, 700, 500)) << "moveWindow sets the outer rectangle";
        dlg.destroyWindow();
    }
    EXPECT_EQ(ui::Profile::getInt(kPlacementSection, "DLG_SPREADSHEET_LEFT", -1), saved.left);
    EXPECT_EQ(ui::Profile::getInt(kPlacementSection, "DLG_SPREADSHEET_BOTTOM", -1), saved.bottom);
    DlgSpreadsheet again;
    ASSERT_TRUE(again.create());
    ui::processEvents();
    EXPECT_EQ(again.windowRect(), saved);
    again.destroyWindow();
}

TEST_F(ModuleFrame, textInputReturnsTheConfirmedTextOnly) {
    ModuleResourceScope scope;
    agent.setScript("expect-dialog 8069\n"
                    "expect-text 8003 \"HEA200\"\n"
                    "type 8003 \"\"\n"
                    "click 1\n"
                    "expect-dialog 8069\n"
                    "type 8003 \"HEA220\"\n"
                    "click 1\n"
                    "expect-dialog 8069\n"
                    "type 8003 \"lost\"\n"
                    "click 2\n",
                    "t.vsc");
    DlgTextInput first;
    first.text = "HEA200";
    EXPECT_EQ(first.doModal(), ui::IDOK);
    EXPECT_EQ(first.text, Vor_String("HEA220"));
    EXPECT_TRUE(first.accepted);
    DlgTextInput second;
    second.text = "kept";
    EXPECT_EQ(second.doModal(), ui::IDCANCEL);
    EXPECT_EQ(second.text, Vor_String("kept"));
    EXPECT_FALSE(second.accepted);
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

} // namespace

namespace {

TEST(ModuleResources, everyNumberedPictureLoadsFromTheThemeOrOurOwnFile) {
    ModuleResourceScope scope;
    for (int id :
         {206, 212, 217, 223, 225, 226, 227, 228, 231, 232, 233, 234, 235, 236, 237, 238, 239, 8134, 8136}) {
        std::string set;
        const ui::ImageTemplate* t = ui::Resources::image(id, &set);
        ASSERT_NE(t, nullptr) << id;
        EXPECT_EQ(set, kModuleName) << id;
        EXPECT_FALSE(ui::Image::fromResource(id).isNull()) << id;
        EXPECT_NE(ui::Resources::fileOfImage(id), nullptr)
            << "picture " << id << " has a file of its own as fallback";
    }
    EXPECT_TRUE(ui::Resources::loadError(kModuleName).empty()) << ui::Resources::loadError(kModuleName);
}

} // namespace
