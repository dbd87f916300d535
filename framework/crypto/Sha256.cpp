#include "Sha256.h"

#include <cstring>

namespace {

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

} // namespace

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

bool CSha256::FinishMatches(const char* expectedHex) {
    BYTE digest[32] = {};
    if (!expectedHex || std::strlen(expectedHex) != 64 || !Finish(digest))
        return false;
    for (int i = 0; i < 32; ++i) {
        if (HexValue(expectedHex[2 * i]) != digest[i] >> 4 ||
            HexValue(expectedHex[2 * i + 1]) != (digest[i] & 0x0F))
            return false;
    }
    return true;
}
