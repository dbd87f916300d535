#pragma once

#include "framework/Database.h"

// The one connection of the process; every query of the lookup runs on it.
extern CDatabase theDatabase;

extern const char kPostalDatabaseName[];

// Opens theDatabase on the Access file at path; raises CDBException when it cannot.
bool OpenPostalDatabase(const CString& path);

// The named column of the record set's current row.
CString GetFieldText(CRecordset& rows, const char* column);
