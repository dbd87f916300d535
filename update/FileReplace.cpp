#include "FileReplace.h"

#include <windows.h>

#include "framework/base/String.h"

bool ReplaceFileWhole(const char* source, const char* target) {
    const CString targetPath(target);
    const DWORD attributes = ::GetFileAttributesA(targetPath);
    // Wine renames over a read-only file; Windows refuses, and so do we.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    char beside[MAX_PATH] = {};
    if (!::GetTempFileNameA(targetPath.Left(targetPath.ReverseFind('\\') + 1), "upd", 0, beside))
        return false;
    if (::CopyFileA(source, beside, FALSE) &&
        ::MoveFileExA(beside, targetPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileA(beside);
    return false;
}

bool MakeParentFolders(const char* root, const char* relativePath) {
    // Walked by characters, so that a GBK trail byte of 0x5C is never taken for a separator.
    for (const char* p = relativePath; *p; p = ::CharNextA(p)) {
        if (*p != '\\' && *p != '/')
            continue;
        const CString folder =
            CString(root) + CString(relativePath, static_cast<int>(p - relativePath));
        if (!::CreateDirectoryA(folder, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}
