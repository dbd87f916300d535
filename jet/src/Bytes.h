#pragma once

#include "jet/Error.h"

#include <cstddef>
#include <cstdint>

namespace jet {

// A bounds-checked little-endian view of bytes read from the file. Any read outside the view
// means the file lies about a length or an offset.
class Bytes {
public:
    Bytes() = default;
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

    std::uint8_t u8(std::size_t at) const {
        check(at, 1);
        return data_[at];
    }
    std::uint16_t u16(std::size_t at) const {
        check(at, 2);
        return static_cast<std::uint16_t>(data_[at] | data_[at + 1] << 8);
    }
    std::uint32_t u24(std::size_t at) const {
        check(at, 3);
        return data_[at] | data_[at + 1] << 8 | static_cast<std::uint32_t>(data_[at + 2]) << 16;
    }
    std::uint32_t u32(std::size_t at) const {
        check(at, 4);
        return data_[at] | data_[at + 1] << 8 | static_cast<std::uint32_t>(data_[at + 2]) << 16 |
               static_cast<std::uint32_t>(data_[at + 3]) << 24;
    }
    std::uint64_t u64(std::size_t at) const {
        return u32(at) | static_cast<std::uint64_t>(u32(at + 4)) << 32;
    }
    Bytes slice(std::size_t at, std::size_t length) const {
        check(at, length);
        return Bytes(data_ + at, length);
    }

private:
    // Kept small so that every read inlines; the throw lives out of line.
    void check(std::size_t at, std::size_t length) const {
        if (at > size_ || length > size_ - at)
            throwPastEnd();
    }
    [[noreturn]] static void throwPastEnd();

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

inline void putU16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void putU32(std::uint8_t* at, std::uint32_t value) {
    putU16(at, value);
    putU16(at + 2, value >> 16);
}

} // namespace jet
