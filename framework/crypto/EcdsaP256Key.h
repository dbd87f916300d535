#pragma once

#include <windows.h>

#include "framework/base/ScopedHandle.h"

// An ECDSA P-256 public key held by the platform's CNG, for checking detached signatures.
class CEcdsaP256Key {
public:
    CEcdsaP256Key() = default;
    CEcdsaP256Key(const CEcdsaP256Key&) = delete;
    CEcdsaP256Key& operator=(const CEcdsaP256Key&) = delete;

    // The public point as X then Y, 32 big-endian bytes each; false when it is no key.
    bool Import(const BYTE (&point)[64]);
    // Whether `signature`, DER-encoded as OpenSSL writes it, signs the SHA-256 of `data`.
    bool Verify(const void* data, DWORD size, const BYTE* signature, DWORD signatureSize) const;

private:
    CCngAlgorithm m_algorithm;
    CCngKey m_key;
};
