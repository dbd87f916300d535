#include <gtest/gtest.h>

#include <windows.h>

#include "framework/base/Encoding.h"
#include "framework/base/String.h"

TEST(String, FormatHandlesLongOutputAndNumbers) {
    CString text;
    text.Format("%d,%s,%.2f", 120, "地区", 1.05);
    EXPECT_STREQ("120,地区,1.05", text);
    const std::string longPart(5000, 'x');
    text.Format("[%s]", longPart.c_str());
    EXPECT_EQ(5002, text.GetLength());
}

TEST(String, FindStepsOverTwoByteCharacters) {
    // "诶" is GBK 0xDA 0x40; its trail byte is '@' and must not match a search for '@'.
    const CString text("\xda\x40@");
    EXPECT_EQ(2, text.Find('@'));
    EXPECT_EQ(2, text.ReverseFind('@'));
    // "%1" whose '%' would be the trail byte of a character 0x81 0x25.
    const CString command("\x81\x25"
                          "1 \"%1\"");
    EXPECT_EQ(4, command.Find("\"%1\""));
    EXPECT_EQ(5, command.Find("%1"));
}

TEST(String, SlicesClampToTheText) {
    const CString text("abcdef");
    EXPECT_STREQ("abcdef", text.Left(100));
    EXPECT_STREQ("", text.Mid(10, 2));
    EXPECT_STREQ("", text.Left(-1));
}

TEST(Encoding, GbkRoundTripsThroughUtf16AndUtf8) {
    const CString gbk("邮政编码：北京");
    const std::wstring wide = AnsiToWide(gbk);
    EXPECT_EQ(L"\u90ae\u653f\u7f16\u7801\uff1a\u5317\u4eac", wide);
    EXPECT_STREQ(gbk, WideToAnsi(wide.c_str()));
    EXPECT_EQ(u8"邮政编码：北京", AnsiToUtf8(gbk));
    EXPECT_STREQ(gbk, Utf8ToAnsi(u8"邮政编码：北京"));
    EXPECT_STREQ("a?b", WideToAnsi(L"a\u0e01b")) << "what GBK cannot hold";
}
