// The profile advanced dialog: the insertion-point radios and the offset-type combo as two views of
// one value, the rotation radios, and the order in which the opener's callback hears of changes and
// of the drawing taking the focus.
#include "macro/ui/DlgMacroProfAdvanced.h"
#include "macro/ProfPlacement.h"

#include <cad/Pick.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Resources.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using D = DlgMacroProfAdvanced;
std::string id(int n) {
    return std::to_string(n);
}

/// The model behind a recording callback: what type 0 reads and type 1 writes, and every call.
struct Recorder {
    MacroProfData model;
    std::vector<int> calls;
};
Recorder* gRecorder = nullptr;

bool recordingCallBack(KrMACallBackType type, const KrMACallBackData&, MacroProfData& props) {
    gRecorder->calls.push_back(type);
    if (type == kMACallBackGet) props = gRecorder->model;
    if (type == kMACallBackSet) gRecorder->model = props;
    return true;
}

class DlgMacroProfAdvancedTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
        gRecorder = &recorder;
        recorder.model.groupName = "Beam";
        recorder.model.section = "IPE-300";
        recorder.model.offsetType = MacroProfData::getProfOffsetType(3); // the centre radio
        recorder.model.rotation = "0";
        cad::clearEditorFaults();
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        cad::setPickServer(nullptr);
        gRecorder = nullptr;
    }
    /// Runs the dialog with the recording callback on `script` (after its expect-dialog line).
    bool run(const std::string& script) {
        agent.setScript("expect-dialog " + id(D::IDD) + "\n" + script, "t.vsc");
        D dlg;
        dlg.callBack = &recordingCallBack;
        const int end = dlg.doModal();
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return end == ui::IDOK;
    }
    ui::ScriptedAgent agent;
    Recorder recorder;
};

TEST(ProfPlacementTest, insertionRadiosAndComboIndexesArePairedBothWays) {
    const struct {
        int radio, index;
        const char* why;
    } cases[] = {{1, 9, "the top-left radio"},
                 {5, 3, "the centre radio"},
                 {9, 12, "the bottom-right radio"},
                 {2, 5, "top middle"},
                 {7, 11, "bottom left"}};
    for (const auto& c : cases) {
        EXPECT_EQ(comboIndexOfInsertionRadio(c.radio), c.index) << c.why;
        EXPECT_EQ(insertionRadioOfComboIndex(c.index), c.radio) << c.why;
    }
    for (int index : {0, 1, 2, 4, 13, -1})
        EXPECT_EQ(insertionRadioOfComboIndex(index), 0) << "index " << index << " has no radio";
    EXPECT_EQ(comboIndexOfInsertionRadio(0), -1);
    EXPECT_EQ(comboIndexOfInsertionRadio(10), -1);
}

TEST(ProfPlacementTest, storedRotationsChooseTheirRadio) {
    const struct {
        const char* stored;
        RotationChoice choice;
        const char* why;
    } cases[] = {{"0", RotationChoice::Deg0, "a radio angle"},
                 {"270", RotationChoice::Deg270, "a radio angle"},
                 {"90.0", RotationChoice::Deg90, "the same angle written longer"},
                 {"45", RotationChoice::Other, "another angle is typed"},
                 {"360", RotationChoice::Other, "a full turn is no radio of its own"},
                 {"abc", RotationChoice::Other, "a text that is no angle stays visible"}};
    for (const auto& c : cases)
        EXPECT_EQ(rotationChoiceOf(c.stored), c.choice) << c.stored << ": " << c.why;
    EXPECT_EQ(rotationChoiceOf(variesText()), RotationChoice::Varies) << "the macros differ";
    EXPECT_EQ(rotationTextOf(RotationChoice::Deg180, "45"), Vor_String("180"));
    EXPECT_EQ(rotationTextOf(RotationChoice::Other, "45"), Vor_String("45"));
    EXPECT_TRUE(isVaries(rotationTextOf(RotationChoice::Varies, "")));
}

TEST(ProfPlacementTest, macroSectionsAndLibrarySystemNamesMeet) {
    const struct {
        const char* macro;
        const char* sys;
        const char* why;
    } cases[] = {{"IPE 300", "IPE-300", "table and size"},
                 {"HEA 200 A", "HEA-200 A", "only the first space separates the table"},
                 {"User Sections/Rail.dwg", "User Sections/Rail.dwg", "a user section has no table"},
                 {"", "", "no section"}};
    for (const auto& c : cases) {
        EXPECT_EQ(sectionSysName(c.macro), Vor_String(c.sys)) << c.why;
        EXPECT_EQ(sectionOfSysName(c.sys), Vor_String(c.macro)) << c.why;
    }
}

TEST(ProfPlacementTest, aPickedPlaneChoosesTheWorldPlaneNearestItsNormal) {
    const struct {
        const char* plane;
        int index;
        const char* why;
    } cases[] = {{"0,0,0;0,0,1", 1, "normal z: XY"},       {"5,5,5;0,-1,0", 2, "normal -y: XZ"},
                 {"0,0,0;0.9,0.1,0.2", 3, "mostly x: YZ"}, {"0,0,0;0,0,0", -1, "no normal"},
                 {"0,0,0", -1, "no normal given"},         {"0,0,0;a,b,c", -1, "no numbers"}};
    for (const auto& c : cases)
        EXPECT_EQ(basePlaneOfPickedPlane(c.plane), c.index) << c.plane << ": " << c.why;
}

TEST(ProfPlacementTest, theModulesCallBackWithoutMacroDataChangesNothing) {
    const KrMACallBackData none;
    MacroProfData props;
    props.rotation = "45";
    for (KrMACallBackType type : {kMACallBackGet, kMACallBackSet, kMACallBackHide, kMACallBackShow})
        EXPECT_FALSE(macroDataProfCallBack(type, none, props)) << "type " << type;
    EXPECT_EQ(props.rotation, Vor_String("45"));
}

TEST_F(DlgMacroProfAdvancedTest, insertionRadiosSelectTheirComboIndexAndApplyAtOnce) {
    ASSERT_TRUE(run("expect-sel " + id(D::IDC_OFFSET_TYPE) + " 3\nexpect-state " + id(D::IDC_INSERT_5) +
                    " checked\nclick " + id(D::IDC_INSERT_1) + "\nexpect-sel " + id(D::IDC_OFFSET_TYPE) +
                    " 9\nexpect-state " + id(D::IDC_INSERT_5) + " unchecked\nclick 1\n"));
    EXPECT_EQ(recorder.model.offsetType, MacroProfData::getProfOffsetType(9)) << "the top-left radio";
    EXPECT_EQ(recorder.calls, (std::vector<int>{0, 1, 1})) << "read at start, applied by the radio and by OK";
}

TEST_F(DlgMacroProfAdvancedTest, aComboIndexWithoutRadioUnchecksAllNine) {
    std::string script = "select " + id(D::IDC_OFFSET_TYPE) + " 4\n";
    for (int radio : D::kInsertionRadios)
        script += "expect-state " + id(radio) + " unchecked\n";
    script += "select " + id(D::IDC_OFFSET_TYPE) + " 12\nexpect-state " + id(D::IDC_INSERT_9) +
              " checked\nclick 1\n";
    ASSERT_TRUE(run(script));
    EXPECT_EQ(recorder.model.offsetType, MacroProfData::getProfOffsetType(12));
}

TEST_F(DlgMacroProfAdvancedTest, anotherAngleIsShownTypedAndStored) {
    recorder.model.rotation = "45";
    ASSERT_TRUE(run("expect-state " + id(D::IDC_ROT_OTHER) + " checked\nexpect-text " +
                    id(D::IDC_ROT_OTHER_EDIT) + " \"45\"\nexpect-state " + id(D::IDC_ROT_0) +
                    " unchecked\nclick " + id(D::IDC_ROT_90) + "\nexpect-state " + id(D::IDC_ROT_OTHER) +
                    " unchecked\ntype " + id(D::IDC_ROT_OTHER_EDIT) + " \"30\"\nclick " +
                    id(D::IDC_ROT_OTHER) + "\nexpect-state " + id(D::IDC_ROT_OTHER) + " checked\nclick 1\n"));
    EXPECT_EQ(recorder.model.rotation, Vor_String("30"));
}

TEST_F(DlgMacroProfAdvancedTest, enterAppliesWhatWasTyped) {
    ASSERT_FALSE(run("type " + id(D::IDC_OFFSET_X) + " \"12,5\"\nkey Enter\nkey Escape\n"));
    EXPECT_EQ(recorder.model.offsetX, Vor_String("12.5")) << "a typed decimal comma is read as meant";
    EXPECT_EQ(recorder.calls, (std::vector<int>{0, 1}));
}

TEST_F(DlgMacroProfAdvancedTest, aPickHidesTheCallersWindowsAroundItAndAppliesAfterwards) {
    cad::QueuePickServer picks;
    cad::setPickServer(&picks);
    picks.push(cad::QueuePickServer::Answer::cancelled(cad::PickKind::Point));
    ASSERT_TRUE(run("click " + id(D::IDC_PICK_POINT) + "\nclick 1\n"));
    EXPECT_EQ(recorder.calls, (std::vector<int>{0, 2, 3, 1, 1}))
        << "hide and show around the pick, then apply";
    EXPECT_EQ(recorder.model.offsetType, MacroProfData::getProfOffsetType(3))
        << "a cancelled pick changes nothing";
    EXPECT_TRUE(cad::editorFaults().empty()) << cad::editorFaults().front();
    EXPECT_FALSE(cad::inEditorCommand()) << "the bracket is closed again";
}

TEST_F(DlgMacroProfAdvancedTest, withoutCallBackTheControlsStayEmpty) {
    agent.setScript(
        "expect-dialog " + id(D::IDD) + "\nexpect-sel " + id(D::IDC_OFFSET_TYPE) + " -1\nclick 1\n", "t.vsc");
    D dlg;
    EXPECT_EQ(dlg.doModal(), ui::IDOK);
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

TEST_F(DlgMacroProfAdvancedTest, theSecondFormAsksOnlyWithObjectsAndHandsTheCheckBack) {
    bool flag = true;
    StartDlgMacroProfAdv(nullptr, flag, &recordingCallBack);
    AcArray<AcDbObjectId> none;
    StartDlgMacroProfAdv(&none, flag, &recordingCallBack);
    EXPECT_TRUE(recorder.calls.empty()) << "no dialog without objects";

    AcArray<AcDbObjectId> ids{AcDbObjectId(5)};
    agent.setScript("expect-dialog " + id(D::IDD) + "\nexpect-state " + id(D::IDC_DONT_SHOW) +
                        " visible\nexpect-state " + id(D::IDC_GROUP) + " hidden\nclick " +
                        id(D::IDC_DONT_SHOW) + "\nclick 1\n",
                    "t.vsc");
    StartDlgMacroProfAdv(&ids, flag, &recordingCallBack);
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_FALSE(flag) << "checked: do not show again";

    flag = false;
    agent.setScript("expect-dialog " + id(D::IDD) + "\nexpect-state " + id(D::IDC_DONT_SHOW) +
                        " hidden\nclick 1\n",
                    "t.vsc");
    StartDlgMacroProfAdv(&ids, flag, &recordingCallBack);
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_FALSE(flag);
}

} // namespace

namespace {
bool morphedCallBack(KrMACallBackType type, const KrMACallBackData&, MacroProfData& props) {
    if (type == kMACallBackGet) props.morphed = true;
    return true;
}
bool plainCallBack(KrMACallBackType, const KrMACallBackData&, MacroProfData&) {
    return true;
}

TEST_F(DlgMacroProfAdvancedTest, aMorphedProfileShowsItsSecondSectionBandAndMovesTheRestDown) {
    struct Shown {
        int height = 0, offsetsTop = 0;
        bool band = false;
    };
    const auto open = [](KrMACallBack callBack) {
        D dlg;
        dlg.callBack = callBack;
        EXPECT_TRUE(dlg.create());
        Shown s{dlg.windowRect().height(),
                dlg.item(D::IDC_OFFSETS_GROUP)->windowRect().top - dlg.windowRect().top,
                dlg.item(D::IDC_PROFILE2)->isVisible()};
        dlg.destroyWindow();
        return s;
    };
    const Shown plain = open(&plainCallBack), morphed = open(&morphedCallBack);
    EXPECT_FALSE(plain.band);
    EXPECT_TRUE(morphed.band);
    EXPECT_EQ(morphed.height - plain.height, ui::dluToPixelsY(65)) << "the window grows by the band";
    EXPECT_EQ(morphed.offsetsTop - plain.offsetsTop, ui::dluToPixelsY(65)) << "what lies below moves down";
}
} // namespace
