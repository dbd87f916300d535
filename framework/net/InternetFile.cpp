#include "framework/net/InternetFile.h"

#include <algorithm>
#include <cstring>

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

// The longest header text we read: a status, a length, a nearby address.
constexpr DWORD kMaxHeaderBytes = 8192;

} // namespace

void InternetTransferClock::Start() {
    if (started)
        return;
    started = true;
    start = periodStart = ::GetTickCount();
    periodBytes = 0;
    totalBytes = 0;
}

void InternetTransferClock::Count(DWORD bytes) {
    periodBytes += bytes;
    totalBytes += bytes;
}

DWORD InternetTransferClock::TimeLeft() {
    const DWORD now = ::GetTickCount();
    if (now - periodStart >= limits.periodMs) {
        if (periodBytes < limits.minBytes)
            return 0;
        periodStart = now;
        periodBytes = 0;
    }
    const DWORD elapsed = now - start;
    // When the average falls below its floor if nothing more comes.
    const ULONGLONG averageDeadline =
        limits.minAverageBytes == 0
            ? ~0ULL
            : std::max<ULONGLONG>(limits.periodMs,
                                  totalBytes * limits.periodMs / limits.minAverageBytes);
    if (elapsed >= limits.totalMs || elapsed >= averageDeadline)
        return 0;
    return static_cast<DWORD>(
        std::min<ULONGLONG>({limits.periodMs - (now - periodStart), limits.totalMs - elapsed,
                             averageDeadline - elapsed}));
}

BOOL AfxParseContentLength(const char* text, ULONGLONG& length) {
    if (!text)
        return FALSE;
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

BOOL AfxParseHttpAddress(const char* url, HttpAddress& address) {
    // Lengths of 1 and no buffers: the parts come back as pointers into url.
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!url || !*url || !::InternetCrackUrlA(url, 0, 0, &parts) || parts.dwHostNameLength == 0 ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
        return FALSE;
    const auto part = [](const char* text, DWORD length) {
        return text ? CString(text, static_cast<int>(length)) : CString();
    };
    const CString path = part(parts.lpszUrlPath, parts.dwUrlPathLength);
    address.server = part(parts.lpszHostName, parts.dwHostNameLength);
    address.object =
        (path.IsEmpty() ? CString("/") : path) + part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    address.port = parts.nPort;
    address.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return TRUE;
}

CString AfxAppendToPath(const char* address, const char* suffix) {
    HttpAddress parsed;
    const char* rest = AfxParseHttpAddress(address, parsed) ? std::strpbrk(address, "?#") : nullptr;
    if (!rest)
        return CString(address) + suffix;
    return CString(address, static_cast<int>(rest - address)) + suffix + rest;
}

void CInternetFile::Listen(HINTERNET session) {
    ::InternetSetStatusCallbackA(session, OnRequestStatus);
}

BOOL CInternetFile::Open(HINTERNET session, const HttpAddress& address, DWORD flags,
                         const char* headers, DWORD headersLength) {
    m_connection.Reset(::InternetConnectA(session, address.server, address.port, nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, 0));
    if (!m_connection)
        return FALSE;
    if (address.secure)
        flags |= INTERNET_FLAG_SECURE;
    m_pending = new InternetPending;
    m_request.Reset(::HttpOpenRequestA(m_connection, "GET", address.object, nullptr, nullptr,
                                       nullptr, flags, reinterpret_cast<DWORD_PTR>(m_pending)));
    if (!m_request) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(m_pending->done);
        delete m_pending;
        m_pending = nullptr;
        ::SetLastError(error);
        return FALSE;
    }
    m_clock->Start();
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
            m_clock->Count(m_pending->read);
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
        const DWORD left = m_clock->TimeLeft();
        if (left == 0) {
            ::SetLastError(ERROR_TIMEOUT);
            return FALSE;
        }
        if (started)
            return TRUE;
        const DWORD woke = m_onMessages ? ::MsgWaitForMultipleObjects(1, &m_pending->done, FALSE,
                                                                      left, QS_ALLINPUT)
                                        : ::WaitForSingleObject(m_pending->done, left);
        if (woke == WAIT_OBJECT_0) {
            ::SetLastError(m_pending->error);
            return m_pending->error == 0;
        }
        if (woke == WAIT_FAILED)
            return FALSE;
        if (woke == WAIT_OBJECT_0 + 1 && !m_onMessages()) {
            ::SetLastError(ERROR_CANCELLED);
            return FALSE;
        }
    }
}

BOOL CInternetFile::QueryInfoStatusCode(DWORD& status) const {
    DWORD size = sizeof status;
    return m_request && ::HttpQueryInfoA(m_request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                         &status, &size, nullptr);
}

BOOL CInternetFile::QueryInfo(DWORD infoLevel, CString& text) const {
    text = CString();
    // Asked first with no room, WinINet tells the size the header's text needs.
    DWORD size = 0;
    if (!m_request || ::HttpQueryInfoA(m_request, infoLevel, nullptr, &size, nullptr) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size > kMaxHeaderBytes) {
        ::SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
        return FALSE;
    }
    const BOOL read = ::HttpQueryInfoA(m_request, infoLevel, text.GetBuffer(static_cast<int>(size)),
                                       &size, nullptr);
    text.ReleaseBuffer(read ? static_cast<int>(size) : 0);
    return read;
}

BOOL CInternetFile::QueryContentLength(ULONGLONG& length) const {
    CString text;
    if (!QueryInfo(HTTP_QUERY_CONTENT_LENGTH, text)) {
        ::SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
        return FALSE;
    }
    if (!AfxParseContentLength(text, length)) {
        ::SetLastError(ERROR_HTTP_INVALID_HEADER);
        return FALSE;
    }
    return TRUE;
}
