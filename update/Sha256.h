#pragma once

#include <windows.h>

// Incremental SHA-256 through the platform's crypto provider.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Update(const void* data, DWORD size);
    // False when the provider failed at any step; the digest is then meaningless.
    bool Finish(BYTE (&digest)[32]);

private:
    void* m_algorithm = nullptr;
    void* m_hash = nullptr;
    bool m_bFailed = false;
};
