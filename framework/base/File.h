#pragma once

#include <windows.h>

#include <string>

#include "framework/base/ScopedHandle.h"

// A local file by its Win32 handle.
class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyWrite = 0x0020,
        modeCreate = 0x1000,
    };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeCreate makes the file or empties an existing one; without it the file must exist.
    BOOL Open(const char* path, UINT flags);
    UINT Read(void* buffer, UINT count);
    // TRUE when every byte was written.
    BOOL Write(const void* buffer, UINT count);
    // TRUE when the file was open and closed cleanly (its data handed to the system).
    BOOL Close();
    BOOL IsOpen() const { return m_file.IsValid(); }

    static BOOL Remove(const char* path) { return ::DeleteFileA(path); }

private:
    CHandle m_file;
};

// The whole of a file of at most maxBytes; FALSE for a larger one, which is not read at all.
BOOL ReadWholeFile(const char* path, size_t maxBytes, std::string& bytes);
