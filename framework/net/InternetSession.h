#pragma once

#include <windows.h>
#include <wininet.h>

#include <functional>
#include <memory>

#include "framework/net/InternetFile.h"
#include "framework/base/ScopedHandle.h"

// The limits that sessions are opened with.
InternetTransferLimits AfxGetInternetTransferLimits();
// Sessions opened while it lives use its limits, and the previous ones come back when it goes,
// however its scope ends. Programs keep the defaults; tests shorten them so that a server that
// holds an answer is given up sooner.
class CScopedTransferLimitsForTests {
public:
    explicit CScopedTransferLimitsForTests(const InternetTransferLimits& limits);
    ~CScopedTransferLimitsForTests();
    CScopedTransferLimitsForTests(const CScopedTransferLimitsForTests&) = delete;
    CScopedTransferLimitsForTests& operator=(const CScopedTransferLimitsForTests&) = delete;

private:
    InternetTransferLimits m_previous;
};

// One WinINet session for one transfer (with the redirects its caller follows), named by its
// agent (the programs give their application name); the access type defaults to the system's
// configured proxy settings. Every wait on a server is bounded by the session's
// InternetTransferLimits, counted from its first request; the contexts are accepted for the usual
// signatures, but WinINet's notifications are the session's own.
class CInternetSession {
public:
    explicit CInternetSession(const char* agent, DWORD context = 1,
                              DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG,
                              const char* proxyName = nullptr, const char* proxyBypass = nullptr,
                              DWORD flags = 0);
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // A 4-byte option of the session (a time-out, say), which its requests inherit.
    BOOL SetOption(DWORD option, DWORD value);
    const InternetTransferLimits& GetTransferLimits() const { return m_clock->limits; }
    // Replaces the limits the session was opened with.
    void SetTransferLimits(const InternetTransferLimits& limits) { m_clock->limits = limits; }
    // The message handler of the files it opens from then on, from their first wait
    // (CInternetFile::SetMessageHandler).
    void SetMessageHandler(std::function<bool()> handler) { m_onMessages = std::move(handler); }
    // The http or https address opened with a GET whose answer's head has arrived, or null
    // when it cannot be opened or the server kept the head back beyond the limits; then
    // GetLastError tells why (ERROR_TIMEOUT for the limits). An HTTP error status still gives
    // a file: its body. `flags` are the request's (INTERNET_FLAG_*); https adds the secure one.
    std::unique_ptr<CInternetFile> OpenURL(const char* url, DWORD context = 1,
                                           DWORD flags = INTERNET_FLAG_TRANSFER_ASCII,
                                           const char* headers = nullptr, DWORD headersLength = 0);
    void Close() { m_session.Reset(); }
    BOOL IsOpen() const { return m_session.IsValid(); }

private:
    std::shared_ptr<InternetTransferClock> m_clock;
    std::function<bool()> m_onMessages;
    CInternetHandle m_session;
};
