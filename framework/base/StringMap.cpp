#include "framework/base/StringMap.h"

#include <bcrypt.h>

#include <algorithm>
#include <cstdint>

namespace {
constexpr size_t kBucketCount = 17;
// The table doubles when it holds more than this many entries per bucket, so that a long list
// costs no more per entry than a short one.
constexpr size_t kLoadLimit = 2;

constexpr std::uint64_t kPrime = 0x7FFFFFFF; // 2^31 - 1

// Should the generator fail, the clock and the process still give each run a point of its own.
std::uint64_t DrawPoint() {
    UINT point = 0;
    if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&point), sizeof point,
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        point = ::GetTickCount() ^ ::GetCurrentProcessId() << 16;
    return 2 + point % (kPrime - 2);
}
} // namespace

CMapStringToString::CMapStringToString(int blockSize)
    : m_nBlockSize(blockSize > 0 ? blockSize : 10), m_buckets(kBucketCount, nullptr) {}

// The name's bytes as the coefficients of a polynomial, taken at a point drawn once per process,
// modulo a prime: two names of at most n bytes agree at no more than n of the 2^31 points, so
// names from a downloaded list cannot be chosen to share one chain.
UINT CMapStringToString::HashKey(const char* key) {
    static const std::uint64_t point = DrawPoint();
    std::uint64_t hash = 0;
    for (const auto* byte = reinterpret_cast<const unsigned char*>(key); *byte; ++byte) {
        hash = hash * point + *byte;
        hash = (hash & kPrime) + (hash >> 31);
        hash = (hash & kPrime) + (hash >> 31);
    }
    return static_cast<UINT>(hash >= kPrime ? hash - kPrime : hash);
}

CMapStringToString::Assoc* CMapStringToString::Find(const char* key, UINT hash) const {
    for (Assoc* assoc = m_buckets[hash % m_buckets.size()]; assoc; assoc = assoc->next)
        if (assoc->hash == hash && assoc->key == key)
            return assoc;
    return nullptr;
}

CMapStringToString::Assoc* CMapStringToString::NewAssoc() {
    if (m_nUnusedInBlock == 0) {
        m_blocks.push_back(std::make_unique<Assoc[]>(static_cast<size_t>(m_nBlockSize)));
        m_nUnusedInBlock = m_nBlockSize;
    }
    return &m_blocks.back()[static_cast<size_t>(m_nBlockSize - m_nUnusedInBlock--)];
}

BOOL CMapStringToString::Lookup(const char* key, CString& value) const {
    const Assoc* assoc = Find(key ? key : "", HashKey(key ? key : ""));
    if (!assoc)
        return FALSE;
    value = assoc->value;
    return TRUE;
}

CString& CMapStringToString::operator[](const char* key) {
    if (!key)
        key = "";
    const UINT hash = HashKey(key);
    if (Assoc* found = Find(key, hash))
        return found->value;
    Assoc* assoc = NewAssoc();
    assoc->hash = hash;
    assoc->key = key;
    assoc->value.Empty();
    if (static_cast<size_t>(m_nCount) >= kLoadLimit * m_buckets.size())
        Grow();
    Assoc*& bucket = m_buckets[hash % m_buckets.size()];
    assoc->next = bucket;
    bucket = assoc;
    ++m_nCount;
    return assoc->value;
}

void CMapStringToString::Grow() {
    std::vector<Assoc*> buckets(m_buckets.size() * 2 + 1, nullptr);
    for (Assoc* chain : m_buckets) {
        while (chain) {
            Assoc* next = chain->next;
            Assoc*& bucket = buckets[chain->hash % buckets.size()];
            chain->next = bucket;
            bucket = chain;
            chain = next;
        }
    }
    m_buckets.swap(buckets);
}

int CMapStringToString::GetLongestChain() const {
    size_t longest = 0;
    for (const Assoc* chain : m_buckets) {
        size_t length = 0;
        for (; chain; chain = chain->next)
            ++length;
        longest = std::max(longest, length);
    }
    return static_cast<int>(longest);
}
