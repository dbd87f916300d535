#pragma once

#include <windows.h>
#include <wininet.h>

#include <functional>
#include <memory>

#include "framework/base/ScopedHandle.h"
#include "framework/base/String.h"

// How long a server may keep a transfer, counted from its first request: each period must
// bring at least minBytes of the answer's body, so that a silent server is given up at the end
// of a period; from the end of the first period on, the body must have come at minAverageBytes
// a period on average, so that no trickle lasts; and nothing lasts longer than totalMs.
struct InternetTransferLimits {
    DWORD periodMs = 20000;
    DWORD minBytes = 1024;
    // 1 KB a second.
    DWORD minAverageBytes = 20 * 1024;
    DWORD totalMs = 10 * 60 * 1000;
};

// The deadlines that the files of one session share, so that following a redirect by hand
// does not restart them.
struct InternetTransferClock {
    InternetTransferLimits limits;
    bool started = false;
    DWORD start = 0;
    DWORD periodStart = 0;
    DWORD periodBytes = 0;
    ULONGLONG totalBytes = 0;

    void Start();
    void Count(DWORD bytes);
    // The milliseconds the transfer may still wait for more of the body; 0 when it must stop.
    DWORD TimeLeft();
};

// A Content-Length's text: digits with optional blanks around them. FALSE for anything else
// and for a number beyond 64 bits; however many leading zeros, the text is read whole.
BOOL AfxParseContentLength(const char* text, ULONGLONG& length);

// An http or https address split the way a request needs it.
struct HttpAddress {
    CString server;
    // Path and query; "/" when the address has no path.
    CString object;
    INTERNET_PORT port = 0;
    bool secure = false;
};

// FALSE for anything but an http or https address that names a host.
BOOL AfxParseHttpAddress(const char* url, HttpAddress& address);
// The address with `suffix` on its path: before any query or fragment of an http or https
// address, at the end of anything else (a path, say).
CString AfxAppendToPath(const char* address, const char* suffix);

struct InternetPending;

// A remote file opened by CInternetSession::OpenURL, read in order.
class CInternetFile {
public:
    ~CInternetFile() { Close(); }
    CInternetFile(const CInternetFile&) = delete;
    CInternetFile& operator=(const CInternetFile&) = delete;

    // The bytes obtained, at most count and fewer when fewer have arrived: 0 at the end of
    // the file, and 0 when the read failed, which GetReadError then tells (0 after a clean
    // end; ERROR_TIMEOUT when the server fell below the session's limits and ERROR_CANCELLED
    // when the message handler asked to stop, both of which close the file; WinINet's own
    // time-outs give ERROR_INTERNET_TIMEOUT).
    UINT Read(void* buffer, UINT count);
    DWORD GetReadError() const { return m_dwReadError; }
    // Called whenever window messages arrive while a read waits for the server, so that the
    // caller's windows stay alive; false abandons the wait. None by default (the thread then
    // only waits).
    void SetMessageHandler(std::function<bool()> handler) { m_onMessages = std::move(handler); }
    // The HTTP status of the answer.
    BOOL QueryInfoStatusCode(DWORD& status) const;
    // A header of the answer as text; empty and FALSE when there is none or when it is longer
    // than any header we read.
    BOOL QueryInfo(DWORD infoLevel, CString& text) const;
    // The announced Content-Length. FALSE when the answer has none (GetLastError tells
    // ERROR_HTTP_HEADER_NOT_FOUND) or when it is no number that fits (ERROR_HTTP_INVALID_HEADER).
    BOOL QueryContentLength(ULONGLONG& length) const;
    void Close();

private:
    friend class CInternetSession;
    explicit CInternetFile(std::shared_ptr<InternetTransferClock> clock)
        : m_clock(std::move(clock)) {}
    // Routes the notifications of the session's requests to the waits below.
    static void Listen(HINTERNET session);
    // Sends the GET and waits for the answer's head.
    BOOL Open(HINTERNET session, const HttpAddress& address, DWORD flags, const char* headers,
              DWORD headersLength);
    // Waits until the answer has more data or has ended; m_pending->available tells how much.
    BOOL WaitForData();
    // Completes a call that may go on in the background, within the limits.
    BOOL Finish(BOOL started);

    std::shared_ptr<InternetTransferClock> m_clock;
    std::function<bool()> m_onMessages;
    DWORD m_dwReadError = 0;
    // Shared with WinINet's worker; freed when the request handle reports that it closes.
    InternetPending* m_pending = nullptr;
    CInternetHandle m_connection;
    CInternetHandle m_request;
};
