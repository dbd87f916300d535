#include "TableDef.h"

#include "PageFile.h"
#include "Text.h"

#include <algorithm>
#include <unordered_set>

namespace jet {

namespace {

constexpr std::size_t continuationStart = 8;
constexpr std::uint8_t calculatedFlags = 0xC0;

std::vector<std::uint8_t> readChain(const PageFile& file, std::uint32_t first) {
    std::vector<std::uint8_t> definition;
    std::unordered_set<std::uint32_t> seen;
    std::uint32_t number = first;
    while (number != 0 || definition.empty()) {
        if (!seen.insert(number).second)
            throw Error("file is damaged: the definition of the table at page " +
                        std::to_string(first) + " loops");
        Page page = file.page(number);
        if (page.type() != page_type::tableDefinition)
            throw Error("file is damaged: page " + std::to_string(number) +
                        " is not a table definition");
        auto start = page.buffer->begin() + (definition.empty() ? 0 : continuationStart);
        definition.insert(definition.end(), start, page.buffer->end());
        number = page.bytes().u32(4);
    }
    return definition;
}

} // namespace

TableDef TableDef::read(const PageFile& file, std::uint32_t page) {
    const Format& format = file.format();
    std::vector<std::uint8_t> definition = readChain(file, page);
    Bytes bytes(definition.data(), definition.size());

    TableDef table;
    table.firstPage = page;
    std::uint16_t columnCount = bytes.u16(format.tdefColumns);
    table.varColumnCount = bytes.u16(format.tdefVarColumns);
    std::uint32_t realIndexes = bytes.u32(format.tdefRealIndexes);
    table.usedPagesRow = bytes.u8(format.tdefUsedPagesMap);
    table.usedPagesPage = bytes.u24(format.tdefUsedPagesMap + 1);
    if (realIndexes > definition.size())
        throw Error("file is damaged: table definition at page " + std::to_string(page) +
                    " counts more indexes than it holds");

    std::size_t at = format.tdefIndexEntries + realIndexes * format.indexEntrySize;
    table.columns.resize(columnCount);
    for (ColumnDef& column : table.columns) {
        Bytes record = bytes.slice(at, format.columnRecordSize);
        column.type = record.u8(0);
        if (format.jet4()) {
            column.number = record.u16(5);
            column.varIndex = record.u16(7);
            column.precision = record.u8(11);
            column.scale = record.u8(12);
            column.flags = record.u8(15);
            column.calculated = (record.u8(16) & calculatedFlags) == calculatedFlags;
            if (column.type == column_type::complex)
                table.complexColumns.push_back({column.number, record.u32(11), nullptr});
            column.fixedOffset = record.u16(21);
            column.length = record.u16(23);
        } else {
            column.number = record.u16(1);
            column.varIndex = record.u16(3);
            column.precision = record.u8(11);
            column.scale = record.u8(12);
            column.flags = record.u8(13);
            column.fixedOffset = record.u16(14);
            column.length = record.u16(16);
        }
        at += format.columnRecordSize;
    }
    for (ColumnDef& column : table.columns) {
        if (format.jet4()) {
            std::uint16_t length = bytes.u16(at);
            Bytes name = bytes.slice(at + 2, length);
            column.name = text::fromJet4(name.data(), name.size());
            at += 2 + length;
        } else {
            std::uint8_t length = bytes.u8(at);
            Bytes name = bytes.slice(at + 1, length);
            column.name = text::fromCodePage(name.data(), name.size(), file.codePage());
            at += 1 + length;
        }
    }
    std::stable_sort(table.columns.begin(), table.columns.end(),
                     [](const ColumnDef& a, const ColumnDef& b) { return a.number < b.number; });
    return table;
}

} // namespace jet
