#include "RowReader.h"

#include "DataPage.h"
#include "Text.h"
#include "ValueText.h"

#include <cstring>
#include <unordered_set>

namespace jet {

namespace {

std::size_t fixedSize(const ColumnDef& column) {
    switch (column.type) {
    case column_type::yesNo:
        return 0;
    case column_type::byte:
        return 1;
    case column_type::integer:
        return 2;
    case column_type::longInteger:
    case column_type::single:
    case column_type::complex:
        return 4;
    case column_type::currency:
    case column_type::real:
    case column_type::dateTime:
    case column_type::bigInteger:
        return 8;
    case column_type::guid:
        return 16;
    case column_type::numeric:
        return 17;
    default:
        return column.length;
    }
}

constexpr std::uint32_t longValueInline = 0x80000000;
constexpr std::uint32_t longValueSingle = 0x40000000;
constexpr std::uint32_t longValueLengthMask = 0x3FFFFFFF;
constexpr std::size_t longValueHeader = 12;

double toDouble(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A calculated column (Access 2010) stores its result after a 16-byte header and its length.
Bytes calculatedResult(Bytes stored) {
    constexpr std::size_t header = 16;
    std::uint32_t length = stored.u32(header);
    if (length > stored.size() - header - 4)
        throw Error("file is damaged: a calculated value is longer than its row");
    return stored.slice(header + 4, length);
}

} // namespace

RowReader::RowReader(const PageFile& file, const TableDef& table)
    : file_(file), table_(table), fields_(table.columns.size()) {
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i].calculated)
            calculatedColumns_.push_back(i);
}

void RowReader::unwrapCalculated() {
    for (std::size_t column : calculatedColumns_) {
        Field& field = fields_[column];
        if (field.present) {
            field.bytes = calculatedResult(field.bytes);
            field.present = field.bytes.size() != 0;
        }
    }
}

void RowReader::splitJet4(Bytes row) {
    std::size_t count = row.u16(0);
    std::size_t maskSize = (count + 7) / 8;
    if (maskSize + 4 > row.size())
        throw Error("file is damaged: a row is shorter than its column count says");
    std::size_t maskStart = row.size() - maskSize;
    if (table_.varColumnCount == 0) {
        varOffsets_.assign(1, maskStart);
        placeColumns(row, count, 2, varOffsets_, row.slice(maskStart, maskSize));
        return;
    }
    std::size_t varCount = row.u16(maskStart - 2);
    if (2 * (varCount + 1) + 4 > maskStart)
        throw Error("file is damaged: a row counts more variable columns than it holds");
    varOffsets_.resize(varCount + 1);
    for (std::size_t i = 0; i <= varCount; ++i)
        varOffsets_[i] = row.u16(maskStart - 2 - 2 * (i + 1));
    placeColumns(row, count, 2, varOffsets_, row.slice(maskStart, maskSize));
}

// Jet3 offsets are one byte; a jump table before the count marks the variable columns
// from which 256 is added.
void RowReader::splitJet3(Bytes row) {
    if (row.size() < 2)
        throw Error("file is damaged: a row is too short");
    std::size_t count = row.u8(0);
    std::size_t maskSize = (count + 7) / 8;
    if (maskSize + 2 > row.size())
        throw Error("file is damaged: a row is shorter than its column count says");
    std::size_t maskStart = row.size() - maskSize;
    if (table_.varColumnCount == 0) {
        varOffsets_.assign(1, maskStart);
        placeColumns(row, count, 1, varOffsets_, row.slice(maskStart, maskSize));
        return;
    }
    std::size_t varCount = row.u8(maskStart - 1);
    std::size_t jumps = (row.size() - 1) / 256;
    if (jumps + varCount + 2 > maskStart)
        throw Error("file is damaged: a row counts more variable columns than it holds");
    std::size_t offsetTable = maskStart - 2 - jumps;
    if ((offsetTable - varCount) / 256 < jumps)
        --jumps;
    varOffsets_.resize(varCount + 1);
    std::size_t jumpsUsed = 0;
    for (std::size_t i = 0; i <= varCount; ++i) {
        while (jumpsUsed < jumps && row.u8(maskStart - 2 - jumpsUsed) == i)
            ++jumpsUsed;
        varOffsets_[i] = row.u8(offsetTable - i) + 256 * jumpsUsed;
    }
    placeColumns(row, count, 1, varOffsets_, row.slice(maskStart, maskSize));
}

void RowReader::placeColumns(Bytes row, std::size_t columnsInRow, std::size_t fixedStart,
                             const std::vector<std::size_t>& varOffsets, Bytes nullMask) {
    std::size_t varCount = varOffsets.size() - 1;
    std::size_t fixedInRow = columnsInRow >= varCount ? columnsInRow - varCount : 0;
    std::size_t fixedSeen = 0;
    for (std::size_t i = 0; i < table_.columns.size(); ++i) {
        const ColumnDef& column = table_.columns[i];
        Field& field = fields_[i];
        bool bit = column.number < columnsInRow &&
                   (nullMask.u8(column.number / 8) >> (column.number % 8) & 1);
        field.present = bit;
        field.yes = bit;
        field.bytes = Bytes();
        if (column.type == column_type::yesNo) {
            field.present = column.number < columnsInRow;
            ++fixedSeen;
            continue;
        }
        if (column.isFixed()) {
            bool stored = fixedSeen++ < fixedInRow;
            if (field.present && stored)
                field.bytes = row.slice(fixedStart + column.fixedOffset, fixedSize(column));
            else
                field.present = false;
            continue;
        }
        if (column.varIndex >= varCount) {
            field.present = false;
            continue;
        }
        std::size_t start = varOffsets[column.varIndex];
        std::size_t end = varOffsets[column.varIndex + 1];
        if (field.present) {
            if (end < start || end > row.size())
                throw Error("file is damaged: a value reaches past the end of its row");
            field.bytes = row.slice(start, end - start);
        }
    }
}

std::string RowReader::decodeText(const std::uint8_t* data, std::size_t size) const {
    if (file_.format().jet4())
        return text::fromJet4(data, size);
    return text::fromCodePage(data, size, file_.codePage());
}

std::vector<std::uint8_t> RowReader::longValue(Bytes field) const {
    std::vector<std::uint8_t> value;
    if (field.size() < longValueHeader)
        return std::vector<std::uint8_t>(field.data(), field.data() + field.size());
    std::uint32_t header = field.u32(0);
    std::size_t length = header & longValueLengthMask;
    std::uint32_t pointer = field.u32(4);
    if (header & longValueInline) {
        Bytes data = field.slice(longValueHeader, field.size() - longValueHeader);
        if (length > data.size())
            throw Error("file is damaged: an inline memo is longer than its row");
        return std::vector<std::uint8_t>(data.data(), data.data() + length);
    }
    Page keep;
    if (header & longValueSingle) {
        Bytes data = data_page::rowAt(file_, pointer, keep);
        if (length > data.size())
            throw Error("file is damaged: a memo is longer than its page row");
        return std::vector<std::uint8_t>(data.data(), data.data() + length);
    }
    std::unordered_set<std::uint32_t> seen;
    value.reserve(length < (1u << 20) ? length : (1u << 20));
    while (value.size() < length) {
        if (pointer == 0 || !seen.insert(pointer).second)
            throw Error("file is damaged: a memo's page chain is broken");
        Bytes data = data_page::rowAt(file_, pointer, keep);
        pointer = data.u32(0);
        std::size_t take = data.size() - 4;
        if (take > length - value.size())
            take = length - value.size();
        value.insert(value.end(), data.data() + 4, data.data() + 4 + take);
    }
    return value;
}

std::string RowReader::text(std::size_t index) const {
    const Field& field = fields_[index];
    const ColumnDef& column = table_.columns[index];
    if (!field.present)
        return std::string();
    Bytes b = field.bytes;
    switch (column.type) {
    case column_type::yesNo:
        return field.yes ? "1" : "0";
    case column_type::byte:
        return std::to_string(b.u8(0));
    case column_type::integer:
        return std::to_string(static_cast<std::int16_t>(b.u16(0)));
    case column_type::longInteger:
        return std::to_string(static_cast<std::int32_t>(b.u32(0)));
    case column_type::bigInteger:
        return value_text::bigInteger(static_cast<std::int64_t>(b.u64(0)));
    case column_type::currency:
        return value_text::currency(static_cast<std::int64_t>(b.u64(0)));
    case column_type::single: {
        std::uint32_t bits = b.u32(0);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value_text::single(value);
    }
    case column_type::real:
        return value_text::real(toDouble(b.u64(0)));
    case column_type::dateTime:
        return value_text::dateTime(toDouble(b.u64(0)));
    case column_type::extendedDateTime:
        return value_text::extendedDateTime(b);
    case column_type::guid:
        return value_text::guid(b);
    case column_type::numeric:
        return value_text::numeric(b, column.scale);
    case column_type::complex:
        for (const TableDef::ComplexColumn& complex : table_.complexColumns)
            if (complex.columnNumber == column.number && complex.values)
                return complex.values->of(b.u32(0));
        return std::string();
    case column_type::text:
        return decodeText(b.data(), b.size());
    case column_type::memo: {
        std::vector<std::uint8_t> value = longValue(b);
        return decodeText(value.data(), value.size());
    }
    case column_type::ole: {
        std::vector<std::uint8_t> value = longValue(b);
        return value_text::hex(value.data(), value.size());
    }
    default:
        return value_text::hex(b.data(), b.size());
    }
}

} // namespace jet
