#include "framework/base/File.h"

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
    return ::CloseHandle(m_file.Detach());
}

BOOL ReadWholeFile(const char* path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    CHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
        static_cast<ULONGLONG>(size.QuadPart) > maxBytes)
        return FALSE;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    // A file that grew meanwhile still gives no more than its size at the start.
    if (!bytes.empty() &&
        (!::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
        bytes.clear();
        return FALSE;
    }
    return TRUE;
}
