// The designer engine on a live dialog: ids, drawing, values, the mouse, editing, flex buttons and Tab.

#include "designer/CControlRect.h"
#include "designer/DesignerFolder.h"
#include "designer/DlgDesigner.h"
#include "designer/Vor_DlgDesignerData.h"
#include "frame/LauncherTable.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Agent.h>
#include <ui/Control.h>
#include <ui/Dialog.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

/// The child ids the designer window hands out.
struct DlgDesignerRange {
    static constexpr int first = DlgDesigner::kFirstResId;
    static constexpr int last = DlgDesigner::kLastResId;
};

constexpr int kHost = 8960; // the live preview's template: a dialog with OK and Cancel only
constexpr int kFirst = 33000;

Vor_DesignerControl control(int type, double l, double t, double r, double b, const char* contents = "") {
    Vor_DesignerControl c;
    c.type = type;
    c.topLeftX = l;
    c.topLeftY = t;
    c.bottomRightX = r;
    c.bottomRightY = b;
    c.contents = contents;
    return c;
}

class DesignerEngine : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        m_oldLib = gSettings.libDir;
        m_dir = fs::temp_directory_path() / ("vorengine-" + std::to_string(::getpid()) + "-" +
                                             testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir / "Dialog Templates" / "Dialog Design");
        gSettings.libDir = (m_dir.string() + "/").c_str();
        loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "en");
        picture = getDesignerRootFolder().str() + "P.bmp";
        ASSERT_TRUE(ui::Image::filled(200, 100, ui::rgb(200, 220, 240)).save(picture));
        ASSERT_TRUE(host.create());
    }
    void TearDown() override {
        engine.reset();
        host.destroyWindow();
        ui::setAgent(nullptr);
        gSettings.libDir = m_oldLib;
        fs::remove_all(m_dir);
    }
    /// An engine on the host dialog with the 200 x 100 picture.
    Vor_DlgDesignerData& make(bool design, int last = kFirst + 99) {
        engine = std::make_unique<Vor_DlgDesignerData>();
        engine->initialize(&host, kFirst, last, 0, 0, 0, 0, 0, design);
        engine->attachBitmap(picture.c_str());
        return *engine;
    }
    int windowsWithId(int id) const {
        int n = 0;
        for (ui::Control* c : host.controls())
            n += c->id() == id;
        return n;
    }
    ui::Control* window(int id) const {
        const CControlRect* r = nullptr;
        for (int k = 0; k < engine->getNrDrawnControls(); ++k)
            if (engine->getDrawnControl(k)->resId() == id) r = engine->getDrawnControl(k);
        return r ? r->wnd() : nullptr;
    }
    ui::ScriptedAgent agent;
    ui::Dialog host{kHost};
    std::unique_ptr<Vor_DlgDesignerData> engine;
    std::string picture;
    Vor_String m_oldLib;
    fs::path m_dir;
};

TEST_F(DesignerEngine, childIdsComeFromTheRangeAndAreReused) {
    Vor_DlgDesignerData& e = make(false, kFirst + 3);
    Vor_DesignerControl c;
    EXPECT_EQ(e.append(c), kFirst);
    EXPECT_EQ(e.append(c), kFirst + 1);
    EXPECT_EQ(e.append(c), kFirst + 2);
    EXPECT_EQ(e.append(c), kFirst + 3);
    e.removeControl(1);
    EXPECT_EQ(e.append(c), kFirst + 1) << "a freed id is handed out again";
    EXPECT_EQ(e.append(c), 0) << "with the range used up the control gets no id";
    EXPECT_EQ(e.getNrControls(), 5) << "but is still appended";
    int i = -1;
    EXPECT_FALSE(e.findCtrlFromResource(0, i)) << "id 0 names no control";
}

TEST_F(DesignerEngine, factorsBecomeWholePixelsAndCombosGrowInRunModeOnly) {
    for (bool design : {false, true}) {
        Vor_DlgDesignerData& e = make(design);
        Vor_DesignerControl edit = control(ctVarEdit, 0.25, 0.5, 0.75, 1.0);
        Vor_DesignerControl combo = control(ctVarCombo, 0.0, 0.0, 0.5, 0.2);
        const int editId = e.append(edit), comboId = e.append(combo);
        e.redrawAllControls();
        ASSERT_EQ(e.getNrDrawnControls(), 2);
        EXPECT_EQ(e.getDrawnControl(0)->rect(), (ui::Rect{50, 50, 150, 100})) << "design " << design;
        EXPECT_EQ(e.getDrawnControl(1)->rect().height(), design ? 20 : 200)
            << "a run-mode combo is as high as its dropped list";
        EXPECT_EQ(window(editId)->isEnabled(), !design) << "design mode disables all but statics";
        EXPECT_TRUE(window(comboId) != nullptr);
        e.redrawAllControls();
        EXPECT_EQ(windowsWithId(editId), 1) << "drawing twice leaves one window per id, design " << design;
        EXPECT_EQ(windowsWithId(comboId), 1);
    }
}

TEST_F(DesignerEngine, pixelArithmeticKeepsTheRightEdges) {
    Vor_DlgDesignerData& e = make(true);
    Vor_DesignerControl c = control(ctVarEdit, 0.1, 0.2, 0.3, 0.4);
    e.setHeight(c, 30);
    EXPECT_DOUBLE_EQ(e.getBottomRightY(c), 40) << "setHeight keeps the bottom edge";
    EXPECT_DOUBLE_EQ(e.getTopLeftY(c), 10);
    e.setWidth(c, 100);
    EXPECT_DOUBLE_EQ(e.getTopLeftX(c), 20) << "setWidth keeps the left edge";
    EXPECT_DOUBLE_EQ(e.getBottomRightX(c), 120);
    e.attachBitmap((getDesignerRootFolder() + "missing.bmp"));
    int w, h;
    e.getImageSize(w, h);
    EXPECT_EQ(w, 200) << "a missing picture leaves the previous one";
    EXPECT_EQ(h, 100);
}

TEST_F(DesignerEngine, everyControlTheReaderTakesGetsItsOwnId) {
    // the designer's range holds an id for each of the most controls a template may hold
    static_assert(DlgDesignerRange::last - DlgDesignerRange::first + 1 == Vor_DlgDesignerData::kMaxControls);
    std::string text = "nrOfControls\tint\t" + std::to_string(Vor_DlgDesignerData::kMaxControls) + "\n";
    for (int i = 0; i < Vor_DlgDesignerData::kMaxControls; ++i)
        text += "type" + std::to_string(i) + "\tint\t2\n";
    std::ofstream(getDesignerRootFolder().str() + "Many.txt") << text;
    Vor_DlgDesignerData& e = make(true, DlgDesignerRange::last);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(e.readFromFile((getDesignerRootFolder().str() + "Many.txt").c_str(), false));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "no search per control";
    std::set<int> ids;
    for (int i = 0; i < e.getNrControls(); ++i)
        ids.insert(e.getControl(i)->resId);
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(Vor_DlgDesignerData::kMaxControls)) << "no two alike";
    EXPECT_EQ(*ids.begin(), kFirst) << "and none is 0";
    EXPECT_FALSE(e.canAppend()) << "a full template takes no more";
    EXPECT_FALSE(e.addNewControl(ctVarEdit));
    EXPECT_EQ(e.getNrControls(), Vor_DlgDesignerData::kMaxControls);
}

TEST_F(DesignerEngine, addingWaitsForAPicture) {
    Vor_DlgDesignerData bare;
    bare.initialize(&host, kFirst, kFirst + 99, 0, 0, 0, 0, 0, true);
    EXPECT_FALSE(bare.addNewControl(ctVarEdit)) << "no picture, no place for a control";
    EXPECT_EQ(bare.getNrControls(), 0);
    EXPECT_EQ(bare.pixelsToFactor(true, 30), 0.0) << "factors stay finite without a picture";

    Vor_DlgDesignerData& e = make(true);
    ASSERT_TRUE(e.addNewControl(ctVarEdit));
    EXPECT_EQ(e.getDrawnControl(0)->rect(), (ui::Rect{40, 20, 70, 38}))
        << "30 x 18 at a fifth of the picture";
    EXPECT_EQ(e.getControl(0)->contents, dialString(171));
}

TEST_F(DesignerEngine, valuesOfChecksChoicesAndTexts) {
    Vor_DlgDesignerData& e = make(false);
    Vor_DesignerControl check = control(ctCheckBox, 0, 0, 0.5, 0.1, "Weld");
    check.comboList = "1";
    Vor_DesignerControl choice = control(ctChoiceCombo, 0, 0.2, 0.5, 0.3, "2");
    Vor_DesignerControl edit = control(ctVarEdit, 0, 0.4, 0.5, 0.5, "L");
    Vor_DesignerControl cell = control(ctCellButton1, 0, 0.6, 0.5, 0.7, "Dim");
    const int checkId = e.append(check), choiceId = e.append(choice), editId = e.append(edit),
              cellId = e.append(cell);
    e.redrawAllControls();
    Vor_String v;
    ASSERT_TRUE(e.getCtrlValue(checkId, v));
    EXPECT_EQ(v.str(), "1") << "the check value comes from the list field";
    ASSERT_TRUE(e.getCtrlValue(choiceId, v));
    EXPECT_EQ(v.str(), "2") << "the choice value comes from contents";
    struct Case {
        const char* set;
        const char* get;
        const char* why;
    } checks[] = {
        {"0.5", "1", "more than 0 checks"},
        {"-1", "0", "negative unchecks"},
        {"*VARIES*", "*VARIES*", "the indeterminate text shows the third state and reads back"},
        {"0", "0", "0 unchecks and leaves the third state"},
        {"1,5", "1", "a decimal comma is read as a person means it"},
    };
    for (const Case& c : checks) {
        ASSERT_TRUE(e.setCtrlValue(checkId, c.set));
        ASSERT_TRUE(e.getCtrlValue(checkId, v));
        EXPECT_EQ(v.str(), c.get) << c.why;
    }
    EXPECT_FALSE(window(checkId)->isTriState()) << "a number makes the box two-state again";
    ASSERT_TRUE(e.setCtrlValue(choiceId, "3"));
    ASSERT_TRUE(e.getCtrlValue(choiceId, v));
    EXPECT_EQ(v.str(), "3") << "the fourth item";
    EXPECT_EQ(window(choiceId)->count(), 5) << "the fixed five choices";
    ASSERT_TRUE(e.setCtrlValue(editId, "1250"));
    ASSERT_TRUE(e.getCtrlValue(editId, v));
    EXPECT_EQ(v.str(), "1250");
    const std::string cellText = window(cellId)->text();
    EXPECT_TRUE(e.setCtrlValue(cellId, "changed")) << "cell buttons take no value";
    EXPECT_EQ(window(cellId)->text(), cellText);
    EXPECT_FALSE(e.getCtrlValue(kFirst + 50, v)) << "no control with that id";
    EXPECT_TRUE(e.setCtrlReadOnly(editId, true));
    EXPECT_FALSE(window(editId)->isEnabled());
    EXPECT_FALSE(e.setCtrlReadOnly(checkId, true)) << "only variable fields can be made read-only";
}

TEST_F(DesignerEngine, comboItemsFromAFileSelectTheContents) {
    Vor_DlgDesignerData& e = make(false);
    const std::string items = getDesignerRootFolder().str() + "grades.txt";
    std::ofstream(items) << "S235\nS355\nS460\n";
    Vor_DesignerControl combo = control(ctVarCombo, 0, 0, 0.5, 0.1, "s355");
    combo.comboList = items.c_str();
    Vor_DesignerControl other = control(ctVarCombo, 0, 0.3, 0.5, 0.4, "S690");
    other.comboList = items.c_str();
    const int id = e.append(combo), otherId = e.append(other);
    e.redrawAllControls();
    EXPECT_EQ(window(id)->count(), 3);
    EXPECT_EQ(window(id)->curSel(), 1) << "the item equal to contents, without regard to case";
    EXPECT_EQ(window(otherId)->text(), "S690") << "contents not among the items stands in the edit part";
    EXPECT_TRUE(e.getControl(0)->getComboPtr(&host) != nullptr);
    Vor_DesignerControl choice = control(ctChoiceCombo, 0, 0, 1, 1);
    choice.resId = id;
    EXPECT_EQ(choice.getComboPtr(&host), nullptr) << "a choice combo is no variable combo";
}

TEST_F(DesignerEngine, mouseSelectsMovesAndResizes) {
    Vor_DlgDesignerData& e = make(true);
    Vor_DesignerControl ca = control(ctVarEdit, 0.1, 0.1, 0.3, 0.3),
                        cb = control(ctVarEdit, 0.5, 0.1, 0.7, 0.3);
    const int a = e.append(ca);
    const int b = e.append(cb);
    e.redrawAllControls(); // a: 20,10,60,30  b: 100,10,140,30
    auto click = [&e](int x, int y, bool ctrl = false, bool shift = false) {
        e.OnLButtonDown(ctrl, shift, {x, y});
        e.OnLButtonUp({x, y});
    };
    click(30, 20);
    EXPECT_EQ(e.getSelectedIds(), std::vector<int>{a});
    click(110, 20, false, true);
    EXPECT_EQ(e.getSelectedIds(), (std::vector<int>{a, b})) << "Shift adds";
    click(110, 20, false, true);
    EXPECT_EQ(e.getSelectedIds(), (std::vector<int>{a, b})) << "Shift on a selected one changes nothing";
    click(30, 20, true);
    EXPECT_EQ(e.getSelectedIds(), std::vector<int>{b}) << "Ctrl deselects only that one";
    click(5, 5, true);
    EXPECT_EQ(e.getSelectedIds(), std::vector<int>{b}) << "Ctrl on nothing does nothing";

    // rubber band: wholly inside selects, partly inside does not
    e.OnLButtonDown(false, false, {10, 5});
    e.OnMouseMove({120, 40});
    e.OnLButtonUp({120, 40});
    EXPECT_EQ(e.getSelectedIds(), std::vector<int>{a}) << "b lies only partly inside the band";

    // dragging the selection moves its windows
    click(110, 20, false, true);
    e.OnLButtonDown(false, false, {30, 20});
    e.OnMouseMove({40, 25});
    e.OnLButtonUp({45, 30});
    EXPECT_EQ(e.getDrawnControl(0)->rect(), (ui::Rect{35, 20, 75, 40}));
    EXPECT_EQ(e.getDrawnControl(1)->rect(), (ui::Rect{115, 20, 155, 40}));
    EXPECT_EQ(window(b)->windowRect().width(), 40) << "the window went along";
    e.getSizeFromAllControls();
    EXPECT_DOUBLE_EQ(e.getControl(1)->topLeftX, 115.0 / 200) << "positions are read back as factors";

    // the bottom-right handle of a single selection resizes it
    click(40, 30);
    e.OnLButtonDown(false, false, {77, 42});
    e.OnLButtonUp({97, 52});
    EXPECT_EQ(e.getDrawnControl(0)->rect(), (ui::Rect{35, 20, 95, 50}));
    EXPECT_EQ(e.OnSetCursor({200 - 100, 60}), 0) << "no cursor over empty picture";
}

TEST_F(DesignerEngine, aClickFindsTheControlOnTopAndHandlesBeforeNeighbours) {
    Vor_DlgDesignerData& e = make(true);
    Vor_DesignerControl group = control(ctGroupBox, 0.0, 0.0, 0.5, 0.5, "Plate");
    Vor_DesignerControl field = control(ctVarEdit, 0.1, 0.1, 0.3, 0.2, "tp");
    Vor_DesignerControl beside = control(ctVarEdit, 0.3, 0.1, 0.45, 0.2, "hp");
    const int g = e.append(group), f = e.append(field);
    e.append(beside);
    e.redrawAllControls(); // group 0,0-100,50; field 20,10-60,20; beside 60,10-90,20
    e.OnLButtonDown(false, false, {30, 15});
    e.OnLButtonUp({30, 15});
    EXPECT_EQ(e.getSelectedIds(), std::vector<int>{f}) << "the field inside the group box, not the box";
    e.OnLButtonDown(false, false, {5, 40});
    e.OnLButtonUp({5, 40});
    EXPECT_EQ(e.getSelectedIds(), std::vector<int>{g}) << "the free part of the box is the box";
    e.selectCtrls({f});
    e.OnLButtonDown(false, false, {61, 21}); // the bottom-right handle of the field, over its neighbour
    e.OnLButtonUp({71, 26});
    EXPECT_EQ(e.getDrawnControl(1)->rect(), (ui::Rect{20, 10, 70, 25})) << "the handle won and resized";
    EXPECT_EQ(e.getDrawnControl(2)->rect(), (ui::Rect{60, 10, 90, 20})) << "the neighbour stayed";
    EXPECT_EQ(e.getSelectedIds(), std::vector<int>{f});
}

TEST_F(DesignerEngine, editingCopiesAlignsAndPlacesBeside) {
    Vor_DlgDesignerData& e = make(true);
    Vor_DesignerControl a = control(ctVarEdit, 0.1, 0.1, 0.2, 0.2, "A");
    Vor_DesignerControl b = control(ctVarEdit, 0.5, 0.4, 0.6, 0.6, "B");
    Vor_DesignerControl c = control(ctVarEdit, 0.3, 0.7, 0.4, 0.8, "C");
    const int ia = e.append(a), ib = e.append(b), ic = e.append(c);
    e.redrawAllControls();

    e.selectCtrls({ia});
    EXPECT_TRUE(e.outlineCurCtrls()) << "one control: nothing to align, still true";
    EXPECT_FALSE(e.stickRightCurCtrls()) << "placing beside takes two";
    e.selectCtrls({ia, ib, ic});
    EXPECT_FALSE(e.stickRightCurCtrls()) << "and not three";

    ASSERT_TRUE(e.outlineCurCtrls());
    EXPECT_DOUBLE_EQ(e.getBottomRightY(*e.getControl(1)), 20) << "bottoms follow the leftmost control";
    EXPECT_DOUBLE_EQ(e.getHeight(*e.getControl(1)), 20) << "heights stay";
    EXPECT_EQ(e.getSelectedIds(), (std::vector<int>{ia, ib, ic})) << "the selection stays";

    e.selectCtrls({ib, ia});
    ASSERT_TRUE(e.stickRightCurCtrls());
    const Vor_DesignerControl& moved = *e.getControl(1);
    EXPECT_DOUBLE_EQ(e.getTopLeftX(moved), 40) << "against the right edge of the leftmost";
    EXPECT_DOUBLE_EQ(e.getWidth(moved), 20) << "keeping its width";
    EXPECT_DOUBLE_EQ(moved.topLeftY, e.getControl(0)->topLeftY);

    e.selectCtrls({ia, ic});
    e.copyCurCtrls();
    ASSERT_EQ(e.getNrControls(), 5);
    const std::vector<int> copies = e.getSelectedIds();
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_NE(copies[0], ia) << "the copies, not their sources, are selected";
    EXPECT_DOUBLE_EQ(e.getTopLeftX(*e.getControl(3)), e.getTopLeftX(*e.getControl(0)) + 20);
    EXPECT_DOUBLE_EQ(e.getTopLeftY(*e.getControl(3)), e.getTopLeftY(*e.getControl(0)) + 20);
    EXPECT_DOUBLE_EQ(e.getWidth(*e.getControl(4)), e.getWidth(*e.getControl(2)));

    agent.setScript("expect-dialog 8069\ntype 8003 \"45 px\"\nclick 1\n", "t.vsc");
    e.changeCtrlSize(true);
    EXPECT_DOUBLE_EQ(e.getWidth(*e.getControl(3)), 45) << "the width asked for";
    EXPECT_DOUBLE_EQ(e.getWidth(*e.getControl(4)), 45);
    EXPECT_FALSE(agent.failed()) << agent.failure();

    ASSERT_TRUE(e.removeCurControls());
    EXPECT_EQ(e.getNrControls(), 3);
    EXPECT_EQ(e.getNrDrawnControls(), 3);
}

TEST_F(DesignerEngine, flexButtonsByGroup) {
    Vor_DlgDesignerData& e = make(false);
    auto flex = [](const char* group, const char* name, const char* third) {
        Vor_DesignerControl c = control(ctFlexButton, 0, 0, 0.1, 0.1, name);
        c.flexGroup = group;
        c.flexField3 = third;
        return c;
    };
    Vor_DesignerControl b0 = flex("A", "x", ""), b1 = flex("B", "y", "v"), b2 = flex("a", "x", "w"),
                        edit = control(ctVarEdit, 0, 0.5, 0.1, 0.6, "L");
    e.append(b0);
    e.append(b1);
    e.append(b2);
    const int editId = e.append(edit);
    e.redrawAllControls();
    Vor_StringArray groups;
    e.getFlexBtnsGroups(groups);
    EXPECT_EQ(groups, (Vor_StringArray{"A", "B"})) << "each group once, without regard to case";
    Vor_Array<int> all, third;
    ASSERT_TRUE(e.getFlexBtnsInGroup("A", all, third));
    EXPECT_EQ(all.length(), 2);
    EXPECT_EQ(third.length(), 1) << "only the button with a third field";
    int i = -1;
    ASSERT_TRUE(e.findFlexButton("A", "X", i));
    EXPECT_EQ(i, 0) << "two buttons of one name: the first";
    EXPECT_TRUE(e.setFlexBtnStatus("A", "x", 1));
    int status = -1;
    ASSERT_TRUE(e.getFlexBtnStatus(0, status));
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(e.setFlexBtnStatus("A", "x", 2));
    e.getFlexBtnStatus(0, status);
    EXPECT_EQ(status, 0) << "state 2 is set as unchecked";
    EXPECT_FALSE(e.setFlexBtnStatus("A", "none", 1));
    Vor_String g, n;
    EXPECT_FALSE(e.getFlexBtnGroupName(editId, g, n)) << "an edit is no flex button";
    EXPECT_TRUE(e.hideAllFlexBtns("B"));
    EXPECT_FALSE(window(e.getControl(1)->resId)->isVisible());
}

TEST_F(DesignerEngine, tabWalksTheDesignedControlsInTabOrder) {
    host.destroyWindow(); // the page opens a dialog of the same template
    // A live page: two edits in a row, a text below, a third edit below that.
    std::ofstream(getDesignerRootFolder().str() + "P.txt")
        << "nrOfControls\tint\t4\n"
           "type0\tint\t2\ntopLeftX0\tdouble\t0.5\ntopLeftY0\tdouble\t0.1\nbottomRightX0\tdouble\t0.8\n"
           "bottomRightY0\tdouble\t0.2\ncontents0\ttext\tWidth\n"
           "type1\tint\t2\ntopLeftX1\tdouble\t0.1\ntopLeftY1\tdouble\t0.1\nbottomRightX1\tdouble\t0.4\n"
           "bottomRightY1\tdouble\t0.2\ncontents1\ttext\tLength\n"
           "type2\tint\t0\ntopLeftX2\tdouble\t0.1\ntopLeftY2\tdouble\t0.3\nbottomRightX2\tdouble\t0.4\n"
           "bottomRightY2\tdouble\t0.4\ncontents2\ttext\tPlate\n"
           "type3\tint\t2\ntopLeftX3\tdouble\t0.1\ntopLeftY3\tdouble\t0.5\nbottomRightX3\tdouble\t0.4\n"
           "bottomRightY3\tdouble\t0.6\ncontents3\ttext\tGap\n";
    agent.setScript("expect-dialog 8960\n"
                    "expect-taborder 34001 34000 34003\n"
                    "expect-state 34001 focus\n"
                    "key Tab\n"
                    "expect-state 34000 focus\n"
                    "type 34000 \"250\"\n"
                    "key Tab\nkey Tab\n"
                    "expect-state 1 focus\n" // past the last designed control
                    "focus 34001\n"
                    "key Tab shift\n"
                    "expect-state 2 focus\n" // before the first
                    "click 1\n",
                    "tab.vsc");
    char* out = nullptr;
    ASSERT_EQ(vorCallLauncher("ShowDesignedDialog", R"({"path": "P"})", &out), 1);
    const std::string result = out;
    std::free(out);
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_NE(result.find(R"("Width":"250")"), std::string::npos) << result;
    EXPECT_EQ(result.find("Plate"), std::string::npos) << "texts have no value: " << result;
}

TEST_F(DesignerEngine, theLivePreviewsButtonsSpeakTheChosenLanguage) {
    std::ofstream(getDesignerRootFolder().str() + "P.txt")
        << "nrOfControls\tint\t1\n"
           "type0\tint\t2\ntopLeftX0\tdouble\t0.5\ntopLeftY0\tdouble\t0.1\nbottomRightX0\tdouble\t0.8\n"
           "bottomRightY0\tdouble\t0.2\ncontents0\ttext\tWidth\n";
    ASSERT_TRUE(loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "nl"));
    host.destroyWindow(); // the fixture's own dialog of the same template
    agent.setScript("expect-dialog 8960\nexpect-text 1 \"" + dialString(1).str() + "\"\nexpect-text 2 \"" +
                        dialString(2).str() + "\"\nclick 2\n",
                    "nl.vsc");
    char* out = nullptr;
    EXPECT_EQ(vorCallLauncher("ShowDesignedDialog", R"({"path": "P"})", &out), 1);
    std::free(out);
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_NE(dialString(2).str(), "Cancel") << "the Dutch catalogue is the one checked";
    loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "en");
}

TEST_F(DesignerEngine, focusHandlingWithoutDesignedFocus) {
    Vor_DlgDesignerData& e = make(false);
    Vor_DesignerControl first = control(ctVarEdit, 0.1, 0.1, 0.4, 0.2, "1250");
    Vor_DesignerControl second = control(ctVarEdit, 0.5, 0.1, 0.8, 0.2, "S355");
    e.append(first);
    e.append(second);
    e.redrawAllControls();
    Vor_TabMsgHandle r;
    EXPECT_FALSE(e.handleTabKey(ui::VK_RETURN, r)) << "only Tab is the engine's";
    EXPECT_EQ(r, tmNotHandled);
    EXPECT_FALSE(e.handleTabKey(ui::VK_TAB, r)) << "the focus is on no designed control";
    EXPECT_EQ(r, tmNotHandled);
    e.getControlWrite(0)->readOnly = true;
    e.getControlWrite(1)->readOnly = true;
    EXPECT_FALSE(e.setFocusToCtrl(true)) << "nothing editable to focus";
}

} // namespace
