#include "framework/base/SipHash.h"

#include <windows.h>
#include <bcrypt.h>

namespace {

std::uint64_t Rotate(std::uint64_t value, int bits) {
    return value << bits | value >> (64 - bits);
}

std::uint64_t LittleEndian(const unsigned char* bytes, size_t count) {
    std::uint64_t value = 0;
    for (size_t i = count; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

struct State {
    std::uint64_t v0, v1, v2, v3;

    void Rounds(int count) {
        while (count-- > 0) {
            v0 += v1;
            v1 = Rotate(v1, 13) ^ v0;
            v0 = Rotate(v0, 32);
            v2 += v3;
            v3 = Rotate(v3, 16) ^ v2;
            v0 += v3;
            v3 = Rotate(v3, 21) ^ v0;
            v2 += v1;
            v1 = Rotate(v1, 17) ^ v2;
            v2 = Rotate(v2, 32);
        }
    }

    void Compress(std::uint64_t word) {
        v3 ^= word;
        Rounds(2);
        v0 ^= word;
    }
};

} // namespace

std::uint64_t SipHash24(const SipHashKey& key, const void* data, size_t size) {
    State state{key.k0 ^ 0x736f6d6570736575ull, key.k1 ^ 0x646f72616e646f6dull,
                key.k0 ^ 0x6c7967656e657261ull, key.k1 ^ 0x7465646279746573ull};
    const auto* bytes = static_cast<const unsigned char*>(data);
    const size_t whole = size - size % 8;
    for (size_t at = 0; at < whole; at += 8)
        state.Compress(LittleEndian(bytes + at, 8));
    state.Compress(static_cast<std::uint64_t>(size) << 56 | LittleEndian(bytes + whole, size % 8));
    state.v2 ^= 0xff;
    state.Rounds(4);
    return state.v0 ^ state.v1 ^ state.v2 ^ state.v3;
}

// Should the generator fail, the clock and the process still give each run a key of its own.
SipHashKey RandomSipHashKey() {
    SipHashKey key;
    if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&key), sizeof key,
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        LARGE_INTEGER counter;
        ::QueryPerformanceCounter(&counter);
        key.k0 = static_cast<std::uint64_t>(counter.QuadPart);
        key.k1 = ::GetTickCount64() ^ ::GetCurrentProcessId();
    }
    return key;
}
