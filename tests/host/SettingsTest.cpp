#include <host/Settings.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(Settings, optionBeatsEnvironmentBeatsDefault) {
    TempDir dir;
    dir.write("optlib/x", "");
    dir.write("envlib/x", "");
    dir.write("envinst/x", "");
    ScopedEnv lib("VOR_LIB_DIR", (dir.path() + "envlib").c_str());
    ScopedEnv inst("VOR_INSTALL_DIR", (dir.path() + "envinst\\").c_str());
    std::string error;
    ASSERT_TRUE(configureSettings(dir.path() + "optlib", "", &error)) << error;
    EXPECT_EQ(gSettings.libDir, dir.path() + "optlib/") << "option, with '/' added";
    EXPECT_EQ(gSettings.vorDir, dir.path() + "envinst/") << "environment, '\\' read as '/'";

    ScopedEnv noLib("VOR_LIB_DIR", nullptr);
    ScopedEnv noInst("VOR_INSTALL_DIR", nullptr);
    ASSERT_TRUE(configureSettings("", "", &error)) << error;
    EXPECT_EQ(gSettings.libDir, defaultLibDir());
    EXPECT_EQ(gSettings.vorDir, defaultInstallDir());
    EXPECT_TRUE(gSettings.libDir.endsWith("/data/lib/"));
}

TEST(Settings, missingFolderIsAnErrorAndKeepsTheSettings) {
    TempDir dir;
    ScopedEnv noLib("VOR_LIB_DIR", nullptr);
    ASSERT_TRUE(configureSettings(dir.path(), dir.path()));
    const Vor_Settings before = gSettings;
    std::string error;
    EXPECT_FALSE(configureSettings(dir.path(), dir.path() + "missing", &error));
    EXPECT_EQ(error, "installation folder does not exist: " + dir.path() + "missing/");
    EXPECT_EQ(gSettings.libDir, before.libDir);
    EXPECT_EQ(gSettings.vorDir, before.vorDir);
}
