#pragma once

#include <windows.h>

#include <memory>

#include "framework/base/Exception.h"
#include "framework/base/String.h"

namespace jet {
class Database;
class Cursor;
} // namespace jet

// A failure of the database layer, carrying the engine's message.
class CDBException : public CException {
public:
    using CException::CException;
};

// A connection to an Access database named by the dbq= part of an ODBC-style connection
// string. Statements and values are the program's narrow text; the engine speaks UTF-8.
class CDatabase {
public:
    enum { openExclusive = 1, openReadOnly = 2, useCursorLib = 4, noOdbcDialog = 8 };

    CDatabase();
    ~CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;

    // Raises CDBException when the driver is not ours or the file cannot be opened.
    BOOL OpenEx(const char* connect, DWORD options = 0);
    BOOL IsOpen() const { return m_pDatabase != nullptr; }
    void Close();

    // Runs a statement; DISTINCT orders by the bytes of the narrow (GBK) text.
    std::unique_ptr<jet::Cursor> Execute(const char* statement) const;

private:
    std::unique_ptr<jet::Database> m_pDatabase;
};

constexpr UINT AFX_DB_USE_DEFAULT_TYPE = 0xFFFFFFFF;

// The rows of one statement, positioned on the first row after Open.
class CRecordset {
public:
    enum { snapshot = 0, dynaset = 1, forwardOnly = 3 };

    explicit CRecordset(CDatabase* database);
    ~CRecordset();
    CRecordset(const CRecordset&) = delete;
    CRecordset& operator=(const CRecordset&) = delete;

    BOOL Open(UINT openType = AFX_DB_USE_DEFAULT_TYPE, const char* statement = nullptr,
              DWORD options = 0);
    BOOL IsOpen() const { return m_pCursor != nullptr; }
    BOOL IsEOF() const;
    void MoveNext();
    void GetFieldValue(const char* columnName, CString& value) const;
    void Close();

private:
    CDatabase* m_pDatabase;
    std::unique_ptr<jet::Cursor> m_pCursor;
};
