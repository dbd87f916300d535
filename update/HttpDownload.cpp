#include "HttpDownload.h"

#include "framework/windows/App.h"

namespace {

constexpr UINT kChunkSize = 1024;
constexpr DWORD kConnectTimeoutMs = 5000;
// Never a cached copy: the point is what the server has now.
constexpr DWORD kRequestFlags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT |
                                INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

bool IsRedirect(const CString& status) {
    for (const char* code : {"301", "302", "303", "307", "308"})
        if (status == code)
            return true;
    return false;
}

} // namespace

bool IsWholeBody(std::uint64_t received, const std::optional<std::uint64_t>& contentLength,
                 std::uint64_t expectedLength, bool checkedLater) {
    if (received == 0)
        return false;
    if (contentLength && *contentLength != received)
        return false;
    if (expectedLength != 0 && expectedLength != received)
        return false;
    return contentLength || expectedLength != 0 || checkedLater;
}

void HttpDownload::Close() {
    m_file.reset();
    m_session.reset();
}

HttpDownload::Outcome HttpDownload::Open(const char* url, int sameHostRedirects) {
    HttpAddress address;
    if (!AfxParseHttpAddress(url, address))
        return Outcome::BadAddress;
    Close();
    // Servers see the updater's name as the agent.
    const CWinApp* app = AfxGetApp();
    m_session =
        std::make_unique<CInternetSession>(app ? static_cast<const char*>(app->GetAppName()) : "");
    m_session->SetTransferLimits(m_limits);
    m_session->SetMessageHandler([this] { return Report(); });
    m_session->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
    CString current(url);
    for (;;) {
        m_file.reset();
        m_file = m_session->OpenURL(current, 1, kRequestFlags);
        if (!m_file) {
            m_dwError = ::GetLastError();
            if (m_dwError == ERROR_CANCELLED)
                return Outcome::Cancelled;
            return m_dwError == ERROR_TIMEOUT ? Outcome::TimedOut : Outcome::NotSent;
        }
        m_file->QueryInfo(HTTP_QUERY_STATUS_CODE, m_strStatus);
        if (m_strStatus == "200")
            return Outcome::Complete;
        if (m_strStatus == "404")
            return Outcome::NotFound;
        CString location;
        if (sameHostRedirects-- <= 0 || !IsRedirect(m_strStatus) ||
            !m_file->QueryInfo(HTTP_QUERY_LOCATION, location))
            return m_strStatus.Left(1) == "2" ? Outcome::Incomplete : Outcome::Refused;
        char combined[INTERNET_MAX_URL_LENGTH] = {};
        DWORD size = sizeof(combined);
        HttpAddress next;
        if (!::InternetCombineUrlA(current, location, combined, &size, ICU_NO_ENCODE) ||
            !AfxParseHttpAddress(combined, next) || lstrcmpiA(next.server, address.server) != 0 ||
            next.port != address.port || next.secure != address.secure)
            return Outcome::Refused;
        address = next;
        current = combined;
    }
}

HttpDownload::Outcome HttpDownload::Receive(const Sink& sink, std::uint64_t expectedLength,
                                            bool checkedLater, std::uint64_t maxUnannounced) {
    ULONGLONG announced = 0;
    const bool hasLength = m_file->QueryContentLength(announced);
    // A length that is no number vouches for nothing: such a body is never whole.
    const bool lengthUnreadable = !hasLength && ::GetLastError() != ERROR_HTTP_HEADER_NOT_FOUND;
    if (hasLength && expectedLength != 0 && announced != expectedLength)
        return Outcome::Incomplete;
    m_total = hasLength ? announced : expectedLength;
    const std::uint64_t limit = m_total != 0 ? m_total : maxUnannounced;
    m_received = 0;
    BYTE chunk[kChunkSize];
    while (const UINT read = m_file->Read(chunk, kChunkSize)) {
        if (read > limit - m_received)
            return Outcome::Incomplete;
        m_received += read;
        if (!sink(chunk, read))
            return Outcome::KeepFailed;
        if (!Report())
            return Outcome::Cancelled;
    }
    switch (m_file->GetReadError()) {
    case 0:
        break;
    case ERROR_TIMEOUT:
        return Outcome::TimedOut;
    case ERROR_CANCELLED:
        return Outcome::Cancelled;
    default:
        return Outcome::Incomplete;
    }
    return !lengthUnreadable &&
                   IsWholeBody(m_received,
                               hasLength ? std::optional<std::uint64_t>(announced) : std::nullopt,
                               expectedLength, checkedLater)
               ? Outcome::Complete
               : Outcome::Incomplete;
}
