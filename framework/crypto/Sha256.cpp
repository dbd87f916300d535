#include "Sha256.h"

CSha256::CSha256() {
    m_bFailed = !BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(
                    m_algorithm.Receive(), BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
                !BCRYPT_SUCCESS(
                    ::BCryptCreateHash(m_algorithm, m_hash.Receive(), nullptr, 0, nullptr, 0, 0));
}

void CSha256::Update(const void* data, DWORD size) {
    if (!m_bFailed && size > 0)
        m_bFailed = !BCRYPT_SUCCESS(
            ::BCryptHashData(m_hash, static_cast<PUCHAR>(const_cast<void*>(data)), size, 0));
}

bool CSha256::Finish(BYTE (&digest)[32]) {
    return !m_bFailed && BCRYPT_SUCCESS(::BCryptFinishHash(m_hash, digest, sizeof(digest), 0));
}
