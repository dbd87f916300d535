#include "ConfigDownload.h"

#include <windows.h>

#include <cctype>

#include "framework/base/File.h"
#include "framework/base/ScopedHandle.h"

namespace {

constexpr UINT kChunkSize = 1024;
// GetTempFileName makes "cfgXXXX.tmp", XXXX in hex.
const char kTemporaryPrefix[] = "cfg";
const char kTemporaryPattern[] = "cfg????.tmp";

CString DirectoryOf(const CString& path) {
    return path.Left(path.ReverseFind('\\') + 1);
}

CString TemporaryFileBeside(const CString& path) {
    const CString directory = DirectoryOf(path);
    char name[MAX_PATH] = {};
    if (!::GetTempFileNameA(directory.IsEmpty() ? "." : static_cast<const char*>(directory),
                            kTemporaryPrefix, 0, name))
        return CString();
    return name;
}

bool IsTemporaryName(const char* name) {
    if (lstrlenA(name) != lstrlenA(kTemporaryPattern))
        return false;
    for (const char* pattern = kTemporaryPattern; *pattern; ++pattern, ++name) {
        const bool matches = *pattern == '?'
                                 ? std::isxdigit(static_cast<unsigned char>(*name))
                                 : std::tolower(static_cast<unsigned char>(*name)) == *pattern;
        if (!matches)
            return false;
    }
    return true;
}

// Copies the remote file into the local one; TRUE when it arrived whole, not empty and within
// maxBytes. A length that cannot be read says nothing about what arrived: such an answer is
// refused, as is one announced too long, before a byte is written.
BOOL CopyWhole(CInternetFile& remote, const CString& localPath, size_t maxBytes) {
    ULONGLONG announced = 0;
    const BOOL hasLength = remote.QueryContentLength(announced);
    if ((!hasLength && ::GetLastError() != ERROR_HTTP_HEADER_NOT_FOUND) ||
        (hasLength && announced > maxBytes))
        return FALSE;
    CFile local;
    if (!local.Open(localPath, CFile::modeCreate | CFile::modeWrite))
        return FALSE;
    char buffer[kChunkSize];
    ULONGLONG received = 0;
    while (const UINT read = remote.Read(buffer, kChunkSize)) {
        if (read > maxBytes - received || !local.Write(buffer, read))
            return FALSE;
        received += read;
    }
    return local.Close() && remote.GetReadError() == 0 && received > 0 &&
           (!hasLength || received == announced);
}

} // namespace

BOOL DownloadToFile(CInternetSession& session, const char* url, const CString& path,
                    size_t maxBytes) {
    // The rename would pass over a read-only file under Wine; Windows refuses it anyway.
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return FALSE;
    std::unique_ptr<CInternetFile> remote = session.OpenURL(url, 1, INTERNET_FLAG_TRANSFER_ASCII);
    if (!remote)
        return FALSE;
    DWORD status = 0;
    if (!remote->QueryInfoStatusCode(status) || status < 200 || status > 299)
        return FALSE;
    const CString temporary = TemporaryFileBeside(path);
    if (temporary.IsEmpty())
        return FALSE;
    if (CopyWhole(*remote, temporary, maxBytes) &&
        ::MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return TRUE;
    CFile::Remove(temporary);
    return FALSE;
}

void RemoveStaleDownloads(const CString& path) {
    const CString directory = DirectoryOf(path);
    WIN32_FIND_DATAA found;
    const CFindHandle search(::FindFirstFileA(directory + kTemporaryPattern, &found));
    if (!search.IsValid())
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsTemporaryName(found.cFileName))
            ::DeleteFileA(directory + found.cFileName);
    } while (::FindNextFileA(search, &found));
}
