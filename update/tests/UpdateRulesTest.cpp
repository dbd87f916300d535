#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "Sha256.h"
#include "UpdateRules.h"

namespace {

// Below 1 K whole bytes; above, the unit adds five hundredths at every boundary.
TEST(FormatSize, EveryBoundary) {
    const std::pair<UINT, const char*> cases[] = {
        {0, "0 Byte"},          {1023, "1023 Byte"},     {1024, "1.05 K"},
        {1536, "1.55 K"},       {2047, "2.04 K"},        {1048575, "1024.04 K"},
        {1048576, "1.05 M"},    {52428800, "50.05 M"},   {1073741823, "1024.04 M"},
        {1073741824, "1.05 G"}, {4294967295u, "4.04 G"},
    };
    for (const auto& [size, text] : cases)
        EXPECT_STREQ(text, FormatSize(size)) << size;
}

TEST(ParseLength, LeadingDecimalNumber) {
    EXPECT_EQ(0, ParseLength(""));
    EXPECT_EQ(0, ParseLength(nullptr));
    EXPECT_EQ(42, ParseLength("  42xyz"));
    EXPECT_EQ(7, ParseLength("+7"));
    EXPECT_EQ(0, ParseLength("- 5"));
    EXPECT_EQ(INT_MAX, ParseLength("99999999999"));
    EXPECT_EQ(INT_MIN, ParseLength("-99999999999"));
}

TEST(ParseContentLength, DigitsOnly) {
    EXPECT_EQ(123u, ParseContentLength("123"));
    EXPECT_EQ(0u, ParseContentLength("0"));
    EXPECT_EQ(5000000000u, ParseContentLength(" 5000000000 "));
    EXPECT_FALSE(ParseContentLength(""));
    EXPECT_FALSE(ParseContentLength("12a"));
    EXPECT_FALSE(ParseContentLength("-1"));
    EXPECT_FALSE(ParseContentLength("99999999999999999999999"));
}

TEST(SafeRelativePath, NamesInsideTheFolder) {
    for (const char* name : {"app.exe", "sub\\app.exe", "sub/app.exe", "a..b.exe", "..app",
                             "中文程序.exe", "CONSOLE.exe", "COM10", "sub\\dir\\x.dll",
                             // The second byte of this GBK character is 0x5C, not a separator.
                             "\x95\x5c.."})
        EXPECT_TRUE(IsSafeRelativePath(name)) << name;
}

TEST(SafeRelativePath, NamesThatEscapeOrAreDevices) {
    for (const char* name :
         {"",           "..\\app.exe",   "../app.exe",     "sub\\..\\..\\app.exe",
          "sub\\..",    "C:\\app.exe",   "C:app.exe",      "\\\\server\\share\\app.exe",
          "\\app.exe",  "/app.exe",      "app.exe:stream", "sub\\\\app.exe",
          ".\\app.exe", "... \\app.exe", ".. \\app.exe",   "NUL",
          "con.txt",    "sub\\COM1.exe", "lpt9",           "\\\\?\\C:\\app.exe"})
        EXPECT_FALSE(IsSafeRelativePath(name)) << name;
    EXPECT_FALSE(IsSafeRelativePath(nullptr));
}

TEST(ProgressPercent, NeverDividesByZeroNorOverflows) {
    EXPECT_EQ(0, ProgressPercent(0, 0));
    EXPECT_EQ(0, ProgressPercent(5000, 0));
    EXPECT_EQ(33, ProgressPercent(1, 3));
    EXPECT_EQ(100, ProgressPercent(100, 100));
    EXPECT_EQ(100, ProgressPercent(150, 100));
    // 42 949 673 × 100 no longer fits 32 bits.
    EXPECT_EQ(81, ProgressPercent(42949673, 52428800));
    EXPECT_EQ(99, ProgressPercent(4294967294u, 4294967295u));
    EXPECT_EQ(50, ProgressPercent(1ull << 40, 1ull << 41));
}

TEST(SuccessStatus, OnlyThreeDigitTwoHundreds) {
    EXPECT_TRUE(IsSuccessStatus("200"));
    EXPECT_TRUE(IsSuccessStatus("206"));
    for (const char* status : {"404", "302", "500", "20", "2000", "", "2x0", "abc"})
        EXPECT_FALSE(IsSuccessStatus(status)) << status;
}

TEST(Digest, Sha256OfKnownTextMatchesItsHexInEitherCase) {
    Sha256 hash;
    hash.Update("ab", 2);
    hash.Update("c", 1);
    BYTE digest[32] = {};
    ASSERT_TRUE(hash.Finish(digest));
    const std::string hex = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    EXPECT_TRUE(DigestMatches(hex.c_str(), digest));
    EXPECT_TRUE(
        DigestMatches("BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD", digest));
    for (const std::string& wrong :
         {hex.substr(0, 63) + "e", hex.substr(0, 8), "zz" + hex.substr(2)})
        EXPECT_FALSE(DigestMatches(wrong.c_str(), digest)) << wrong;
}

} // namespace
