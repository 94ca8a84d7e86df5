// The callback data of the profile advanced dialog owns its macro data: every copy holds its own,
// and no assignment or second initialisation loses or shares what an object holds.
#include "macro/KrMACallBackData.h"

#include <gtest/gtest.h>

namespace {

MacroData macroNamed(const char* name) {
    MacroData d;
    d.macroNames.append(name);
    d.ids.append(AcDbObjectId(7));
    return d;
}

KrMACallBackData filled() {
    KrMACallBackData d;
    d.groupName = "Beam";
    d.moduleName = "Endplate";
    d.number1 = 3;
    d.number2 = 4;
    d.objectIds.append(AcDbObjectId(11));
    d.initDataClass(macroNamed("M1"));
    return d;
}

TEST(KrMACallBackDataTest, aNewObjectHoldsNoMacroData) {
    const KrMACallBackData d;
    EXPECT_EQ(d.macroData(), nullptr);
    EXPECT_EQ(d.number2, 0);
}

TEST(KrMACallBackDataTest, initialisingTwiceKeepsTheFirstMacroData) {
    KrMACallBackData d;
    d.initDataClass(macroNamed("M1"));
    MacroData* first = d.macroData();
    d.initDataClass(macroNamed("M2"));
    EXPECT_EQ(d.macroData(), first) << "the object keeps the data it had";
    EXPECT_EQ(d.macroData()->macroNames[0], Vor_String("M1"));
}

TEST(KrMACallBackDataTest, copiesOwnTheirOwnMacroDataAndEveryField) {
    const KrMACallBackData a = filled();
    {
        KrMACallBackData b(a);
        ASSERT_NE(b.macroData(), nullptr);
        EXPECT_NE(b.macroData(), a.macroData()) << "a copy owns a copy, not the original";
        EXPECT_EQ(*b.macroData(), *a.macroData());
        EXPECT_EQ(b.groupName, a.groupName);
        EXPECT_EQ(b.moduleName, a.moduleName);
        EXPECT_EQ(b.number1, 3);
        EXPECT_EQ(b.number2, 4);
        EXPECT_EQ(b.objectIds, a.objectIds);
        b.macroData()->macroNames[0] = "changed";
    } // b deletes only its own copy
    ASSERT_NE(a.macroData(), nullptr);
    EXPECT_EQ(a.macroData()->macroNames[0], Vor_String("M1")) << "the original is neither changed nor freed";
}

TEST(KrMACallBackDataTest, assignmentReplacesTheTargetsDataWithACopyOrNone) {
    const KrMACallBackData a = filled();
    KrMACallBackData b;
    b.initDataClass(macroNamed("M9"));
    b = a;
    ASSERT_NE(b.macroData(), nullptr);
    EXPECT_NE(b.macroData(), a.macroData());
    EXPECT_EQ(b.macroData()->macroNames[0], Vor_String("M1")) << "the target's own data is replaced";
    b = KrMACallBackData();
    EXPECT_EQ(b.macroData(), nullptr) << "a source without data leaves the target without";
    EXPECT_EQ(b.groupName, Vor_String());
}

TEST(KrMACallBackDataTest, selfAssignmentKeepsTheMacroData) {
    KrMACallBackData a = filled();
    KrMACallBackData& same = a;
    a = same; // freeing the old data first would copy from freed memory
    ASSERT_NE(a.macroData(), nullptr);
    EXPECT_EQ(a.macroData()->macroNames[0], Vor_String("M1"));
    EXPECT_EQ(a.groupName, Vor_String("Beam"));
}

} // namespace
