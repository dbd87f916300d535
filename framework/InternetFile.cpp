#include "framework/InternetFile.h"

#include <algorithm>
#include <cstring>

#include "framework/String.h"

// What a WinINet worker may still write into after a wait was given up: it lives until the
// request handle reports that it is closing, never on a caller's stack.
struct InternetPending {
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD error = 0;
    DWORD available = 0;
    DWORD read = 0;
    BYTE chunk[4096] = {};
};

namespace {

void CALLBACK OnRequestStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
    auto* pending = reinterpret_cast<InternetPending*>(context);
    if (!pending)
        return;
    if (status == INTERNET_STATUS_REQUEST_COMPLETE) {
        const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        pending->error = result->dwResult ? 0 : std::max<DWORD>(result->dwError, 1);
        ::SetEvent(pending->done);
    } else if (status == INTERNET_STATUS_HANDLE_CLOSING) {
        ::CloseHandle(pending->done);
        delete pending;
    }
}

// Digits with optional blanks around them; FALSE for anything else or a number beyond 64 bits.
BOOL ParseLength(const char* text, ULONGLONG& length) {
    while (*text == ' ')
        ++text;
    if (*text < '0' || *text > '9')
        return FALSE;
    ULONGLONG value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        const ULONGLONG digit = static_cast<ULONGLONG>(*text - '0');
        if (value > (~0ULL - digit) / 10)
            return FALSE;
        value = value * 10 + digit;
    }
    while (*text == ' ')
        ++text;
    if (*text)
        return FALSE;
    length = value;
    return TRUE;
}

CString Part(const char* text, DWORD length) {
    return text ? CString(text, static_cast<int>(length)) : CString();
}

} // namespace

void CInternetFile::Listen(HINTERNET session) {
    ::InternetSetStatusCallbackA(session, OnRequestStatus);
}

BOOL CInternetFile::Open(HINTERNET session, const char* url, DWORD flags, const char* headers,
                         DWORD headersLength) {
    // Lengths of 1 and no buffers: the parts come back as pointers into url.
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!::InternetCrackUrlA(url, 0, 0, &parts) || parts.dwHostNameLength == 0 ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
        return FALSE;
    const CString object = Part(parts.lpszUrlPath, parts.dwUrlPathLength) +
                           Part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    m_connection.Reset(::InternetConnectA(session, Part(parts.lpszHostName, parts.dwHostNameLength),
                                          parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0,
                                          0));
    if (!m_connection)
        return FALSE;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    m_pending = new InternetPending;
    m_request.Reset(::HttpOpenRequestA(
        m_connection, "GET", object.IsEmpty() ? "/" : static_cast<const char*>(object), nullptr,
        nullptr, nullptr, flags, reinterpret_cast<DWORD_PTR>(m_pending)));
    if (!m_request) {
        ::CloseHandle(m_pending->done);
        delete m_pending;
        m_pending = nullptr;
        return FALSE;
    }
    m_dwPeriodStart = ::GetTickCount();
    m_dwPeriodBytes = 0;
    ::ResetEvent(m_pending->done);
    return Finish(::HttpSendRequestA(m_request, headers, headers ? headersLength : 0, nullptr, 0));
}

void CInternetFile::Close() {
    // The request's closing notice frees m_pending, at once or once the worker lets go.
    m_request.Reset();
    m_pending = nullptr;
    m_connection.Reset();
}

UINT CInternetFile::Read(void* buffer, UINT count) {
    m_dwReadError = m_request ? 0 : ERROR_INVALID_HANDLE;
    if (!m_request || count == 0)
        return 0;
    if (WaitForData()) {
        if (m_pending->available == 0)
            return 0;
        ::ResetEvent(m_pending->done);
        m_pending->read = 0;
        const DWORD wanted =
            std::min<DWORD>({count, m_pending->available, sizeof m_pending->chunk});
        if (Finish(::InternetReadFile(m_request, m_pending->chunk, wanted, &m_pending->read))) {
            std::memcpy(buffer, m_pending->chunk, m_pending->read);
            m_dwPeriodBytes += m_pending->read;
            return m_pending->read;
        }
    }
    m_dwReadError = ::GetLastError();
    Close();
    return 0;
}

BOOL CInternetFile::WaitForData() {
    // A query that went on in the background reports only that data came; asked again, it
    // tells at once how much.
    for (;;) {
        ::ResetEvent(m_pending->done);
        const BOOL known = ::InternetQueryDataAvailable(m_request, &m_pending->available, 0, 0);
        if (!Finish(known))
            return FALSE;
        if (known)
            return TRUE;
    }
}

BOOL CInternetFile::Finish(BOOL started) {
    if (!started && ::GetLastError() != ERROR_IO_PENDING)
        return FALSE;
    for (;;) {
        const DWORD now = ::GetTickCount();
        if (now - m_dwPeriodStart >= m_limits.periodMs) {
            if (m_dwPeriodBytes < m_limits.minBytes) {
                ::SetLastError(ERROR_INTERNET_TIMEOUT);
                return FALSE;
            }
            m_dwPeriodStart = now;
            m_dwPeriodBytes = 0;
        }
        if (started)
            return TRUE;
        const DWORD left = m_limits.periodMs - (now - m_dwPeriodStart);
        if (::WaitForSingleObject(m_pending->done, left) == WAIT_OBJECT_0) {
            ::SetLastError(m_pending->error);
            return m_pending->error == 0;
        }
    }
}

BOOL CInternetFile::QueryInfoStatusCode(DWORD& status) const {
    DWORD size = sizeof status;
    return m_request && ::HttpQueryInfoA(m_request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                         &status, &size, nullptr);
}

BOOL CInternetFile::QueryContentLength(ULONGLONG& length) const {
    // Asked first with no room, WinINet tells the size the header's text needs.
    DWORD size = 0;
    if (!m_request ||
        ::HttpQueryInfoA(m_request, HTTP_QUERY_CONTENT_LENGTH, nullptr, &size, nullptr) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        ::SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
        return FALSE;
    }
    CString text;
    const BOOL read = ::HttpQueryInfoA(m_request, HTTP_QUERY_CONTENT_LENGTH,
                                       text.GetBuffer(static_cast<int>(size)), &size, nullptr);
    text.ReleaseBuffer(read ? static_cast<int>(size) : 0);
    if (!read || !ParseLength(text, length)) {
        ::SetLastError(ERROR_HTTP_INVALID_HEADER);
        return FALSE;
    }
    return TRUE;
}
