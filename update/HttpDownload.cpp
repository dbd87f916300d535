#include "HttpDownload.h"

#include <algorithm>

#include "framework/App.h"
#include "UpdateRules.h"

namespace {

constexpr DWORD kChunkSize = 1024;

} // namespace

// What a WinINet worker may still write into after the request was given up: it lives
// until the request handle reports that it is closing, never on the caller's stack.
struct HttpPending {
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD error = 0;
    DWORD available = 0;
    DWORD read = 0;
    BYTE chunk[kChunkSize] = {};
};

namespace {

void CALLBACK OnRequestStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
    auto* pending = reinterpret_cast<HttpPending*>(context);
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

bool IsRedirect(const CString& status) {
    for (const char* code : {"301", "302", "303", "307", "308"})
        if (status == code)
            return true;
    return false;
}

} // namespace

bool ParseHttpAddress(const char* url, HttpAddress& address) {
    const CString text(url);
    char host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
    CString path;
    CString extra;
    URL_COMPONENTSA components{};
    components.dwStructSize = sizeof(components);
    components.lpszHostName = host;
    components.dwHostNameLength = sizeof(host);
    components.lpszUrlPath = path.GetBuffer(text.GetLength() + 1);
    components.dwUrlPathLength = static_cast<DWORD>(text.GetLength() + 1);
    components.lpszExtraInfo = extra.GetBuffer(text.GetLength() + 1);
    components.dwExtraInfoLength = static_cast<DWORD>(text.GetLength() + 1);
    const BOOL cracked = !text.IsEmpty() && ::InternetCrackUrlA(text, 0, 0, &components);
    path.ReleaseBuffer(cracked ? static_cast<int>(components.dwUrlPathLength) : 0);
    extra.ReleaseBuffer(cracked ? static_cast<int>(components.dwExtraInfoLength) : 0);
    if (!cracked || host[0] == '\0' ||
        (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS))
        return false;
    address.server = host;
    address.object = (path.IsEmpty() ? CString("/") : path) + extra;
    address.port = components.nPort;
    address.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

bool IsWholeBody(std::uint64_t received, const std::optional<CString>& contentLength,
                 std::uint64_t expectedLength, bool checkedLater) {
    if (received == 0)
        return false;
    if (contentLength && ParseContentLength(*contentLength) != received)
        return false;
    if (expectedLength != 0 && expectedLength != received)
        return false;
    return contentLength || expectedLength != 0 || checkedLater;
}

HttpDownload::HttpDownload(const TransferLimits& limits) : m_limits(limits) {}

HttpDownload::~HttpDownload() {
    Close();
}

void HttpDownload::Close() {
    m_request.Reset();
    m_pending = nullptr;
    m_connection.Reset();
    m_session.Reset();
}

HttpDownload::Outcome HttpDownload::Open(const char* url, int sameHostRedirects) {
    HttpAddress address;
    if (!ParseHttpAddress(url, address))
        return Outcome::BadAddress;
    Close();
    m_dwPeriodStart = ::GetTickCount();
    m_dwPeriodBytes = 0;
    m_session.Reset(::InternetOpenA(AfxGetApp() ? AfxGetApp()->GetAppName() : "update",
                                    INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr,
                                    INTERNET_FLAG_ASYNC));
    if (!m_session) {
        m_dwError = ::GetLastError();
        return Outcome::NotSent;
    }
    ::InternetSetStatusCallbackA(m_session, OnRequestStatus);
    ::InternetSetOptionA(m_session, INTERNET_OPTION_CONNECT_TIMEOUT, &m_limits.connectMs,
                         sizeof(m_limits.connectMs));
    CString current(url);
    for (;;) {
        const Outcome sent = Send(address);
        if (sent != Outcome::Complete)
            return sent;
        m_strStatus = Header(HTTP_QUERY_STATUS_CODE).value_or(CString());
        if (m_strStatus == "200")
            return Outcome::Complete;
        if (m_strStatus == "404")
            return Outcome::NotFound;
        const std::optional<CString> location = Header(HTTP_QUERY_LOCATION);
        if (sameHostRedirects-- <= 0 || !IsRedirect(m_strStatus) || !location)
            return m_strStatus.Left(1) == "2" ? Outcome::Incomplete : Outcome::Refused;
        char combined[INTERNET_MAX_URL_LENGTH] = {};
        DWORD size = sizeof(combined);
        HttpAddress next;
        if (!::InternetCombineUrlA(current, *location, combined, &size, ICU_NO_ENCODE) ||
            !ParseHttpAddress(combined, next) || lstrcmpiA(next.server, address.server) != 0 ||
            next.port != address.port || next.secure != address.secure)
            return Outcome::Refused;
        address = next;
        current = combined;
    }
}

HttpDownload::Outcome HttpDownload::Send(const HttpAddress& address) {
    m_request.Reset();
    m_pending = nullptr;
    m_connection.Reset(::InternetConnectA(m_session, address.server, address.port, nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, 0));
    // Never a cached copy: the point is what the server has now.
    const DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT |
                        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                        (address.secure ? INTERNET_FLAG_SECURE : 0);
    m_pending = new HttpPending;
    m_request.Reset(::HttpOpenRequestA(m_connection, "GET", address.object, nullptr, nullptr,
                                       nullptr, flags, reinterpret_cast<DWORD_PTR>(m_pending)));
    if (!m_connection || !m_request) {
        m_dwError = ::GetLastError();
        delete m_pending;
        m_pending = nullptr;
        return Outcome::NotSent;
    }
    ::InternetSetOptionA(m_request, INTERNET_OPTION_CONNECT_TIMEOUT, &m_limits.connectMs,
                         sizeof(m_limits.connectMs));
    ::ResetEvent(m_pending->done);
    if (Finish(::HttpSendRequestA(m_request, nullptr, 0, nullptr, 0), nullptr))
        return Outcome::Complete;
    return m_bTimedOut ? Outcome::TimedOut : Outcome::NotSent;
}

HttpDownload::Outcome HttpDownload::Receive(const Sink& sink, std::uint64_t expectedLength,
                                            bool checkedLater, const Progress& progress) {
    const std::optional<CString> contentLength = Header(HTTP_QUERY_CONTENT_LENGTH);
    const std::optional<std::uint64_t> declared =
        contentLength ? ParseContentLength(*contentLength) : std::nullopt;
    m_total = declared.value_or(expectedLength);
    m_received = 0;
    for (;;) {
        ::ResetEvent(m_pending->done);
        if (!Finish(::InternetQueryDataAvailable(m_request, &m_pending->available, 0, 0), progress))
            return m_bTimedOut ? Outcome::TimedOut : Outcome::Incomplete;
        if (m_pending->available == 0)
            break;
        ::ResetEvent(m_pending->done);
        m_pending->read = 0;
        if (!Finish(::InternetReadFile(m_request, m_pending->chunk,
                                       std::min(m_pending->available, kChunkSize),
                                       &m_pending->read),
                    progress))
            return m_bTimedOut ? Outcome::TimedOut : Outcome::Incomplete;
        if (m_pending->read == 0)
            break;
        m_received += m_pending->read;
        m_dwPeriodBytes += m_pending->read;
        if (!sink(m_pending->chunk, m_pending->read))
            return Outcome::KeepFailed;
        if (progress)
            progress(m_received, m_total);
    }
    return IsWholeBody(m_received, contentLength, expectedLength, checkedLater)
               ? Outcome::Complete
               : Outcome::Incomplete;
}

// Completes a call that may have gone on in the background, waiting no longer than the
// current period allows; while waiting, queued messages go to `progress`.
bool HttpDownload::Finish(BOOL started, const Progress& progress) {
    const DWORD error = started ? 0 : ::GetLastError();
    m_bTimedOut = false;
    for (;;) {
        const DWORD now = ::GetTickCount();
        if (now - m_dwPeriodStart >= m_limits.periodMs) {
            if (m_dwPeriodBytes < m_limits.minBytes) {
                m_bTimedOut = true;
                return false;
            }
            m_dwPeriodStart = now;
            m_dwPeriodBytes = 0;
        }
        if (started)
            return true;
        if (error != ERROR_IO_PENDING) {
            m_dwError = error;
            return false;
        }
        const DWORD left = m_limits.periodMs - (now - m_dwPeriodStart);
        const DWORD woke =
            progress ? ::MsgWaitForMultipleObjects(1, &m_pending->done, FALSE, left, QS_ALLINPUT)
                     : ::WaitForSingleObject(m_pending->done, left);
        if (woke == WAIT_OBJECT_0) {
            m_dwError = m_pending->error;
            return m_dwError == 0;
        }
        if (woke == WAIT_OBJECT_0 + 1)
            progress(m_received, m_total);
    }
}

std::optional<CString> HttpDownload::Header(DWORD query) const {
    DWORD size = 0;
    if (::HttpQueryInfoA(m_request, query, nullptr, &size, nullptr) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return std::nullopt;
    CString text;
    const BOOL read =
        ::HttpQueryInfoA(m_request, query, text.GetBuffer(static_cast<int>(size)), &size, nullptr);
    text.ReleaseBuffer(read ? static_cast<int>(size) : 0);
    if (!read)
        return std::nullopt;
    return text;
}
