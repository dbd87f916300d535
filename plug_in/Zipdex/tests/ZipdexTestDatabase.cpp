#include "ZipdexTestDatabase.h"

#include <windows.h>

#include <jet/DatabaseWriter.h>

#include "PostalDatabase.h"

const char kLookupRows[] = u8"PROVINCE,DC,YZBM,DHQH\n"
                           u8"北京市,东城区,100010,010\n"
                           u8"浙江省,杭州市,310000,0571\n"
                           u8"北京市,西城区,100032,010\n"
                           u8"安徽省,合肥市,230000,0551\n"
                           u8"浙江省,宁波市,315000,0574\n"
                           u8"浙江省,温州市,325000,0577\n"
                           u8"测试省,百分_号%区,99,0999\n"
                           u8"测试省,百分号区,100,0998\n"
                           u8"测试省,O'Brien区,101,0997\n";

ZipdexTestDatabase::ZipdexTestDatabase(const std::string& csv) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    m_path.Format("%szipdex-test-%lu.mdb", temp, GetCurrentProcessId());
    jet::DatabaseWriter writer;
    writer.addTable(jet::tableFromCsv("Zipdex", csv));
    writer.save(m_path.str());
    OpenPostalDatabase(m_path);
}

ZipdexTestDatabase::~ZipdexTestDatabase() {
    theDatabase.Close();
    DeleteFileA(m_path);
}
