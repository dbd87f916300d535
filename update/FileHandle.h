#pragma once

#include <windows.h>

// Owns a file handle from CreateFileA and closes it.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    void Close() {
        if (IsValid())
            ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    operator HANDLE() const { return m_handle; }

private:
    HANDLE m_handle;
};
