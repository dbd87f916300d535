#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jet::text {

void appendUtf8(std::string& out, char32_t codePoint);

// Text as Jet4 stores it: UTF-16LE, or "compressed" (FF FE, then runs of one-byte and
// two-byte characters separated by 0x00 bytes).
std::string fromJet4(const std::uint8_t* data, std::size_t size);

// Text in a Jet3 database's code page: 936 (GBK) and the single-byte Windows code pages 874
// and 1250 to 1258 are known; others (932, 949, 950) are read as 1252, which agrees with
// them on ASCII. Bytes a single-byte code page leaves unassigned read as Windows reads them
// (1252's 0x81 as U+0081).
std::string fromCodePage(const std::uint8_t* data, std::size_t size, unsigned codePage);

// Code points of UTF-8 text; a malformed sequence yields U+FFFD per byte.
std::u32string decodeUtf8(const std::string& utf8);
// The same into `out`, whose storage is reused.
void decodeUtf8(const std::string& utf8, std::u32string& out);
std::u16string toUtf16(const std::string& utf8);

// Lower case for the letters Jet treats as cased (Latin, Greek, Cyrillic, full-width Latin).
char32_t foldCase(char32_t c);
std::u32string folded(const std::string& utf8);

bool equalIgnoringCase(const std::string& a, const std::string& b);

} // namespace jet::text
