#pragma once

#include "ComplexValues.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace jet {

class PageFile;

struct ColumnDef {
    std::string name;
    std::uint8_t type = 0;
    std::uint16_t number = 0;   // bit in a row's null mask
    std::uint16_t varIndex = 0; // slot in a row's variable-offset table
    std::uint16_t fixedOffset = 0;
    std::uint16_t length = 0;
    std::uint8_t flags = 0;
    std::uint8_t precision = 0;
    std::uint8_t scale = 0;
    bool calculated = false;

    bool isFixed() const { return flags & 0x01; }
};

// A table's definition, read from its TDEF page chain. Columns are in column-number order.
struct TableDef {
    std::uint32_t firstPage = 0;
    std::vector<ColumnDef> columns;
    // Rows of a table without variable columns carry no variable-offset table at all.
    std::uint16_t varColumnCount = 0;
    std::uint8_t usedPagesRow = 0;
    std::uint32_t usedPagesPage = 0;

    // Attachment, multi-value and memo-history columns by column number: the number that
    // names each one's hidden table, and its values once loaded.
    struct ComplexColumn {
        std::uint16_t columnNumber;
        std::uint32_t id;
        std::shared_ptr<const ComplexValues> values;
    };
    std::vector<ComplexColumn> complexColumns;

    static TableDef read(const PageFile& file, std::uint32_t page);
};

} // namespace jet
