#include "framework/InternetFile.h"

#include <cstdlib>

UINT CInternetFile::Read(void* buffer, UINT count) {
    DWORD read = 0;
    if (!m_request || !::InternetReadFile(m_request, buffer, count, &read)) {
        m_dwReadError = m_request ? ::GetLastError() : ERROR_INVALID_HANDLE;
        return 0;
    }
    m_dwReadError = 0;
    return read;
}

BOOL CInternetFile::QueryInfoStatusCode(DWORD& status) const {
    DWORD size = sizeof status;
    return m_request && ::HttpQueryInfoA(m_request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                         &status, &size, nullptr);
}

BOOL CInternetFile::QueryContentLength(ULONGLONG& length) const {
    char text[32] = {};
    DWORD size = sizeof text;
    if (!m_request || !::HttpQueryInfoA(m_request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return FALSE;
    char* end = nullptr;
    length = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}
