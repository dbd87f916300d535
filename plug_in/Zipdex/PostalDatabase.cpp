#include "PostalDatabase.h"

#include <jet/Cursor.h>

const char kPostalDatabaseName[] = "Tillwick.dat";

bool OpenPostalDatabase(CDatabase& database, const CString& path) {
    CString connect;
    connect.Format("Driver={Microsoft Access Driver (*.mdb)};dbq=%s;Uid=;Pwd=;",
                   static_cast<const char*>(path));
    return database.OpenEx(connect, CDatabase::noOdbcDialog) != FALSE;
}

CString GetFieldText(CRecordset& rows, const char* column) {
    CString value;
    rows.GetFieldValue(column, value);
    return value;
}

CString DescribeMissingPostalData(const CDatabase& database) {
    std::unique_ptr<jet::Cursor> rows;
    try {
        rows = database.Execute("SELECT * FROM [Zipdex]");
    } catch (const CDBException& error) {
        return "数据库中没有可用的 Zipdex 表（" + error.GetErrorMessage() + "）。";
    }
    CString missing;
    for (const char* column : {"PROVINCE", "DC", "YZBM", "DHQH"}) {
        bool found = false;
        for (const std::string& name : rows->columnNames())
            found = found || lstrcmpiA(name.c_str(), column) == 0;
        if (!found)
            missing += (missing.IsEmpty() ? "" : "、") + CString(column);
    }
    return missing.IsEmpty() ? missing : "数据库的 Zipdex 表缺少列：" + missing + "。";
}
