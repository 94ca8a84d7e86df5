#pragma once
// A library folder of its own for each test: prof/ and User Sections/ in a temporary folder, the
// English texts, the four default user languages.

#include "../host/TempDir.h"

#include <host/MacroLangs.h>
#include <host/Settings.h>
#include <host/Texts.h>

#include <gtest/gtest.h>

class LibraryFolder : public testing::Test {
protected:
    void SetUp() override {
        m_savedSettings = gSettings;
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
        lib.write("prof/.keep", "");
        lib.write("User Sections/.keep", "");
        icons.write("icons/.keep", "");
        gSettings.libDir = Vor_String(lib.path());
        gSettings.vorDir = Vor_String(icons.path());
        gMacroLangs.reset();
    }
    void TearDown() override {
        gSettings = m_savedSettings;
        gMacroLangs.reset();
    }
    /// Writes prof/<name> with these lines (joined by '\n').
    void writeTable(const std::string& name, const std::string& text) { lib.write("prof/" + name, text); }

    TempDir lib;   ///< the library folder
    TempDir icons; ///< the installation folder (icons/)

private:
    Vor_Settings m_savedSettings;
};
