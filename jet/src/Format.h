#pragma once

#include <cstddef>
#include <cstdint>

namespace jet {

// Where the two file versions keep things. Jet4 widened most counts and offsets.
struct Format {
    int version;
    std::size_t pageSize;
    std::size_t dataRowCount;     // uint16 in a data page
    std::size_t dataRowOffsets;   // first uint16 row offset
    std::size_t tdefVarColumns;   // uint16
    std::size_t tdefColumns;      // uint16
    std::size_t tdefRealIndexes;  // uint32
    std::size_t tdefUsedPagesMap; // row byte + 3 page bytes
    std::size_t tdefIndexEntries; // first real index entry
    std::size_t indexEntrySize;
    std::size_t columnRecordSize;
    std::size_t headerScrambled; // bytes of page 0 under RC4 from 0x18
    // Access 2007 and later (ACE) keep Jet4's layout.
    bool jet4() const { return version >= 4; }
};

constexpr Format jet3Format{3, 2048, 8, 10, 23, 25, 31, 35, 43, 8, 18, 126};
constexpr Format jet4Format{4, 4096, 12, 14, 43, 45, 51, 55, 63, 12, 25, 128};

// The header's version byte 2 to 6 (Access 2007, 2010, 2013, 2016, 2019) as the engine
// version Access names it by: 12, 14, 15, 16, 17.
constexpr Format aceFormat(std::uint8_t versionByte) {
    Format format = jet4Format;
    format.version = versionByte == 2 ? 12 : 11 + versionByte;
    return format;
}

// MSysObjects' definition, where the catalog starts.
constexpr std::uint32_t catalogPage = 2;

constexpr std::uint8_t headerKey[4] = {0xC7, 0xDA, 0x39, 0x6B};

namespace page_type {
constexpr std::uint8_t data = 0x01;
constexpr std::uint8_t tableDefinition = 0x02;
constexpr std::uint8_t usageBitmap = 0x05;
} // namespace page_type

namespace column_type {
constexpr std::uint8_t yesNo = 0x01;
constexpr std::uint8_t byte = 0x02;
constexpr std::uint8_t integer = 0x03;
constexpr std::uint8_t longInteger = 0x04;
constexpr std::uint8_t currency = 0x05;
constexpr std::uint8_t single = 0x06;
constexpr std::uint8_t real = 0x07;
constexpr std::uint8_t dateTime = 0x08;
constexpr std::uint8_t binary = 0x09;
constexpr std::uint8_t text = 0x0A;
constexpr std::uint8_t ole = 0x0B;
constexpr std::uint8_t memo = 0x0C;
constexpr std::uint8_t guid = 0x0F;
constexpr std::uint8_t numeric = 0x10;
// Access 2007 and later: attachment, multi-value and memo-history columns, whose values are
// rows of a hidden table; Access 2016's large number; Access 2019's extended date/time.
constexpr std::uint8_t complex = 0x12;
constexpr std::uint8_t bigInteger = 0x13;
constexpr std::uint8_t extendedDateTime = 0x14;
} // namespace column_type

} // namespace jet
