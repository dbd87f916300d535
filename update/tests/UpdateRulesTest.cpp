#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "HttpDownload.h"
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

// The manifest's Length is read leniently, the server's Content-Length strictly.
TEST(ParseLength, LeadingNumberAndContentLength) {
    const std::pair<const char*, int> lengths[] = {{"", 0},
                                                   {nullptr, 0},
                                                   {"  42xyz", 42},
                                                   {"+7", 7},
                                                   {"- 5", 0},
                                                   {"99999999999", INT_MAX},
                                                   {"-99999999999", INT_MIN}};
    for (const auto& [text, value] : lengths)
        EXPECT_EQ(value, ParseLength(text)) << (text ? text : "null");
    EXPECT_EQ(5000000000u, ParseContentLength(" 5000000000 "));
    EXPECT_EQ(7u, ParseContentLength(std::string(300, '0').append("7").c_str()));
    for (const char* text : {"", "12a", "-1", "99999999999999999999999"})
        EXPECT_FALSE(ParseContentLength(text)) << text;
}

TEST(SafeRelativePath, NamesInsideTheFolder) {
    for (const char* name : {"app.exe", "sub\\app.exe", "sub/app.exe", "a..b.exe", "..app",
                             "中文程序.exe", "CONSOLE.exe", "COM10", "sub\\dir\\x.dll",
                             // The second byte of this GBK character is 0x5C, not a separator.
                             "\x95\x5c", "\x95\x5c\\a.exe"})
        EXPECT_TRUE(IsSafeRelativePath(name)) << name;
}

TEST(SafeRelativePath, NamesThatEscapeOrAreDevices) {
    for (const char* name :
         {"",           "..\\app.exe",   "../app.exe",     "sub\\..\\..\\app.exe",
          "sub\\..",    "C:\\app.exe",   "C:app.exe",      "\\\\server\\share\\app.exe",
          "\\app.exe",  "/app.exe",      "app.exe:stream", "sub\\\\app.exe",
          ".\\app.exe", "... \\app.exe", ".. \\app.exe",   "NUL",
          "con.txt",    "sub\\COM1.exe", "lpt9",           "\\\\?\\C:\\app.exe",
          "app.exe.",   "app.exe ",      "sub.\\app.exe",  "sub \\app.exe"})
        EXPECT_FALSE(IsSafeRelativePath(name)) << name;
    EXPECT_FALSE(IsSafeRelativePath(nullptr));
    EXPECT_TRUE(IsSameRelativePath("Sub/App.EXE", "sub\\app.exe"));
    EXPECT_FALSE(IsSameRelativePath("sub\\app.exe", "sub\\app.ex"));
}

TEST(ProgressPercent, NeverDividesByZeroNorOverflows) {
    EXPECT_EQ(0, ProgressPercent(5000, 0));
    EXPECT_EQ(100, ProgressPercent(150, 100));
    // 42 949 673 × 100 no longer fits 32 bits.
    EXPECT_EQ(81, ProgressPercent(42949673, 52428800));
    EXPECT_EQ(99, ProgressPercent(4294967294u, 4294967295u));
}

TEST(HttpAddress, PortsQueriesAndSchemes) {
    const struct {
        const char* url;
        const char* server;
        const char* object;
        int port;
        bool secure;
    } addresses[] = {
        {"http://example.test/a/b.exe", "example.test", "/a/b.exe", 80, false},
        {"https://example.test", "example.test", "/", 443, true},
        {"http://127.0.0.1:8080/f.exe?v=2&x=%20", "127.0.0.1", "/f.exe?v=2&x=%20", 8080, false},
        {"HTTPS://Example.test:8443/?q", "Example.test", "/?q", 8443, true},
    };
    for (const auto& a : addresses) {
        HttpAddress address;
        ASSERT_TRUE(ParseHttpAddress(a.url, address)) << a.url;
        EXPECT_EQ(std::string(a.server) + "|" + a.object,
                  (address.server + "|" + address.object).str());
        EXPECT_EQ(a.port, address.port);
        EXPECT_EQ(a.secure, address.secure);
    }
    HttpAddress address;
    for (const char* url : {"", "ftp://example.test/f", "file:///C:/f.exe", "http://", "f.exe",
                            "C:\\update\\manifest.xml"})
        EXPECT_FALSE(ParseHttpAddress(url, address)) << url;
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
