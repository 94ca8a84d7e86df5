// The macro dialog on the sample hall: property files saved and loaded through the filtered file
// dialog reach the drawing, a file that cannot be read or written is said so and changes nothing,
// and every page sits on its own tab when a tab of a kind without a page lies between them.
#include "macro/ui/DlgMacro.h"

#include "frame/ModuleResourceScope.h"

#include <cad/Drawing.h>
#include <cad/DrawingFile.h>
#include <host/MacroLangs.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

/// The tabs without the ids of the controls that showed their values.
Vor_Array<MacroTabData> withoutReferences(Vor_Array<MacroTabData> tabs) {
    for (MacroTabData& t : tabs)
        t.removeAllDlgReferences();
    return tabs;
}

std::string id(int n) {
    return std::to_string(n);
}
const std::string DLG = "expect-dialog " + id(DlgMacro::IDD) + "\n";
const std::string FILES = "expect-dialog 231\n";

class DlgMacroTest : public testing::Test {
protected:
    void SetUp() override {
        // a library of its own, so that property files can be written and spoilt
        lib = fs::temp_directory_path() / ("vor-dlgmacro-" + std::to_string(::getpid()));
        fs::remove_all(lib);
        fs::copy(defaultLibDir().str(), lib, fs::copy_options::recursive);
        ui::setAgent(&agent);
        ASSERT_TRUE(configureSettings(lib.string() + "/", defaultInstallDir().str()));
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
        std::string error;
        ASSERT_TRUE(cad::openDrawing(lib.string() + "/Drawings/Hall.dwg", &error)) << error;
        macroHostSettings().regenerationDelayMs = 0;
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        fs::remove_all(lib);
    }
    MacroData macros(const Vor_StringArray& names) {
        MacroData data;
        Vor_String error;
        EXPECT_TRUE(GetMacroDataByNames(names, data, &error)) << error.str();
        return data;
    }
    /// A value of a macro as the drawing keeps it.
    std::string value(const char* macro, const std::string& key) {
        std::string v, error;
        EXPECT_TRUE(macroValueText(cad::curDrawing(), cad::curDrawing().findByName(macro), key, v, &error))
            << error;
        return v;
    }
    void setValue(const char* macro, const char* module, const char* cell, const char* text) {
        MacroData d = macros({macro});
        MacroTabData* tab = d.findTabWithModule(module);
        int index = -1;
        ASSERT_TRUE(tab && tab->findCellWithName(cell, &index));
        tab->cells[index].value = text;
        ASSERT_TRUE(UpdateModule(module, d, {index}, {}));
    }
    /// Runs the modal dialog on `data` with `script` (which ends it); the dialog's data afterwards.
    MacroData run(MacroData data, const std::string& script) {
        agent.setScript(DLG + script, "macro.vsc");
        StartDlgMacro(data);
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return data;
    }
    fs::path folder() const { return lib / "Macros" / "Kopplaat"; }

    fs::path lib;
    ui::ScriptedAgent agent;
};

TEST_F(DlgMacroTest, aPropertyFileSavedChangedAndLoadedPutsTheValuesBackInTheDrawing) {
    ASSERT_EQ(value("M1", "Endplate.tp"), "20");
    run(macros({"M1"}),
        "click " + id(DlgMacro::IDC_SAVE) + "\n" + FILES + "type 1043 \"My plate\"\nclick 1\nclick 1\n");
    ASSERT_TRUE(fs::is_regular_file(folder() / "My plate.vmp"));

    setValue("M1", "Endplate", "tp", "30");
    setValue("M1", "Endplate", "pitch", "120");
    ASSERT_EQ(value("M1", "Endplate.tp"), "30");
    MacroData after = run(macros({"M1"}), "click " + id(DlgMacro::IDC_LOAD) + "\n" + FILES +
                                              "select 1317 \"My plate\"\nclick 1\nclick 1\n");
    EXPECT_EQ(value("M1", "Endplate.tp"), "20") << "the saved thickness is back in the drawing";
    EXPECT_EQ(value("M1", "Endplate.pitch"), "160");
    EXPECT_EQ(after.findTabWithModule("Endplate")->findCellWithName("tp")->value.str(), "20")
        << "and in the dialog's data";
    EXPECT_TRUE(after.closedByUser);
}

TEST_F(DlgMacroTest, aFileThatCannotBeReadOrWrittenIsSaidAndChangesNothing) {
    std::ofstream(folder() / "Spoilt.vmp") << "macro\tbogus\n";
    const MacroData before = macros({"M1"});
    const MacroData after = run(before, "answer ok\nclick " + id(DlgMacro::IDC_LOAD) + "\n" + FILES +
                                            "select 1317 \"Spoilt\"\nclick 1\nexpect-message \"" +
                                            dialString(10600).str() + "\"\nclick 1\n");
    EXPECT_EQ(withoutReferences(after.tabs), withoutReferences(before.tabs)) << "nothing of the spoilt file";
    EXPECT_EQ(value("M1", "Endplate.tp"), "20");

    // a save that fails says so (a folder stands where the file would go)
    fs::create_directory(folder() / "Taken.vmp");
    run(before, "answer ok\nclick " + id(DlgMacro::IDC_SAVE) + "\n" + FILES +
                    "type 1043 \"Taken\"\nclick 1\nexpect-message \"" + dialString(10602).str() +
                    "\"\nclick 1\n");
    EXPECT_TRUE(fs::is_directory(folder() / "Taken.vmp")) << "nothing replaced it";
}

// A tab of a kind without a page gets no tab label; the later tabs keep their own pages, and what
// is typed on them reaches their own module.
TEST_F(DlgMacroTest, aPagelessTabInTheMiddleLeavesTheLaterPagesOnTheirOwnTabs) {
    MacroData data = macros({"M1"});
    ASSERT_EQ(data.tabs.length(), 4);
    MacroTabData hidden;
    hidden.kind = 7; // no page for this kind
    hidden.moduleName = "Notes";
    hidden.caption = "Notes";
    data.tabs.insertAt(1, hidden);
    ModuleResourceScope scope;
    DlgMacro dlg;
    dlg.data = data;
    ASSERT_TRUE(dlg.create());
    ASSERT_EQ(dlg.item(DlgMacro::IDC_TABS)->count(), 4) << "no label for the page-less tab";
    EXPECT_EQ(dlg.pageOfTab(1), nullptr);
    for (int ctrl = 0; ctrl < 4; ++ctrl) {
        const int tab = dlg.tabOfControlTab(ctrl);
        ASSERT_EQ(tab, ctrl == 0 ? 0 : ctrl + 1) << "tab " << ctrl;
        ASSERT_NE(dlg.pageOfTab(tab), nullptr) << "tab " << ctrl;
        EXPECT_EQ(dlg.pageOfTab(tab)->tabIndex(), tab);
        EXPECT_EQ(dlg.item(DlgMacro::IDC_TABS)->itemText(ctrl), dlg.data.tabs[tab].caption.str());
    }
    dlg.item(DlgMacro::IDC_TABS)->setCurTab(1);
    dlg.sendCommand(DlgMacro::IDC_TABS, ui::TCN_SELCHANGE);
    EXPECT_EQ(dlg.currentTab(), 2) << "the bolts' page";
    EXPECT_TRUE(dlg.pageOfTab(2)->isVisible());
    EXPECT_FALSE(dlg.pageOfTab(0)->isVisible());

    dlg.destroyWindow();

    // a page after the page-less tab commits into its own module of the drawing
    data = macros({"M1"});
    data.tabs.insertAt(0, hidden);
    DlgMacro first;
    first.data = data;
    ASSERT_TRUE(first.create());
    ASSERT_EQ(first.tabOfControlTab(0), 1);
    DlgMacroPage* plate = first.pageOfTab(1);
    ASSERT_NE(plate, nullptr);
    const MacroCell* tp = plate->tab().findCellWithName("tp");
    ASSERT_TRUE(tp && tp->ctrlRef > 0) << "a designed control shows the thickness";
    ASSERT_NE(plate->item(tp->ctrlRef), nullptr);
    plate->item(tp->ctrlRef)->setText("25");
    EXPECT_TRUE(first.commitPage(*plate));
    EXPECT_EQ(value("M1", "Endplate.tp"), "25");
    EXPECT_EQ(first.data.tabs[1].findCellWithName("tp")->value.str(), "25");
    EXPECT_EQ(first.data.tabs[0].cells.length(), 0) << "the page-less tab took nothing";
    first.destroyWindow();
}

// In Dutch the tabs, the designed captions and the check box's label come from the library's
// translations; the check box still shows its cell's value.
TEST_F(DlgMacroTest, theLibrarysTranslationsNameTabsAndDesignedCaptions) {
    ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "nl"));
    gMacroLangs.reset();
    ModuleResourceScope scope;
    DlgMacro dlg;
    dlg.data = macros({"M1"});
    ASSERT_TRUE(dlg.create());
    EXPECT_EQ(dlg.item(DlgMacro::IDC_TABS)->itemText(0), "Kopplaat");
    DlgMacroPage* plate = dlg.pageOfTab(0);
    ASSERT_NE(plate, nullptr);
    const int first = 34000; // designed controls in the template's order: 1 "Thickness", 11 the weld box
    ASSERT_NE(plate->item(first + 1), nullptr);
    EXPECT_EQ(plate->item(first + 1)->text(), "Dikte");
    ASSERT_NE(plate->item(first + 11), nullptr);
    EXPECT_EQ(plate->item(first + 11)->text(), "Gelast aan kolomflens");
    EXPECT_EQ(plate->item(first + 11)->checkState(), ui::BST_CHECKED) << "the cell's value 1";
    EXPECT_EQ(plate->tab().findCellWithName("Weld to column flange")->ctrlRef, first + 11) << "still bound";
    dlg.destroyWindow();
    ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
    gMacroLangs.reset();
}

} // namespace
