#include <gtest/gtest.h>

#include <windows.h>

#include <jet/Cursor.h>
#include <jet/DatabaseWriter.h>

#include "framework/database/Database.h"
#include "framework/base/Encoding.h"
#include "TestFiles.h"

namespace {

class DatabaseAccess : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        jet::DatabaseWriter writer;
        writer.addTable(jet::tableFromCsv("Zipdex", u8"PROVINCE,DC,YZBM,DHQH\n"
                                                    u8"北京市,东城区,100010,010\n"
                                                    u8"浙江省,杭州市,310000,0571\n"
                                                    u8"安徽省,合肥市,230000,0551\n"
                                                    u8"浙江省,宁波市,315000,0574\n"));
        writer.save(path);
    }
    static void TearDownTestSuite() { DeleteFileA(path.c_str()); }
    void SetUp() override {
        CString connect;
        connect.Format("Driver={Microsoft Access Driver (*.mdb)};dbq=%s;Uid=;Pwd=;", path.c_str());
        ASSERT_TRUE(database.OpenEx(connect, CDatabase::noOdbcDialog));
    }
    std::vector<CString> Column(const char* statement, const char* column) {
        std::vector<CString> values;
        CRecordset rows(&database);
        rows.Open(AFX_DB_USE_DEFAULT_TYPE, statement);
        while (!rows.IsEOF()) {
            CString value;
            rows.GetFieldValue(column, value);
            values.push_back(value);
            rows.MoveNext();
        }
        return values;
    }
    inline static const std::string path = test_files::TempPath("框架测试.mdb");
    CDatabase database;
};

// Values come as GBK text, rows in storage order; DISTINCT sorts in GBK byte order, which puts
// level-1 characters in pinyin order: an (安) < bei (北) < zhe (浙).
TEST_F(DatabaseAccess, RowsComeInStorageOrderAndDistinctSortsInGbkByteOrder) {
    EXPECT_EQ((std::vector<CString>{"杭州市", "宁波市"}),
              Column("SELECT * FROM [zipdex] WHERE PROVINCE = '浙江省'", "DC"));
    EXPECT_EQ((std::vector<CString>{"安徽省", "北京市", "浙江省"}),
              Column("SELECT DISTINCT PROVINCE FROM [Zipdex]", "PROVINCE"));
    CRecordset rows(&database);
    rows.Open(AFX_DB_USE_DEFAULT_TYPE, "SELECT * FROM [zipdex] WHERE DC LIKE '%上海%'");
    EXPECT_TRUE(rows.IsEOF());
    EXPECT_THROW(rows.MoveNext(), CDBException);
}

TEST_F(DatabaseAccess, ErrorsCarryTheEnginesMessage) {
    CRecordset rows(&database);
    try {
        rows.Open(AFX_DB_USE_DEFAULT_TYPE, "SELECT * FROM [nowhere]");
        FAIL() << "no error for an unknown table";
    } catch (const CDBException& error) {
        EXPECT_NE(-1, error.GetErrorMessage().Find("nowhere")) << error.GetErrorMessage();
    }
    rows.Open(AFX_DB_USE_DEFAULT_TYPE, "SELECT * FROM [zipdex]");
    CString value;
    EXPECT_THROW(rows.GetFieldValue("NOSUCH", value), CDBException);
}

TEST(DatabaseOpen, FailuresRaiseWithTheReason) {
    CDatabase database;
    EXPECT_THROW(database.OpenEx("Driver={SQL Server};dbq=C:\\x.mdb;"), CDBException);
    try {
        database.OpenEx(
            "Driver={Microsoft Access Driver (*.mdb)};dbq=C:\\不存在\\Tillwick.dat;Uid=;Pwd=;");
        FAIL() << "opened a missing file";
    } catch (const CDBException& error) {
        EXPECT_FALSE(error.GetErrorMessage().IsEmpty());
    }
    EXPECT_FALSE(database.IsOpen());
}

} // namespace
