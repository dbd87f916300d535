#include "Sha256.h"

#include <bcrypt.h>

Sha256::Sha256() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    m_bFailed = !BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM,
                                                              nullptr, 0)) ||
                !BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
    m_algorithm = algorithm;
    m_hash = hash;
}

Sha256::~Sha256() {
    if (m_hash)
        ::BCryptDestroyHash(m_hash);
    if (m_algorithm)
        ::BCryptCloseAlgorithmProvider(m_algorithm, 0);
}

void Sha256::Update(const void* data, DWORD size) {
    if (!m_bFailed && size > 0)
        m_bFailed = !BCRYPT_SUCCESS(
            ::BCryptHashData(m_hash, static_cast<PUCHAR>(const_cast<void*>(data)), size, 0));
}

bool Sha256::Finish(BYTE (&digest)[32]) {
    return !m_bFailed && BCRYPT_SUCCESS(::BCryptFinishHash(m_hash, digest, sizeof(digest), 0));
}
