#include "ManifestSerial.h"

#include <windows.h>

#include <cstring>

namespace {

// `count` digits at `text` as a number; false when any is none.
bool ReadDigits(const char* text, int count, int& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Leap years in 1601 .. year - 1.
int LeapYearsBefore(int year) {
    const auto upTo = [](int y) { return y / 4 - y / 100 + y / 400; };
    return upTo(year - 1) - upTo(1600);
}

} // namespace

bool ParseSerial(const char* text, std::uint64_t& serial) {
    const size_t length = text ? std::strlen(text) : 0;
    if (length == 0 || length > 20 || (text[0] == '0' && length > 1))
        return false;
    serial = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (digit > 9 || serial > (UINT64_MAX - digit) / 10)
            return false;
        serial = serial * 10 + digit;
    }
    return true;
}

bool ParseUtcTime(const char* text, std::uint64_t& seconds) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!text || std::strlen(text) != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z' || !ReadDigits(text, 4, year) ||
        !ReadDigits(text + 5, 2, month) || !ReadDigits(text + 8, 2, day) ||
        !ReadDigits(text + 11, 2, hour) || !ReadDigits(text + 14, 2, minute) ||
        !ReadDigits(text + 17, 2, second))
        return false;
    if (year < 1601 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return false;
    std::uint64_t days = 365ull * (year - 1601) + LeapYearsBefore(year) + (day - 1);
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    seconds = ((days * 24 + hour) * 60 + minute) * 60 + second;
    return true;
}

std::uint64_t UtcNowSeconds() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return ((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000000;
}

SerialVerdict JudgeManifestSerial(const char* serialText, const char* expiresText,
                                  std::optional<std::uint64_t> remembered, std::uint64_t now,
                                  std::uint64_t& serial) {
    std::uint64_t expires = 0;
    if (!ParseSerial(serialText, serial) || !ParseUtcTime(expiresText, expires))
        return SerialVerdict::Undated;
    if (remembered && serial < *remembered)
        return SerialVerdict::Older;
    return expires > now ? SerialVerdict::Accepted : SerialVerdict::Expired;
}
