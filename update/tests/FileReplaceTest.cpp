#include <gtest/gtest.h>

#include <windows.h>

#include "FileReplace.h"
#include "framework/Module.h"
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

} // namespace
