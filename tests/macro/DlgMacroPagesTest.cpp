// The pages of the macro dialog on the sample hall's macros: a change on a page reaches the drawing
// through the dialog's commit step, the values no designed control shows are listed in the grid
// with negative references, and the designed controls act on their elements.
#include "frame/DlgTextInput.h"
#include "macro/CommitTab.h"
#include "macro/ui/DlgArray.h"
#include "macro/ui/DlgMacroDesignerPage.h"
#include "macro/ui/DlgMacroProfAdvanced.h"
#include "macro/ui/DlgMacroProfPage.h"

#include "../host/TempDir.h"

#include <cad/Drawing.h>
#include <cad/DrawingFile.h>
#include <cad/Pick.h>
#include <host/MacroData.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Control.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

std::string id(int n) {
    return std::to_string(n);
}

/// The dialog a page lives in, as the macro dialog commits it: a copy of the tab, the page stores
/// its controls, the differences go into the drawing.
class PageHost : public ui::Dialog, public MacroPageHost {
public:
    enum { IDD = 8960 };
    using Maker = std::function<std::unique_ptr<DlgMacroPage>(MacroPageHost&)>;
    PageHost(MacroData data, Maker make)
        : ui::Dialog(IDD)
        , m_data(std::move(data))
        , m_make(std::move(make)) {}

    MacroData& macroData() override { return m_data; }
    int registrySlot() const override { return -1; }
    bool commitPage(DlgMacroPage& page) override {
        const int t = page.tabIndex();
        const MacroTabData before = m_data.tabs[t];
        if (!page.storeToTab()) {
            m_data.tabs[t] = before;
            return false;
        }
        ++commits;
        return commitTab(m_data, t, before, registrySlot());
    }
    void hideForPick() override {
        ++picks;
        showWindow(ui::SW_HIDE);
    }
    void showAfterPick() override { showWindow(ui::SW_SHOW); }

    /// Runs with the page made, then `during` (while the dialog is open, before the script goes on).
    std::unique_ptr<DlgMacroPage> page;
    std::function<void(PageHost&)> atStart;
    int commits = 0;
    int picks = 0;

protected:
    bool onInitDialog() override {
        page = m_make(*this);
        if (!page->create(this)) return false;
        page->showWindow(ui::SW_SHOW);
        const ui::Size s = page->neededSize();
        page->moveWindow(0, 0, s.cx, s.cy);
        if (atStart) atStart(*this);
        return true;
    }
    void onDestroy() override {
        if (page) page->destroyWindow();
    }

private:
    MacroData m_data;
    Maker m_make;
};

class DlgMacroPagesTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        std::string error;
        ASSERT_TRUE(configureSettings("", "", &error)) << error;
        ASSERT_TRUE(loadTextCatalogues(gSettings.vorDir.str(), "en", &error)) << error;
        ASSERT_TRUE(cad::openDrawing(defaultLibDir().str() + "Drawings/Hall.dwg", &error)) << error;
        cad::setPickServer(&pickServer);
        clashSetStatus(false);
    }
    void TearDown() override {
        cad::setPickServer(nullptr);
        cad::curDrawing().clear();
        ui::setAgent(nullptr);
    }
    MacroData data(const Vor_StringArray& names) {
        MacroData d;
        Vor_String error;
        EXPECT_TRUE(GetMacroDataByNames(names, d, &error)) << error.str();
        return d;
    }
    static int tabOf(MacroData& d, const char* module) {
        int i = -1;
        EXPECT_TRUE(d.findTabWithModule(module, &i)) << module;
        return i;
    }
    static std::string value(const char* macro, const std::string& key) {
        const cad::Drawing& d = cad::curDrawing();
        std::string v, error;
        if (!macroValueText(d, d.findByName(macro), key, v, &error)) return "(" + error + ")";
        return v;
    }
    /// Runs a page of tab `module` of the named macros with `script` (which starts on the page).
    template <class Page>
    void run(const Vor_StringArray& names, const char* module, const std::string& script,
             std::function<void(PageHost&)> atStart = {}) {
        runOn<Page>(data(names), module, script, std::move(atStart));
    }
    /// The same on data given.
    template <class Page>
    void runOn(MacroData d, const char* module, const std::string& script,
               std::function<void(PageHost&)> atStart = {}) {
        const int t = tabOf(d, module);
        ASSERT_GE(t, 0);
        PageHost host(d, [t](MacroPageHost& h) { return std::make_unique<Page>(h, t); });
        host.atStart = std::move(atStart);
        agent.setScript("expect-dialog " + id(Page::IDD) + "\n" + script + "expect-dialog " +
                            id(PageHost::IDD) + "\nclick 1\n",
                        "page.vsc");
        host.doModal();
        EXPECT_FALSE(agent.failed()) << agent.failure();
        last = host.macroData();
        commits = host.commits;
        picks = host.picks;
    }
    /// The child id of the designed control bound to `name` on the page.
    static int designedId(DlgMacroPage& page, DesignedTabBinding& b, const char* name) {
        const int i = b.designed().indexOfName(name);
        return i >= 0 ? b.designed().control(i).resId : -1;
    }

    ui::ScriptedAgent agent;
    cad::QueuePickServer pickServer;
    MacroData last;
    int commits = 0;
    int picks = 0;
};

using Designer = DlgMacroDesignerPage;
using Prof = DlgMacroProfPage;

// The end plate's template lays its controls in file order from the first id: tp is the third,
// the check box the twelfth, pitch the seventeenth, the dimension control the eighteenth.
constexpr int kTp = DesignedTabBinding::kFirstId + 2;
constexpr int kHp = DesignedTabBinding::kFirstId + 4;
constexpr int kPitch = DesignedTabBinding::kFirstId + 16;
constexpr int kOverall = DesignedTabBinding::kFirstId + 17;
constexpr int kDetail = DesignedTabBinding::kFirstId + 20;

// Two end plates of different thickness and pitch: the thickness shows varies, a new one typed
// reaches both in the drawing, and the pitch, which also varies, is left as each had it.
TEST_F(DlgMacroPagesTest, aThicknessTypedOverVariesReachesBothEndPlatesAndLeavesTheirPitch) {
    ASSERT_EQ(value("M1", "Endplate.tp"), "20");
    ASSERT_EQ(value("M2", "Endplate.tp"), "15");
    run<Designer>({"M1", "M2"}, "Endplate",
                  "expect-text " + id(kTp) + " \"*VARIES*\"\nexpect-text " + id(kPitch) +
                      " \"*VARIES*\"\nfocus " + id(kTp) + "\ntype " + id(kTp) + " \"25\"\nfocus " + id(kHp) +
                      "\n");
    EXPECT_EQ(value("M1", "Endplate.tp"), "25") << "written into M1";
    EXPECT_EQ(value("M2", "Endplate.tp"), "25") << "and into M2";
    EXPECT_EQ(value("M1", "Endplate.pitch"), "160") << "the varying pitch keeps each plate's own";
    EXPECT_EQ(value("M2", "Endplate.pitch"), "100");
    EXPECT_GE(commits, 1);
}

// The grid lists what no designed control shows, one row each, and each listed element's
// reference is minus its row; an element a control shows keeps the control's id. A value typed
// into the grid reaches the drawing.
TEST_F(DlgMacroPagesTest, theGridListsWhatNoControlShowsWithNegativeReferences) {
    struct Case {
        const char* macro;
        const char* module;
        std::vector<std::string> rows; ///< names down the grid
        bool bolts;                    ///< the bolt row is shown
        const char* why;
    };
    const Case cases[] = {
        {"M1", "Endplate", {"bp"}, false, "the template shows every cell of the end plate but its width"},
        {"M1", "Bolts", {"grip"}, true, "a tab without a template lists its cells, and has bolt data"},
        {"M1", "Stiffeners", {"lb"}, false, "the array has its controls, the cell has none"},
        {"M3", "Anchors", {"la", "Anchors"}, true, "a bolted tab lists a pattern whose count is valid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::string script;
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            script += "expect-cell 1001 1 " + id(int(r) + 1) + " \"" + c.rows[r] + "\"\n";
        script += "expect-state 1001 visible\nexpect-state 1091 " +
                  std::string(c.bolts ? "visible" : "hidden") + "\nexpect-state 1114 " +
                  (c.bolts ? "visible" : "hidden") + "\n";
        int rows = -1;
        run<Designer>({c.macro}, c.module, script,
                      [&](PageHost& h) { rows = static_cast<Designer&>(*h.page).gridRows(); });
        EXPECT_EQ(rows, int(c.rows.size()));
        const MacroTabData& t = last.tabs[tabOf(last, c.module)];
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            const Vor_String name(c.rows[r]);
            int ref = 0;
            if (const MacroCell* cell = const_cast<MacroTabData&>(t).findCellWithName(name))
                ref = cell->ctrlRef;
            else if (const DynArrayData* a = const_cast<MacroTabData&>(t).findArrayWithName(name))
                ref = a->btnId;
            else if (const MacroPatternProps* p = const_cast<MacroTabData&>(t).findPatternWithName(name))
                ref = p->btnId;
            EXPECT_EQ(ref, -int(r + 1)) << c.rows[r] << ": minus its row";
        }
        for (const MacroCell& cell : t.cells)
            if (cell.name == Vor_String("tp")) EXPECT_EQ(cell.ctrlRef, kTp) << "tp is shown by its edit";
    }

    // without its template the array is listed too, after the cell
    MacroData bare = data({"M1"});
    bare.tabs[tabOf(bare, "Stiffeners")].designTemplate = Vor_String();
    int arrayRef = 0;
    runOn<Designer>(bare, "Stiffeners", "expect-cell 1001 1 2 \"Stiffeners\"\n");
    if (const DynArrayData* a = last.tabs[tabOf(last, "Stiffeners")].findArrayWithName("Stiffeners"))
        arrayRef = a->btnId;
    EXPECT_EQ(arrayRef, -2) << "the array's reference is minus its row";

    run<Designer>({"M1"}, "Stiffeners", "cell 1001 2 1 \"1200\"\n");
    EXPECT_EQ(value("M1", "Stiffeners.lb"), "1200") << "typed into the grid, written into the drawing";
    EXPECT_EQ(value("M2", "Stiffeners.lb"), "1000") << "M2 was not edited";
}

// A tab whose values all have controls shows no grid: the end plate without its width.
TEST_F(DlgMacroPagesTest, aPageWhoseValuesAllHaveControlsHidesTheGrid) {
    MacroData d = data({"M1"});
    const int t = tabOf(d, "Endplate");
    ASSERT_GE(t, 0);
    Vor_Array<MacroCell>& cells = d.tabs[t].cells;
    for (int i = 0; i < cells.length(); ++i)
        if (cells[i].name == Vor_String("bp")) cells.removeAt(i);
    int rows = -1;
    PageHost host(d, [t](MacroPageHost& h) { return std::make_unique<Designer>(h, t); });
    host.atStart = [&](PageHost& h) { rows = static_cast<Designer&>(*h.page).gridRows(); };
    agent.setScript(
        "expect-dialog 8137\nexpect-state 1001 hidden\nexpect-state 1091 hidden\nexpect-dialog 8960\n"
        "click 1\n",
        "page.vsc");
    host.doModal();
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(rows, 0);
}

// A flex button makes its cell fixed or flexible through the tab's flex-fix group, and the change
// is committed: the drawing's macro holds it, and a fixed cell's edit is read-only.
TEST_F(DlgMacroPagesTest, aFlexButtonFixesItsCellInTheDrawing) {
    const int flexA = DesignedTabBinding::kFirstId + 17; // the flex button "a", last of the template
    run<Designer>({"M3"}, "Baseplate", "expect-state " + id(flexA) + " checked\nclick " + id(flexA) + "\n");
    MacroData after = data({"M3"});
    const MacroTabData& t = after.tabs[tabOf(after, "Baseplate")];
    ASSERT_EQ(t.flexFix.length(), 1);
    ASSERT_GE(t.flexFix[0].flexible.length(), 1);
    EXPECT_EQ(t.flexFix[0].flexible[0], 0) << "a is fixed now, in the drawing";
    run<Designer>({"M3"}, "Baseplate", "expect-state " + id(flexA) + " unchecked\nclick " + id(flexA) + "\n");
    after = data({"M3"});
    EXPECT_EQ(after.tabs[tabOf(after, "Baseplate")].flexFix[0].flexible[0], 1) << "and flexible again";
}

// The dimension control "Overall height" is the thickness (base) plus the height over a factor of
// 1: typing 400 writes 380 into the height, and the drawing follows.
TEST_F(DlgMacroPagesTest, aDimensionControlWritesTheLinkedValue) {
    run<Designer>({"M1"}, "Endplate",
                  "click " + id(kOverall) + "\nexpect-dialog " + id(DlgTextInput::IDD) + "\nexpect-text " +
                      id(DlgTextInput::IDC_TEXT) + " \"370.00000\"\ntype " + id(DlgTextInput::IDC_TEXT) +
                      " \"400\"\nclick 1\nexpect-dialog " + id(Designer::IDD) + "\nexpect-text " + id(kHp) +
                      " \"380.00000\"\n");
    EXPECT_EQ(value("M1", "Endplate.hp"), "380.00000");
    EXPECT_EQ(value("M1", "Endplate.tp"), "20") << "the base is left";
}

// A factor that is no number or 0 would divide by zero: the control does nothing (no question is
// asked); a typed text that is no number is refused with a message and changes nothing.
TEST_F(DlgMacroPagesTest, aDimensionControlRefusesABadFactorAndATextThatIsNoNumber) {
    for (const char* factor : {"0", "abc", "", "0.0"}) {
        SCOPED_TRACE(factor);
        bool ran = true;
        run<Designer>({"M1"}, "Endplate", "", [&](PageHost& h) {
            auto& page = static_cast<Designer&>(*h.page);
            page.binding().designed().engine().getControlFromRes(kOverall)->cellField4 = Vor_String(factor);
            ran = page.binding().runDimensionControl(kOverall);
        });
        EXPECT_FALSE(ran) << "no dialog, nothing written";
        EXPECT_EQ(value("M1", "Endplate.hp"), "350");
    }
    run<Designer>({"M1"}, "Endplate",
                  "click " + id(kOverall) + "\nexpect-dialog " + id(DlgTextInput::IDD) + "\ntype " +
                      id(DlgTextInput::IDC_TEXT) +
                      " \"4x0\"\nanswer ok\nclick 1\nexpect-message \"no number\"\n"
                      "expect-dialog " +
                      id(Designer::IDD) + "\nexpect-text " + id(kHp) + " \"350\"\n");
    EXPECT_EQ(value("M1", "Endplate.hp"), "350") << "the refused text wrote nothing";
}

// The drawing-file combo lists the library's drawings and the varies entry; choosing a drawing
// swaps it in, choosing the varies entry changes nothing (even with a file of that name about).
TEST_F(DlgMacroPagesTest, theDrawingFileComboSwapsDrawingsButNotTheVariesEntry) {
    TempDir lib;
    namespace fs = std::filesystem;
    fs::copy(defaultLibDir().str(), lib.path(), fs::copy_options::recursive);
    fs::copy_file(lib.path() + "/Lifting lug.dwg", lib.path() + "/*VARIES*.dwg");
    const Vor_String oldLib = gSettings.libDir;
    gSettings.libDir = Vor_String(lib.path() + "/");
    const std::string before = value("M1", "Endplate.drawing");
    run<Designer>({"M1"}, "Endplate",
                  "expect-items " + id(kDetail) + " \"*VARIES*|Lifting lug|*VARIES*\"\nselect " +
                      id(kDetail) + " 2\n");
    EXPECT_EQ(value("M1", "Endplate.drawing"), before) << "the varies entry swaps nothing in";
    EXPECT_EQ(last.tabs[tabOf(last, "Endplate")].drawingFile.str(), before)
        << "nor does the dialog's copy change";
    run<Designer>({"M1"}, "Endplate", "select " + id(kDetail) + " 1\n");
    EXPECT_EQ(value("M1", "Endplate.drawing"), "Lifting lug");
    gSettings.libDir = oldLib;
}

// Every control the page shows lies inside the size it asks for.
TEST_F(DlgMacroPagesTest, thePagesNeedTheRoomOfAllTheirControls) {
    auto check = [](PageHost& h) {
        DlgMacroPage& page = *h.page;
        const ui::Size need = page.neededSize();
        EXPECT_GT(need.cx, 0);
        EXPECT_GT(need.cy, 0);
        for (ui::Control* c : page.controls()) {
            if (!c->isVisible()) continue;
            const ui::Rect r = c->windowRect();
            const ui::Point tl = page.screenToClient({r.left, r.top});
            EXPECT_LE(tl.x + r.width(), need.cx) << "control " << c->id();
            EXPECT_LE(tl.y + r.height(), need.cy) << "control " << c->id();
        }
    };
    run<Designer>({"M1"}, "Endplate", "", check);
    run<Designer>({"M1"}, "Bolts", "", check);
    run<Prof>({"M1"}, "Stiffener", "", check);
}

// The profile page: each combo's change is stored into the group and committed to the drawing.
TEST_F(DlgMacroPagesTest, profilePageChangesReachTheDrawing) {
    using P = DlgMacroProfPage;
    run<Prof>({"M1", "M2"}, "Stiffener",
              "expect-items " + id(P::IDC_GROUP) + " \"Stiffener\"\nselect " + id(P::IDC_ROTATION) +
                  " 1\nexpect-text " + id(P::IDC_ROTATION) + " \"90\"\nselect " + id(P::IDC_BASE_PLANE) +
                  " 3\nselect " + id(P::IDC_OFFSET_TYPE) + " 5\n");
    for (const char* m : {"M1", "M2"}) {
        SCOPED_TRACE(m);
        EXPECT_EQ(value(m, "Stiffener.profile.Stiffener.rotation"), "90");
        EXPECT_EQ(value(m, "Stiffener.profile.Stiffener.basePlane"), "3");
        EXPECT_EQ(value(m, "Stiffener.profile.Stiffener.offsetType"),
                  std::to_string(MacroProfData::getProfOffsetType(5)));
    }
    EXPECT_GE(commits, 3);
}

// A pick hides the dialog; a cancelled one changes nothing, a plane picked orients the profile by it.
TEST_F(DlgMacroPagesTest, profilePagePicksHideTheDialogAndACancelChangesNothing) {
    using P = DlgMacroProfPage;
    pickServer.push(cad::QueuePickServer::Answer::cancelled(cad::PickKind::Plane));
    run<Prof>({"M1"}, "Stiffener", "click " + id(P::IDC_PICK) + "\n");
    EXPECT_EQ(picks, 1) << "hidden for the pick";
    EXPECT_EQ(commits, 0) << "a cancelled pick commits nothing";
    const std::string orientation = value("M1", "Stiffener.profile.Stiffener.orientation");
    EXPECT_NE(orientation, "2");
    pickServer.push(cad::QueuePickServer::Answer::onPlane({{0, 0, 0}, {0, 1, 0}}));
    run<Prof>({"M1"}, "Stiffener", "click " + id(P::IDC_PICK) + "\n");
    EXPECT_EQ(value("M1", "Stiffener.profile.Stiffener.orientation"), "2");
    EXPECT_EQ(value("M1", "Stiffener.profile.Stiffener.basePlane"), "2") << "a plane normal to y is XZ";
    EXPECT_EQ(value("M2", "Stiffener.profile.Stiffener.orientation"), orientation) << "M2 was not edited";
}

} // namespace

namespace {

// Each kind of designed control on the end plate writes its element, and the drawing follows:
// a check box its cell, the choice combo its cut, a bolt count its pattern; the bolt row the
// tab's bolt data.
TEST_F(DlgMacroPagesTest, eachBoundControlWritesItsElementIntoTheDrawing) {
    const int check = DesignedTabBinding::kFirstId + 11, count = DesignedTabBinding::kFirstId + 8,
              choice = DesignedTabBinding::kFirstId + 18;
    struct Case {
        const char* module;
        std::string script;
        std::string key;
        std::string before, after;
        const char* why;
    };
    const Case cases[] = {
        {"Endplate", "expect-state " + id(check) + " checked\nclick " + id(check) + "\n",
         "Endplate.Weld to column flange", "1", "0", "a check box commits its cell at once"},
        {"Endplate", "select " + id(choice) + " 2\n", "Endplate.cut.1.choice", "0", "2",
         "the choice combo is the cut's choice"},
        {"Endplate", "focus " + id(count) + "\ntype " + id(count) + " \"3\"\nfocus " + id(kTp) + "\n",
         "Endplate.pattern.Bolts.rows.count", "2", "3", "the first bolt count is the pattern's rows"},
        {"Endplate", "select " + id(DesignedTabBinding::kFirstId + 6) + " 2\n", "Endplate.grade", "S235",
         "S355", "a variable combo commits the entry chosen"},
        {"Bolts",
         "expect-sel " + id(Designer::IDC_DIAMETER) + " 2\nselect " + id(Designer::IDC_DIAMETER) + " 1\n",
         "Bolts.bolts.diameter", "20", "16", "the bolt row's diameter is the tab's bolt data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_EQ(value("M1", c.key), c.before);
        run<Designer>({"M1"}, c.module, c.script);
        EXPECT_EQ(value("M1", c.key), c.after);
    }
}

// The designed controls of the profile tab's template write the group back: the offset type and
// the rotation chosen there reach the drawing, and the page's own combos show them.
TEST_F(DlgMacroPagesTest, designedProfileControlsWriteTheGroup) {
    using P = DlgMacroProfPage;
    const int offsetType = DesignedTabBinding::kFirstId + 3, rotation = DesignedTabBinding::kFirstId + 5;
    run<Prof>({"M1"}, "Stiffener",
              "select " + id(offsetType) + " 1\nexpect-sel " + id(P::IDC_OFFSET_TYPE) + " 1\nselect " +
                  id(rotation) + " 3\nexpect-text " + id(P::IDC_ROTATION) + " \"270\"\n");
    EXPECT_EQ(value("M1", "Stiffener.profile.Stiffener.offsetType"),
              std::to_string(MacroProfData::getProfOffsetType(1)));
    EXPECT_EQ(value("M1", "Stiffener.profile.Stiffener.rotation"), "270");
}

} // namespace

namespace {

// The pattern's "..." button and the bolt row's advanced button open their dialogs on the page's
// tab; what is changed there reaches the drawing.
TEST_F(DlgMacroPagesTest, recordButtonsOpenTheirDialogsOnThePagesTab) {
    const int patternButton = DesignedTabBinding::kFirstId + 9;
    ASSERT_EQ(value("M1", "Endplate.pattern.Bolts.edgeTop"), "100");
    run<Designer>({"M1"}, "Endplate",
                  "click " + id(patternButton) + "\nexpect-dialog 222\ntype 1283 \"80\"\nclick 1\n");
    EXPECT_EQ(value("M1", "Endplate.pattern.Bolts.edgeTop"), "80");
    ASSERT_EQ(value("M1", "Bolts.bolts.tolerance"), "2");
    run<Designer>({"M1"}, "Bolts",
                  "click " + id(Designer::IDC_BOLTS_ADVANCED) +
                      "\nexpect-dialog 8140\ntype 1104 \"3\"\nclick 1\n");
    EXPECT_EQ(value("M1", "Bolts.bolts.tolerance"), "3");
}

} // namespace

namespace {

// Choosing what to pick runs the pick at once: a coordinate system picked orients the profile by it.
// The profile details opened from the page write through the page's own callback, so every change
// there reaches the drawing while the details are open.
TEST_F(DlgMacroPagesTest, theProfilePagesPickKindAndDetailsWriteTheGroup) {
    using P = DlgMacroProfPage;
    pickServer.push(cad::QueuePickServer::Answer::coordSys("CS1"));
    run<Prof>({"M1"}, "Stiffener", "select " + id(P::IDC_PICK_KIND) + " 1\n");
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(value("M1", "Stiffener.profile.Stiffener.coordSys"), "CS1");
    EXPECT_EQ(value("M1", "Stiffener.profile.Stiffener.orientation"), "2");

    run<Prof>({"M1"}, "Stiffener",
              "click " + id(P::IDC_ADVANCED) + "\nexpect-dialog " + id(DlgMacroProfAdvanced::IDD) +
                  "\nclick " + id(DlgMacroProfAdvanced::IDC_ROT_180) + "\nexpect-dialog " + id(P::IDD) +
                  "\nexpect-text " + id(P::IDC_ROTATION) + " \"180\"\nexpect-dialog " +
                  id(DlgMacroProfAdvanced::IDD) + "\nclick 1\n");
    EXPECT_EQ(value("M1", "Stiffener.profile.Stiffener.rotation"), "180");
}

} // namespace

namespace {

// The array controls of the stiffeners' template show and write the array; its button opens the
// array dialog on it.
TEST_F(DlgMacroPagesTest, arrayControlsWriteTheArrayAndItsButtonOpensIt) {
    const int number = DesignedTabBinding::kFirstId + 4, button = DesignedTabBinding::kFirstId + 7;
    ASSERT_EQ(value("M1", "Stiffeners.array.Stiffeners.third"), "0");
    run<Designer>({"M1"}, "Stiffeners",
                  "expect-text " + id(DesignedTabBinding::kFirstId + 2) + " \"200\"\nfocus " + id(number) +
                      "\ntype " + id(number) + " \"4\"\nfocus " + id(DesignedTabBinding::kFirstId + 6) +
                      "\n");
    EXPECT_EQ(value("M1", "Stiffeners.array.Stiffeners.third"), "4");
    run<Designer>({"M1"}, "Stiffeners",
                  "click " + id(button) + "\nexpect-dialog " + id(DlgArray::IDD) + "\ntype " +
                      id(DlgArray::IDC_DISTANCE) + " \"250\"\nclick 1\nexpect-dialog " + id(Designer::IDD) +
                      "\nexpect-text " + id(DesignedTabBinding::kFirstId + 2) + " \"250\"\n");
    EXPECT_EQ(value("M1", "Stiffeners.array.Stiffeners.distance"), "250");
}

} // namespace
