#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "framework/net/InternetSession.h"
#include "framework/base/String.h"

// Whether `received` bytes are the whole body: never empty; equal to the Content-Length
// when the server sent one and to `expectedLength` unless that is 0; and vouched for by at
// least one of these or by a later check of the bytes themselves (`checkedLater`).
bool IsWholeBody(std::uint64_t received, const std::optional<std::uint64_t>& contentLength,
                 std::uint64_t expectedLength, bool checkedLater);

// One GET request of the updater read in chunks of at most 1 KB: only status 200 counts, and
// a redirect never leads to another host. Waits are bounded by the session's limits; the
// progress callback keeps the caller's window alive and may abandon the transfer.
class HttpDownload {
public:
    enum class Outcome {
        Complete,
        BadAddress,
        NotSent,
        TimedOut,
        Cancelled,
        NotFound,
        Refused,
        Incomplete,
        KeepFailed,
    };
    // Keeps one chunk; false when it could not.
    using Sink = std::function<bool(const BYTE* data, DWORD size)>;
    // Called after every chunk, and while waiting whenever messages arrive; false abandons
    // the transfer.
    using Progress = std::function<bool(std::uint64_t received, std::uint64_t total)>;

    explicit HttpDownload(const InternetTransferLimits& limits = InternetTransferLimits(),
                          Progress progress = nullptr)
        : m_limits(limits), m_progress(std::move(progress)) {}
    HttpDownload(const HttpDownload&) = delete;
    HttpDownload& operator=(const HttpDownload&) = delete;

    // Sends the request and reads the answer's head. Complete only for status 200; a
    // redirect is followed up to `sameHostRedirects` times, and only on the same host.
    Outcome Open(const char* url, int sameHostRedirects = 0);
    // Reads the body of an opened request; `expectedLength` and `checkedLater` as for
    // IsWholeBody. `expectedLength` is also the progress total when the server gave none.
    // The body stops at the length the server or the caller gave, and at `maxUnannounced`
    // when neither did: a byte beyond is never passed on and makes the body Incomplete, as
    // do two lengths that differ, before any byte is passed on.
    Outcome Receive(const Sink& sink, std::uint64_t expectedLength, bool checkedLater,
                    std::uint64_t maxUnannounced);
    // Closes the request and the session; a worker still waiting on them finishes alone.
    void Close();

    // The WinINet error when the request could not be sent.
    DWORD m_dwError = 0;
    // The status code as the server gave it.
    CString m_strStatus;

private:
    bool Report() { return !m_progress || m_progress(m_received, m_total); }

    InternetTransferLimits m_limits;
    Progress m_progress;
    std::uint64_t m_received = 0;
    std::uint64_t m_total = 0;
    std::unique_ptr<CInternetSession> m_session;
    std::unique_ptr<CInternetFile> m_file;
};
