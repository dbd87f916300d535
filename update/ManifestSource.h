#pragma once

#include <windows.h>

#include <string>

#include "framework/net/InternetSession.h"

// Reads all of `source`, an http address or a local file (a path or a file: address), into
// `bytes`: false when it cannot be had whole (http: status 200 after at most five redirects on
// the same scheme, host and port, under `limits`) or holds more than `limit` bytes.
bool ReadManifestSource(const char* source, size_t limit, const InternetTransferLimits& limits,
                        std::string& bytes);

// Whether `manifest`, the exact bytes read from `source`, is signed by the key whose point is
// `key`: the detached DER signature lies at `source` with ".sig" on its path (before any query),
// at most 1 KB.
bool IsManifestSigned(const char* source, const std::string& manifest, const BYTE (&key)[64],
                      const InternetTransferLimits& limits);
