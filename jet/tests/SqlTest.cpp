#include "TestDatabase.h"

#include <gtest/gtest.h>

using jet_test::query;
using jet_test::Rows;

namespace {

class SqlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        file_ = new jet_test::TempFile("sql.mdb");
        jet::DatabaseWriter writer;
        writer.addTable(jet_test::zipdexTable());
        jet::TableData words;
        words.name = "Words";
        words.columns = {{"W"}, {"N", jet::ColumnType::LongInteger}};
        for (const char* word : {"O'Brien", "50%", "a_b", "axb", "ABC", "abc", u8"\u00C4rger",
                                 u8"\u00E4rger", "x[y]", "tab\there"})
            words.rows.push_back({std::string(word), std::to_string(words.rows.size())});
        words.rows.push_back({std::nullopt, std::nullopt});
        writer.addTable(words);
        writer.save(file_->path());
        database_ = new jet::Database(file_->path());
    }
    static void TearDownTestSuite() {
        delete database_;
        delete file_;
    }

    static std::vector<std::string> column(const std::string& statement, std::size_t index = 0) {
        std::vector<std::string> values;
        for (const auto& row : query(*database_, statement))
            values.push_back(row.at(index));
        return values;
    }

    static std::string errorOf(const std::string& statement) {
        try {
            database_->execute(statement);
        } catch (const jet::Error& error) {
            return error.what();
        }
        return "no error";
    }

    static jet_test::TempFile* file_;
    static jet::Database* database_;
};

jet_test::TempFile* SqlTest::file_ = nullptr;
jet::Database* SqlTest::database_ = nullptr;

using Strings = std::vector<std::string>;

TEST_F(SqlTest, PostalProgramStatements) {
    EXPECT_EQ(column("SELECT DISTINCT PROVINCE FROM [Zipdex]"),
              (Strings{u8"上海市", u8"北京市", u8"广东省", u8"河北省", u8"湖北省"}));
    EXPECT_EQ(
        query(*database_, u8"SELECT * FROM [zipdex] WHERE PROVINCE = '北京市'"),
        (Rows{{u8"北京市", u8"北京", "100000", "010"}, {u8"北京市", u8"海淀区", "100080", "010"}}));
    EXPECT_EQ(column(u8"SELECT * FROM [zipdex] WHERE PROVINCE LIKE '%北%'", 1),
              (Strings{u8"北京", u8"石家庄", u8"海淀区", u8"保定", u8"武汉"}));
    EXPECT_EQ(column(u8"SELECT * FROM [zipdex] WHERE DC LIKE '%州%'", 1), (Strings{u8"广州"}));
    EXPECT_EQ(column("SELECT * FROM [zipdex] WHERE YZBM LIKE '%1000%'", 2),
              (Strings{"100000", "100080", "510000", "071000"}));
    // The NULL area code of the last row matches no pattern.
    EXPECT_EQ(column("SELECT * FROM [zipdex] WHERE DHQH LIKE '%31%'", 3),
              (Strings{"0311", "0312"}));
    EXPECT_TRUE(query(*database_, "SELECT * FROM [zipdex] WHERE DC LIKE '%nowhere%'").empty());
}

TEST_F(SqlTest, NamesAndTextIgnoreLetterCase) {
    EXPECT_EQ(column("select yzbm from ZIPDEX where dhqh = '021'"), (Strings{"200000"}));
    EXPECT_EQ(column("SELECT N FROM Words WHERE W = 'abc'"), (Strings{"4", "5"}));
    EXPECT_EQ(column(u8"SELECT N FROM Words WHERE W = '\u00C4RGER'"), (Strings{"6", "7"}));
    EXPECT_EQ(column("SELECT N FROM Words WHERE W LIKE 'A%'"), (Strings{"2", "3", "4", "5"}));
    EXPECT_EQ(column("SELECT N FROM Words WHERE N = '3'"), (Strings{"3"}));
}

TEST_F(SqlTest, LikeWildcardsAndBrackets) {
    auto matching = [](const std::string& pattern) {
        return column("SELECT W FROM Words WHERE W LIKE '" + pattern + "'");
    };
    EXPECT_EQ(matching("a_b"), (Strings{"a_b", "axb"}));
    EXPECT_EQ(matching("a[_]b"), (Strings{"a_b"}));
    EXPECT_EQ(matching("%[%]"), (Strings{"50%"}));
    EXPECT_EQ(matching("[a-b]bc"), (Strings{"ABC", "abc"}));
    EXPECT_EQ(matching("[!a-z]%"), (Strings{"50%", u8"\u00C4rger", u8"\u00E4rger"}));
    EXPECT_EQ(matching("[xyz][[]y]"), (Strings{"x[y]"}));
    EXPECT_EQ(matching("o''b%"), (Strings{"O'Brien"}));
    EXPECT_EQ(matching("%\t%"), (Strings{"tab\there"}));
    EXPECT_EQ(matching("%%b%"), (Strings{"O'Brien", "a_b", "axb", "ABC", "abc", "tab\there"}));
    EXPECT_EQ(column(u8"SELECT DC FROM Zipdex WHERE PROVINCE LIKE '北_市'"),
              (Strings{u8"北京", u8"海淀区"}));
    EXPECT_EQ(column(u8"SELECT DC FROM Zipdex WHERE DC LIKE '__'").size(), 5u);
    EXPECT_EQ(matching("%").size(), 10u);
}

TEST_F(SqlTest, LogicFollowsPrecedenceAndNullIsUnknown) {
    EXPECT_EQ(column(u8"SELECT DC FROM Zipdex WHERE PROVINCE = '上海市' OR PROVINCE = '北京市' "
                     u8"AND YZBM = '100080'"),
              (Strings{u8"上海", u8"海淀区"}));
    EXPECT_EQ(column(u8"SELECT DC FROM Zipdex WHERE (PROVINCE = '上海市' OR PROVINCE = '北京市') "
                     u8"AND NOT (YZBM = '100080');"),
              (Strings{u8"北京", u8"上海"}));
    EXPECT_EQ(
        column("SELECT N FROM Words WHERE W <> 'abc' AND NOT W LIKE '%r%' AND W NOT LIKE 'a%'"),
        (Strings{"1", "8"}));
    EXPECT_EQ(column("SELECT DC FROM Zipdex WHERE NOT DHQH LIKE '0%'"), Strings{});
    EXPECT_EQ(column("SELECT N FROM Words WHERE W = 'nothing' OR N <> '99'").size(), 10u);
}

TEST_F(SqlTest, DistinctSortsWithTheCallersCollation) {
    EXPECT_EQ(
        query(*database_, "SELECT DISTINCT DHQH, PROVINCE FROM Zipdex WHERE DHQH LIKE '0[13]%'"),
        (Rows{{"010", u8"北京市"}, {"0311", u8"河北省"}, {"0312", u8"河北省"}}));
    // Complemented bytes sort descending (no province name is a prefix of another).
    auto descending = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(~c);
        return text;
    };
    auto rows = query(*database_, "SELECT DISTINCT PROVINCE FROM Zipdex", descending);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows.front()[0], u8"湖北省");
    // Equal as WHERE compares them: rows differing only in letter case count once.
    EXPECT_EQ(column(u8"SELECT DISTINCT W FROM Words WHERE W = 'abc' OR W = '\u00E4rger'"),
              (Strings{"ABC", u8"\u00C4rger"}));
}

TEST_F(SqlTest, CursorGivesColumnsAndValuesByName) {
    auto cursor = database_->execute("SELECT yzbm, Dc FROM zipdex WHERE DHQH = '020'");
    EXPECT_EQ(cursor->columnNames(), (Strings{"YZBM", "DC"}));
    EXPECT_THROW(cursor->value(0), jet::Error);
    ASSERT_TRUE(cursor->next());
    EXPECT_EQ(cursor->value("dc"), u8"广州");
    EXPECT_EQ(cursor->value("YZBM"), "510000");
    EXPECT_THROW(cursor->value("DHQH"), jet::Error);
    EXPECT_FALSE(cursor->next());
    EXPECT_TRUE(cursor->atEnd());
    EXPECT_FALSE(cursor->next());

    auto all = database_->execute("SELECT * FROM Zipdex WHERE YZBM = '430000'");
    EXPECT_EQ(all->columnNames(), (Strings{"PROVINCE", "DC", "YZBM", "DHQH"}));
    ASSERT_TRUE(all->next());
    EXPECT_EQ(all->value("DHQH"), "");
}

TEST_F(SqlTest, CursorOutlivesItsDatabase) {
    std::unique_ptr<jet::Cursor> cursor;
    {
        jet::Database database(file_->path());
        cursor = database.execute("SELECT YZBM FROM Zipdex");
    }
    std::size_t rows = 0;
    while (cursor->next())
        ++rows;
    EXPECT_EQ(rows, 7u);
}

TEST_F(SqlTest, ErrorsNameTheProblemAndPosition) {
    EXPECT_EQ(errorOf("SELECT * FROM [Nowhere]"), "unknown table 'Nowhere'");
    EXPECT_EQ(errorOf("SELECT CITY FROM Zipdex"), "unknown column 'CITY' at position 8");
    EXPECT_EQ(errorOf(u8"SELECT * FROM Zipdex WHERE 省 = 'x'"),
              u8"unknown column '省' at position 28");
    EXPECT_EQ(errorOf("SELECT FROM Zipdex"),
              "syntax error near 'FROM' at position 8: expected a column name or *");
    EXPECT_EQ(errorOf("SELECT * Zipdex"),
              "syntax error near 'Zipdex' at position 10: expected FROM");
    EXPECT_EQ(errorOf("SELECT * FROM Zipdex WHERE"),
              "syntax error at the end of the statement (position 27): expected a column name");
    EXPECT_EQ(errorOf("SELECT * FROM Zipdex WHERE DC LIKE '%O'Brien%'"),
              "syntax error near 'Brien' at position 40: expected the end of the statement");
    EXPECT_EQ(errorOf("SELECT * FROM Zipdex WHERE YZBM > '1'"),
              "syntax error near '>' at position 33");
    EXPECT_EQ(errorOf("SELECT * FROM Zipdex WHERE YZBM = 100000"),
              "syntax error near '100000' at position 35: expected a quoted text");
    EXPECT_EQ(errorOf("DELETE FROM Zipdex"),
              "syntax error near 'DELETE' at position 1: expected SELECT");
    EXPECT_EQ(errorOf(""),
              "syntax error at the end of the statement (position 1): expected SELECT");
    EXPECT_EQ(errorOf(u8"SELECT * FROM Zipdex WHERE DC = '北京"),
              u8"syntax error near ''北京': the text is not closed at position 33");
    EXPECT_EQ(errorOf("SELECT * FROM [Zipdex"),
              "syntax error near '[Zipdex': the bracketed name is not closed at position 15");
    EXPECT_EQ(errorOf("SELECT * FROM Zipdex WHERE DC LIKE '[abc'"),
              "invalid pattern in LIKE: '[' is not closed in '[abc'");
    EXPECT_EQ(errorOf("SELECT * FROM Zipdex WHERE (DC = 'x'"),
              "syntax error at the end of the statement (position 37): expected ')'");
}

} // namespace
