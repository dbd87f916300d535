#pragma once

#include "framework/Database.h"

// The one connection of the process; every query of the lookup runs on it.
extern CDatabase theDatabase;

extern const char kPostalDatabaseName[];

// Opens theDatabase on the Access file at path; raises CDBException when it cannot.
bool OpenPostalDatabase(const CString& path);

// The named column of the record set's current row.
CString GetFieldText(CRecordset& rows, const char* column);

// What the lookup needs of theDatabase and does not find there, as a sentence for the user:
// the Zipdex table (with the engine's reason) or its missing columns; empty when all is there.
CString DescribeMissingPostalData();
