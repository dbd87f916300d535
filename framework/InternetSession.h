#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "framework/InternetFile.h"
#include "framework/ScopedHandle.h"

// One WinINet session. The agent defaults to the application name; the access type to the
// system's configured proxy settings.
class CInternetSession {
public:
    explicit CInternetSession(const char* agent = nullptr, DWORD context = 1,
                              DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG,
                              const char* proxyName = nullptr, const char* proxyBypass = nullptr,
                              DWORD flags = 0);
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // The address opened for reading (an HTTP GET for http addresses), or null when it
    // cannot be opened. An HTTP error status still gives a file: its body.
    std::unique_ptr<CInternetFile> OpenURL(const char* url, DWORD context = 1,
                                           DWORD flags = INTERNET_FLAG_TRANSFER_ASCII,
                                           const char* headers = nullptr, DWORD headersLength = 0);
    void Close() { m_session.Reset(); }
    BOOL IsOpen() const { return m_session.IsValid(); }

private:
    CInternetHandle m_session;
};
