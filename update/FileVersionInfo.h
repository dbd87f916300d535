#pragma once

#include <windows.h>

#include "framework/base/String.h"

// The fixed part of one file's version resource, read straight from the program's resource
// directory: the version API loads the whole image twice per file, and under Wine searches the
// path for a file that is missing, which makes a list of a few thousand files take minutes.
class FileVersionInfo : public VS_FIXEDFILEINFO {
public:
    FileVersionInfo();
    virtual ~FileVersionInfo() = default;
    FileVersionInfo(const FileVersionInfo&) = delete;
    FileVersionInfo& operator=(const FileVersionInfo&) = delete;

    // True when the file is a Windows program whose version resource holds a fixed-info block
    // with the right signature. A damaged file is read no further than its own size.
    bool Read(const char* path);
    // The file version as "a.b.c.d".
    CString GetFileVersionText() const;
};
