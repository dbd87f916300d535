#include <gtest/gtest.h>

#include <windows.h>

#include "FileVersionInfo.h"
#include "Module.h"
#include "TestSupport.h"

namespace {

struct Case {
    const char* program;
    const char* text;
    DWORD versionMS;
};

TEST(FileVersionInfo, ReadsTheFileVersionOfRealPrograms) {
    for (const Case& c : {Case{"version_1_2_3_4.exe", "1.2.3.4", 0x00010002},
                          Case{"version_0_0_0_0.exe", "0.0.0.0", 0},
                          Case{"version_65535_1_65535_2.exe", "65535.1.65535.2", 0xFFFF0001}}) {
        FileVersionInfo info;
        ASSERT_TRUE(info.Read(BuiltProgram(c.program))) << c.program;
        EXPECT_EQ(VS_FFI_SIGNATURE, info.dwSignature);
        EXPECT_EQ(c.versionMS, info.dwFileVersionMS);
        EXPECT_STREQ(c.text, info.GetFileVersionText());
        EXPECT_EQ(0x00090009u, info.dwProductVersionMS);
    }
}

TEST(FileVersionInfo, FilesWithoutAResourceAreNotRead) {
    const CString text = GetModuleDirectory() + "version_test_plain.txt";
    WriteBytes(text, "no resources here");
    for (const CString& path : {BuiltProgram("no_version.exe"), text,
                                GetModuleDirectory() + "version_test_missing.exe"}) {
        FileVersionInfo info;
        EXPECT_FALSE(info.Read(path)) << path;
        EXPECT_EQ(0u, info.dwSignature);
        EXPECT_EQ(0u, info.dwFileVersionMS);
    }
    ::DeleteFileA(text);
}

TEST(FileVersionInfo, WrongSignatureFailsAfterTheFieldsWereCopied) {
    std::string bytes = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    const std::string signature("\xBD\x04\xEF\xFE", 4);
    const size_t at = bytes.find(signature);
    ASSERT_NE(std::string::npos, at);
    bytes.replace(at, 4, std::string("\xBE\x04\xEF\xFE", 4));
    const CString patched = GetModuleDirectory() + "version_test_bad_signature.exe";
    WriteBytes(patched, bytes);
    FileVersionInfo info;
    EXPECT_FALSE(info.Read(patched));
    EXPECT_EQ(0xFEEF04BEu, info.dwSignature);
    EXPECT_EQ(0x00010002u, info.dwFileVersionMS);
    ::DeleteFileA(patched);
}

} // namespace
