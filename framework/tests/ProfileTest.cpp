#include <gtest/gtest.h>

#include <windows.h>

#include "framework/App.h"
#include "TestFiles.h"

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        directory = test_files::TempPath("lumivane-profile-test").c_str();
        path = directory + "\\sub\\FrameworkTests.ini";
        test_files::RemoveTree(directory.str());
        app.SetProfilePath(path);
    }
    void TearDown() override {
        test_files::RemoveTree(directory.str());
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Lumivane Test");
        EXPECT_EQ(&app, AfxGetApp()) << "a second application object gives the place back";
    }
    CWinApp& app = *AfxGetApp();
    CString directory;
    CString path;
};

TEST_F(Profile, WithoutRegistryKeyValuesGoToTheIniFile) {
    ASSERT_TRUE(app.WriteProfileString("Settings", "Control", "120,80,100,100,"));
    EXPECT_EQ("[Settings]\r\nControl=120,80,100,100,\r\n", test_files::Read(path.str()));
    EXPECT_STREQ("120,80,100,100,", app.GetProfileString("Settings", "Control"));
    EXPECT_STREQ("默认", app.GetProfileString("Settings", "Missing", "默认"));
}

TEST_F(Profile, WithRegistryKeyValuesGoUnderSoftwareKeyAppSection) {
    CWinApp other("ruzuviva");
    other.SetRegistryKey("Lumivane Test");
    ASSERT_TRUE(other.WriteProfileString("Settings", "Express Company", "顺丰速运"));
    char stored[64] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(ERROR_SUCCESS,
              RegGetValueA(HKEY_CURRENT_USER, "Software\\Lumivane Test\\ruzuviva\\Settings",
                           "Express Company", RRF_RT_REG_SZ, nullptr, stored, &size));
    EXPECT_STREQ("顺丰速运", stored);
    EXPECT_STREQ("顺丰速运", other.GetProfileString("Settings", "Express Company"));
    EXPECT_STREQ("", other.GetProfileString("Settings", "Nothing", ""));
}

} // namespace
