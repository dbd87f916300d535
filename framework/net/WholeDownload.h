#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/base/String.h"
#include "framework/net/InternetSession.h"

// What a caller accepts of one download.
struct DownloadPolicy {
    static constexpr int kMaxRedirects = 5;

    // The statuses whose body is taken; any other ends the download as Refused.
    std::vector<DWORD> statuses{200};
    // How many redirects are followed, each only to the same scheme, host and port; 0: none,
    // and never more than kMaxRedirects.
    int redirects = 0;
    // The length the caller knows the body to have; 0 when it knows none.
    std::uint64_t expectedLength = 0;
    // No body is taken beyond this, whatever length is announced or expected.
    std::uint64_t maxBytes = 0;
    // Whether the caller checks the bytes itself (a parser, a signature), so that a body whose
    // length nobody vouches for may be whole once it ends cleanly. A digest or a validator
    // vouches as well.
    bool checkedLater = false;
    // The SHA-256 the body must have, in hex of either case; empty: none.
    CString sha256;
    InternetTransferLimits limits = AfxGetInternetTransferLimits();
    // Called after every chunk, and while waiting whenever messages arrive; false cancels.
    std::function<bool(std::uint64_t received, std::uint64_t total)> progress;
    // For a file: whether the whole body, in the temporary file at this path, may replace the
    // target; none: any whole body may.
    std::function<bool(const char* path)> validator;
    // The temporary files beside a target are named <prefix>XXXX.tmp (XXXX in hex); such
    // files that nothing holds open are left by a killed run and go.
    CString temporaryPrefix = "dl";
};

enum class DownloadResult {
    Complete,
    // Not an http or https address.
    BadAddress,
    // No answer's head: GetError tells why (ERROR_TIMEOUT: the server kept it back).
    NotSent,
    // A status the policy does not take (GetStatus tells it) or a redirect it does not follow.
    Refused,
    // The body fell below the transfer limits.
    TimedOut,
    Cancelled,
    // Cut, garbled, beyond the cap, or of a length other than the one announced or expected.
    Incomplete,
    DigestMismatch,
    // The validator refused the body.
    Invalid,
    // The temporary file could not be made.
    CreateFailed,
    WriteFailed,
    // The target is read-only or in use.
    ReplaceFailed,
};

// One whole resource over HTTP, read in chunks of at most 1 KB within the policy's transfer
// limits, into memory or into a file that it then replaces in one rename.
class CWholeDownload {
public:
    // `agent` is what servers see as the program's name.
    CWholeDownload(const char* agent, DownloadPolicy policy);
    CWholeDownload(const CWholeDownload&) = delete;
    CWholeDownload& operator=(const CWholeDownload&) = delete;
    ~CWholeDownload();

    // The body in `bytes` when Complete; empty otherwise.
    DownloadResult ToMemory(const char* url, std::string& bytes);
    // Writes the body into a temporary file beside `target` and puts it in place of the target
    // when Complete; otherwise the target stays as it was and the temporary file goes. A
    // read-only target is never replaced and nothing is fetched for it.
    DownloadResult ToFile(const char* url, const char* target);

    DWORD GetError() const { return m_dwError; }
    // The status text of the last answer, as the server gave it.
    const CString& GetStatus() const { return m_strStatus; }

private:
    DownloadResult Open(const char* url);
    // Passes the body to `keep` piece by piece; the digest is checked here too.
    DownloadResult Receive(const std::function<bool(const BYTE*, DWORD)>& keep);
    bool Report() const;

    DownloadPolicy m_policy;
    CString m_strAgent;
    std::unique_ptr<CInternetSession> m_session;
    std::unique_ptr<CInternetFile> m_file;
    DWORD m_dwError = 0;
    CString m_strStatus;
    std::uint64_t m_received = 0;
    std::uint64_t m_total = 0;
};

// Puts a copy of `source` in place of `target` in one rename, through a temporary file beside
// the target named as for DownloadPolicy::temporaryPrefix. FALSE when the target is read-only
// or in use; the old file is then whole and the source is never touched.
BOOL AfxReplaceFileWithCopy(const char* source, const char* target, const char* temporaryPrefix);
