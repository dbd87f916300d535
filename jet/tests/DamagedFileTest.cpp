#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::size_t pageSize = 4096;

// Opens a file and reads every row of every table; the engine may refuse, never crash.
std::string readAll(const std::string& path) {
    try {
        jet::Database database(path);
        for (const std::string& table : database.tableNames()) {
            auto cursor = database.execute("SELECT * FROM [" + table + "]");
            while (cursor->next()) {
            }
        }
    } catch (const jet::Error& error) {
        return error.what();
    }
    return "read";
}

class DamagedFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        jet::DatabaseWriter writer;
        jet::TableData table = jet_test::zipdexTable();
        for (int i = 0; i < 400; ++i)
            table.rows.push_back(table.rows[i % 7]);
        writer.addTable(table);
        writer.save(file_.path());
        good_ = jet_test::readBytes(file_.path());
        for (std::size_t page = 0; page < good_.size() / pageSize; ++page) {
            const char* p = good_.data() + page * pageSize;
            if (p[0] == 2 && static_cast<std::uint8_t>(p[40]) == 0x4E)
                definitionPage_ = page;
        }
        ASSERT_NE(definitionPage_, 0u);
        dataPage_ = definitionPage_ + 1;
    }

    std::string readWith(const std::string& bytes) {
        jet_test::writeBytes(file_.path(), bytes);
        return readAll(file_.path());
    }

    std::string patched(std::size_t at, std::initializer_list<std::uint8_t> bytes) const {
        std::string copy = good_;
        for (std::uint8_t b : bytes)
            copy[at++] = static_cast<char>(b);
        return copy;
    }

    jet_test::TempFile file_{"damaged.mdb"};
    std::string good_;
    std::size_t definitionPage_ = 0;
    std::size_t dataPage_ = 0;
};

TEST_F(DamagedFileTest, ForeignAndEmptyFiles) {
    EXPECT_EQ(readAll("jet-test-no-such-file.mdb"),
              "cannot open database file 'jet-test-no-such-file.mdb'");
    EXPECT_EQ(readWith(""), "not an Access database: the file is empty");
    EXPECT_EQ(readWith("PK\3\4 this is a zip file, not a database" + std::string(5000, 'z')),
              "not an Access database");
    EXPECT_EQ(readWith(good_.substr(0, 100)), "file is damaged: it ends inside the header page");
}

// The header's signature and version byte say which Access wrote the file; a version no Access
// wrote under that signature is damage, not a newer format.
TEST_F(DamagedFileTest, VersionBytes) {
    auto withVersion = [this](const std::string& signature, int version) {
        std::string bytes = good_;
        bytes.replace(4, signature.size(), signature);
        bytes[0x14] = static_cast<char>(version);
        return readWith(bytes);
    };
    const std::string jet = "Standard Jet DB", ace = "Standard ACE DB";
    const std::string damaged = "file is damaged: the header names ";
    for (int version : {2, 3, 5, 255})
        EXPECT_EQ(withVersion(jet, version),
                  damaged + "Jet version " + std::to_string(version) + ", which no Access wrote");
    for (int version : {1, 7})
        EXPECT_EQ(withVersion(ace, version), damaged + "Access 2007 and later version " +
                                                 std::to_string(version) +
                                                 ", which no Access wrote");
    for (int version : {2, 3, 6})
        EXPECT_EQ(withVersion(ace, version), "read") << version;
    EXPECT_EQ(withVersion(jet, 1), "read");
    // A password encrypts every page of an Access 2007 or later file.
    for (std::size_t i = 2 * pageSize; i < good_.size(); ++i)
        good_[i] = static_cast<char>(i * 167 + 13);
    EXPECT_EQ(withVersion(ace, 2), "cannot read the file: it is an Access 2007 or later database "
                                   "encrypted with a password, which this engine cannot decrypt");
}

TEST_F(DamagedFileTest, TruncatedFiles) {
    EXPECT_EQ(readWith(good_), "read");
    for (std::size_t size = pageSize; size < good_.size(); size += pageSize / 2)
        EXPECT_NE(readWith(good_.substr(0, size)), "read") << "cut at " << size;
    EXPECT_NE(readWith(good_.substr(0, good_.size() - 1)), "read");
}

TEST_F(DamagedFileTest, PointersOutsideTheFile) {
    // The table's page map pointer: row 0 of page 0xFFFFFF.
    EXPECT_EQ(readWith(patched(definitionPage_ * pageSize + 55, {0, 0xFF, 0xFF, 0xFF})),
              "file is damaged: page 16777215 lies outside the file");
    // The catalog's definition continuing on a page far away.
    EXPECT_EQ(readWith(patched(pageSize * 2 + 4, {0xFE, 0xFF, 0xFF, 0x00})),
              "file is damaged: page 16777214 lies outside the file");
}

TEST_F(DamagedFileTest, LoopsInPageChains) {
    std::uint8_t self = static_cast<std::uint8_t>(definitionPage_);
    EXPECT_NE(readWith(patched(definitionPage_ * pageSize + 4, {self, 0, 0, 0})).find("loops"),
              std::string::npos);
    // An overflow pointer that leads back to itself.
    std::string loop = good_;
    std::size_t slot = dataPage_ * pageSize + 14;
    std::size_t rowStart = static_cast<std::uint8_t>(loop[slot]) |
                           (static_cast<std::uint8_t>(loop[slot + 1]) & 0x1F) << 8;
    loop[slot + 1] = static_cast<char>(loop[slot + 1] | 0x40);
    std::size_t row = dataPage_ * pageSize + rowStart;
    loop[row] = 0;
    loop[row + 1] = static_cast<char>(dataPage_);
    loop[row + 2] = static_cast<char>(dataPage_ >> 8);
    loop[row + 3] = 0;
    EXPECT_EQ(readWith(loop), "file is damaged: overflow rows form a loop");
}

TEST_F(DamagedFileTest, LengthsLargerThanThePage) {
    std::size_t page = dataPage_ * pageSize;
    EXPECT_NE(readWith(patched(page + 12, {0xFF, 0xFF})).find("claims 65535 rows"),
              std::string::npos);
    EXPECT_NE(readWith(patched(page + 14, {0xFF, 0x1F})).find("impossible offset"),
              std::string::npos);
    std::size_t rowStart = static_cast<std::uint8_t>(good_[page + 14]) |
                           (static_cast<std::uint8_t>(good_[page + 15]) & 0x1F) << 8;
    EXPECT_NE(readWith(patched(page + rowStart, {0xFF, 0x7F})), "read");
    // The definition's column count far beyond its page.
    EXPECT_NE(readWith(patched(definitionPage_ * pageSize + 45, {0xFF, 0xFF})), "read");
}

} // namespace
