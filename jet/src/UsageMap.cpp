#include "UsageMap.h"

namespace jet {

namespace {

constexpr std::uint8_t inlineMap = 0;
constexpr std::uint8_t referenceMap = 1;
constexpr std::size_t inlineBitmapStart = 5;
constexpr std::size_t bitmapPageStart = 4;

} // namespace

UsageMap::UsageMap(const PageFile& file, Bytes map)
    : file_(file), map_(map.data(), map.data() + map.size()) {
    if (map_.empty() || (map_[0] != inlineMap && map_[0] != referenceMap))
        throw Error("file is damaged: a table's page map is of unknown kind");
    if (map_[0] == inlineMap) {
        Bytes bytes(map_.data(), map_.size());
        base_ = bytes.u32(1);
        bits_ = bytes.slice(inlineBitmapStart, map_.size() - inlineBitmapStart);
        nextBlock_ = map_.size();
    } else {
        nextBlock_ = 1;
    }
}

bool UsageMap::loadBlock() {
    const std::size_t pageSize = file_.format().pageSize;
    while (map_[0] == referenceMap && nextBlock_ + 4 <= map_.size()) {
        std::size_t index = (nextBlock_ - 1) / 4;
        std::uint32_t number = Bytes(map_.data(), map_.size()).u32(nextBlock_);
        nextBlock_ += 4;
        if (number == 0)
            continue;
        block_ = file_.page(number);
        if (block_.type() != page_type::usageBitmap)
            throw Error("file is damaged: page " + std::to_string(number) +
                        " should hold a page map");
        bits_ = block_.bytes().slice(bitmapPageStart, pageSize - bitmapPageStart);
        base_ = static_cast<std::uint32_t>(index * (pageSize - bitmapPageStart) * 8);
        bit_ = 0;
        return true;
    }
    return false;
}

bool UsageMap::next(std::uint32_t& page) {
    for (;;) {
        while (bit_ < bits_.size() * 8) {
            std::size_t bit = bit_++;
            if (bits_.data()[bit / 8] & (1u << (bit % 8))) {
                page = base_ + static_cast<std::uint32_t>(bit);
                return true;
            }
        }
        if (!loadBlock())
            return false;
    }
}

} // namespace jet
