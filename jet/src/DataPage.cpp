#include "DataPage.h"

namespace jet::data_page {

namespace {

constexpr std::uint16_t deletedFlag = 0x8000;
constexpr std::uint16_t overflowFlag = 0x4000;
constexpr std::uint16_t offsetMask = 0x1FFF;

} // namespace

unsigned rowCount(const Page& page, const Format& format) {
    unsigned count = page.bytes().u16(format.dataRowCount);
    if (format.dataRowOffsets + 2 * count > format.pageSize)
        throw Error("file is damaged: data page " + std::to_string(page.number) + " claims " +
                    std::to_string(count) + " rows");
    return count;
}

RowSlot slot(const Page& page, unsigned row, const Format& format) {
    Bytes bytes = page.bytes();
    std::uint16_t raw = bytes.u16(format.dataRowOffsets + 2 * row);
    RowSlot result;
    if ((raw & deletedFlag) && (raw & overflowFlag)) {
        result.kind = RowSlot::Deleted;
        return result;
    }
    result.kind = raw & deletedFlag    ? RowSlot::Target
                  : raw & overflowFlag ? RowSlot::Overflow
                                       : RowSlot::Row;
    std::size_t start = raw & offsetMask;
    std::size_t end =
        row == 0 ? format.pageSize : bytes.u16(format.dataRowOffsets + 2 * (row - 1)) & offsetMask;
    std::size_t tableEnd = format.dataRowOffsets + 2 * rowCount(page, format);
    if (start < tableEnd || end < start || end > format.pageSize)
        throw Error("file is damaged: row " + std::to_string(row) + " of page " +
                    std::to_string(page.number) + " has an impossible offset");
    result.bytes = bytes.slice(start, end - start);
    return result;
}

Bytes rowAt(const PageFile& file, std::uint32_t pointer, Page& keep) {
    unsigned row = pointer & 0xFF;
    keep = file.page(pointer >> 8);
    if (keep.type() != page_type::data || row >= rowCount(keep, file.format()))
        throw Error("file is damaged: a row pointer leads to page " + std::to_string(pointer >> 8) +
                    ", which holds no such row");
    RowSlot target = slot(keep, row, file.format());
    if (target.kind == RowSlot::Deleted)
        throw Error("file is damaged: a row pointer leads to a deleted row");
    return target.bytes;
}

} // namespace jet::data_page
