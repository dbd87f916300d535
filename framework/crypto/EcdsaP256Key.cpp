#include "EcdsaP256Key.h"

#include <wincrypt.h>

#include <algorithm>
#include <cstring>

#include "framework/crypto/Sha256.h"

namespace {

constexpr DWORD kCoordinateSize = 32;
// SEQUENCE of two INTEGERs of at most 33 bytes each.
constexpr DWORD kLongestSignature = 72;

// One INTEGER of the decoded signature, little-endian, as the big-endian half CNG takes.
bool PutCoordinate(const CRYPT_UINT_BLOB& value, BYTE* half) {
    if (value.cbData > kCoordinateSize)
        return false;
    std::memset(half, 0, kCoordinateSize);
    std::reverse_copy(value.pbData, value.pbData + value.cbData,
                      half + kCoordinateSize - value.cbData);
    return true;
}

} // namespace

bool CEcdsaP256Key::Import(const BYTE (&point)[64]) {
    m_key.Reset();
    if (!m_algorithm && !BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(
                            m_algorithm.Receive(), BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)))
        return false;
    BYTE blob[sizeof(BCRYPT_ECCKEY_BLOB) + sizeof(point)];
    const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, kCoordinateSize};
    std::memcpy(blob, &header, sizeof(header));
    std::memcpy(blob + sizeof(header), point, sizeof(point));
    return BCRYPT_SUCCESS(::BCryptImportKeyPair(m_algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB,
                                                m_key.Receive(), blob, sizeof(blob), 0));
}

bool CEcdsaP256Key::Verify(const void* data, DWORD size, const BYTE* signature,
                           DWORD signatureSize) const {
    if (!m_key || !signature || signatureSize == 0 || signatureSize > kLongestSignature)
        return false;
    // The platform takes DER apart: r and s come back as little-endian numbers.
    alignas(CERT_ECC_SIGNATURE) BYTE decoded[256];
    DWORD decodedSize = sizeof(decoded);
    if (!::CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ECC_SIGNATURE, signature, signatureSize, 0,
                               nullptr, decoded, &decodedSize))
        return false;
    const auto* parts = reinterpret_cast<const CERT_ECC_SIGNATURE*>(decoded);
    BYTE raw[2 * kCoordinateSize];
    if (!PutCoordinate(parts->r, raw) || !PutCoordinate(parts->s, raw + kCoordinateSize))
        return false;
    CSha256 hash;
    hash.Update(data, size);
    BYTE digest[32];
    return hash.Finish(digest) && BCRYPT_SUCCESS(::BCryptVerifySignature(
                                      m_key, nullptr, digest, sizeof(digest), raw, sizeof(raw), 0));
}
