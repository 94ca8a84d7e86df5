// The constraint record of a macro on the sample hall: modules from the macro's tabs, palette
// commands driven by picks (a cancelled pick changes nothing), a value constraint that writes its
// variable into the macro, names, order and highlights, and the record kept in the drawing's file.
#include <host/MacroConstraints.h>

#include <host/MacroCuts.h>
#include <host/MacroData.h>
#include <host/Settings.h>
#include <host/Texts.h>

#include <cad/Drawing.h>
#include <cad/DrawingFile.h>
#include <cad/Pick.h>
#include <cad/aced.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Answer = cad::QueuePickServer::Answer;
const std::string kHall = VOR_SOURCE_DIR "/data/lib/Drawings/Hall.dwg";

class MacroConstraints : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(configureSettings("", "", &error)) << error;
        ASSERT_TRUE(loadTextCatalogues(gSettings.vorDir.str(), "en", &error)) << error;
        ASSERT_TRUE(cad::openDrawing(kHall, &error)) << error;
        cad::setPickServer(&picks);
        macroHostSettings().regenerationDelayMs = 0;
    }
    void TearDown() override {
        cad::setPickServer(nullptr);
        cad::curDrawing().clearHighlights();
    }
    static AcDbObjectId id(const char* name) { return cad::curDrawing().findByName(name); }
    EditConstrData of(const char* macro) {
        EditConstrData d;
        Vor_String error;
        EXPECT_TRUE(GetEditConstrData(id(macro), d, &error)) << error.str();
        return d;
    }
    static std::string value(const char* macro, const char* key) {
        std::string v, error;
        EXPECT_TRUE(macroValueText(cad::curDrawing(), id(macro), key, v, &error)) << error;
        return v;
    }
    cad::QueuePickServer picks;
};

TEST_F(MacroConstraints, theModulesAreTheMacrosTabsAndAddedOnes) {
    EditConstrData d = of("M1");
    Vor_StringArray names;
    ASSERT_TRUE(MacroGetModules(d, names));
    EXPECT_EQ(names, Vor_StringArray({"Endplate", "Bolts", "Stiffener", "Stiffeners"}));
    ASSERT_TRUE(StartMacroCommand(d, kCommandAddModule));
    ASSERT_TRUE(StartMacroCommand(d, kCommandCoordSys));
    MacroGetModules(d, names);
    EXPECT_EQ(names.length(), 6);
    EXPECT_EQ(d.currentModule()->name.str(), "Coordinate system 1") << "the new module is shown";

    // a tab's module keeps its name and stays; an added one may be renamed and removed
    ASSERT_TRUE(SetCurrentModule(d, "endplate")) << "without regard to case";
    EXPECT_FALSE(RenameModule(d, "Plate"));
    EXPECT_FALSE(RemoveModule(d, "Endplate"));
    ASSERT_TRUE(SetCurrentModule(d, "Module 1"));
    EXPECT_FALSE(RenameModule(d, "   ")) << "empty";
    EXPECT_FALSE(RenameModule(d, "Bolts")) << "another module's name";
    EXPECT_FALSE(RenameModule(d, "a\nb")) << "a control character";
    EXPECT_TRUE(RenameModule(d, "  Cleat "));
    EXPECT_EQ(d.currentModule()->name.str(), "Cleat");
    EXPECT_TRUE(RemoveModule(d, "cleat"));
    EXPECT_EQ(d.current, 0);
    EXPECT_FALSE(SetCurrentModule(d, "Cleat"));
}

TEST_F(MacroConstraints, aPaletteCommandPicksItsObjectsAndACancelledPickChangesNothing) {
    EditConstrData d = of("M1");
    const EditConstrData before = d;
    picks.push(Answer::object("EP1"));
    picks.push(Answer::cancelled(cad::PickKind::Object));
    EXPECT_FALSE(StartMacroCommand(d, kConstrParallel)) << "the second pick was cancelled";
    EXPECT_EQ(d, before);

    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("B1"));
    ASSERT_TRUE(StartMacroCommand(d, kConstrPerpendicular));
    ASSERT_EQ(d.currentModule()->constraints.length(), 1);
    EXPECT_EQ(d.currentModule()->constraints[0].objects, Vor_StringArray({"EP1", "B1"}));
    picks.push(Answer::object("C1"));
    ASSERT_TRUE(StartMacroCommand(d, kConstrRadius)) << "a radius picks one object";
    EXPECT_EQ(picks.pending(), 0u);

    EXPECT_TRUE(HighlightConstraint(d, 0));
    EXPECT_TRUE(cad::curDrawing().isHighlighted(id("EP1")));
    EXPECT_TRUE(cad::curDrawing().isHighlighted(id("B1")));
    EXPECT_TRUE(HighlightConstraint(d, 1));
    EXPECT_FALSE(cad::curDrawing().isHighlighted(id("EP1"))) << "only the chosen constraint's objects";
    UnHighlightConstraints(d);
    EXPECT_TRUE(cad::curDrawing().highlighted().empty());

    ASSERT_TRUE(SortConstraints(d, 1, 0));
    EXPECT_EQ(d.currentModule()->constraints[0].kind, kConstrRadius);
    EXPECT_FALSE(SortConstraints(d, 0, 2)) << "no third row";
    EXPECT_TRUE(DeleteConstraint(d, 0));
    EXPECT_FALSE(DeleteConstraint(d, 1)) << "no chosen row: nothing happens";
    EXPECT_EQ(d.currentModule()->constraints.length(), 1);
}

TEST_F(MacroConstraints, aDistanceWritesItsVariableIntoTheMacroOrKeepsTheMacrosValue) {
    EditConstrData d = of("M1");
    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("C1"));
    ASSERT_TRUE(StartMacroCommand(d, kConstrDistance));
    MacroConstraint& c = d.currentModule()->constraints[0];
    c.name = "tp";
    c.value = "25";
    ASSERT_TRUE(UpdateConstraint(d, 0));
    EXPECT_EQ(value("M1", "Endplate.tp"), "25");
    EXPECT_EQ(std::get<cad::Plate>(cad::curDrawing().get(id("EP1"))->geometry).thickness, 25)
        << "generated again";
    EXPECT_EQ(value("M2", "Endplate.tp"), "15") << "the other end plate is not this macro";

    c.value = "thick";
    EXPECT_FALSE(UpdateConstraint(d, 0)) << "the macro's rule cannot use it";
    EXPECT_EQ(c.value.str(), "25") << "the constraint shows what the macro keeps";
    EXPECT_EQ(value("M1", "Endplate.tp"), "25");

    c.name = "notAValueOfTheMacro";
    c.value = "40";
    EXPECT_TRUE(UpdateConstraint(d, 0)) << "kept in the record only";
}

TEST_F(MacroConstraints, namesInUseAndNamesThatBeginWithADigit) {
    EditConstrData d = of("M1");
    d.variables.append({"len", "Length", "100"});
    MacroConstraint c;
    c.kind = kConstrAngle;
    c.name = "alpha";
    d.currentModule()->constraints.append(c);
    EXPECT_TRUE(VarNameInUse(d, "LEN"));
    EXPECT_TRUE(VarNameInUse(d, "alpha"));
    EXPECT_FALSE(VarNameInUse(d, "alpha", 0)) << "its own name";
    EXPECT_FALSE(VarNameInUse(d, "beta"));
    EXPECT_TRUE(startsWithNumber("2a"));
    EXPECT_FALSE(startsWithNumber("a2"));
    EXPECT_FALSE(startsWithNumber(""));
}

TEST_F(MacroConstraints, theRecordIsKeptInTheDrawingAndAFaultyOneIsRefused) {
    EditConstrData d = of("M1");
    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("B1"));
    ASSERT_TRUE(StartMacroCommand(d, kConstrParallel));
    d.variables.append({"len", "Length", "100"});
    d.equations.append("len = 2 * tp");
    // enough constraints to need several chunks of the group's properties
    for (int n = 0; n < 300; ++n)
        d.currentModule()->constraints.append(d.currentModule()->constraints[0]);
    Vor_String error;
    ASSERT_TRUE(SetEditConstrData(d, &error)) << error.str();
    const std::string file = (std::filesystem::temp_directory_path() / "vor-constraints.dwg").string();
    std::string why;
    ASSERT_TRUE(cad::saveDrawing(cad::curDrawing(), file, &why)) << why;
    ASSERT_TRUE(cad::openDrawing(file, &why)) << why;
    EditConstrData back = of("M1");
    EXPECT_EQ(back.variables, d.variables);
    EXPECT_EQ(back.equations, d.equations);
    EXPECT_EQ(back.modules, d.modules);
    EXPECT_EQ(value("M1", "Endplate.tp"), "20") << "the macro's values are its own";
    std::filesystem::remove(file);

    // a spoilt record: refused with the macro named, and what the caller holds stays
    ASSERT_EQ(
        cad::curDrawing().modify(id("M1"), [](cad::Entity& e) { e.properties["constraints:0"] = "{oops"; }),
        Acad::eOk);
    EditConstrData kept = back;
    EXPECT_FALSE(GetEditConstrData(id("M1"), kept, &error));
    EXPECT_NE(error.str().find("M1"), std::string::npos) << error.str();
    EXPECT_EQ(kept, back);
    EXPECT_FALSE(GetEditConstrData(id("EP1"), kept, &error)) << "no macro";
}

TEST_F(MacroConstraints, flexibilityContextMenuVariablesAndOtherMacros) {
    EditConstrData d = of("M1");
    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("C1"));
    ASSERT_TRUE(StartMacroCommand(d, kConstrDistance));
    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("B1"));
    ASSERT_TRUE(StartMacroCommand(d, kConstrParallel));

    // the parts the constraints tie, once each, fixed until set
    ASSERT_TRUE(GetGeomFlexibility(d));
    ASSERT_EQ(d.currentModule()->flexibility.length(), 3) << "EP1, C1, B1";
    EXPECT_EQ(d.currentModule()->flexibility[2].object.str(), "B1");
    EXPECT_TRUE(UpdateGeomFlexibility(d, 0, 2, 1));
    EXPECT_FALSE(UpdateGeomFlexibility(d, 0, 4, 1)) << "no such translation";
    EXPECT_FALSE(UpdateGeomFlexibility(d, 1, -1, 1)) << "no such rotation";
    EXPECT_FALSE(UpdateGeomFlexibility(d, 0, 1, 3)) << "no such row";
    EXPECT_TRUE(UpdateConstrGeom(d, 0, false));
    EXPECT_EQ(of("M1").currentModule()->flexibility[1].translate, 2) << "kept in the drawing";
    EXPECT_FALSE(of("M1").currentModule()->flexibility[0].constrained);

    // the context menu of a distance: fixed (checked once set), reversed only then, then the moves
    Vor_StringArray texts;
    Vor_Array<int> actions, checked;
    ASSERT_TRUE(ConstrContextMenu(d, 0, texts, actions, checked));
    EXPECT_EQ(texts, Vor_StringArray({"Fixed value", "%BREAK%", "Delete", "Move down"}));
    EXPECT_TRUE(checked.isEmpty());
    ASSERT_TRUE(ContextMenuAction(d, kMenuFixed, 0));
    ConstrContextMenu(d, 0, texts, actions, checked);
    EXPECT_EQ(texts,
              Vor_StringArray({"Fixed value", "Measured the other way", "%BREAK%", "Delete", "Move down"}));
    EXPECT_EQ(checked, Vor_Array<int>({0}));
    EXPECT_FALSE(ContextMenuAction(d, kMenuFixed, 1)) << "a parallel has no value to fix";
    ASSERT_TRUE(ContextMenuAction(d, kMenuDown, 0));
    EXPECT_EQ(d.currentModule()->constraints[1].kind, kConstrDistance);
    EXPECT_FALSE(ConstrContextMenu(d, 5, texts, actions, checked));
    EXPECT_TRUE(texts.isEmpty());

    // variables need names of their own
    d.variables.append({"len", "Length", "100"});
    d.variables.append({"LEN", "Length", "200"});
    Vor_String error;
    EXPECT_FALSE(UpdateVarsEqs(d, &error));
    EXPECT_NE(error.str().find("LEN"), std::string::npos);
    d.variables[1].name = "";
    EXPECT_FALSE(UpdateVarsEqs(d, &error)) << "no name";
    d.variables[1].name = "width";
    d.equations = {"width = len / 2"};
    ASSERT_TRUE(UpdateVarsEqs(d, &error)) << error.str();
    EXPECT_EQ(of("M1").variables.length(), 2);

    // another macro: a cancelled pick keeps this one
    const EditConstrData kept = d;
    picks.push(Answer::cancelled(cad::PickKind::Object));
    EXPECT_FALSE(SelectOtherMacro(d));
    EXPECT_EQ(d, kept);
    picks.push(Answer::object("M3"));
    ASSERT_TRUE(SelectOtherMacro(d));
    EXPECT_EQ(d.macroName.str(), "M3");
    EXPECT_EQ(d.modules[0].name.str(), "Baseplate");
}

// A stand-in for the module's cuts dialog: OK with the first value set to 5.
bool fiveRunner(DlgMacroCutsData& cut, bool& escaped) {
    escaped = false;
    if (cut.values.isEmpty()) return false;
    cut.values[0] = "5";
    return true;
}

TEST_F(MacroConstraints, aCutConstraintEditsItsCutInTheDialogTheModuleRegistered) {
    EditConstrData d = of("M1");
    MacroConstraint cut;
    cut.kind = kConstrCut;
    cut.cutName = "1"; // the end plate's cut
    d.currentModule()->constraints.append(cut);
    d.currentModule()->constraints.append(MacroConstraint{});
    setMacroCutDlgRunner(nullptr);
    EXPECT_FALSE(StartEditMacroCutDlg(d, 0)) << "nobody registered a dialog";
    setMacroCutDlgRunner(&fiveRunner);
    EXPECT_FALSE(StartEditMacroCutDlg(d, 1)) << "no cut constraint";
    EXPECT_EQ(value("M1", "Endplate.cut.1.values.0"), "0");
    EXPECT_TRUE(StartEditMacroCutDlg(d, 0));
    EXPECT_EQ(value("M1", "Endplate.cut.1.values.0"), "5") << "the edited cut is in the macro";
    EXPECT_EQ(value("M2", "Endplate.cut.1.values.0"), "0");
    setMacroCutDlgRunner(nullptr);
}

} // namespace
