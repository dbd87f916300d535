#include <gtest/gtest.h>

#include <windows.h>

#include "FileReplace.h"
#include "Module.h"
#include "ProgramWindows.h"
#include "TestSupport.h"
#include "uidriver/Process.h"

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

    const CString folder = GetModuleDirectory() + "replace_test";
    const CString source = folder + "\\download.bin";
    const CString target = folder + "\\app.exe";
};

TEST_F(ReplaceFolder, ReplacesTheTargetAndLeavesNothingBeside) {
    ASSERT_TRUE(ReplaceFileWhole(source, target));
    EXPECT_EQ("new program", ReadBytes(target));
    EXPECT_EQ("new program", ReadBytes(source));
    EXPECT_EQ("app.exe download.bin", ListFolder(folder));
}

TEST_F(ReplaceFolder, ReadOnlyTargetStaysWhole) {
    ASSERT_TRUE(::SetFileAttributesA(target, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(ReplaceFileWhole(source, target));
    EXPECT_EQ("old program", ReadBytes(target));
    EXPECT_EQ("app.exe download.bin", ListFolder(folder));
}

TEST_F(ReplaceFolder, TargetInUseStaysWhole) {
    const HANDLE held =
        ::CreateFileA(target, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(ReplaceFileWhole(source, target));
    ::CloseHandle(held);
    EXPECT_EQ("old program", ReadBytes(target));
    EXPECT_EQ("app.exe download.bin", ListFolder(folder));
}

TEST_F(ReplaceFolder, MissingSourceLeavesTheTarget) {
    ::DeleteFileA(source);
    EXPECT_FALSE(ReplaceFileWhole(source, target));
    EXPECT_EQ("old program", ReadBytes(target));
    EXPECT_EQ("app.exe", ListFolder(folder));
}

class ProgramWindowsTest : public ::testing::Test {
protected:
    void TearDown() override { ::DeleteFileA(mark); }

    // Starts the helper with windows of `windowClass` and waits until they exist.
    uidriver::Process StartHelper(const char* mode, const char* windowClass, int count) {
        CString command;
        command.Format("\"%s\" %s %s %d \"%s\"",
                       static_cast<const char*>(BuiltProgram("update_test_helper.exe")), mode,
                       windowClass, count, static_cast<const char*>(mark));
        uidriver::Process helper = uidriver::Process::Start(command.str());
        uidriver::WaitForTopWindow(helper.Id(), {std::nullopt, std::string(windowClass), false},
                                   10000, helper.Handle());
        ::Sleep(100);
        return helper;
    }
    int Lines(const char* word) {
        const std::string text = ReadBytes(mark);
        int count = 0;
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
            ++count;
        return count;
    }

    const CString mark = GetModuleDirectory() + "program_windows_test.mark";
};

TEST_F(ProgramWindowsTest, AWindowThatRefusesIsAskedOnlyUpToTheBound) {
    uidriver::Process helper = StartHelper("stubborn", "UpdTestHolderB", 1);
    EXPECT_EQ(3, CloseProgramWindows("UpdTestHolderB", 3));
    EXPECT_EQ(3, Lines("refused"));
    helper.Kill();
}

TEST_F(ProgramWindowsTest, NeverClosesItsOwnWindowsNorAnyForAnEmptyClass) {
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
