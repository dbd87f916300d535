#include "RowReader.h"

#include "DataPage.h"
#include "Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
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
        return 4;
    case column_type::currency:
    case column_type::real:
    case column_type::dateTime:
        return 8;
    case column_type::guid:
        return 16;
    case column_type::numeric:
        return 17;
    default:
        return column.length;
    }
}

template <typename T> std::string shortest(T value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

double toDouble(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string currencyText(std::int64_t units) {
    std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : units;
    std::string digits = std::to_string(magnitude / 10000);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%04u", static_cast<unsigned>(magnitude % 10000));
    return (units < 0 ? "-" : "") + digits + fraction;
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(long long days, long long& year, unsigned& month, unsigned& day) {
    days += 719468;
    long long era = (days >= 0 ? days : days - 146096) / 146097;
    auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2);
}

// Jet keeps days since 1899-12-30 with the time of day as a fraction that is positive even
// when the day count is negative.
std::string dateText(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return shortest(value);
    double wholeDays = std::trunc(value);
    auto seconds = static_cast<long long>(std::llround(std::fabs(value - wholeDays) * 86400.0));
    auto days = static_cast<long long>(wholeDays);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += 1;
    }
    long long year;
    unsigned month, day;
    civilFromDays(days - 25569, year, month, day);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u %02lld:%02lld:%02lld", year, month, day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

std::string hexText(const std::uint8_t* data, std::size_t size) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::string guidText(Bytes bytes) {
    char buffer[40];
    const std::uint8_t* b = bytes.data();
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(bytes.u32(0)), bytes.u16(4), bytes.u16(6), b[8], b[9],
                  b[10], b[11], b[12], b[13], b[14], b[15]);
    return buffer;
}

// Sign byte, then four 32-bit words from the most significant; `scale` decimals.
std::string numericText(Bytes bytes, unsigned scale) {
    std::uint32_t words[4];
    for (int i = 0; i < 4; ++i)
        words[i] = bytes.u32(1 + 4 * i);
    std::string digits;
    while (words[0] || words[1] || words[2] || words[3]) {
        std::uint64_t remainder = 0;
        for (std::uint32_t& word : words) {
            std::uint64_t current = remainder << 32 | word;
            word = static_cast<std::uint32_t>(current / 10);
            remainder = current % 10;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + remainder));
    }
    if (digits.size() <= scale)
        digits.insert(0, scale + 1 - digits.size(), '0');
    if (scale > 0)
        digits.insert(digits.size() - scale, ".");
    return (bytes.u8(0) & 0x80 ? "-" : "") + digits;
}

constexpr std::uint32_t longValueInline = 0x80000000;
constexpr std::uint32_t longValueSingle = 0x40000000;
constexpr std::uint32_t longValueLengthMask = 0x3FFFFFFF;
constexpr std::size_t longValueHeader = 12;

} // namespace

RowReader::RowReader(const PageFile& file, const TableDef& table)
    : file_(file), table_(table), fields_(table.columns.size()) {}

void RowReader::split(Bytes row) {
    if (file_.format().jet4())
        splitJet4(row);
    else
        splitJet3(row);
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
    case column_type::currency:
        return currencyText(static_cast<std::int64_t>(b.u64(0)));
    case column_type::single: {
        std::uint32_t bits = b.u32(0);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return shortest(value);
    }
    case column_type::real:
        return shortest(toDouble(b.u64(0)));
    case column_type::dateTime:
        return dateText(toDouble(b.u64(0)));
    case column_type::guid:
        return guidText(b);
    case column_type::numeric:
        return numericText(b, column.scale);
    case column_type::text:
        return decodeText(b.data(), b.size());
    case column_type::memo: {
        std::vector<std::uint8_t> value = longValue(b);
        return decodeText(value.data(), value.size());
    }
    case column_type::ole: {
        std::vector<std::uint8_t> value = longValue(b);
        return hexText(value.data(), value.size());
    }
    default:
        return hexText(b.data(), b.size());
    }
}

} // namespace jet
