#include "PostalDatabase.h"

CDatabase theDatabase;

const char kPostalDatabaseName[] = "Tillwick.dat";

bool OpenPostalDatabase(const CString& path) {
    CString connect;
    connect.Format("Driver={Microsoft Access Driver (*.mdb)};dbq=%s;Uid=;Pwd=;",
                   static_cast<const char*>(path));
    return theDatabase.OpenEx(connect, CDatabase::noOdbcDialog) != FALSE;
}

CString GetFieldText(CRecordset& rows, const char* column) {
    CString value;
    rows.GetFieldValue(column, value);
    return value;
}
