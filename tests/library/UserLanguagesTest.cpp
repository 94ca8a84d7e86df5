// The user languages of the library folder: read from its file or the defaults, the current one by
// the interface language, translations of column names; and section names found by the host.

#include "LibraryTestSupport.h"

#include <host/SectionTables.h>

namespace {

using UserLanguages = LibraryFolder;

TEST_F(UserLanguages, fromTheLibraryFolderOrTheDefaults) {
    Vor_StringArray names;
    gMacroLangs.GetAllLanguages(names);
    EXPECT_EQ(names.length(), 4) << "no file: the four default languages";
    EXPECT_EQ(gMacroLangs.GetCurLanguage(), Vor_String("English"));

    lib.write("languages.txt", "# user languages\nen;English\nnl;Nederlands\n;nameless\nen;twice\n");
    lib.write("translations.txt", "Prof;h;nl;Hoogte\nProf;h;en;Height\n");
    gMacroLangs.reset();
    gMacroLangs.GetAllLanguages(names);
    EXPECT_EQ(names, (Vor_StringArray{"English", "Nederlands"}))
        << "comments, empty and repeated codes are skipped";
    EXPECT_EQ(gMacroLangs.GetCurLanguageIndex(), 0);
    ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "nl"));
    EXPECT_EQ(gMacroLangs.GetCurLanguage(), Vor_String("Nederlands"));
    EXPECT_EQ(gMacroLangs.GetString("prof", "h"), Vor_String("Hoogte")) << "the group without regard to case";
    EXPECT_EQ(gMacroLangs.GetString("Prof", "b"), Vor_String("b")) << "no translation: the key itself";

    TempDir other;
    other.write("languages.txt", "fr;Fran\xC3\xA7"
                                 "ais\n");
    gSettings.libDir = Vor_String(other.path());
    gMacroLangs.GetAllLanguages(names);
    EXPECT_EQ(names, Vor_StringArray{"Fran\xC3\xA7"
                                     "ais"})
        << "another library folder is read anew";
    EXPECT_EQ(gMacroLangs.GetCurLanguage(), Vor_String("Fran\xC3\xA7"
                                                       "ais"))
        << "no Dutch: the first";
}

TEST_F(UserLanguages, sectionNamesFollowTheirFileAsItChanges) {
    gSectionTables.reset();
    writeTable("T.pr", "1\nSysName;I/O;Nederlands;English\na-1;1;A nl;A en\nb;1;B nl;\n");
    Vor_String name;
    ASSERT_TRUE(gSectionTables.getUserName("T-a-1", name)) << "the key is all after the first \"-\"";
    EXPECT_EQ(name, Vor_String("A en"));
    EXPECT_FALSE(gSectionTables.getUserName("T-b", name)) << "no English name";
    EXPECT_FALSE(gSectionTables.getUserName("T", name)) << "no \"-\"";
    EXPECT_FALSE(gSectionTables.getUserName("X-a", name)) << "no table";
    writeTable("T.pr", "1\nSysName;I/O;Nederlands;English\na-1;1;A nl;A en, new name\n");
    ASSERT_TRUE(gSectionTables.getUserName("T-a-1", name));
    EXPECT_EQ(name, Vor_String("A en, new name")) << "a changed file is read again";
    gSectionTables.reset();
}

} // namespace
