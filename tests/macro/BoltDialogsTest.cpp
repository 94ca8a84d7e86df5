// The bolt and pattern dialogs driven as a person would, on bolt data of their own and on the end
// plates of the sample hall: what is refused, what an undecided box leaves, what reaches the
// drawing, and what Cancel takes back.
#include "frame/ModuleResourceScope.h"
#include "macro/BoltDialogRules.h"
#include "macro/EditTabRecords.h"
#include "macro/ui/DlgMacroBoltAdvanced.h"
#include "macro/ui/DlgMacroPatternProps.h"

#include <cad/Drawing.h>
#include <cad/DrawingFile.h>
#include <host/MacroData.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace {

using Dlg = DlgMacroBoltAdvanced;
std::string id(int n) {
    return std::to_string(n);
}
const std::string D = id(Dlg::IDD);

SlottedHole slot(bool active, const char* radius, const char* length) {
    SlottedHole h;
    h.active = active;
    h.radius = Vor_String(radius);
    h.length = Vor_String(length);
    h.angle = Vor_String("0");
    h.offset = Vor_String("0");
    return h;
}

class BoltDialogsTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(configureSettings(defaultLibDir().str(), defaultInstallDir().str()));
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
    }
    void TearDown() override { ui::setAgent(nullptr); }

    /// Runs the bolt dialog on `bolts` with `script`; true on OK (then `bolts` is the dialog's).
    bool runBolts(MacroBoltData& bolts, const std::string& script) {
        agent.setScript(script, "bolts.vsc");
        ModuleResourceScope scope;
        Dlg dlg;
        dlg.data = bolts;
        const bool ok = dlg.doModal() == ui::IDOK;
        if (ok) bolts = dlg.data;
        return ok;
    }
    ui::ScriptedAgent agent;
};

/// Every text a person reads on `d` (caption, labels, boxes, buttons, combo items but those of the
/// bolt library) is a text of the catalogue of `lang`, or one of `composed`.
void expectCatalogueTexts(const ui::Dialog& d, const std::string& lang,
                          const std::set<std::string>& composed) {
    std::map<int, std::string> numbered;
    std::string error;
    ASSERT_TRUE(
        parseTextCatalogue(defaultInstallDir().str() + "texts/dial." + lang + ".txt", numbered, &error))
        << error;
    std::set<std::string> texts = composed;
    for (const auto& [n, t] : numbered)
        texts.insert(t);
    EXPECT_TRUE(texts.count(d.windowText())) << lang << ": caption " << d.windowText();
    for (const ui::Control* c : d.controls()) {
        const bool libraryItems = c->id() == Dlg::IDC_ASSEMBLY || c->id() == Dlg::IDC_DIAMETER;
        if (c->kind() == ui::ControlKind::ComboBox && !libraryItems)
            for (int i = 0; i < c->count(); ++i)
                EXPECT_TRUE(texts.count(c->itemText(i)))
                    << lang << ": item of " << c->id() << " " << c->itemText(i);
        const bool shown = c->kind() == ui::ControlKind::Static || c->kind() == ui::ControlKind::GroupBox ||
                           c->kind() == ui::ControlKind::CheckBox || c->kind() == ui::ControlKind::PushButton;
        if (shown && !c->text().empty())
            EXPECT_TRUE(texts.count(c->text())) << lang << ": control " << c->id() << " shows " << c->text();
    }
}

TEST_F(BoltDialogsTest, everyTextIsOfTheChosenLanguage) {
    for (const char* lang : {"en", "nl"}) {
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), lang));
        ModuleResourceScope scope;
        Dlg bolts;
        bolts.data.slottedHoles.append(slot(true, "11", "20"));
        ASSERT_TRUE(bolts.create());
        expectCatalogueTexts(
            bolts, lang,
            {(dialString(991) + "1").str(), (dialString(991) + "2").str(), slottedHoleEntryText(0).str()});
        bolts.destroyWindow();
        MacroData macros;
        macros.tabs.append(MacroTabData());
        macros.tabs[0].patterns.append(MacroPatternProps());
        DlgMacroPatternProps pattern(macros, 0, 0, -1);
        ASSERT_TRUE(pattern.create());
        expectCatalogueTexts(pattern, lang, {""});
        pattern.destroyWindow();
    }
}

TEST_F(BoltDialogsTest, slottedHolesAreRefusedOnlyWhenActiveAndNotGreaterThanZero) {
    struct Case {
        Vor_Array<SlottedHole> holes;
        int refused; ///< index of the hole refused, -1 for none
        const char* why;
    };
    const Case cases[] = {
        {{slot(true, "0", "20")}, 0, "an active hole of radius 0"},
        {{slot(false, "0", "20")}, -1, "an inactive hole is not looked at"},
        {{slot(true, "11", "20"), slot(true, "11", "-5")}, 1, "the second one's negative length"},
        {{slot(true, "11", "abc")}, 0, "a length that is no number"},
        {{slot(true, "5,5", "20")}, -1, "a radius typed with a decimal comma"},
        {{}, -1, "no slotted holes at all"},
    };
    for (const Case& c : cases) {
        MacroBoltData b;
        b.slottedHoles = c.holes;
        EXPECT_EQ(firstInvalidSlottedHole(b), c.refused) << c.why;
    }
    EXPECT_EQ(invalidSlottedHoleMessage(1).str(),
              "Slotted hole 2 has a radius or length that is not greater than 0.\n\nPlease correct this.")
        << "the hole is named as the combo counts it, from 1";
}

TEST_F(BoltDialogsTest, smallRules) {
    EXPECT_EQ(storedTriState(TriState::On, ui::BST_INDETERMINATE), TriState::On) << "undecided keeps";
    EXPECT_EQ(storedTriState(TriState::Undecided, ui::BST_INDETERMINATE), TriState::Undecided);
    EXPECT_EQ(storedTriState(TriState::Undecided, ui::BST_UNCHECKED), TriState::Off) << "decided";
    EXPECT_EQ(keptDiameterIndex({"12", "16", "20"}, Vor_String("16")), 1) << "offered: kept";
    EXPECT_EQ(keptDiameterIndex({"12", "16"}, Vor_String("20")), 0) << "not offered: the first";
    EXPECT_EQ(keptDiameterIndex({}, Vor_String("20")), -1) << "nothing offered";
    for (int appliesTo = 0; appliesTo < 3; ++appliesTo)
        EXPECT_EQ(slotAppliesTo(slotChoiceComboIndex(appliesTo)), appliesTo) << "the combo maps both ways";
    EXPECT_EQ(slotChoiceComboIndex(0), 2) << "all parts is the combo's last entry";
    Vor_StringArray d{"50", "60"};
    fitPatternDistances(d, 4, Vor_String("70"));
    EXPECT_EQ(d, (Vor_StringArray{"50", "60", "60", "60"})) << "new gaps repeat the last distance";
    fitPatternDistances(d, 1, Vor_String("70"));
    EXPECT_EQ(d, (Vor_StringArray{"50"}));
}

// With no slotted holes the combo has no entry 0: nothing is shown, the fields cannot be used and
// nothing is stored (choosing and storing entry 0 of the empty list wrote past the list).
TEST_F(BoltDialogsTest, withoutSlottedHolesTheSlotFieldsAreDisabledAndNothingIsStored) {
    MacroBoltData b;
    b.assembly = Vor_String("M20 8.8");
    b.diameter = Vor_String("20");
    std::string s = "expect-dialog " + D + "\nexpect-items " + id(Dlg::IDC_SLOTS) + " \"\"\n";
    for (int c : {Dlg::IDC_SLOTS, Dlg::IDC_SLOT_ACTIVE, Dlg::IDC_SLOT_RADIUS, Dlg::IDC_SLOT_LENGTH,
                  Dlg::IDC_SLOT_ANGLE, Dlg::IDC_SLOT_OFFSET, Dlg::IDC_SLOT_CHOICE})
        s += "expect-state " + id(c) + " disabled\n";
    s += "click 1\n";
    ASSERT_TRUE(runBolts(b, s)) << agent.failure();
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(b.slottedHoles.length(), 0) << "no slotted hole was made by storing";
}

TEST_F(BoltDialogsTest, theSecondSlottedHoleIsRefusedByNumberAndTheDialogStaysOpenUntilItIsMended) {
    MacroBoltData b;
    b.slottedHoles.append(slot(true, "11", "20"));
    b.slottedHoles.append(slot(false, "11", "20"));
    const std::string slots = id(Dlg::IDC_SLOTS);
    const std::string s = "expect-dialog " + D + "\nexpect-items " + slots +
                          " \"Slotted hole nr: 1|Slotted hole nr: 2\"\nexpect-text " +
                          id(Dlg::IDC_SLOT_RADIUS) +
                          " \"11\"\n"
                          // the second one: made active with a negative length
                          "pick " +
                          slots + " 1\nexpect-state " + id(Dlg::IDC_SLOT_LENGTH) + " disabled\nclick " +
                          id(Dlg::IDC_SLOT_ACTIVE) + "\ntype " + id(Dlg::IDC_SLOT_LENGTH) +
                          " \"-5\"\nanswer ok\nclick 1\n"
                          "expect-message \"Slotted hole 2 has a radius or length that is not greater than "
                          "0.\"\nexpect-dialog " +
                          D + "\ntype " + id(Dlg::IDC_SLOT_LENGTH) + " \"35\"\nclick 1\n";
    ASSERT_TRUE(runBolts(b, s)) << agent.failure();
    EXPECT_FALSE(agent.failed()) << agent.failure();
    ASSERT_EQ(agent.messages().size(), 1u);
    EXPECT_EQ(agent.messages()[0].caption, dialString(9002).str());
    EXPECT_EQ(agent.messages()[0].icon(), int(ui::MB_ICONEXCLAMATION));
    ASSERT_EQ(b.slottedHoles.length(), 2);
    EXPECT_TRUE(b.slottedHoles[1].active) << "the check box made it active";
    EXPECT_EQ(b.slottedHoles[1].length, Vor_String("35"));
    EXPECT_EQ(b.slottedHoles[0], slot(true, "11", "20")) << "the first one as it was";
}

TEST_F(BoltDialogsTest, undecidedBoxesDecideOnceAndNotApplicableNutsStayMinusOne) {
    MacroBoltData b;
    b.tapped = TriState::Undecided;
    b.reverse = TriState::Undecided;
    b.countersunk = TriState::On;
    b.nut1 = 1;
    b.nut2 = -1;
    b.washers = 0;
    const std::string tapped = id(Dlg::IDC_TAPPED), reverse = id(Dlg::IDC_REVERSE);
    const std::string s =
        "expect-dialog " + D + "\nexpect-state " + tapped + " indeterminate\nexpect-state " + reverse +
        " indeterminate\nexpect-state " + id(Dlg::IDC_COUNTERSUNK) +
        " checked\n"
        // undecided -> unchecked, then an ordinary two-state box
        "click " +
        tapped + "\nexpect-state " + tapped + " unchecked\nclick " + tapped + "\nexpect-state " + tapped +
        " checked\nclick " + tapped + "\nexpect-state " + tapped + " unchecked\nclick " + tapped +
        "\nexpect-state " + id(Dlg::IDC_NUT2) + " disabled\nexpect-state " + id(Dlg::IDC_NUT1) +
        " checked\nclick " + id(Dlg::IDC_WASHERS) + "\nclick 1\n";
    ASSERT_TRUE(runBolts(b, s)) << agent.failure();
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(b.tapped, TriState::On) << "decided by the clicks";
    EXPECT_EQ(b.reverse, TriState::Undecided) << "left undecided: each bolt keeps its own";
    EXPECT_EQ(b.countersunk, TriState::On);
    EXPECT_EQ(b.nut2, -1) << "not applicable is written back as it was";
    EXPECT_EQ(b.nut1, 1);
    EXPECT_EQ(b.washers, 1);
}

// Another assembly offers its own diameters: the list is filled anew and the diameter kept when
// the new assembly offers it, else its first one (the old assembly's list used to stay).
TEST_F(BoltDialogsTest, choosingAnotherAssemblyOffersItsDiameters) {
    namespace fs = std::filesystem;
    const fs::path lib = fs::temp_directory_path() / "vor-bolt-dialog-lib";
    fs::create_directories(lib / "Bolts");
    {
        std::ofstream out(lib / "Bolts" / "assemblies.txt");
        out << "VORLANE BOLTS 1\n"
               "assembly;A;ISO 4017;three sizes\n"
               "size;M12;12;1.75;18;7.5;10.8;24;2.5;1\nsize;M16;16;2;24;10;14.8;30;3;2\n"
               "size;M20;20;2.5;30;12.5;18;37;3;2\n"
               "assembly;B;ISO 4017;no M20\n"
               "size;M16;16;2;24;10;14.8;30;3;2\nsize;M24;24;3;36;15;21.5;44;4;2\n"
               "assembly;C;ISO 4017;M16 second\n"
               "size;M12;12;1.75;18;7.5;10.8;24;2.5;1\nsize;M16;16;2;24;10;14.8;30;3;2\n";
    }
    ASSERT_TRUE(configureSettings(lib.string(), defaultInstallDir().str()));
    struct Case {
        const char* diameter;
        const char* to;
        const char* items;
        int sel;
        const char* why;
    };
    const Case cases[] = {
        {"20", "B", "16|24", 0, "20 is not offered by B: its first diameter"},
        {"16", "C", "12|16", 1, "16 is offered by C: kept"},
    };
    for (const Case& c : cases) {
        MacroBoltData b;
        b.assembly = Vor_String("A");
        b.diameter = Vor_String(c.diameter);
        const std::string s =
            "expect-dialog " + D + "\nexpect-items " + id(Dlg::IDC_DIAMETER) + " \"12|16|20\"\nselect " +
            id(Dlg::IDC_ASSEMBLY) + " \"" + c.to + "\"\nexpect-items " + id(Dlg::IDC_DIAMETER) + " \"" +
            c.items + "\"\nexpect-sel " + id(Dlg::IDC_DIAMETER) + " " + std::to_string(c.sel) + "\nclick 1\n";
        EXPECT_TRUE(runBolts(b, s)) << c.why << ": " << agent.failure();
        EXPECT_FALSE(agent.failed()) << c.why << ": " << agent.failure();
        EXPECT_EQ(b.assembly, Vor_String(c.to)) << c.why;
    }
    ASSERT_TRUE(configureSettings(defaultLibDir().str(), defaultInstallDir().str()));
    fs::remove_all(lib);
}

// ---------------------------------------------------------------- on the sample hall's end plates

/// A field of a drawing entity as its file line writes it ("" when there is none).
std::string fieldOf(const std::string& name, const std::string& key) {
    const cad::Drawing& d = cad::curDrawing();
    const cad::Entity* e = d.get(d.findByName(name));
    if (!e) return "";
    for (const auto& [k, v] : cad::entityFields(*e))
        if (k == key) return v;
    return "";
}

class HallBoltsTest : public BoltDialogsTest {
protected:
    void SetUp() override {
        BoltDialogsTest::SetUp();
        std::string error;
        ASSERT_TRUE(cad::openDrawing(defaultLibDir().str() + "Drawings/Hall.dwg", &error)) << error;
    }
    /// The merged data of the named macros, and the index of its first tab with bolt data.
    MacroData macros(const Vor_StringArray& names, int& boltTab) {
        MacroData data;
        Vor_String error;
        EXPECT_TRUE(GetMacroDataByNames(names, data, &error)) << error.str();
        boltTab = -1;
        for (int i = 0; i < data.tabs.length() && boltTab < 0; ++i)
            if (data.tabs[i].hasBolts) boltTab = i;
        return data;
    }
    MacroBoltData boltsOf(const char* macro) {
        int tab = -1;
        MacroData data = macros({macro}, tab);
        return tab >= 0 ? data.tabs[tab].bolts : MacroBoltData();
    }
};

// A yes/no value in which the end plates differ starts undecided and, left so, each macro keeps
// its own; a value the person sets reaches both; Cancel reaches neither. The sample plates agree,
// so M1 is first made bolted in the workshop on its own.
TEST_F(HallBoltsTest, undecidedBoxesKeepEachEndPlatesOwnValueInTheDrawing) {
    int tab = -1;
    MacroData m1Alone = macros({"M1"}, tab);
    ASSERT_GE(tab, 0) << "the end plate has bolt data";
    ASSERT_EQ(m1Alone.tabs[tab].bolts.workshop, TriState::Off);
    agent.setScript("expect-dialog " + D + "\nexpect-state " + id(Dlg::IDC_WORKSHOP) + " unchecked\nclick " +
                        id(Dlg::IDC_WORKSHOP) + "\nclick 1\n",
                    "m1.vsc");
    ASSERT_TRUE(editBoltsOfTab(m1Alone, tab, -1));
    ASSERT_FALSE(agent.failed()) << agent.failure();
    const MacroBoltData m1 = boltsOf("M1"), m2 = boltsOf("M2");
    ASSERT_EQ(m1.workshop, TriState::On) << "written into M1 in the drawing";
    ASSERT_EQ(m2.workshop, TriState::Off) << "M2 untouched";

    MacroData both = macros({"M1", "M2"}, tab);
    ASSERT_GE(tab, 0);
    ASSERT_EQ(both.tabs[tab].bolts.workshop, TriState::Undecided);
    ASSERT_EQ(both.tabs[tab].bolts.tapped, TriState::Off);
    const std::string positions1 = fieldOf("BG1", "positions"), positions2 = fieldOf("BG2", "positions");

    // Cancel: nothing reaches the drawing
    agent.setScript("expect-dialog " + D + "\nclick " + id(Dlg::IDC_TAPPED) + "\nclick " +
                        id(Dlg::IDC_WORKSHOP) + "\nclick 2\n",
                    "cancel.vsc");
    EXPECT_FALSE(editBoltsOfTab(both, tab, -1));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(boltsOf("M1"), m1) << "Cancel changes nothing";
    EXPECT_EQ(boltsOf("M2"), m2) << "Cancel changes nothing";

    // OK with the differing value left undecided and another one set
    agent.setScript("expect-dialog " + D + "\nexpect-state " + id(Dlg::IDC_WORKSHOP) +
                        " indeterminate\nexpect-state " + id(Dlg::IDC_TAPPED) + " unchecked\nclick " +
                        id(Dlg::IDC_TAPPED) + "\nclick 1\n",
                    "ok.vsc");
    EXPECT_TRUE(editBoltsOfTab(both, tab, -1));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    const MacroBoltData after1 = boltsOf("M1"), after2 = boltsOf("M2");
    EXPECT_EQ(after1.tapped, TriState::On) << "the value set reaches M1";
    EXPECT_EQ(after2.tapped, TriState::On) << "the value set reaches M2";
    EXPECT_EQ(after1.workshop, TriState::On) << "M1 keeps its own undecided value";
    EXPECT_EQ(after2.workshop, TriState::Off) << "M2 keeps its own undecided value";
    EXPECT_EQ(after1.diameter, m1.diameter) << "each keeps its own diameter";
    EXPECT_EQ(after2.diameter, m2.diameter) << "each keeps its own diameter";
    EXPECT_EQ(fieldOf("BG1", "assembly"), "M20 8.8");
    EXPECT_EQ(fieldOf("BG2", "assembly"), "M16 8.8");
    EXPECT_EQ(fieldOf("BG1", "positions"), positions1) << "the bolts stay where they were";
    EXPECT_EQ(fieldOf("BG2", "positions"), positions2);
}

// The pattern dialog moves the bolts in the drawing while it is open; Cancel puts them back (the
// dialog used to end without writing the original pattern back, leaving the last live change).
TEST_F(HallBoltsTest, thePatternDialogMovesTheBoltsWhileOpenAndCancelPutsThemBack) {
    int tab = -1;
    MacroData m1 = macros({"M1"}, tab);
    int patternTab = -1;
    for (int i = 0; i < m1.tabs.length() && patternTab < 0; ++i)
        if (m1.tabs[i].patterns.length() > 0) patternTab = i;
    ASSERT_GE(patternTab, 0) << "the end plate has a bolt pattern";
    const MacroPatternProps original = m1.tabs[patternTab].patterns[0];
    const std::string before = fieldOf("BG1", "positions");
    ASSERT_FALSE(before.empty());
    std::string whileOpen;
    agent.setHostHandler([&](const std::vector<std::string>& w, std::string&) {
        if (w.empty() || w[0] != "probe") return ui::ScriptedAgent::HostResult::NotMine;
        whileOpen = fieldOf("BG1", "positions");
        return ui::ScriptedAgent::HostResult::Done;
    });
    const int count = original.getCount(0);
    ASSERT_GT(count, 0) << "the rows of the end plate's pattern";
    const std::string rows = id(DlgMacroPatternProps::IDC_ROWS_COUNT);
    agent.setScript("expect-dialog " + id(DlgMacroPatternProps::IDD) + "\ntype " + rows + " \"" +
                        std::to_string(count + 1) + "\"\nprobe\nclick 2\n",
                    "pattern.vsc");
    EXPECT_FALSE(editPatternAt(m1, patternTab, 0, -1));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_NE(whileOpen, before) << "a row more, in the drawing while the dialog is open";
    EXPECT_EQ(fieldOf("BG1", "positions"), before) << "Cancel put the bolts back";
    EXPECT_EQ(m1.tabs[patternTab].patterns[0], original) << "and the tab's pattern";
    int again = -1;
    EXPECT_EQ(macros({"M1"}, again).tabs[patternTab].patterns[0].halves[0].count, original.halves[0].count)
        << "the macro in the drawing holds the original count";
}

} // namespace
