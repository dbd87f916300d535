#include "ConfigDownload.h"

#include <windows.h>

#include "framework/File.h"

namespace {

constexpr UINT kChunkSize = 1024;

CString TemporaryFileBeside(const CString& path) {
    const CString directory = path.Left(path.ReverseFind('\\') + 1);
    char name[MAX_PATH] = {};
    if (!::GetTempFileNameA(directory.IsEmpty() ? "." : static_cast<const char*>(directory), "cfg",
                            0, name))
        return CString();
    return name;
}

// Copies the remote file into the local one; TRUE when it arrived whole and not empty. A length
// that cannot be read says nothing about what arrived: such an answer is refused.
BOOL CopyWhole(CInternetFile& remote, const CString& localPath) {
    ULONGLONG announced = 0;
    const BOOL hasLength = remote.QueryContentLength(announced);
    if (!hasLength && ::GetLastError() != ERROR_HTTP_HEADER_NOT_FOUND)
        return FALSE;
    CFile local;
    if (!local.Open(localPath, CFile::modeCreate | CFile::modeWrite))
        return FALSE;
    char buffer[kChunkSize];
    ULONGLONG received = 0;
    while (const UINT read = remote.Read(buffer, kChunkSize)) {
        if (!local.Write(buffer, read))
            return FALSE;
        received += read;
    }
    return local.Close() && remote.GetReadError() == 0 && received > 0 &&
           (!hasLength || received == announced);
}

} // namespace

BOOL DownloadToFile(CInternetSession& session, const char* url, const CString& path) {
    std::unique_ptr<CInternetFile> remote = session.OpenURL(url, 1, INTERNET_FLAG_TRANSFER_ASCII);
    if (!remote)
        return FALSE;
    DWORD status = 0;
    if (!remote->QueryInfoStatusCode(status) || status < 200 || status > 299)
        return FALSE;
    const CString temporary = TemporaryFileBeside(path);
    if (temporary.IsEmpty())
        return FALSE;
    if (CopyWhole(*remote, temporary) &&
        ::MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return TRUE;
    CFile::Remove(temporary);
    return FALSE;
}
