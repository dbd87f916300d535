#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/base/String.h"

// A hash map from text to text, keyed per process; keys match exactly (case matters). Entries are
// allocated in blocks of the given size and live as long as the map.
class CMapStringToString {
public:
    explicit CMapStringToString(int blockSize = 10);
    CMapStringToString(const CMapStringToString&) = delete;
    CMapStringToString& operator=(const CMapStringToString&) = delete;

    int GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }
    // TRUE and the value when the key is present.
    BOOL Lookup(const char* key, CString& value) const;
    // Inserts the key or replaces its value.
    void SetAt(const char* key, const char* value) { (*this)[key] = value; }
    // The key's value, inserted empty when absent.
    CString& operator[](const char* key);
    // Entries allocated so far, a multiple of the block size.
    // The most entries that share one bucket.
    int GetLongestChain() const;

private:
    struct Assoc {
        Assoc* next = nullptr;
        UINT hash = 0;
        CString key;
        CString value;
    };

    static UINT HashKey(const char* key);
    Assoc* Find(const char* key, UINT hash) const;
    Assoc* NewAssoc();
    void Grow();

    int m_nBlockSize;
    int m_nCount = 0;
    std::vector<Assoc*> m_buckets;
    std::vector<std::unique_ptr<Assoc[]>> m_blocks;
    // Entries of the last block not yet handed out.
    int m_nUnusedInBlock = 0;
};
