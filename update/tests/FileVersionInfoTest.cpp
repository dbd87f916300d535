#include <gtest/gtest.h>

#include <windows.h>

#include "FileVersionInfo.h"
#include "framework/Module.h"
#include "TestSupport.h"

namespace {

// A wrong signature fails after the fields were copied; other unreadable files copy nothing.
TEST(FileVersionInfo, RealProgramsAndFilesWithoutAUsableResource) {
    const CString folder = GetModuleDirectory();
    WriteBytes(folder + "version_test_plain.txt", "no resources here");
    std::string patched = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    const size_t at = patched.find("\xBD\x04\xEF\xFE");
    ASSERT_NE(std::string::npos, at);
    patched[at] = '\xBE';
    WriteBytes(folder + "version_test_bad_signature.exe", patched);
    const struct {
        CString path;
        bool read;
        DWORD signature, versionMS;
        const char* text;
    } cases[] = {
        {BuiltProgram("version_1_2_3_4.exe"), true, VS_FFI_SIGNATURE, 0x00010002, "1.2.3.4"},
        {BuiltProgram("version_0_0_0_0.exe"), true, VS_FFI_SIGNATURE, 0, "0.0.0.0"},
        {BuiltProgram("version_65535_1_65535_2.exe"), true, VS_FFI_SIGNATURE, 0xFFFF0001,
         "65535.1.65535.2"},
        {folder + "version_test_bad_signature.exe", false, 0xFEEF04BE, 0x00010002, nullptr},
        {BuiltProgram("no_version.exe"), false, 0, 0, nullptr},
        {folder + "version_test_plain.txt", false, 0, 0, nullptr},
        {folder + "version_test_missing.exe", false, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.str());
        FileVersionInfo info;
        EXPECT_EQ(c.read, !!info.Read(c.path));
        EXPECT_EQ(c.signature, info.dwSignature);
        EXPECT_EQ(c.versionMS, info.dwFileVersionMS);
        if (c.read) {
            EXPECT_STREQ(c.text, info.GetFileVersionText());
            EXPECT_EQ(0x00090009u, info.dwProductVersionMS);
        }
    }
    ::DeleteFileA(folder + "version_test_plain.txt");
    ::DeleteFileA(folder + "version_test_bad_signature.exe");
}

} // namespace
