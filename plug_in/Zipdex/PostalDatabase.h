#pragma once

#include "framework/database/Database.h"

extern const char kPostalDatabaseName[];

// Opens the database on the Access file at path; raises CDBException when it cannot.
bool OpenPostalDatabase(CDatabase& database, const CString& path);

// The named column of the record set's current row.
CString GetFieldText(CRecordset& rows, const char* column);

// What the lookup needs of the database and does not find there, as a sentence for the user:
// the Zipdex table (with the engine's reason) or its missing columns; empty when all is there.
CString DescribeMissingPostalData(const CDatabase& database);
