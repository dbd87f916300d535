#pragma once

#include <windows.h>
#include <msxml2.h>

#include <cstddef>

#include "framework/base/String.h"
#include "framework/com/Com.h"
#include "framework/net/InternetSession.h"

// The express companies' list, beside the program.
inline constexpr char kConfigFileName[] = "configs.xml";
// A list of a few dozen companies takes a few KB; a larger answer is refused and a larger file
// not read.
inline constexpr size_t kMaxConfigBytes = 1u << 20;

// The company entries of the list in the file at `path` (the elements under any Expresses
// element), in document order; empty when the file is missing, above maxBytes or no document.
CComPtr<IXMLDOMNodeList> ReadCompanyEntries(const char* path, size_t maxBytes);

// Fetches the company list at `url` into the file at `path`, through a temporary file beside
// it. The file is replaced in one step only by a whole 200 answer (same-host redirects
// followed) of at most maxBytes that reads as a list of at least one company, and never when
// it is read-only; otherwise it stays as it was, byte for byte. TRUE when replaced.
BOOL DownloadConfig(const char* agent, const char* url, const CString& path, size_t maxBytes,
                    const InternetTransferLimits& limits);
