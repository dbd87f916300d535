#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "FileVersionInfo.h"
#include "framework/Module.h"
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
    EXPECT_FALSE(IsSafeRelativePath(nullptr));
}

TEST(ProgressPercent, NeverDividesByZeroNorOverflows) {
    EXPECT_EQ(0, ProgressPercent(5000, 0));
    EXPECT_EQ(100, ProgressPercent(150, 100));
    // 42 949 673 × 100 no longer fits 32 bits.
    EXPECT_EQ(81, ProgressPercent(42949673, 52428800));
    EXPECT_EQ(99, ProgressPercent(4294967294u, 4294967295u));
}

// The version text of real programs, "-" for one whose fixed-info signature is wrong
// (1.2.3.4, no resource and no file: the listing test).
TEST(FileVersionInfo, RealProgramsAndFilesWithoutAUsableResource) {
    const CString badSignature = GetModuleDirectory() + "version_test_bad_signature.exe";
    std::string patched = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    const size_t at = patched.find("\xBD\x04\xEF\xFE");
    ASSERT_NE(std::string::npos, at);
    patched[at] = '\xBE';
    WriteBytes(badSignature, patched);
    const std::pair<CString, const char*> cases[] = {
        {BuiltProgram("version_0_0_0_0.exe"), "0.0.0.0"},
        {BuiltProgram("version_65535_1_65535_2.exe"), "65535.1.65535.2"},
        {badSignature, "-"},
    };
    for (const auto& [path, text] : cases) {
        FileVersionInfo info;
        EXPECT_STREQ(text, info.Read(path) ? info.GetFileVersionText() : CString("-")) << path;
    }
    ::DeleteFileA(badSignature);
}

} // namespace
