#pragma once

#include <cstddef>
#include <cstdint>

namespace jet {

// RC4 in place: Jet scrambles part of its header, and whole pages of encoded databases, with it.
void rc4(const std::uint8_t* key, std::size_t keyLength, std::uint8_t* data, std::size_t length);

} // namespace jet
