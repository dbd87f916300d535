#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "FileVersionInfo.h"
#include "framework/base/Module.h"
#include "TestSupport.h"
#include "UpdateRules.h"

namespace {

TEST(SafeRelativePath, OnlyNamesThatStayInsideTheFolder) {
    for (const char* name : {"app.exe", "sub\\app.exe", "sub/app.exe", "a..b.exe", "..app",
                             "中文程序.exe", "CONSOLE.exe", "COM10", "sub\\dir\\x.dll",
                             // The second byte of this GBK character is 0x5C, not a separator.
                             "\x95\x5c", "\x95\x5c\\a.exe"})
        EXPECT_TRUE(IsSafeRelativePath(name)) << name;
    for (const char* name :
         {"",           "..\\app.exe",   "../app.exe",     "sub\\..\\..\\app.exe",
          "sub\\..",    "C:\\app.exe",   "C:app.exe",      "\\\\server\\share\\app.exe",
          "\\app.exe",  "/app.exe",      "app.exe:stream", "sub\\\\app.exe",
          ".\\app.exe", "... \\app.exe", ".. \\app.exe",   "NUL",
          "con.txt",    "sub\\COM1.exe", "lpt9",           "\\\\?\\C:\\app.exe",
          "app.exe.",   "app.exe ",      "sub.\\app.exe",  "sub \\app.exe"})
        EXPECT_FALSE(IsSafeRelativePath(name)) << name;
}

// A download stops at a known total: nothing received ever passes it.
TEST(ProgressPercent, NeverDividesByZeroNorOverflows) {
    EXPECT_EQ(0, ProgressPercent(5000, 0));
    // 42 949 673 × 100 no longer fits 32 bits.
    EXPECT_EQ(81, ProgressPercent(42949673, 52428800));
    EXPECT_EQ(99, ProgressPercent(4294967294u, 4294967295u));
}

// The version text of real programs, "-" for one whose fixed-info signature is wrong or that is
// cut (1.2.3.4, no resource and no file: the listing test). Read from the file itself, as the
// version API reads it.
TEST(FileVersionInfo, RealProgramsAndFilesWithoutAUsableResource) {
    const std::string fixture = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    const size_t at = fixture.find("\xBD\x04\xEF\xFE");
    ASSERT_NE(std::string::npos, at);
    std::string patched = fixture;
    patched[at] = '\xBE';
    const std::pair<std::string, std::string> damaged[] = {
        {"bad_signature.exe", patched},
        {"cut_in_block.exe", fixture.substr(0, at + 8)},
        {"cut_in_headers.exe", fixture.substr(0, 300)},
    };
    for (const auto& [name, bytes] : damaged)
        WriteBytes(GetModuleDirectory() + name.c_str(), bytes);
    const std::pair<CString, const char*> cases[] = {
        {BuiltProgram("version_0_0_0_0.exe"), "0.0.0.0"},
        {BuiltProgram("version_65535_1_65535_2.exe"), "65535.1.65535.2"},
        {GetModuleDirectory() + "..\\..\\update.exe", "3.0.0.3"},
        {GetModuleDirectory() + "bad_signature.exe", "-"},
        {GetModuleDirectory() + "cut_in_block.exe", "-"},
        {GetModuleDirectory() + "cut_in_headers.exe", "-"},
    };
    for (const auto& [path, text] : cases) {
        FileVersionInfo info;
        EXPECT_STREQ(text, info.Read(path) ? info.GetFileVersionText() : CString("-")) << path;
    }
    for (const auto& damagedFile : damaged)
        ::DeleteFileA(GetModuleDirectory() + damagedFile.first.c_str());
}

TEST(FormatSize, UnitsWithTheFiveHundredthsAdded) {
    const std::pair<UINT, const char*> sizes[] = {
        {0, "0 Byte"},         {1023, "1023 Byte"},    {1024, "1.05 K"},
        {1536, "1.55 K"},      {2047, "2.04 K"},       {1048576, "1.05 M"},
        {52428800, "50.05 M"}, {1073741824, "1.05 G"}, {4294967295u, "4.04 G"}};
    for (const auto& [size, text] : sizes)
        EXPECT_STREQ(text, FormatSize(size)) << size;
}

// One key for every spelling of a name.
TEST(UpdateChecks, PathKeys) {
    EXPECT_STREQ(RelativePathKey("sub\\app.exe"), RelativePathKey("SUB/App.EXE"));
    EXPECT_STRNE(RelativePathKey("sub\\app.exe"), RelativePathKey("sub\\app.ex"));
}

} // namespace
