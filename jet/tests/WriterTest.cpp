#include "TestDatabase.h"
#include "jet/Csv.h"

#include <gtest/gtest.h>

using jet_test::query;
using jet_test::Rows;

namespace {

std::string errorOfAdd(jet::TableData table) {
    try {
        jet::DatabaseWriter().addTable(std::move(table));
    } catch (const jet::Error& error) {
        return error.what();
    }
    return "no error";
}

// Rows long enough to need many data pages, with every kind of text the writer must keep.
jet::TableData manyRows(std::size_t count) {
    jet::TableData table;
    table.name = u8"邮编";
    table.columns = {{"Name"}, {"Code", jet::ColumnType::LongInteger}, {"Note"}};
    const std::string samples[] = {u8"北京市海淀区",
                                   u8"Ärger über Öl",
                                   "plain ascii",
                                   u8"mixed 中文 and ascii",
                                   u8"emoji \U0001F600 outside BMP",
                                   std::string(255, 'x')};
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<std::string> note;
        if (i % 5 != 0)
            note = samples[i % 6].substr(0, 240) + " " + std::to_string(i);
        std::optional<std::string> code;
        if (i % 7 != 0)
            code = std::to_string(static_cast<long long>(i) * 1000003 % 2147483647 - 1000000000);
        table.rows.push_back({samples[(i + 3) % 6].substr(0, 200), code, note});
    }
    table.rows.push_back({std::string("-"), std::string("-2147483648"), std::string("")});
    table.rows.push_back({std::string("+"), std::string("2147483647"), std::nullopt});
    return table;
}

TEST(WriterTest, RoundTripAcrossManyPages) {
    jet_test::TempFile file("roundtrip.mdb");
    jet::TableData table = manyRows(3000);
    jet::TableData longs;
    longs.name = "OnlyLongs";
    longs.columns = {{"A", jet::ColumnType::LongInteger}, {"B", jet::ColumnType::LongInteger}};
    longs.rows = {{std::string("1"), std::nullopt}, {std::string("+7"), std::string("-0")}};

    jet::DatabaseWriter writer;
    writer.addTable(table);
    writer.addTable(longs);
    writer.save(file.path());
    EXPECT_GT(jet_test::readBytes(file.path()).size(), 100u * 4096);

    jet::Database database(file.path());
    EXPECT_EQ(database.jetVersion(), 4);
    EXPECT_EQ(database.tableNames(), (std::vector<std::string>{u8"邮编", "OnlyLongs"}));
    Rows rows = query(database, u8"SELECT * FROM [邮编]");
    ASSERT_EQ(rows.size(), table.rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < 3; ++c)
            ASSERT_EQ(rows[r][c], table.rows[r][c].value_or("")) << "row " << r << " column " << c;
    EXPECT_EQ(query(database, "SELECT * FROM OnlyLongs"), (Rows{{"1", ""}, {"7", "0"}}));
}

TEST(WriterTest, RejectsBadTables) {
    jet::TableData table;
    table.name = "T";
    table.columns = {{"Text"}, {"Number", jet::ColumnType::LongInteger}};
    auto with = [&table](std::optional<std::string> text, std::optional<std::string> number) {
        jet::TableData copy = table;
        copy.rows.push_back({std::move(text), std::move(number)});
        return copy;
    };
    EXPECT_EQ(errorOfAdd(with(std::nullopt, std::string("12a"))),
              "table 'T', row 1, column 'Number': '12a' is not a long integer");
    EXPECT_EQ(errorOfAdd(with(std::nullopt, std::string("2147483648"))),
              "table 'T', row 1, column 'Number': '2147483648' is not a long integer");
    EXPECT_EQ(errorOfAdd(with(std::string(255, 'x'), std::string("-2147483648"))), "no error");
    EXPECT_EQ(errorOfAdd(with(std::string(256, 'x'), std::nullopt)),
              "table 'T', row 1, column 'Text': the text is longer than 255 characters");

    jet::TableData twice = table;
    twice.columns[1].name = "TEXT";
    EXPECT_EQ(errorOfAdd(twice), "table 'T' has two columns named 'TEXT'");
    jet::TableData shortRow = table;
    shortRow.rows.push_back({std::string("a")});
    EXPECT_EQ(errorOfAdd(shortRow), "table 'T', row 1 has 1 values for 2 columns");
    jet::TableData system = table;
    system.name = "MSysObjects";
    EXPECT_EQ(errorOfAdd(system), "table name 'MSysObjects' is reserved for system tables");
    jet::TableData unnamed = table;
    unnamed.columns[0].name = "";
    EXPECT_EQ(errorOfAdd(unnamed), "column name '' must have 1 to 64 characters");

    jet::DatabaseWriter writer;
    writer.addTable(table);
    jet::TableData sameName = table;
    sameName.name = "t";
    EXPECT_THROW(writer.addTable(sameName), jet::Error);
}

TEST(WriterTest, RowsLargerThanAPageFailBeforeWriting) {
    jet::TableData wide;
    wide.name = "Wide";
    std::vector<std::optional<std::string>> row;
    std::string chinese;
    for (int i = 0; i < 255; ++i)
        chinese += u8"中";
    for (int c = 0; c < 10; ++c) {
        wide.columns.push_back({"C" + std::to_string(c)});
        row.push_back(chinese);
    }
    wide.rows.push_back(row);
    jet::DatabaseWriter writer;
    writer.addTable(wide);
    jet_test::TempFile file("wide.mdb");
    EXPECT_THROW(writer.save(file.path()), jet::Error);
    EXPECT_TRUE(jet_test::readBytes(file.path()).empty());
}

// The last record may end without a line break.
TEST(WriterTest, TableFromCsv) {
    jet::TableData table = jet::tableFromCsv("Zipdex", "\xEF\xBB\xBFPROVINCE,ID:long,NOTE\r\n" +
                                                           std::string(u8"北京市") +
                                                           ",1,\"a, \"\"quoted\"\"\nnote\"\r\n,,");
    ASSERT_EQ(table.columns.size(), 3u);
    EXPECT_EQ(table.columns[0].name, "PROVINCE");
    EXPECT_EQ(table.columns[1].name, "ID");
    EXPECT_EQ(table.columns[1].type, jet::ColumnType::LongInteger);
    EXPECT_EQ(table.columns[2].type, jet::ColumnType::Text);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0][0], std::optional<std::string>(u8"北京市"));
    EXPECT_EQ(table.rows[0][2], std::optional<std::string>("a, \"quoted\"\nnote"));
    EXPECT_EQ(table.rows[1], (std::vector<std::optional<std::string>>(3)));

    EXPECT_THROW(jet::tableFromCsv("T", "A,B\n1\n"), jet::Error);
    EXPECT_THROW(jet::tableFromCsv("T", "A\n\"open\n"), jet::Error);
    EXPECT_THROW(jet::tableFromCsv("T", ""), jet::Error);
}

TEST(WriterTest, CsvRecordsQuoteOnlyWhatNeedsIt) {
    EXPECT_EQ(jet::csv::formatRecord({"plain", "", u8"中文", "a,b", "say \"hi\"", "two\nlines"}),
              u8"plain,,中文,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\"\r\n");
}

} // namespace
