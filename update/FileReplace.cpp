#include "FileReplace.h"

#include <windows.h>

#include "framework/String.h"

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
