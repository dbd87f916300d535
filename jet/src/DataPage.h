#pragma once

#include "PageFile.h"

#include <cstdint>

namespace jet {

// A row slot of a data page: where its bytes lie and what its offset flags say.
struct RowSlot {
    enum Kind {
        Row,      // a row read in its own place
        Deleted,  // both flags: no bytes
        Target,   // relocated row: read only through the pointer that leads to it
        Overflow, // bytes are a row-and-page pointer to the relocated row
    };
    Kind kind = Row;
    Bytes bytes;
};

namespace data_page {

unsigned rowCount(const Page& page, const Format& format);
RowSlot slot(const Page& page, unsigned row, const Format& format);

// The row at a row-and-page pointer (low byte row, upper three bytes page); `keep` receives
// the page that owns the returned bytes.
Bytes rowAt(const PageFile& file, std::uint32_t pointer, Page& keep);

} // namespace data_page

} // namespace jet
