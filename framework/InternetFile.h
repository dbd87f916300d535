#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

#include "framework/ScopedHandle.h"

// A remote file opened by CInternetSession::OpenURL, read in order.
class CInternetFile {
public:
    explicit CInternetFile(CInternetHandle request) : m_request(std::move(request)) {}
    CInternetFile(const CInternetFile&) = delete;
    CInternetFile& operator=(const CInternetFile&) = delete;

    // The bytes obtained: 0 at the end of the file, and 0 when the read failed, which
    // GetReadError then tells (it is 0 after a clean end).
    UINT Read(void* buffer, UINT count);
    DWORD GetReadError() const { return m_dwReadError; }
    // The HTTP status of the answer; FALSE for an address that is not HTTP.
    BOOL QueryInfoStatusCode(DWORD& status) const;
    // The announced Content-Length; FALSE when the answer has none.
    BOOL QueryContentLength(ULONGLONG& length) const;
    void Close() { m_request.Reset(); }

private:
    CInternetHandle m_request;
    DWORD m_dwReadError = 0;
};
