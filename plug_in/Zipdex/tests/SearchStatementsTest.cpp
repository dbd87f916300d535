#include <gtest/gtest.h>

#include "SearchStatements.h"

TEST(SearchStatements, EachFieldSearchesItsColumnForASubstring) {
    EXPECT_STREQ("SELECT * FROM [zipdex] WHERE PROVINCE LIKE '%北%'",
                 BuildSearchStatement(0, "北"));
    EXPECT_STREQ("SELECT * FROM [zipdex] WHERE DC LIKE '%杭州%'", BuildSearchStatement(1, "杭州"));
    EXPECT_STREQ("SELECT * FROM [zipdex] WHERE YZBM LIKE '%1000%'",
                 BuildSearchStatement(2, "1000"));
    EXPECT_STREQ("SELECT * FROM [zipdex] WHERE DHQH LIKE '%0571%'",
                 BuildSearchStatement(3, "0571"));
}

TEST(SearchStatements, FieldOutsideTheFourGivesNoStatement) {
    EXPECT_STREQ("", BuildSearchStatement(-1, "北"));
    EXPECT_STREQ("", BuildSearchStatement(4, "北"));
}

TEST(SearchStatements, ProvinceRowsAndList) {
    EXPECT_STREQ("SELECT * FROM [zipdex] WHERE PROVINCE = '北京市'",
                 BuildProvinceStatement("北京市"));
    EXPECT_STREQ("SELECT DISTINCT PROVINCE FROM [Zipdex]", kProvinceListStatement);
}

TEST(SearchStatements, ValuesAreSearchedLiterally) {
    EXPECT_STREQ("SELECT * FROM [zipdex] WHERE DC LIKE '%O''Brien%'",
                 BuildSearchStatement(1, "O'Brien"));
    EXPECT_STREQ("SELECT * FROM [zipdex] WHERE DC LIKE '%[%][_][[]x]%'",
                 BuildSearchStatement(1, "%_[x]"));
    // A province name goes into '=', where only the quote needs doubling.
    EXPECT_STREQ("SELECT * FROM [zipdex] WHERE PROVINCE = 'a''b%_'",
                 BuildProvinceStatement("a'b%_"));
}

TEST(SearchStatements, TrailBytesOfChineseCharactersAreNotEscaped) {
    // GBK characters whose second byte is '[' (0x5B) or '_' (0x5F) stay whole.
    const CString value("\x81\x5b\x81\x5f_");
    EXPECT_STREQ("\x81\x5b\x81\x5f[_]", EscapeLikeLiteral(value));
    EXPECT_STREQ("\x81\x5b\x81\x5f_", QuoteLiteral(value));
}
