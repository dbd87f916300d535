#include <gtest/gtest.h>

#include <windows.h>

#include "FileReplace.h"
#include "framework/Module.h"
#include "ProgramWindows.h"
#include "TestSupport.h"

namespace {

class ReplaceFolder : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveTree(folder);
        MakeFolder(folder);
        WriteBytes(source, "new program");
        WriteBytes(target, "old program");
    }
    void TearDown() override { RemoveTree(folder); }
    void ExpectFolder(const char* targetBytes, const char* names) {
        EXPECT_EQ(targetBytes, ReadBytes(target));
        EXPECT_EQ(names, ListFolder(folder));
    }

    const CString folder = GetModuleDirectory() + "replace_test";
    const CString source = folder + "\\download.bin";
    const CString target = folder + "\\app.exe";
};

TEST_F(ReplaceFolder, ReplacesTheTargetAndLeavesNothingBeside) {
    ASSERT_TRUE(ReplaceFileWhole(source, target));
    EXPECT_EQ("new program", ReadBytes(source));
    ExpectFolder("new program", "app.exe download.bin");
}

TEST_F(ReplaceFolder, ReadOnlyTargetStaysWhole) {
    ASSERT_TRUE(::SetFileAttributesA(target, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(ReplaceFileWhole(source, target));
    ExpectFolder("old program", "app.exe download.bin");
}

TEST_F(ReplaceFolder, TargetInUseStaysWhole) {
    const HANDLE held =
        ::CreateFileA(target, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(ReplaceFileWhole(source, target));
    ::CloseHandle(held);
    ExpectFolder("old program", "app.exe download.bin");
}

TEST_F(ReplaceFolder, MissingSourceLeavesTheTarget) {
    ::DeleteFileA(source);
    EXPECT_FALSE(ReplaceFileWhole(source, target));
    ExpectFolder("old program", "app.exe");
}

TEST(ProgramWindows, AWindowThatRefusesIsAskedOnlyUpToTheBound) {
    const CString mark = GetModuleDirectory() + "program_windows_test.mark";
    ::DeleteFileA(mark);
    uidriver::Process helper = StartHelper("stubborn", "UpdTestHolderB", 1, mark);
    EXPECT_EQ(3, CloseProgramWindows("UpdTestHolderB", 3));
    EXPECT_EQ("refused\nrefused\nrefused\n", ReadBytes(mark));
    helper.Kill();
    ::DeleteFileA(mark);
}

TEST(ProgramWindows, NeverClosesItsOwnWindowsNorAnyForAnEmptyClass) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "UpdTestOwnWindow";
    ::RegisterClassA(&windowClass);
    const HWND own = ::CreateWindowA("UpdTestOwnWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                     nullptr, windowClass.hInstance, nullptr);
    ASSERT_TRUE(own);
    EXPECT_EQ(0, CloseProgramWindows("UpdTestOwnWindow"));
    EXPECT_EQ(0, CloseProgramWindows(""));
    EXPECT_TRUE(::IsWindow(own));
    ::DestroyWindow(own);
}

} // namespace
