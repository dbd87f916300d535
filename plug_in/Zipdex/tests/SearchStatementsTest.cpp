#include <gtest/gtest.h>

#include "SearchStatements.h"

TEST(SearchStatements, EachFieldSearchesItsColumnLiterally) {
    const struct {
        int field;
        const char* value;
        const char* statement;
    } cases[] = {
        {0, "北", "SELECT * FROM [zipdex] WHERE PROVINCE LIKE '%北%'"},
        // The dialog's searches show DC and YZBM through the engine.
        {3, "0571", "SELECT * FROM [zipdex] WHERE DHQH LIKE '%0571%'"},
        {1, "%_[x]", "SELECT * FROM [zipdex] WHERE DC LIKE '%[%][_][[]x]%'"},
        // GBK characters whose second byte is '[' (0x5B) or '_' (0x5F) stay whole.
        {1, "\x81\x5b\x81\x5f_", "SELECT * FROM [zipdex] WHERE DC LIKE '%\x81\x5b\x81\x5f[_]%'"},
        {-1, "北", ""},
        {4, "北", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.statement, BuildSearchStatement(c.field, c.value)) << c.value;
}

TEST(SearchStatements, ProvinceRowsQuoteOnlyTheQuote) {
    EXPECT_STREQ("SELECT * FROM [zipdex] WHERE PROVINCE = 'a''b%_\x81\x5b'",
                 BuildProvinceStatement("a'b%_\x81\x5b"));
}
