#include "framework/net/WholeDownload.h"

#include <algorithm>
#include <cctype>

#include "framework/base/ScopedHandle.h"
#include "framework/crypto/Sha256.h"

namespace {

constexpr UINT kChunkSize = 1024;
constexpr size_t kWriteSize = 64 * 1024;
constexpr DWORD kConnectTimeoutMs = 5000;
// Never a cached copy: the point is what the server has now. Redirects are followed by hand.
constexpr DWORD kRequestFlags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT |
                                INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The folder part with its last separator; walked by characters, so that a trail byte of 0x5C
// is never taken for one.
CString FolderOf(const char* path) {
    const char* end = path;
    for (const char* at = path; *at; at = ::CharNextA(at))
        if (*at == '\\' || *at == '/')
            end = at + 1;
    return CString(path, static_cast<int>(end - path));
}

bool IsTemporaryName(const char* name, const CString& prefix) {
    const int length = prefix.GetLength();
    if (lstrlenA(name) != length + 8 || _strnicmp(name, prefix, length) != 0 ||
        lstrcmpiA(name + length + 4, ".tmp") != 0)
        return false;
    return std::all_of(name + length, name + length + 4,
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// Those of a run still going are open and stay.
void RemoveTemporaryFilesBeside(const char* target, const CString& prefix) {
    const CString folder = FolderOf(target);
    WIN32_FIND_DATAA found;
    const CFindHandle search(::FindFirstFileA(folder + prefix + "????.tmp", &found));
    if (search.IsValid()) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                IsTemporaryName(found.cFileName, prefix))
                ::DeleteFileA(folder + found.cFileName);
        } while (::FindNextFileA(search, &found));
    }
}

// A new empty temporary file beside `target`; empty when none can be made.
CString TemporaryFileBeside(const char* target, const CString& prefix) {
    const CString folder = FolderOf(target);
    char name[MAX_PATH] = {};
    if (!::GetTempFileNameA(folder.IsEmpty() ? "." : static_cast<const char*>(folder), prefix, 0,
                            name))
        return CString();
    return name;
}

// Wine renames over a read-only file; Windows refuses, and so do we.
bool IsReadOnly(const char* path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool MoveInPlaceOf(const char* temporary, const char* target) {
    return ::MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

} // namespace

CWholeDownload::CWholeDownload(const char* agent, DownloadPolicy policy)
    : m_policy(std::move(policy)), m_strAgent(agent) {
    m_policy.redirects = std::clamp(m_policy.redirects, 0, DownloadPolicy::kMaxRedirects);
}

CWholeDownload::~CWholeDownload() = default;

bool CWholeDownload::Report() const {
    return !m_policy.progress || m_policy.progress(m_received, m_total);
}

DownloadResult CWholeDownload::Open(const char* url) {
    HttpAddress address;
    if (!AfxParseHttpAddress(url, address))
        return DownloadResult::BadAddress;
    m_file.reset();
    m_session = std::make_unique<CInternetSession>(m_strAgent);
    m_session->SetTransferLimits(m_policy.limits);
    m_session->SetMessageHandler([this] { return Report(); });
    m_session->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
    CString current(url);
    for (int redirects = m_policy.redirects;; --redirects) {
        m_file.reset();
        m_file = m_session->OpenURL(current, 1, kRequestFlags);
        if (!m_file) {
            m_dwError = ::GetLastError();
            return m_dwError == ERROR_CANCELLED ? DownloadResult::Cancelled
                                                : DownloadResult::NotSent;
        }
        DWORD status = 0;
        m_file->QueryInfo(HTTP_QUERY_STATUS_CODE, m_strStatus);
        m_file->QueryInfoStatusCode(status);
        const auto& accepted = m_policy.statuses;
        if (std::find(accepted.begin(), accepted.end(), status) != accepted.end())
            return DownloadResult::Complete;
        CString location;
        char combined[INTERNET_MAX_URL_LENGTH] = {};
        DWORD size = sizeof combined;
        HttpAddress next;
        if (redirects <= 0 || !IsRedirect(status) ||
            !m_file->QueryInfo(HTTP_QUERY_LOCATION, location) ||
            !::InternetCombineUrlA(current, location, combined, &size, ICU_NO_ENCODE) ||
            !AfxParseHttpAddress(combined, next) || lstrcmpiA(next.server, address.server) != 0 ||
            next.port != address.port || next.secure != address.secure)
            return DownloadResult::Refused;
        address = next;
        current = combined;
    }
}

DownloadResult CWholeDownload::Receive(const std::function<bool(const BYTE*, DWORD)>& keep) {
    ULONGLONG announced = 0;
    const bool hasLength = m_file->QueryContentLength(announced);
    const std::uint64_t expected = m_policy.expectedLength;
    // A length that is no number vouches for nothing, nor do two lengths that differ.
    if ((!hasLength && ::GetLastError() != ERROR_HTTP_HEADER_NOT_FOUND) ||
        (hasLength && expected != 0 && announced != expected))
        return DownloadResult::Incomplete;
    m_total = hasLength ? announced : expected;
    const std::uint64_t limit =
        m_total != 0 ? std::min(m_total, m_policy.maxBytes) : m_policy.maxBytes;
    if (m_total > limit)
        return DownloadResult::Incomplete;
    const bool hashed = !m_policy.sha256.IsEmpty();
    CSha256 digest;
    m_received = 0;
    BYTE chunk[kChunkSize];
    while (const UINT read = m_file->Read(chunk, kChunkSize)) {
        if (read > limit - m_received)
            return DownloadResult::Incomplete;
        m_received += read;
        if (hashed)
            digest.Update(chunk, read);
        if (!keep(chunk, read))
            return DownloadResult::WriteFailed;
        if (!Report())
            return DownloadResult::Cancelled;
    }
    switch (m_file->GetReadError()) {
    case 0:
        break;
    case ERROR_TIMEOUT:
        return DownloadResult::TimedOut;
    case ERROR_CANCELLED:
        return DownloadResult::Cancelled;
    default:
        return DownloadResult::Incomplete;
    }
    const bool vouched = m_total != 0 || m_policy.checkedLater || hashed || m_policy.validator;
    if (m_received == 0 || (m_total != 0 && m_received != m_total) || !vouched)
        return DownloadResult::Incomplete;
    if (hashed && !digest.FinishMatches(m_policy.sha256))
        return DownloadResult::DigestMismatch;
    return DownloadResult::Complete;
}

DownloadResult CWholeDownload::ToMemory(const char* url, std::string& bytes) {
    bytes.clear();
    DownloadResult result = Open(url);
    if (result == DownloadResult::Complete)
        result = Receive([&bytes](const BYTE* data, DWORD size) {
            bytes.append(reinterpret_cast<const char*>(data), size);
            return true;
        });
    m_file.reset();
    m_session.reset();
    if (result != DownloadResult::Complete)
        bytes.clear();
    return result;
}

DownloadResult CWholeDownload::ToFile(const char* url, const char* target) {
    RemoveTemporaryFilesBeside(target, m_policy.temporaryPrefix);
    if (IsReadOnly(target))
        return DownloadResult::ReplaceFailed;
    DownloadResult result = Open(url);
    if (result != DownloadResult::Complete)
        return result;
    const CString temporary = TemporaryFileBeside(target, m_policy.temporaryPrefix);
    CHandle file;
    if (!temporary.IsEmpty())
        file.Reset(::CreateFileA(temporary, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // Written in large pieces: a system call per 1 KB chunk costs as much as the transfer.
    std::string pending;
    const auto flush = [&file, &pending] {
        DWORD written = 0;
        const bool flushed = pending.empty() ||
                             (::WriteFile(file, pending.data(), static_cast<DWORD>(pending.size()),
                                          &written, nullptr) &&
                              written == pending.size());
        pending.clear();
        return flushed;
    };
    if (!file.IsValid())
        result = DownloadResult::CreateFailed;
    else
        result = Receive([&pending, &flush](const BYTE* data, DWORD size) {
            pending.append(reinterpret_cast<const char*>(data), size);
            return pending.size() < kWriteSize || flush();
        });
    if (result == DownloadResult::Complete && !flush())
        result = DownloadResult::WriteFailed;
    m_file.reset();
    m_session.reset();
    file.Reset();
    if (result == DownloadResult::Complete && m_policy.validator && !m_policy.validator(temporary))
        result = DownloadResult::Invalid;
    if (result == DownloadResult::Complete && !MoveInPlaceOf(temporary, target))
        result = DownloadResult::ReplaceFailed;
    if (result != DownloadResult::Complete && !temporary.IsEmpty())
        ::DeleteFileA(temporary);
    return result;
}

BOOL AfxReplaceFileWithCopy(const char* source, const char* target, const char* temporaryPrefix) {
    RemoveTemporaryFilesBeside(target, temporaryPrefix);
    if (IsReadOnly(target))
        return FALSE;
    const CString temporary = TemporaryFileBeside(target, temporaryPrefix);
    if (temporary.IsEmpty())
        return FALSE;
    if (::CopyFileA(source, temporary, FALSE) && MoveInPlaceOf(temporary, target))
        return TRUE;
    ::DeleteFileA(temporary);
    return FALSE;
}
