#include <gtest/gtest.h>

#include "framework/App.h"

// The tests' application object: it names message box captions.
CWinApp g_testApp("package_tests");

// The dialog reads its list through COM and hosts the browser, as the program does.
class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { AfxEnableControlContainer(); }
};
const ::testing::Environment* const g_ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);
