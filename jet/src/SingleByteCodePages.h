#pragma once

#include <cstdint>

namespace jet {

// A Windows single-byte code page: the characters of bytes 0x80-0xFF, 0 where there is none.
// Bytes below 0x80 are ASCII in all of them.
struct SingleByteCodePage {
    unsigned number;
    char16_t upperHalf[128];
};

// 874 (Thai), 1250-1258 (Central European, Cyrillic, Western, Greek, Turkish, Hebrew, Arabic,
// Baltic, Vietnamese).
extern const SingleByteCodePage singleByteCodePages[10];

} // namespace jet
