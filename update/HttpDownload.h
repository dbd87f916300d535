#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "framework/ScopedHandle.h"
#include "framework/String.h"

// An http or https address split the way a request needs it.
struct HttpAddress {
    CString server;
    // Path and query; "/" when the address has none.
    CString object;
    INTERNET_PORT port = 0;
    bool secure = false;
};

// False for anything but an http or https address that names a host.
bool ParseHttpAddress(const char* url, HttpAddress& address);

// How long a server may keep a transfer waiting. The platform's own time-outs are not
// relied on: some platforms ignore the receive time-out, and none bounds a drip.
struct TransferLimits {
    DWORD connectMs = 5000;
    // Each period of this length, counted from the request, must bring at least minBytes of
    // the body; otherwise the transfer is given up at the end of the period.
    DWORD periodMs = 20000;
    DWORD minBytes = 1024;
};

struct HttpPending;

// Whether `received` bytes are the whole body: never empty; equal to the Content-Length
// when the server sent one (one that is no number never matches) and to `expectedLength`
// unless that is 0; and vouched for by at least one of these or by a later check of the
// bytes themselves (`checkedLater`).
bool IsWholeBody(std::uint64_t received, const std::optional<CString>& contentLength,
                 std::uint64_t expectedLength, bool checkedLater);

// One GET request read in chunks of at most 1 KB. Waits are bounded by TransferLimits and
// let the caller keep its window alive.
class HttpDownload {
public:
    enum class Outcome {
        Complete,
        BadAddress,
        NotSent,
        TimedOut,
        NotFound,
        Refused,
        Incomplete,
        KeepFailed,
    };
    // Keeps one chunk; false when it could not.
    using Sink = std::function<bool(const BYTE* data, DWORD size)>;
    // Called after every chunk, and while waiting whenever messages arrive.
    using Progress = std::function<void(std::uint64_t received, std::uint64_t total)>;

    explicit HttpDownload(const TransferLimits& limits = TransferLimits());
    ~HttpDownload();
    HttpDownload(const HttpDownload&) = delete;
    HttpDownload& operator=(const HttpDownload&) = delete;

    // Sends the request and reads the answer's head. Complete only for status 200; a
    // redirect is followed up to `sameHostRedirects` times, and only on the same host.
    Outcome Open(const char* url, int sameHostRedirects = 0);
    // Reads the body of an opened request; `expectedLength` and `checkedLater` as for
    // IsWholeBody. `expectedLength` is also the progress total when the server gave none.
    Outcome Receive(const Sink& sink, std::uint64_t expectedLength, bool checkedLater,
                    const Progress& progress = nullptr);
    // Closes the request and the session; a worker still waiting on them finishes alone.
    void Close();

    // The WinINet error when the request could not be sent.
    DWORD m_dwError = 0;
    // The status code as the server gave it.
    CString m_strStatus;

private:
    Outcome Send(const HttpAddress& address);
    bool Finish(BOOL started, const Progress& progress);
    std::optional<CString> Header(DWORD query) const;

    TransferLimits m_limits;
    DWORD m_dwPeriodStart = 0;
    DWORD m_dwPeriodBytes = 0;
    bool m_bTimedOut = false;
    std::uint64_t m_received = 0;
    std::uint64_t m_total = 0;
    // Shared with WinINet's worker; the request handle's closing notice frees it.
    HttpPending* m_pending = nullptr;
    CInternetHandle m_session;
    CInternetHandle m_connection;
    CInternetHandle m_request;
};
