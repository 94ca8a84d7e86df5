// The profile, segment and array dialogs on a macro of the drawing: what they change reaches the
// drawing (the profile's placement at once, segments and arrays on OK), the caller's data learns
// it, and preview objects go when the dialog ends.
#include "ProfMacroLibrary.h"

#include "frame/LauncherTable.h"
#include "macro/ui/DlgArray.h"
#include "macro/ui/DlgMacroProfAdvanced.h"
#include "macro/ui/DlgMacroProfSegmented.h"

#include <cad/Pick.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <cstdlib>
#include <string>

namespace {

using D = DlgMacroProfAdvanced;
std::string id(int n) {
    return std::to_string(n);
}

class ProfMacroDrawingTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
    }
    void TearDown() override { ui::setAgent(nullptr); }
    void script(const std::string& text) { agent.setScript(text, "t.vsc"); }
    void expectScriptPassed() { EXPECT_FALSE(agent.failed()) << agent.failure(); }
    MacroProfData beam(const MacroData& data) {
        MacroProfData p;
        EXPECT_TRUE(data.getMergedPropsOfGroup("Beam", "Beam", p));
        return p;
    }
    ProfMacroLibrary lib;
    ui::ScriptedAgent agent;
};

TEST_F(ProfMacroDrawingTest, everyPlacementChangeReachesTheDrawingAndTheCallersData) {
    ASSERT_EQ(lib.profileField("insertion"), "4");
    MacroData data = lib.data();
    // closed with Escape: what was applied stays, as it is already in the drawing
    script("expect-dialog " + id(D::IDD) + "\nexpect-sel " + id(D::IDC_OFFSET_TYPE) + " 3\nclick " +
           id(D::IDC_INSERT_1) + "\ntype " + id(D::IDC_ROT_OTHER_EDIT) + " \"45\"\nclick " +
           id(D::IDC_ROT_OTHER) + "\nkey Escape\n");
    StartDlgMacroProfAdv(data, "Beam", "Beam", false);
    expectScriptPassed();
    EXPECT_EQ(lib.profileField("insertion"), "0") << "the top-left radio, in the drawing";
    EXPECT_EQ(lib.profileField("rotation"), "45");
    EXPECT_EQ(beam(data).offsetType, 0) << "the caller's data holds the new placement";
    EXPECT_EQ(beam(data).rotation, Vor_String("45"));
    EXPECT_EQ(beam(lib.data()), beam(data)) << "and agrees with the drawing";
}

TEST_F(ProfMacroDrawingTest, thePreviewObjectAndACoordinateSystemMadeFromItGoAfterTheDialog) {
    cad::Drawing& d = cad::curDrawing();
    cad::Entity plate;
    plate.name = "PREVIEW";
    plate.geometry = cad::Plate{cad::CoordSys(), {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, 10};
    const AcDbObjectId preview = d.add(plate);
    ASSERT_FALSE(preview.isNull());
    const std::size_t coordSystems = d.ids(cad::EntityKind::CoordSys).size();
    MacroData data = lib.data();
    data.previewIds.append(preview);
    data.previewFlag = true;
    script("expect-dialog " + id(D::IDD) + "\nexpect-state " + id(D::IDC_FROM_PREVIEW) + " enabled\nclick " +
           id(D::IDC_FROM_PREVIEW) + "\nexpect-state " + id(D::IDC_ORIENT_PICKED) + " checked\nclick 1\n");
    StartDlgMacroProfAdv(data, "Beam", "Beam", false);
    expectScriptPassed();
    EXPECT_EQ(d.get(preview), nullptr) << "the preview object is erased";
    EXPECT_TRUE(data.previewIds.isEmpty()) << "and forgotten by the caller's data";
    EXPECT_EQ(d.ids(cad::EntityKind::CoordSys).size(), coordSystems)
        << "the temporary coordinate system went too";
}

TEST_F(ProfMacroDrawingTest, withoutThePreviewFlagNothingIsErased) {
    cad::Drawing& d = cad::curDrawing();
    cad::Entity plate;
    plate.name = "KEEP";
    plate.geometry = cad::Plate{cad::CoordSys(), {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, 10};
    const AcDbObjectId kept = d.add(plate);
    MacroData data = lib.data();
    data.previewIds.append(kept);
    script("expect-dialog " + id(D::IDD) + "\nexpect-state " + id(D::IDC_FROM_PREVIEW) +
           " disabled\nclick 1\n");
    StartDlgMacroProfAdv(data, "Beam", "Beam", false);
    expectScriptPassed();
    EXPECT_NE(d.get(kept), nullptr);
    EXPECT_EQ(data.previewIds.length(), 1);
}

TEST_F(ProfMacroDrawingTest, theSecondFormWorksOnTheDrawingByIds) {
    script("expect-dialog " + id(D::IDD) + "\nclick " + id(D::IDC_INSERT_9) + "\nclick " +
           id(D::IDC_ROT_180) + "\nclick 1\n");
    char* out = nullptr;
    const std::string in = "{\"ids\": [" + std::to_string(lib.macro.handle()) + "], \"flag\": false}";
    ASSERT_EQ(vorCallLauncher("StartDlgMacroProfAdv", in.c_str(), &out), 1);
    std::free(out);
    expectScriptPassed();
    EXPECT_EQ(lib.profileField("insertion"), "8") << "the bottom-right radio";
    EXPECT_EQ(lib.profileField("rotation"), "180");
}

TEST_F(ProfMacroDrawingTest, segmentsGoIntoTheDrawingOnOkOnly) {
    MacroData data = lib.data();
    const std::string seg = id(DlgMacroProfSegmented::IDD);
    script("expect-dialog " + seg + "\nselect 1247 1\ntype 1232 \"8\"\nclick 2\n");
    EXPECT_FALSE(editSegmentsOfTab(data, 0, -1));
    EXPECT_EQ(lib.data().tabs[0].segments[1].clearance, Vor_String("5")) << "Cancel";
    script("expect-dialog " + seg + "\nselect 1247 1\ntype 1232 \"8\"\nclick 1\n");
    EXPECT_TRUE(editSegmentsOfTab(data, 0, -1));
    expectScriptPassed();
    EXPECT_EQ(lib.data().tabs[0].segments[1].clearance, Vor_String("8")) << "the shown profile, stored by OK";
    EXPECT_EQ(lib.data().tabs[0].segments[0].breakPoints, (Vor_StringArray{"2", "4"}));
}

TEST_F(ProfMacroDrawingTest, aMarkedArrayEntryReachesTheDrawingOnlyOnOk) {
    MacroData data = lib.data();
    const std::string arr =
        "expect-dialog " + id(DlgArray::IDD) + "\nselect-cells 1196 2 2 2 2\nclick 1089\n";
    script(arr + "click 2\n");
    EXPECT_FALSE(editArrayOfTab(data, 0, 1501, -1));
    EXPECT_EQ(lib.data().tabs[0].arrays[0].entries[1].action, KrEntryAction::None) << "Cancel after marking";
    script(arr + "click 1\n");
    EXPECT_TRUE(editArrayOfTab(data, 0, 1501, -1));
    expectScriptPassed();
    EXPECT_EQ(lib.data().tabs[0].arrays[0].entries[1].action, KrEntryAction::Skip);
    EXPECT_FALSE(editArrayOfTab(data, 0, 999, -1)) << "no array has that button";
}

} // namespace

namespace {
TEST_F(ProfMacroDrawingTest, aPickedSectionPointReachesTheDrawingAndACancelledOneChangesNothing) {
    cad::QueuePickServer picks;
    cad::setPickServer(&picks);
    MacroData data = lib.data();
    picks.push(cad::QueuePickServer::Answer::cancelled(cad::PickKind::Point));
    picks.push(cad::QueuePickServer::Answer::at({1500, 0, 140})); // at the beam's top flange
    script("expect-dialog " + id(D::IDD) + "\nclick " + id(D::IDC_PICK_POINT) + "\nexpect-sel " +
           id(D::IDC_OFFSET_TYPE) + " 3\nclick " + id(D::IDC_PICK_POINT) + "\nexpect-state " +
           id(D::IDC_INSERT_2) + " checked\nkey Escape\n");
    StartDlgMacroProfAdv(data, "Beam", "Beam", false);
    cad::setPickServer(nullptr);
    expectScriptPassed();
    EXPECT_EQ(picks.pending(), 0u);
    EXPECT_EQ(lib.profileField("insertion"), "1") << "top middle, in the drawing";
    EXPECT_EQ(beam(data).offsetType, 1);
}
} // namespace
