#include "framework/database/Database.h"

#include <exception>

#include <jet/Database.h>

#include "framework/base/Encoding.h"

namespace {

const char kAccessDriver[] = "{Microsoft Access Driver (*.mdb)}";

// The value of one "key=value" part of a connection string; keys ignore letter case.
CString ConnectionValue(const CString& connect, const char* key) {
    int start = 0;
    while (start < connect.GetLength()) {
        int end = connect.Find(';', start);
        if (end < 0)
            end = connect.GetLength();
        const CString part = connect.Mid(start, end - start);
        const int equals = part.Find('=');
        if (equals > 0 && lstrcmpiA(part.Left(equals), key) == 0)
            return part.Mid(equals + 1);
        start = end + 1;
    }
    return CString();
}

[[noreturn]] void Raise(const std::exception& error) {
    throw CDBException(Utf8ToAnsi(error.what()));
}

} // namespace

CDatabase::CDatabase() = default;

CDatabase::~CDatabase() = default;

BOOL CDatabase::OpenEx(const char* connect, DWORD) {
    const CString settings(connect);
    if (lstrcmpiA(ConnectionValue(settings, "Driver"), kAccessDriver) != 0)
        throw CDBException("Data source name not found and no default driver specified");
    const CString path = ConnectionValue(settings, "dbq");
    if (path.IsEmpty())
        throw CDBException("No database file named (dbq=)");
    try {
        m_pDatabase = std::make_unique<jet::Database>(path.str());
    } catch (const std::exception& error) {
        Raise(error);
    }
    return TRUE;
}

void CDatabase::Close() {
    m_pDatabase.reset();
}

std::unique_ptr<jet::Cursor> CDatabase::Execute(const char* statement) const {
    if (!m_pDatabase)
        throw CDBException("The database is not open");
    const jet::Collation gbkByteOrder = [](const std::string& text) {
        return Utf8ToAnsi(text).str();
    };
    try {
        return m_pDatabase->execute(AnsiToUtf8(statement), gbkByteOrder);
    } catch (const std::exception& error) {
        Raise(error);
    }
}

CRecordset::CRecordset(CDatabase* database) : m_pDatabase(database) {}

CRecordset::~CRecordset() = default;

BOOL CRecordset::Open(UINT, const char* statement, DWORD) {
    m_pCursor = m_pDatabase->Execute(statement ? statement : "");
    try {
        m_pCursor->next();
    } catch (const std::exception& error) {
        m_pCursor.reset();
        Raise(error);
    }
    return TRUE;
}

BOOL CRecordset::IsEOF() const {
    return !m_pCursor || m_pCursor->atEnd();
}

void CRecordset::MoveNext() {
    if (IsEOF())
        throw CDBException("No current record");
    try {
        m_pCursor->next();
    } catch (const std::exception& error) {
        Raise(error);
    }
}

void CRecordset::GetFieldValue(const char* columnName, CString& value) const {
    if (IsEOF())
        throw CDBException("No current record");
    try {
        value = Utf8ToAnsi(m_pCursor->value(AnsiToUtf8(columnName)));
    } catch (const std::exception& error) {
        Raise(error);
    }
}

void CRecordset::Close() {
    m_pCursor.reset();
}
