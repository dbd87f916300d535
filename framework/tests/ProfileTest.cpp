#include <gtest/gtest.h>

#include <windows.h>

#include "framework/windows/App.h"
#include "TestFiles.h"

namespace {

// The registry form of the profile is read and written by package's black-box test.
TEST(Profile, WithoutRegistryKeyValuesGoToTheIniFile) {
    const std::string directory = test_files::TempPath("lumivane-profile-test");
    const std::string path = directory + "\\sub\\FrameworkTests.ini";
    test_files::RemoveTree(directory);
    CWinApp& app = *AfxGetApp();
    app.SetProfilePath(path.c_str());
    ASSERT_TRUE(app.WriteProfileString("Settings", "Control", "120,80,100,100,"));
    EXPECT_EQ("[Settings]\r\nControl=120,80,100,100,\r\n", test_files::Read(path));
    EXPECT_STREQ("120,80,100,100,", app.GetProfileString("Settings", "Control"));
    EXPECT_STREQ("默认", app.GetProfileString("Settings", "Missing", "默认"));
    test_files::RemoveTree(directory);
    { CWinApp other("ruzuviva"); }
    EXPECT_EQ(&app, AfxGetApp()) << "a second application object gives the place back";
}

} // namespace
