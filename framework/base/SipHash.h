#pragma once

#include <cstddef>
#include <cstdint>

// SipHash-2-4 (Aumasson and Bernstein), the keyed function hash tables use so that keys chosen
// by someone who does not know the key cannot be made to share one chain. Not a digest.
struct SipHashKey {
    std::uint64_t k0 = 0;
    std::uint64_t k1 = 0;
};

std::uint64_t SipHash24(const SipHashKey& key, const void* data, size_t size);
// A key from the platform's random number generator.
SipHashKey RandomSipHashKey();
