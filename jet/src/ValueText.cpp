#include "ValueText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace jet::value_text {

namespace {

std::string decimal(double value, int significant, std::size_t displaySize) {
    if (!std::isfinite(value)) {
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        return std::string(buffer, result.ptr);
    }
    if (value == 0)
        return "0";
    char scientific[48];
    std::snprintf(scientific, sizeof scientific, "%.*e", significant - 1, std::fabs(value));
    const char* e = std::strchr(scientific, 'e');
    int exponent = std::atoi(e + 1);
    std::string digits(1, scientific[0]);
    digits.append(scientific + 2, static_cast<std::size_t>(e - scientific - 2));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string plain = value < 0 ? "-" : "";
    if (exponent < 0) {
        plain += "0.";
        plain.append(static_cast<std::size_t>(-exponent - 1), '0');
        plain += digits;
    } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
        plain += digits;
        plain.append(exponent + 1 - digits.size(), '0');
    } else {
        plain += digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
    }
    if (plain.size() <= displaySize)
        return plain;

    std::string mantissa = value < 0 ? "-" : "";
    mantissa += digits.substr(0, 1);
    if (digits.size() > 1)
        mantissa += "." + digits.substr(1);
    char power[8];
    std::snprintf(power, sizeof power, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + power;
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

std::string timestamp(long long daysSince1970, long long seconds) {
    long long year;
    unsigned month, day;
    civilFromDays(daysSince1970, year, month, day);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u %02lld:%02lld:%02lld", year, month, day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

constexpr long long daysFromYear1To1970 = 719162;
constexpr long long daysFrom1899To1970 = 25569;
constexpr long long ticksPerSecond = 10000000;

long long digitsAt(Bytes stored, std::size_t at, std::size_t count) {
    long long value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        std::uint8_t c = stored.u8(i);
        if (c < '0' || c > '9')
            throw Error("file is damaged: an extended date/time value is not a number");
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::string single(float value) {
    return decimal(value, 7, 14);
}

std::string real(double value) {
    return decimal(value, 15, 24);
}

std::string currency(std::int64_t units) {
    std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : units;
    std::string digits = std::to_string(magnitude / 10000);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%04u", static_cast<unsigned>(magnitude % 10000));
    return (units < 0 ? "-" : "") + digits + fraction;
}

std::string bigInteger(std::int64_t value) {
    return std::to_string(value);
}

// Jet keeps days since 1899-12-30 with the time of day as a fraction that is positive even
// when the day count is negative.
std::string dateTime(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return real(value);
    double wholeDays = std::trunc(value);
    auto seconds = static_cast<long long>(std::llround(std::fabs(value - wholeDays) * 86400.0));
    auto days = static_cast<long long>(wholeDays);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += 1;
    }
    return timestamp(days - daysFrom1899To1970, seconds);
}

// Nineteen digits of days since 0001-01-01, ':', nineteen digits of 100-nanosecond ticks
// since midnight, ':', the digits of precision Access keeps (7), a zero byte.
std::string extendedDateTime(Bytes stored) {
    if (stored.size() < 41 || stored.u8(19) != ':' || stored.u8(39) != ':')
        throw Error("file is damaged: an extended date/time value is malformed");
    long long days = digitsAt(stored, 0, 19);
    long long ticks = digitsAt(stored, 20, 19);
    if (days > 3652058 || ticks >= 86400 * ticksPerSecond)
        throw Error("file is damaged: an extended date/time value is out of range");
    char fraction[16];
    std::snprintf(fraction, sizeof fraction, ".%07lld", ticks % ticksPerSecond);
    return timestamp(days - daysFromYear1To1970, ticks / ticksPerSecond) + fraction;
}

std::string guid(Bytes bytes) {
    char buffer[40];
    const std::uint8_t* b = bytes.data();
    std::snprintf(buffer, sizeof buffer, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned>(bytes.u32(0)), bytes.u16(4), bytes.u16(6), b[8], b[9],
                  b[10], b[11], b[12], b[13], b[14], b[15]);
    return buffer;
}

// Sign byte, then four 32-bit words from the most significant; `scale` decimals.
std::string numeric(Bytes bytes, unsigned scale) {
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

std::string hex(const std::uint8_t* data, std::size_t size) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

} // namespace jet::value_text
