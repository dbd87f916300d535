#pragma once

#include <cstdint>

namespace jet {

extern const std::uint16_t codePage936[126][191];

} // namespace jet
