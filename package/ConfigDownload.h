#pragma once

#include <cstddef>

#include "framework/net/InternetSession.h"
#include "framework/base/String.h"

// Fetches the address into the file at path in 1024-byte steps. A temporary file beside it
// takes the bytes; the file is replaced in one step only when the answer is 2xx, not empty, at
// most maxBytes, and arrived whole (every announced byte, or a clean end when no length was
// announced) within the session's transfer limits, and when the file is not read-only.
// Otherwise the file stays as it was and the temporary file is removed. TRUE when replaced.
BOOL DownloadToFile(CInternetSession& session, const char* url, const CString& path,
                    size_t maxBytes);

// Removes the temporary files that a download into `path` left behind when its program was
// killed; those of a download still running are in use and stay.
void RemoveStaleDownloads(const CString& path);
