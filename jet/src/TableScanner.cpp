#include "TableScanner.h"

namespace jet {

namespace {

// An overflow pointer may lead to another; more hops than this can only be a loop.
constexpr int maxOverflowHops = 8;

} // namespace

void forEachRow(const PageFile& file, const TableDef& table,
                const std::function<void(const RowReader&)>& visit) {
    TableScanner scanner(file, table);
    RowReader reader(file, table);
    Bytes row;
    Page keep;
    while (scanner.next(row, keep)) {
        reader.split(row);
        visit(reader);
    }
}

std::vector<std::uint8_t> copyRow(const PageFile& file, std::uint32_t pointer) {
    Page keep;
    Bytes row = data_page::rowAt(file, pointer, keep);
    return std::vector<std::uint8_t>(row.data(), row.data() + row.size());
}

TableScanner::TableScanner(const PageFile& file, const TableDef& table)
    : file_(file), tablePage_(table.firstPage) {
    std::vector<std::uint8_t> map = copyRow(file, table.usedPagesPage << 8 | table.usedPagesRow);
    map_ = std::make_unique<UsageMap>(file, Bytes(map.data(), map.size()));
}

bool TableScanner::nextPage() {
    std::uint32_t number = 0;
    while (map_->next(number)) {
        Page page = file_.page(number);
        if (page.type() != page_type::data || page.bytes().u32(4) != tablePage_)
            continue;
        page_ = page;
        rows_ = data_page::rowCount(page_, file_.format());
        slot_ = 0;
        return true;
    }
    return false;
}

bool TableScanner::next(Bytes& row, Page& keep) {
    for (;;) {
        while (page_.buffer && slot_ < rows_) {
            RowSlot slot = data_page::slot(page_, slot_++, file_.format());
            if (slot.kind == RowSlot::Deleted || slot.kind == RowSlot::Target)
                continue;
            keep = page_;
            for (int hop = 0; slot.kind == RowSlot::Overflow; ++hop) {
                if (hop == maxOverflowHops)
                    throw Error("file is damaged: overflow rows form a loop");
                std::uint32_t pointer = slot.bytes.u32(0);
                keep = file_.page(pointer >> 8);
                unsigned number = pointer & 0xFF;
                if (keep.type() != page_type::data ||
                    number >= data_page::rowCount(keep, file_.format()))
                    throw Error("file is damaged: an overflow pointer leads nowhere");
                slot = data_page::slot(keep, number, file_.format());
            }
            if (slot.kind == RowSlot::Deleted)
                continue;
            row = slot.bytes;
            return true;
        }
        if (!nextPage())
            return false;
    }
}

} // namespace jet
