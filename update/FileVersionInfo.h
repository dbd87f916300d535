#pragma once

#include <windows.h>

#include <vector>

#include "framework/String.h"

// The fixed part of one file's version resource, read through the version API.
class FileVersionInfo : public VS_FIXEDFILEINFO {
public:
    FileVersionInfo();
    virtual ~FileVersionInfo() = default;
    FileVersionInfo(const FileVersionInfo&) = delete;
    FileVersionInfo& operator=(const FileVersionInfo&) = delete;

    // True when the file carries a fixed-info block with the right signature.
    bool Read(const char* path);
    // The file version as "a.b.c.d".
    CString GetFileVersionText() const;

private:
    std::vector<BYTE> m_resource;
};
