#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "FileVersionInfo.h"
#include "framework/Module.h"
#include "TestSupport.h"

namespace {

// The version text of real programs; nothing from a file without a valid resource, including
// one whose fixed-info signature is wrong.
TEST(FileVersionInfo, RealProgramsAndFilesWithoutAUsableResource) {
    const CString folder = GetModuleDirectory();
    WriteBytes(folder + "version_test_plain.txt", "no resources here");
    std::string patched = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    const size_t at = patched.find("\xBD\x04\xEF\xFE");
    ASSERT_NE(std::string::npos, at);
    patched[at] = '\xBE';
    WriteBytes(folder + "version_test_bad_signature.exe", patched);
    const std::pair<CString, const char*> cases[] = {
        {BuiltProgram("version_1_2_3_4.exe"), "1.2.3.4"},
        {BuiltProgram("version_0_0_0_0.exe"), "0.0.0.0"},
        {BuiltProgram("version_65535_1_65535_2.exe"), "65535.1.65535.2"},
        {folder + "version_test_bad_signature.exe", nullptr},
        {BuiltProgram("no_version.exe"), nullptr},
        {folder + "version_test_plain.txt", nullptr},
        {folder + "version_test_missing.exe", nullptr},
    };
    for (const auto& [path, text] : cases) {
        FileVersionInfo info;
        EXPECT_EQ(text != nullptr, !!info.Read(path)) << path;
        if (text)
            EXPECT_STREQ(text, info.GetFileVersionText()) << path;
    }
    ::DeleteFileA(folder + "version_test_plain.txt");
    ::DeleteFileA(folder + "version_test_bad_signature.exe");
}

} // namespace
