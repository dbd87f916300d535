#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "AcceptedSerial.h"
#include "FileVersionInfo.h"
#include "ManifestSerial.h"
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
    const CString damaged = GetModuleDirectory() + "damaged.exe";
    const std::pair<CString, const char*> real[] = {
        {BuiltProgram("version_0_0_0_0.exe"), "0.0.0.0"},
        {BuiltProgram("version_65535_1_65535_2.exe"), "65535.1.65535.2"},
        {GetModuleDirectory() + "..\\..\\update.exe", "3.0.0.3"},
    };
    FileVersionInfo info;
    for (const auto& [path, text] : real)
        EXPECT_TRUE(info.Read(path) && info.GetFileVersionText() == text) << path;
    for (const std::string& bytes : {patched, fixture.substr(0, at + 8), fixture.substr(0, 300)}) {
        WriteBytes(damaged, bytes);
        EXPECT_FALSE(FileVersionInfo().Read(damaged)) << bytes.size();
    }
    ::DeleteFileA(damaged);
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

// A signed manifest's Serial and Expires at 2026-12-08T00:00:00Z, against the serial accepted
// last (none: a fresh installation).
TEST(ManifestSerial, OnlyWellFormedNotOlderAndNotYetExpired) {
    std::uint64_t now = 0;
    ASSERT_TRUE(ParseUtcTime("2026-12-08T00:00:00Z", now));
    const char* const soon = "2026-12-08T00:00:01Z";
    using V = SerialVerdict;
    const struct {
        const char* serial;
        const char* expires;
        std::optional<std::uint64_t> remembered;
        V verdict;
    } cases[] = {
        {"5", soon, 5, V::Accepted},
        {"4", soon, 5, V::Older},
        {"0", soon, std::nullopt, V::Accepted},
        {"18446744073709551615", soon, 18446744073709551614u, V::Accepted},
        {"5", "2026-12-08T00:00:00Z", std::nullopt, V::Expired},
        {"5", "2000-02-29T23:59:59Z", std::nullopt, V::Expired},
        {"5", "2028-02-29T00:00:00Z", 5, V::Accepted},
    };
    for (const auto& c : cases) {
        std::uint64_t serial = 0;
        EXPECT_EQ(c.verdict, JudgeManifestSerial(c.serial, c.expires, c.remembered, now, serial))
            << c.serial << " " << c.expires;
    }
    const auto undated = [now](const char* serial, const char* expires) {
        std::uint64_t value = 0;
        return JudgeManifestSerial(serial, expires, std::nullopt, now, value) == V::Undated;
    };
    for (const char* serial :
         {"", "18446744073709551616", "+5", "-5", " 5", "5 ", "05", "5a", "５"})
        EXPECT_TRUE(undated(serial, soon)) << serial;
    for (const char* expires :
         {"", "2026-02-30T00:00:00Z", "2100-02-29T00:00:00Z", "2027-13-01T00:00:00Z",
          "2027-00-01T00:00:00Z", "2027-01-00T00:00:00Z", "2027-01-01T24:00:00Z",
          "2027-01-01T00:60:00Z", "2027-01-01T00:00:60Z", "2027-01-01T00:00:00+08:00",
          "2027-01-01T00:00:00z", "2027-01-01 00:00:00Z", "+027-01-01T00:00:00Z",
          "1600-12-31T23:59:59Z"})
        EXPECT_TRUE(undated("5", expires)) << expires;
    // Against the Unix clock, whose day 0 is 11 644 473 600 s after the file times' one.
    for (const auto& [text, unix] : {std::pair("2000-03-01T00:00:00Z", 951868800ull),
                                     std::pair("2026-12-08T01:02:03Z", 1796691723ull)}) {
        std::uint64_t seconds = 0;
        EXPECT_TRUE(ParseUtcTime(text, seconds) && seconds - 11644473600u == unix) << text;
    }
}

// None at first, then the number written last, to the last of its 64 bits; a file that holds
// no serial is no fresh installation.
TEST(AcceptedSerial, RemembersTheLastNumberWhole) {
    const CString path = GetModuleDirectory() + "accepted.serial";
    ::DeleteFileA(path);
    std::optional<std::uint64_t> serial = 1;
    EXPECT_TRUE(ReadAcceptedSerial(path, serial) && !serial);
    EXPECT_TRUE(WriteAcceptedSerial(path, 18446744073709551615u));
    EXPECT_TRUE(ReadAcceptedSerial(path, serial) && serial == 18446744073709551615u);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path + ".new")) << "left behind";
    WriteBytes(path, std::string("7\0", 2));
    EXPECT_FALSE(ReadAcceptedSerial(path, serial));
    ::DeleteFileA(path);
}

} // namespace
