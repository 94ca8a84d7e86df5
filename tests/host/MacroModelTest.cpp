// The macro model without windows: merged values of several macros, changes written into every
// selected macro and the drawing following them, property files, the definition and bolt library
// readers, the clash bookkeeping and the picks.
#include "TempDir.h"

#include <host/MacroData.h>
#include <host/MacroLangs.h>
#include <host/MacroLibrary.h>
#include <host/Settings.h>
#include <host/Texts.h>

#include <cad/DrawingFile.h>
#include <cad/Pick.h>
#include <cad/aced.h>

#include <ui/Script.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>

namespace {

using Answer = cad::QueuePickServer::Answer;

const std::string kHall = VOR_SOURCE_DIR "/data/lib/Drawings/Hall.dwg";

class MacroModel : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(configureSettings("", "", &error)) << error;
        ASSERT_TRUE(loadTextCatalogues(gSettings.vorDir.str(), "en", &error)) << error;
        ASSERT_TRUE(cad::openDrawing(kHall, &error)) << error;
        cad::setPickServer(&picks);
        clashSetStatus(false);
        acutClearPrintedText();
        macroHostSettings().regenerationDelayMs = 0;
    }
    void TearDown() override {
        cad::setPickServer(nullptr);
        clashSetStatus(false);
        cad::curDrawing().clearHighlights();
    }

    static cad::Drawing& drawing() { return cad::curDrawing(); }
    static AcDbObjectId id(const char* name) { return drawing().findByName(name); }
    static const cad::Entity& entity(const char* name) {
        const cad::Entity* e = drawing().get(id(name));
        if (!e) throw std::runtime_error(std::string("no entity ") + name);
        return *e;
    }
    static double plateThickness(const char* name) {
        return std::get<cad::Plate>(entity(name).geometry).thickness;
    }
    static const cad::BoltGroup& bolts(const char* name) {
        return std::get<cad::BoltGroup>(entity(name).geometry);
    }
    static std::string value(const char* macro, const std::string& key) {
        std::string v, error;
        if (!macroValueText(drawing(), id(macro), key, v, &error)) return "(" + error + ")";
        return v;
    }
    static MacroData data(std::initializer_list<const char*> names) {
        Vor_StringArray n;
        for (const char* name : names)
            n.append(Vor_String(name));
        MacroData d;
        Vor_String error;
        EXPECT_TRUE(GetMacroDataByNames(n, d, &error)) << error.str();
        return d;
    }
    /// Writes the differences between `before` and `after` in tab `module` as a dialog commits them.
    static bool commit(const MacroData& after, const MacroData& before, const char* module) {
        int t = -1;
        EXPECT_TRUE(after.findTab(Vor_String(module), t));
        Vor_StringArray names;
        Vor_Array<int> first, second;
        after.tabs[t].differences(before.tabs[t], names, first, second);
        return UpdateModule(Vor_String(module), after, first, second);
    }

    cad::QueuePickServer picks;
};

// ---- records

TEST(MacroRecords, mergeOfTwoMacrosShowsWhatVariesAndApplyKeepsEachOwnValue) {
    std::string error;
    ASSERT_TRUE(loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "en", &error)) << error;
    MacroBoltData a, b;
    a.assembly = b.assembly = "8.8";
    a.diameter = "20";
    b.diameter = "16";
    a.tapped = TriState::On;
    b.tapped = TriState::Off;
    a.reverse = b.reverse = TriState::On;
    a.nut2 = 0;
    b.nut2 = -1;
    MacroBoltData merged = a;
    merged.mergeWith(b);
    EXPECT_EQ(merged.assembly.str(), "8.8") << "equal texts stay";
    EXPECT_TRUE(isVaries(merged.diameter)) << "differing texts become the varies text";
    EXPECT_EQ(merged.diameter.str(), "*VARIES*");
    EXPECT_EQ(merged.tapped, TriState::Undecided) << "differing yes/no values become undecided";
    EXPECT_EQ(merged.reverse, TriState::On);
    EXPECT_EQ(merged.nut2, kVariesIndex) << "differing choices become kVariesIndex";

    // the dialog decides the assembly and reverse, leaves diameter, tapped and nut 2 undecided
    merged.assembly = "10.9";
    merged.reverse = TriState::Off;
    MacroBoltData a2 = a, b2 = b;
    merged.applyTo(a2);
    merged.applyTo(b2);
    EXPECT_EQ(a2.assembly.str(), "10.9");
    EXPECT_EQ(b2.assembly.str(), "10.9");
    EXPECT_EQ(a2.reverse, TriState::Off);
    EXPECT_EQ(a2.diameter.str(), "20") << "a varying text keeps each macro's own";
    EXPECT_EQ(b2.diameter.str(), "16");
    EXPECT_EQ(a2.tapped, TriState::On) << "an undecided value keeps each macro's own";
    EXPECT_EQ(b2.tapped, TriState::Off);
    EXPECT_EQ(a2.nut2, 0);
    EXPECT_EQ(b2.nut2, -1);

    MacroProfData p, q;
    p.offsetType = 4;
    q.offsetType = 0;
    p.rotation = "0";
    q.rotation = "90";
    p.section = q.section = "IPE 300";
    MacroProfData m = p;
    m.mergeWith(q);
    EXPECT_EQ(m.offsetType, kVariesIndex);
    EXPECT_EQ(MacroProfData::getDlgOffsetType(m.offsetType), 0)
        << "a varying offset type shows the varies entry";
    m.section = "IPE 330";
    m.applyTo(q);
    EXPECT_EQ(q.offsetType, 0);
    EXPECT_EQ(q.rotation.str(), "90");
    EXPECT_EQ(q.section.str(), "IPE 330");
}

TEST(MacroRecords, offsetTypeComboPairsWithTheNineInsertionPoints) {
    // (combo index, stored offset type): the nine points row by row from the top left, and the rest
    const std::pair<int, int> pairs[] = {{9, 0},
                                         {5, 1},
                                         {10, 2},
                                         {7, 3},
                                         {3, 4},
                                         {8, 5},
                                         {11, 6},
                                         {6, 7},
                                         {12, 8},
                                         {1, MacroProfData::kMacroDefault},
                                         {2, MacroProfData::kFree},
                                         {4, MacroProfData::kCentreOfGravity}};
    for (auto [dlg, stored] : pairs) {
        EXPECT_EQ(MacroProfData::getProfOffsetType(dlg), stored) << "combo index " << dlg;
        EXPECT_EQ(MacroProfData::getDlgOffsetType(stored), dlg) << "stored type " << stored;
    }
    EXPECT_EQ(MacroProfData::getProfOffsetType(0), kVariesIndex) << "index 0 is the varies entry";
    EXPECT_EQ(MacroProfData::getDlgOffsetType(kVariesIndex), 0);
    EXPECT_EQ(MacroProfData::getDlgOffsetType(77), 0) << "an unknown type shows the varies entry";
    EXPECT_EQ(MacroProfData::getOffsetTypeStrings().length(), 13);
}

TEST(MacroRecords, patternCountsAndOffsets) {
    struct Case {
        const char* count;
        bool on, equal;
        const char* spacing;
        Vor_StringArray distances;
        int expectCount;
        std::vector<double> expectOffsets;
        const char* why;
    };
    const Case cases[] = {
        {"3", true, true, "100", {}, 3, {0, 100, 200}, "equal spacing"},
        {"3", true, false, "", {"50", "70"}, 3, {0, 50, 120}, "one distance per gap"},
        {"3", true, false, "", {"50"}, 3, {}, "too few distances cannot be read"},
        {"2", false, true, "100", {}, -1, {0}, "a half that is off is one row"},
        {"0", true, true, "100", {}, -1, {}, "no bolts is no count"},
        {"1001", true, true, "100", {}, -1, {}, "beyond 1000"},
        {"2.5", true, true, "100", {}, -1, {}, "no whole number"},
        {"2", true, true, "abc", {}, 2, {}, "a spacing that is no number"},
    };
    for (const Case& c : cases) {
        MacroPatternProps p;
        p.halves[0].count = c.count;
        p.halves[0].on = c.on;
        p.halves[0].equalSpacing = c.equal;
        p.halves[0].spacing = c.spacing;
        p.halves[0].distances = c.distances;
        EXPECT_EQ(p.getCount(0), c.expectCount) << c.why;
        EXPECT_EQ(p.offsets(0), c.expectOffsets) << c.why;
    }
}

TEST(MacroRecords, jsonFormsRoundTrip) {
    MacroTabData t;
    t.moduleName = "Endplate";
    t.cells.append({"tp", "20", true, 0});
    MacroPatternProps p;
    p.name = "Bolts";
    p.halves[1].distances = {"10", "20"};
    p.staggered = true;
    t.patterns.append(p);
    DynArrayData a;
    a.name = "S";
    a.entries.append({"1", "5", "x", "", KrEntryAction::Skip});
    t.arrays.append(a);
    t.hasBolts = true;
    t.bolts.slottedHoles.append({true, "10", "20", "0", "0", 2});
    t.bolts.setHoleColumns({"1", "2", "3", "4", "5"});
    t.hasDrawingFile = true;
    t.drawingFile = "Lug";
    const nlohmann::json j = t;
    EXPECT_EQ(j.get<MacroTabData>(), t);
}

// ---- the macros of the drawing

TEST_F(MacroModel, everyMacroOfTheHallIsWhatItsRuleMakesOfItsValues) {
    cad::Drawing fresh;
    std::string error;
    ASSERT_TRUE(cad::loadDrawing(kHall, fresh, &error)) << error;
    for (const char* name : {"M1", "M2", "M3", "M4"}) {
        ASSERT_TRUE(regenerateMacro(fresh, fresh.findByName(name), &error)) << name << ": " << error;
        EXPECT_TRUE(fresh.sameContent(drawing())) << name << " regenerated differs from the file";
    }
}

TEST_F(MacroModel, twoEndPlatesMergeTabByTab) {
    MacroData d = data({"M1", "M2"});
    EXPECT_EQ(d.macroType.str(), "Kopplaat");
    EXPECT_EQ(d.ids.length(), 2);
    MacroTabData* plate = d.findTabWithModule("Endplate");
    ASSERT_NE(plate, nullptr);
    EXPECT_TRUE(isVaries(plate->findCellWithName("tp")->value)) << "20 and 15";
    EXPECT_TRUE(isVaries(plate->findCellWithName("pitch")->value)) << "160 and 100";
    EXPECT_EQ(plate->findCellWithName("hp")->value.str(), "350") << "the same in both";
    EXPECT_TRUE(isVaries(plate->findPatternWithName("Bolts")->halves[0].count)) << "2 and 3 rows";
    EXPECT_TRUE(isVaries(d.findTabWithModule("Bolts")->bolts.diameter)) << "M20 and M16";
    EXPECT_EQ(d.findTabWithModule("Bolts")->bolts.assembly.str(), "8.8");

    Vor_String error;
    Vor_StringArray mixed{"M1", "M3"};
    EXPECT_FALSE(GetMacroDataByNames(mixed, d, &error)) << "an end plate and a base plate";
    EXPECT_NE(error.find("Kopplaat"), -1) << error.str();
    EXPECT_FALSE(GetMacroDataByNames({"M1", "B1"}, d, &error)) << "a profile is no macro";
    EXPECT_FALSE(GetMacroDataByNames({"M9"}, d, &error));
}

TEST_F(MacroModel, aChangedValueGoesIntoEverySelectedMacroAndOnlyThatValue) {
    const MacroData before = data({"M1", "M2"});
    MacroData after = before;
    MacroTabData* plate = after.findTabWithModule("Endplate");
    plate->findCellWithName("tp")->value = "25";
    const AcDbObjectId ep1 = id("EP1"), bg1 = id("BG1"), ep2 = id("EP2"), bg2 = id("BG2");
    ASSERT_TRUE(commit(after, before, "Endplate"));

    EXPECT_EQ(plateThickness("EP1"), 25) << "the drawing follows in the first macro";
    EXPECT_EQ(plateThickness("EP2"), 25) << "and in the second";
    EXPECT_EQ(bolts("BG1").length, 35) << "the grip follows the plate";
    EXPECT_EQ(value("M1", "Endplate.pitch"), "160") << "the pitch varied and was not written";
    EXPECT_EQ(value("M2", "Endplate.pitch"), "100");
    EXPECT_EQ(bolts("BG2").positions.size(), 6u) << "M2 keeps its three rows";
    EXPECT_EQ(id("EP1"), ep1) << "ids and names stay";
    EXPECT_EQ(id("BG1"), bg1);
    EXPECT_EQ(id("EP2"), ep2);
    EXPECT_EQ(id("BG2"), bg2);

    // a cell changed in the data but not listed is not written
    MacroData again = data({"M1", "M2"});
    MacroData changed = again;
    changed.findTabWithModule("Endplate")->findCellWithName("hp")->value = "400";
    changed.findTabWithModule("Endplate")->findCellWithName("bp")->value = "250";
    int hp = -1;
    changed.findTabWithModule("Endplate")->findCellWithName("hp", &hp);
    ASSERT_TRUE(UpdateModule("Endplate", changed, {hp}, {}));
    EXPECT_EQ(value("M1", "Endplate.hp"), "400");
    EXPECT_EQ(value("M1", "Endplate.bp"), "200") << "bp was not in the list";
    EXPECT_EQ(std::get<cad::Plate>(entity("EP2").geometry).outline[2], (cad::Point2d{200, 400}));
}

TEST_F(MacroModel, aPatternChangeMovesTheBoltsOfTheDrawing) {
    const MacroData before = data({"M1"});
    MacroData after = before;
    MacroPatternProps* p = after.findTabWithModule("Endplate")->findPatternWithName("Bolts");
    p->halves[0].count = "3";
    p->halves[0].spacing = "80";
    ASSERT_TRUE(commit(after, before, "Endplate"));
    const cad::BoltGroup& b = bolts("BG1");
    ASSERT_EQ(b.positions.size(), 6u);
    std::set<double> heights, across;
    for (const cad::Point3d& at : b.positions) {
        heights.insert(at.z);
        across.insert(at.y);
        EXPECT_EQ(at.x, 95) << "on the plate's outer face";
    }
    EXPECT_EQ(heights, (std::set<double>{3900, 3820, 3740})) << "100 below the top, then every 80";
    EXPECT_EQ(across, (std::set<double>{-55, 55}));
    EXPECT_EQ(value("M1", "Endplate.pitch"), "80") << "the pitch cell follows the pattern it is linked to";
    EXPECT_EQ(entity("BG1").properties.at("pitch"), "80");
}

TEST_F(MacroModel, aValueTheRuleCannotUseChangesNothing) {
    const MacroData before = data({"M1", "M2"});
    MacroData after = before;
    after.findTabWithModule("Endplate")->findCellWithName("tp")->value = "thick";
    const std::string was = cad::drawingText(drawing());
    const auto revision = drawing().revision();
    EXPECT_FALSE(commit(after, before, "Endplate"));
    EXPECT_EQ(drawing().revision(), revision) << "no macro was touched";
    EXPECT_EQ(cad::drawingText(drawing()), was);
    EXPECT_NE(acutPrintedText().find("thick"), std::string::npos) << "the value at fault is named";
    EXPECT_FALSE(UpdateModule("Nonsense", after, {0}, {})) << "no such tab";
}

TEST_F(MacroModel, arrayAddsAndErasesGeneratedEntitiesAndKeepsTheOthers) {
    const MacroData before = data({"M1"});
    MacroData after = before;
    DynArrayData* a = after.findTabWithModule("Stiffeners")->findArrayWithName("Stiffeners");
    a->third = "3";
    ASSERT_TRUE(commit(after, before, "Stiffeners"));
    std::vector<std::string> names;
    for (AcDbObjectId m : drawing().members(id("M1")))
        names.push_back(drawing().get(m)->name);
    EXPECT_EQ(names, (std::vector<std::string>{"EP1", "BG1", "CS1", "M1.ST#1", "M1.ST#2", "M1.ST#3"}));
    const cad::Profile& middle = std::get<cad::Profile>(entity("M1.ST#2").geometry);
    EXPECT_EQ(middle.section, "FL 100x10");
    EXPECT_DOUBLE_EQ(middle.start.x, 95 + 20 + 500) << "the middle of 800 after a start offset of 100";
    const AcDbObjectId first = id("M1.ST#1");

    MacroData fewer = data({"M1"});
    MacroData fewerAfter = fewer;
    fewerAfter.findTabWithModule("Stiffeners")->findArrayWithName("Stiffeners")->third = "1";
    ASSERT_TRUE(commit(fewerAfter, fewer, "Stiffeners"));
    EXPECT_EQ(id("M1.ST#1"), first) << "the one that stays keeps its id";
    EXPECT_TRUE(id("M1.ST#2").isNull()) << "the others are erased";
    EXPECT_EQ(drawing().members(id("M1")).size(), 4u);
}

TEST_F(MacroModel, drawingChoicePlacesAndSwapsALibraryDrawing) {
    MacroData d = data({"M1", "M2"});
    EXPECT_FALSE(d.swapBlockRefs(Vor_String(gSettings.libDir + "Missing.dwg"))) << "no such file";
    const std::string lug = gSettings.libDir.str() + "Lifting lug.dwg";
    cad::Drawing library;
    std::string error;
    ASSERT_TRUE(cad::loadDrawing(lug, library, &error)) << "the library drawing reads: " << error;
    ASSERT_TRUE(d.swapBlockRefs(Vor_String(lug)));
    for (const char* macro : {"M1", "M2"}) {
        EXPECT_EQ(value(macro, "Endplate.drawing"), "Lifting lug");
        const cad::Entity& ref = entity((std::string(macro) + ".REF").c_str());
        EXPECT_EQ(std::get<cad::BlockRef>(ref.geometry).fileName, "Lifting lug.dwg");
    }
    EXPECT_EQ(std::get<cad::BlockRef>(entity("M1.REF").geometry).placement.origin,
              (cad::Point3d{95, 0, 4000}))
        << "on top of the end plate";
}

TEST_F(MacroModel, propertyFileRoundTripAndAFailedReadChangesNothing) {
    TempDir dir;
    MacroData m1 = data({"M1"});
    Vor_String error;
    ASSERT_TRUE(m1.writeToFile(Vor_String(dir.file("m1.vmp")), &error)) << error.str();

    MacroData m2 = data({"M2"});
    const MacroData m2Before = m2;
    int notSet = -1;
    ASSERT_TRUE(m2.readFromFile(Vor_String(dir.file("m1.vmp")), notSet, &error)) << error.str();
    EXPECT_EQ(notSet, 0);
    EXPECT_EQ(m2.findTabWithModule("Endplate")->findCellWithName("tp")->value.str(), "20");
    EXPECT_EQ(m2.findTabWithModule("Bolts")->bolts.diameter.str(), "20");
    Vor_StringArray names;
    Vor_Array<Vor_Array<int>> first, second;
    ASSERT_TRUE(m2.differences(m2Before, names, first, second));
    EXPECT_TRUE(names.contains("Endplate.tp"));
    EXPECT_TRUE(names.contains("Endplate.Bolts"));
    EXPECT_TRUE(names.contains("Bolts.bolts"));
    removeAll(first, kChangedDrawingFile);
    ASSERT_TRUE(setAllToMacro(m2, first, second));
    EXPECT_EQ(plateThickness("EP2"), 20);
    EXPECT_EQ(bolts("BG2").positions.size(), 4u);

    // unknown keys are counted, the rest is read
    dir.write("extra.vmp",
              "macro\ttext\tKopplaat\nEndplate.tp\ttext\t30\nEndplate.weld\ttext\t5\nNo.such\tint\t1\n");
    MacroData d = data({"M1"});
    ASSERT_TRUE(d.readFromFile(Vor_String(dir.file("extra.vmp")), notSet, &error)) << error.str();
    EXPECT_EQ(notSet, 2);
    EXPECT_EQ(d.findTabWithModule("Endplate")->findCellWithName("tp")->value.str(), "30");

    // files that cannot be read change nothing
    dir.write("broken.vmp", "macro\tbogus\n");
    dir.write("base.vmp", "macro\ttext\tVoetplaat\nBaseplate.bp\ttext\t400\n");
    for (const char* name : {"missing.vmp", "broken.vmp", "base.vmp"}) {
        MacroData x = data({"M1"});
        const MacroData was = x;
        notSet = -7;
        EXPECT_FALSE(x.readFromFile(Vor_String(dir.file(name)), notSet, &error)) << name;
        EXPECT_EQ(x, was) << name;
        EXPECT_EQ(notSet, -7) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
    }
    Vor_String folder;
    ASSERT_TRUE(m1.propListAllowed(folder));
    EXPECT_EQ(folder.str(), gSettings.libDir.str() + "Macros/Kopplaat/");

    // a bare name is one path part of the macro type's folder, never the folder itself or above it
    for (const char* name : {"..", ".", ""}) {
        error = "";
        EXPECT_FALSE(m1.writeToFile(Vor_String(name), &error)) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
        MacroData x = data({"M1"});
        const MacroData was = x;
        EXPECT_FALSE(x.readFromFile(Vor_String(name), notSet, &error)) << name;
        EXPECT_EQ(x, was) << name;
    }
}

// The file dialog lists the property files of the macro type; the filtered list keeps the files
// whose values all belong to the tabs being edited, so a tab filter narrows it.
TEST_F(MacroModel, propertyFilesAreListedAndFilteredByTheTabsEdited) {
    MacroData d = data({"M1"});
    Vor_String folder, extension;
    Vor_StringArray all, filtered;
    d.getPropFiles(folder, extension, all, filtered);
    EXPECT_EQ(folder.str(), gSettings.libDir.str() + "Macros/Kopplaat/");
    EXPECT_EQ(extension.str(), ".vmp");
    const Vor_StringArray bundled = {"IPE 300 flush 20 mm", "IPE 360 heavy 25 mm", "Plate only 15 mm"};
    EXPECT_EQ(all, bundled) << "sorted, without the extension";
    EXPECT_EQ(filtered, bundled) << "every tab is edited";

    d.filter2Index = 1; // the end plate's tab only
    ASSERT_TRUE(UpdateAllFilterModified(d, false));
    d.getPropFiles(folder, extension, all, filtered);
    EXPECT_EQ(all, bundled);
    EXPECT_EQ(filtered, Vor_StringArray({"Plate only 15 mm"})) << "the others set the bolts' grip too";

    MacroData base = data({"M3"});
    base.getPropFiles(folder, extension, all, filtered);
    EXPECT_EQ(all, Vor_StringArray({"HEA 200 pinned", "HEA 300 fixed"})) << "the base plate's own folder";
}

TEST_F(MacroModel, filtersChooseTheEditedMacroAndTab) {
    MacroData d = data({"M1", "M2"});
    ASSERT_EQ(d.filter1.length(), 3) << "all, M1, M2";
    d.filter1Index = 2;
    ASSERT_TRUE(UpdateAllFilterModified(d, true));
    ASSERT_EQ(d.ids.length(), 1);
    EXPECT_EQ(d.ids[0], id("M2"));
    EXPECT_EQ(d.findTabWithModule("Endplate")->findCellWithName("tp")->value.str(), "15") << "M2's own value";
    d.filter2Index = 2; // the bolts tab only
    ASSERT_TRUE(UpdateAllFilterModified(d, false));
    ASSERT_EQ(d.tabs.length(), 1);
    EXPECT_EQ(d.tabs[0].moduleName.str(), "Bolts");
    d.filter1Index = 0;
    d.filter2Index = 0;
    ASSERT_TRUE(UpdateAllFilterModified(d, true));
    EXPECT_EQ(d.ids.length(), 2);
    EXPECT_EQ(d.tabs.length(), 4);
}

TEST_F(MacroModel, viewAndReApply) {
    MacroData d = data({"M4"});
    d.changeView("Splice", 2);
    EXPECT_EQ(drawing().viewDirection(), cad::viewVector(cad::ViewDirection::Top));
    const cad::Extents shown = drawing().zoomBox();
    EXPECT_TRUE(shown.overlaps(drawing().extents(id("SP1")))) << "zoomed to the splice";
    EXPECT_LT(shown.max.x - shown.min.x, 2000) << "and not to the whole hall";
    // someone moved the splice plate by hand: applying the macro again puts it back
    drawing().modify(id("SP1"), [](cad::Entity& e) { std::get<cad::Plate>(e.geometry).thickness = 3; });
    EXPECT_TRUE(d.reApply());
    EXPECT_EQ(plateThickness("SP1"), 10);
}

// ---- clashes

TEST_F(MacroModel, theHallHasNoClashesTouchingPartsAreNone) {
    clashSetStatus(true);
    clashInitDlgStarted(1);
    EXPECT_EQ(clashcheck(1, {id("M1"), id("M2"), id("M3"), id("M4")}), 0) << acutPrintedText();
    clashDlgClosed(1);
}

TEST_F(MacroModel, clashIsReportedOncePerSlotAndHighlighted) {
    cad::Entity pipe;
    pipe.name = "PIPE";
    pipe.geometry = cad::Profile{"CHS 60.3x4", {0, -300, 3800}, {400, 300, 3800}, 60, 60};
    ASSERT_FALSE(drawing().add(pipe).isNull());
    clashInitDlgStarted(3);
    EXPECT_EQ(clashcheck(3, {id("M1")}), 0) << "switched off: nothing is checked";
    clashSetStatus(true);
    EXPECT_GE(clashcheck(3, {id("M1")}), 1);
    const std::string printed = acutPrintedText();
    EXPECT_NE(printed.find("Clash: EP1 - PIPE"), std::string::npos) << printed;
    EXPECT_TRUE(drawing().isHighlighted(id("EP1")));
    EXPECT_TRUE(drawing().isHighlighted(id("PIPE")));
    acutClearPrintedText();
    EXPECT_GE(clashcheck(3, {id("M1")}), 1) << "still there";
    EXPECT_EQ(acutPrintedText(), "") << "but reported once";
    clashInitDlgStarted(4);
    clashcheck(4, {id("M1")});
    EXPECT_NE(acutPrintedText().find("PIPE"), std::string::npos) << "another dialog reports it too";
    acutClearPrintedText();
    clashResetInfo(3, {id("M1")});
    clashcheck(3, {id("M1")});
    EXPECT_NE(acutPrintedText().find("PIPE"), std::string::npos) << "after a reset it is new again";
    clashDlgClosed(3);
    clashDlgClosed(4);
    EXPECT_FALSE(drawing().isHighlighted(id("EP1"))) << "closing clears the highlights";
    EXPECT_FALSE(drawing().isHighlighted(id("PIPE")));
}

// ---- picks

TEST_F(MacroModel, cancelledPicksChangeNothing) {
    int offsetType = 4;
    picks.push(Answer::cancelled(cad::PickKind::Point));
    EXPECT_FALSE(UserChooseSectionPoint("IPE 300", offsetType));
    EXPECT_EQ(offsetType, 4);
    Vor_String text = "before";
    picks.push(Answer::cancelled(cad::PickKind::Plane));
    EXPECT_FALSE(UserSelectPlane(text));
    picks.push(Answer::cancelled(cad::PickKind::CoordSys));
    EXPECT_FALSE(selectCoordSys(text));
    const std::size_t count = drawing().size();
    picks.push(Answer::cancelled(cad::PickKind::Point));
    EXPECT_FALSE(createCoordSys(false, {}, text));
    EXPECT_EQ(text.str(), "before");
    EXPECT_EQ(drawing().size(), count);
    MacroData d = data({"M1"});
    const MacroData was = d;
    picks.push(Answer::cancelled(cad::PickKind::Objects));
    EXPECT_FALSE(SelectOtherMacros(d));
    EXPECT_EQ(d, was);
    picks.push(Answer::objects({"M1", "M3"}));
    EXPECT_FALSE(SelectOtherMacros(d)) << "macros of two types";
    EXPECT_EQ(d, was);
}

TEST_F(MacroModel, picksAnswer) {
    // B1 runs along x at z 3850 with its 300 high section centred: the top left seen from its start
    struct Case {
        cad::Point3d at;
        int offsetType;
        const char* why;
    };
    const Case cases[] = {{{1000, 70, 3990}, 0, "top, left of the web seen along +x (y up to the left)"},
                          {{1000, 0, 3850}, 4, "the centre"},
                          {{1000, -70, 3710}, 8, "bottom right"},
                          {{1000, 0, 3995}, 1, "top middle"}};
    for (const Case& c : cases) {
        int offsetType = -1;
        picks.push(Answer::at(c.at));
        ASSERT_TRUE(UserChooseSectionPoint("IPE 300", offsetType)) << c.why;
        EXPECT_EQ(offsetType, c.offsetType) << c.why;
    }
    Vor_String name;
    picks.push(Answer::coordSys("CS1"));
    ASSERT_TRUE(selectCoordSys(name));
    EXPECT_EQ(name.str(), "CS1");
    picks.push(Answer::at({10, 20, 30}));
    ASSERT_TRUE(createCoordSys(false, {}, name));
    EXPECT_EQ(std::get<cad::CoordSysEntity>(entity(name.c_str()).geometry).cs.origin,
              (cad::Point3d{10, 20, 30}));
    ASSERT_TRUE(createCoordSys(true, {id("EP1")}, name));
    EXPECT_EQ(std::get<cad::CoordSysEntity>(entity(name.c_str()).geometry).cs,
              std::get<cad::Plate>(entity("EP1").geometry).placement);
    EXPECT_TRUE(EraseObject(id(name.c_str())));
    EXPECT_FALSE(EraseObject(AcDbObjectId(999999)));

    MacroData d = data({"M1"});
    picks.push(Answer::objects({"M1", "M2"}));
    ASSERT_TRUE(SelectOtherMacros(d));
    EXPECT_EQ(d.ids.length(), 2);
    EXPECT_EQ(d.macroNames, (Vor_StringArray{"M1", "M2"}));
}

// ---- deferred close

TEST_F(MacroModel, aWrittenMacroStaysBusyForTheRegenerationDelay) {
    ui::ScriptedAgent agent;
    ui::Agent* old = ui::setAgent(&agent);
    macroHostSettings().regenerationDelayMs = 200;
    const MacroData before = data({"M1"});
    MacroData after = before;
    after.findTabWithModule("Endplate")->findCellWithName("tp")->value = "12";
    EXPECT_FALSE(after.deferredCloseSet());
    ASSERT_TRUE(commit(after, before, "Endplate"));
    EXPECT_TRUE(after.deferredCloseSet());
    EXPECT_FALSE(data({"M3"}).deferredCloseSet()) << "another macro is not busy";
    agent.advanceClock(150);
    EXPECT_TRUE(after.deferredCloseSet());
    agent.advanceClock(60);
    EXPECT_FALSE(after.deferredCloseSet());
    after.deferredClose = true;
    EXPECT_TRUE(after.deferredCloseSet()) << "the flag alone";
    macroHostSettings().regenerationDelayMs = 0;
    ui::setAgent(old);
}

// ---- libraries

TEST(MacroLibrary, definitionReaderRefusesHostileInput) {
    const std::string good =
        R"({"format": "vorlane macro 1", "type": "T", "tabs": [{"module": "A", "cells": [{"name": "x", "value": "1"}]}],
        "elements": [{"key": "P", "kind": "plate", "width": "x", "height": 10, "thickness": 5}]})";
    MacroDefinition d;
    std::string error;
    ASSERT_TRUE(parseMacroDefinition(good, "good", d, &error)) << error;
    EXPECT_EQ(d.tabs.length(), 1);
    EXPECT_EQ(d.elements.size(), 1u);
    std::string deep =
        R"({"format": "vorlane macro 1", "x": )" + std::string(40, '[') + std::string(40, ']') + "}";
    std::string big(kMaxMacroDefinitionBytes + 1, ' ');
    std::string manyTabs = R"({"format": "vorlane macro 1", "type": "T", "tabs": [)";
    for (int i = 0; i <= kMaxMacroTabs; ++i)
        manyTabs += std::string(i ? "," : "") + R"({"module": "A)" + std::to_string(i) + "\"}";
    manyTabs += "]}";
    const std::pair<std::string, const char*> bad[] = {
        {"", "empty"},
        {"[]", "one JSON object"},
        {R"({"format": "other"})", "\"format\""},
        {deep, "nested deeper"},
        {big, "larger than"},
        {manyTabs, "more than 32 tabs"},
        {R"({"format": "vorlane macro 1", "type": "../x", "tabs": [{"module": "A"}]})", "\"type\""},
        {R"({"format": "vorlane macro 1", "type": "T", "tabs": []})", "at least one tab"},
        {R"({"format": "vorlane macro 1", "type": "T", "tabs": [{"module": "A.b"}]})", "module"},
        {R"({"format": "vorlane macro 1", "type": "T", "tabs": [{"module": "A"}, {"module": "a"}]})",
         "two tabs"},
        {R"({"format": "vorlane macro 1", "type": "T", "tabs": [{"module": "A", "cells": 5}]})", "tab 1"},
        {R"({"format": "vorlane macro 1", "type": "T", "tabs": [{"module": "A"}], "elements": [{"key": "P", "kind": "sphere"}]})",
         "sphere"},
        {R"({"format": "vorlane macro 1", "type": "T", "tabs": [{"module": "A"}], "elements": [{"key": "P", "kind": "plate", "width": "x +"}]})",
         "ends too early"},
        {R"({"format": "vorlane macro 1", "type": "T", "tabs": [{"module": "A"}], "elements": [{"key": "P", "kind": "bolts"}]})",
         "pattern"},
        {R"({"format": "vorlane macro 1", "type": "T", "tabs": [{"module": "A"}], "elements": [{"key": "P", "kind": "plate"}, {"key": "P", "kind": "plate"}]})",
         "two elements"},
        {R"({"format": "vorlane macro 1", "type": "T", "tabs": [{"module": "A", "kind": 1e30}]})", "tab 1"},
    };
    for (const auto& [text, message] : bad) {
        MacroDefinition keep = d;
        error.clear();
        EXPECT_FALSE(parseMacroDefinition(text, "bad", keep, &error)) << message;
        EXPECT_NE(error.find(message), std::string::npos) << "expected \"" << message << "\" in: " << error;
        EXPECT_EQ(keep.tabs.length(), 1) << "a failed read keeps what was there: " << message;
    }
}

TEST(MacroLibrary, expressions) {
    auto lookUp = [](const std::string& name, double& v) {
        if (name == "bp") return v = 200, true;
        if (name == "Beam.h") return v = 300, true;
        return false;
    };
    const std::pair<const char*, double> good[] = {
        {"bp/2", 100}, {"Beam.h/2 - 350", -200}, {"-(1 + 2) * 3", -9}, {"--4", 4}, {" 1.5e2 ", 150}};
    for (auto [text, expect] : good) {
        double v = 0;
        std::string error;
        ASSERT_TRUE(evaluateMacroExpression(text, lookUp, v, &error)) << text << ": " << error;
        EXPECT_DOUBLE_EQ(v, expect) << text;
    }
    const std::string hostile[] = {"",
                                   "1 +",
                                   "(1",
                                   "1)",
                                   "bq",
                                   "1/0",
                                   "2 $ 3",
                                   std::string(300, '1'),
                                   std::string(100, '(') + "1" + std::string(100, ')')};
    for (const std::string& text : hostile) {
        double v = 7;
        EXPECT_FALSE(evaluateMacroExpression(text, lookUp, v)) << text;
        EXPECT_EQ(v, 7) << text;
    }
}

TEST(MacroLibrary, boltLibraryGivesAssembliesAndDiameters) {
    std::string error;
    ASSERT_TRUE(configureSettings("", "", &error)) << error;
    Vor_StringArray assemblies, diameters;
    GetAssemblies(assemblies);
    for (const char* a : {"4.6", "8.8", "10.9", "ISO 4014 8.8", "HV 10.9", "Anchor 4.6"})
        EXPECT_TRUE(assemblies.contains(a)) << a;
    GetDiameters("HV 10.9", diameters);
    EXPECT_EQ(diameters, (Vor_StringArray{"12", "16", "20", "22", "24", "27", "30", "36"}));
    GetDiameters("No such", diameters);
    EXPECT_TRUE(diameters.isEmpty());
    const std::vector<BoltAssembly> lib = boltLibrary(&error);
    ASSERT_FALSE(lib.empty()) << error;
    for (const BoltAssembly& a : lib)
        for (const BoltAssembly::Size& s : a.sizes)
            if (s.diameter == 20 && a.name == "8.8") {
                EXPECT_EQ(s.headWidth, 30) << "ISO 4017 M20: s = 30";
                EXPECT_EQ(s.holeTolerance, 2);
            }

    const std::pair<std::string, const char*> bad[] = {
        {"", "empty"},
        {"VORLANE BOLTS 2\n", "first line"},
        {"VORLANE BOLTS 1\nsize;M12;12;1;1;1;1;1;1;1\n", ":2: a size line before"},
        {"VORLANE BOLTS 1\nassembly;A;S;D\nsize;M12;12;1;1;1;1;1;1\n", ":3: a size line has 9"},
        {"VORLANE BOLTS 1\nassembly;A;S;D\nsize;M12;16;1;1;1;1;1;1;1\n", "does not match"},
        {"VORLANE BOLTS 1\nassembly;A;S;D\nsize;M12;12;x;1;1;1;1;1;1\n", "no number"},
        {"VORLANE BOLTS 1\nassembly;A;S;D\nassembly;A;S;D\n", "twice"},
        {"VORLANE BOLTS 1\nbolt;A\n", "begins with"},
        {"VORLANE BOLTS 1\n" + std::string(2000, '#') + "\n", "longer than 1024"},
    };
    for (const auto& [text, message] : bad) {
        std::vector<BoltAssembly> out(1);
        error.clear();
        EXPECT_FALSE(parseBoltLibrary(text, "b.txt", out, &error)) << message;
        EXPECT_NE(error.find(message), std::string::npos) << message << " in: " << error;
        EXPECT_EQ(out.size(), 1u) << "nothing kept";
    }
}

TEST(MacroLangsSymbols, escapesOfTheMacroLanguage) {
    const std::pair<const char*, const char*> cases[] = {
        {"90%%d", "90\xC2\xB0"},
        {"%%c20", "\xE2\x8C\x80"
                  "20"},
        {"%%P0.5", "\xC2\xB1"
                   "0.5"},
        {"100%%%", "100%"},
        {"%%uTitle%%u", "Title"},
        {"50% off %%x", "50% off %%x"},
        {"%%", "%%"},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(MacroLangs::GetStringChopSymbols(in).str(), out) << in;
}

} // namespace
