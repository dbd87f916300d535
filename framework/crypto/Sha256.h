#pragma once

#include <windows.h>

#include "framework/base/ScopedHandle.h"

// SHA-256 through the platform's CNG, fed piece by piece.
class CSha256 {
public:
    CSha256();
    CSha256(const CSha256&) = delete;
    CSha256& operator=(const CSha256&) = delete;

    void Update(const void* data, DWORD size);
    // False when the provider failed at any step; the digest is then meaningless.
    bool Finish(BYTE (&digest)[32]);
    // Finishes and compares with a digest in hex of either case; false when the provider failed.
    bool FinishMatches(const char* expectedHex);

private:
    CCngAlgorithm m_algorithm;
    CCngHash m_hash;
    bool m_bFailed = false;
};
