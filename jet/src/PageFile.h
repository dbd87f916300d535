#pragma once

#include "Bytes.h"
#include "Format.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace jet {

// One page held in memory; it stays valid after the cache drops it.
struct Page {
    std::uint32_t number = 0;
    std::shared_ptr<const std::vector<std::uint8_t>> buffer;

    Bytes bytes() const { return Bytes(buffer->data(), buffer->size()); }
    std::uint8_t type() const { return (*buffer)[0]; }
};

// The database file read page by page through a small least-recently-used cache.
// Decodes the header, and the pages of an encoded database.
class PageFile {
public:
    explicit PageFile(const std::string& path);
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    const Format& format() const { return format_; }
    std::uint16_t codePage() const { return codePage_; }

    // Throws jet::Error when the page lies outside the file.
    Page page(std::uint32_t number) const;

private:
    void readHeader();
    std::shared_ptr<std::vector<std::uint8_t>> load(std::uint32_t number) const;

    struct CacheSlot {
        Page page;
        std::uint64_t lastUse = 0;
    };

    std::FILE* file_ = nullptr;
    Format format_ = jet4Format;
    std::uint32_t pageCount_ = 0;
    std::uint32_t databaseKey_ = 0;
    std::uint16_t codePage_ = 0;
    mutable std::vector<CacheSlot> cache_;
    mutable std::uint64_t clock_ = 0;
};

} // namespace jet
