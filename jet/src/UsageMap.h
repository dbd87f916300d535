#pragma once

#include "PageFile.h"

#include <cstdint>
#include <vector>

namespace jet {

// The pages a usage map marks, in increasing order, read lazily so that a large table costs
// no memory. Inline maps carry their bitmap; reference maps point to bitmap pages.
class UsageMap {
public:
    UsageMap(const PageFile& file, Bytes map);

    // The next marked page; false at the end.
    bool next(std::uint32_t& page);

private:
    bool loadBlock();

    const PageFile& file_;
    std::vector<std::uint8_t> map_;
    Page block_;
    Bytes bits_;
    std::uint32_t base_ = 0;
    std::size_t bit_ = 0;
    std::size_t nextBlock_ = 0;
};

} // namespace jet
