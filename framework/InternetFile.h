#pragma once

#include <windows.h>
#include <wininet.h>

#include "framework/ScopedHandle.h"

// How long a server may keep a transfer waiting: each period, counted from the request, must
// bring at least minBytes of the answer's body, or the transfer fails at the end of that
// period. A server that sends less than that trickle holds a transfer two periods at most.
struct InternetTransferLimits {
    DWORD periodMs = 20000;
    DWORD minBytes = 1024;
};

struct InternetPending;

// A remote file opened by CInternetSession::OpenURL, read in order.
class CInternetFile {
public:
    ~CInternetFile() { Close(); }
    CInternetFile(const CInternetFile&) = delete;
    CInternetFile& operator=(const CInternetFile&) = delete;

    // The bytes obtained, at most count and fewer when fewer have arrived: 0 at the end of
    // the file, and 0 when the read failed, which GetReadError then tells (0 after a clean
    // end; ERROR_INTERNET_TIMEOUT when the server fell below the limits, which closes the file).
    UINT Read(void* buffer, UINT count);
    DWORD GetReadError() const { return m_dwReadError; }
    // The HTTP status of the answer.
    BOOL QueryInfoStatusCode(DWORD& status) const;
    // The announced Content-Length, however long its text. FALSE when the answer has none
    // (GetLastError tells ERROR_HTTP_HEADER_NOT_FOUND) or when it is no number that fits
    // (ERROR_HTTP_INVALID_HEADER).
    BOOL QueryContentLength(ULONGLONG& length) const;
    void Close();

private:
    friend class CInternetSession;
    explicit CInternetFile(const InternetTransferLimits& limits) : m_limits(limits) {}
    // Routes the notifications of the session's requests to the waits below.
    static void Listen(HINTERNET session);
    // Sends the GET and waits for the answer's head.
    BOOL Open(HINTERNET session, const char* url, DWORD flags, const char* headers,
              DWORD headersLength);
    // Waits until the answer has more data or has ended; m_pending->available tells how much.
    BOOL WaitForData();
    // Completes a call that may go on in the background, within the limits.
    BOOL Finish(BOOL started);

    InternetTransferLimits m_limits;
    DWORD m_dwPeriodStart = 0;
    DWORD m_dwPeriodBytes = 0;
    DWORD m_dwReadError = 0;
    // Shared with WinINet's worker; freed when the request handle reports that it closes.
    InternetPending* m_pending = nullptr;
    CInternetHandle m_connection;
    CInternetHandle m_request;
};
