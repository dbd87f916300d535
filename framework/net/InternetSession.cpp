#include "framework/net/InternetSession.h"

namespace {

InternetTransferLimits g_transferLimits;

} // namespace

InternetTransferLimits AfxGetInternetTransferLimits() {
    return g_transferLimits;
}

CScopedTransferLimitsForTests::CScopedTransferLimitsForTests(const InternetTransferLimits& limits)
    : m_previous(g_transferLimits) {
    g_transferLimits = limits;
}

CScopedTransferLimitsForTests::~CScopedTransferLimitsForTests() {
    g_transferLimits = m_previous;
}

// Asynchronous, so that no wait is left to WinINet: Wine ignores a session's receive time-out,
// and no time-out of WinINet's stops a server that drips.
CInternetSession::CInternetSession(const char* agent, DWORD, DWORD accessType,
                                   const char* proxyName, const char* proxyBypass, DWORD flags)
    : m_clock(std::make_shared<InternetTransferClock>()) {
    m_clock->limits = g_transferLimits;
    m_session.Reset(
        ::InternetOpenA(agent, accessType, proxyName, proxyBypass, flags | INTERNET_FLAG_ASYNC));
    if (m_session)
        CInternetFile::Listen(m_session);
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value) {
    return m_session && ::InternetSetOptionA(m_session, option, &value, sizeof value);
}

std::unique_ptr<CInternetFile> CInternetSession::OpenURL(const char* url, DWORD, DWORD flags,
                                                         const char* headers, DWORD headersLength) {
    HttpAddress address;
    if (!m_session || !AfxParseHttpAddress(url, address)) {
        ::SetLastError(m_session ? ERROR_INTERNET_INVALID_URL : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    std::unique_ptr<CInternetFile> file(new CInternetFile(m_clock));
    file->SetMessageHandler(m_onMessages);
    if (!file->Open(m_session, address, flags, headers, headersLength)) {
        // Closing the request may overwrite the reason.
        const DWORD error = ::GetLastError();
        file.reset();
        ::SetLastError(error);
        return nullptr;
    }
    return file;
}
