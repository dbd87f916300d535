#include "ZipdexTestSupport.h"

#include <windows.h>

#include <jet/DatabaseWriter.h>

#include "PostalDatabase.h"

LookupDialogTest::LookupDialogTest() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    m_databasePath.Format("%szipdex-test-%lu.mdb", temp, GetCurrentProcessId());
    jet::DatabaseWriter writer;
    writer.addTable(jet::tableFromCsv("Zipdex", u8"PROVINCE,DC,YZBM,DHQH\n"
                                                u8"北京市,东城区,100010,010\n"
                                                u8"浙江省,杭州市,310000,0571\n"
                                                u8"北京市,西城区,100032,010\n"
                                                u8"安徽省,合肥市,230000,0551\n"
                                                u8"浙江省,宁波市,315000,0574\n"
                                                u8"浙江省,温州市,325000,0577\n"
                                                u8"测试省,百分_号%区,99,0999\n"
                                                u8"测试省,百分号区,100,0998\n"
                                                u8"测试省,O'Brien区,101,0997\n"));
    writer.save(m_databasePath.str());
    OpenPostalDatabase(database, m_databasePath);
}

LookupDialogTest::~LookupDialogTest() {
    database.Close();
    DeleteFileA(m_databasePath);
}

Texts ColumnTexts(const CListCtrl& list, int column) {
    Texts texts;
    for (int row = 0; row < list.GetItemCount(); ++row)
        texts.push_back(list.GetItemText(row, column).str());
    return texts;
}
