#include "framework/File.h"

BOOL CFile::Open(const char* path, UINT flags) {
    DWORD access = GENERIC_READ;
    if (flags & modeWrite)
        access = GENERIC_WRITE;
    else if (flags & modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    const DWORD share =
        (flags & shareDenyWrite) ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    const DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_file.Reset(
        ::CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    return m_file.IsValid();
}

UINT CFile::Read(void* buffer, UINT count) {
    DWORD read = 0;
    if (!m_file || !::ReadFile(m_file, buffer, count, &read, nullptr))
        return 0;
    return read;
}

BOOL CFile::Write(const void* buffer, UINT count) {
    DWORD written = 0;
    return m_file && ::WriteFile(m_file, buffer, count, &written, nullptr) && written == count;
}

BOOL CFile::Close() {
    if (!m_file)
        return FALSE;
    return ::CloseHandle(m_file.Release());
}
