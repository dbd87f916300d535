#pragma once

#include <windows.h>

#include <string>

#include "framework/net/InternetSession.h"
#include "framework/base/String.h"

// Reads all of `source`, an http address or a local file (a path or a file: address), into
// `bytes`: false when it cannot be had whole (http: status 200 after at most five redirects on
// the same scheme, host and port, under `limits`) or holds more than `limit` bytes.
bool ReadManifestSource(const char* source, size_t limit, const InternetTransferLimits& limits,
                        std::string& bytes);

// Where the detached signature of the manifest at `source` lies: ".sig" appended to the path,
// before any query or fragment of an http address.
CString SignatureSource(const char* source);

// Whether `manifest`, the exact bytes read from `source`, is signed by the key whose point is
// `key`: the detached DER signature at SignatureSource, at most 1 KB.
bool IsManifestSigned(const char* source, const std::string& manifest, const BYTE (&key)[64],
                      const InternetTransferLimits& limits);
