#include "PageFile.h"

#include "Rc4.h"

#include <climits>
#include <cstring>

namespace jet {

namespace {

constexpr std::size_t cacheSlots = 64;
constexpr char signature[] = "Standard Jet DB";
constexpr char aceSignature[] = "Standard ACE DB";

} // namespace

PageFile::PageFile(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        throw Error("cannot open database file '" + path + "'");
    try {
        readHeader();
    } catch (...) {
        std::fclose(file_);
        throw;
    }
}

PageFile::~PageFile() {
    std::fclose(file_);
}

void PageFile::readHeader() {
    if (std::fseek(file_, 0, SEEK_END) != 0)
        throw Error("cannot read database file");
    long size = std::ftell(file_);
    if (size < 0)
        throw Error("cannot read database file");
    if (size == 0)
        throw Error("not an Access database: the file is empty");

    std::uint8_t head[0x18 + 128] = {};
    std::rewind(file_);
    std::size_t got = std::fread(head, 1, sizeof head, file_);
    if (got < 0x15 || head[0] != 0 ||
        (std::memcmp(head + 4, signature, sizeof signature - 1) != 0 &&
         std::memcmp(head + 4, aceSignature, sizeof aceSignature - 1) != 0))
        throw Error("not an Access database");
    std::uint8_t version = head[0x14];
    if (std::memcmp(head + 4, aceSignature, sizeof aceSignature - 1) == 0) {
        if (version < 2 || version > 6)
            throw Error("file is damaged: the header names Access 2007 and later version " +
                        std::to_string(version) + ", which no Access wrote");
        format_ = aceFormat(version);
    } else if (version <= 1) {
        format_ = version == 0 ? jet3Format : jet4Format;
    } else {
        throw Error("file is damaged: the header names Jet version " + std::to_string(version) +
                    ", which no Access wrote");
    }
    if (static_cast<unsigned long>(size) < format_.pageSize)
        throw Error("file is damaged: it ends inside the header page");
    if (got < 0x18 + format_.headerScrambled)
        throw Error("file is damaged: cannot read the header page");
    pageCount_ = static_cast<std::uint32_t>(static_cast<unsigned long>(size) / format_.pageSize);

    rc4(headerKey, sizeof headerKey, head + 0x18, format_.headerScrambled);
    Bytes header(head, sizeof head);
    codePage_ = header.u16(0x3C);
    databaseKey_ = header.u32(0x3E);
    // Access 2007 and later encrypt every page with a key made from the database password:
    // even the catalog's definition then reads as noise.
    if (format_.version >= 12) {
        std::shared_ptr<std::vector<std::uint8_t>> catalog = load(catalogPage);
        if ((*catalog)[0] != page_type::tableDefinition || (*catalog)[1] != 0x01)
            throw Error("cannot read the file: it is an Access 2007 or later database encrypted "
                        "with a password, which this engine cannot decrypt");
    }
}

std::shared_ptr<std::vector<std::uint8_t>> PageFile::load(std::uint32_t number) const {
    if (number >= pageCount_)
        throw Error("file is damaged: page " + std::to_string(number) + " lies outside the file");
    auto buffer = std::make_shared<std::vector<std::uint8_t>>(format_.pageSize);
    unsigned long long offset = static_cast<unsigned long long>(number) * format_.pageSize;
    if (offset > static_cast<unsigned long long>(LONG_MAX) ||
        std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0 ||
        std::fread(buffer->data(), 1, buffer->size(), file_) != buffer->size())
        throw Error("cannot read page " + std::to_string(number) + " of the database file");
    if (databaseKey_ != 0 && number != 0) {
        std::uint32_t pageKey = databaseKey_ ^ number;
        std::uint8_t key[4];
        putU32(key, pageKey);
        rc4(key, sizeof key, buffer->data(), buffer->size());
    }
    return buffer;
}

Page PageFile::page(std::uint32_t number) const {
    ++clock_;
    CacheSlot* oldest = nullptr;
    for (CacheSlot& slot : cache_) {
        if (slot.page.number == number) {
            slot.lastUse = clock_;
            return slot.page;
        }
        if (!oldest || slot.lastUse < oldest->lastUse)
            oldest = &slot;
    }
    Page fresh{number, load(number)};
    if (cache_.size() < cacheSlots) {
        cache_.push_back({fresh, clock_});
    } else {
        oldest->page = fresh;
        oldest->lastUse = clock_;
    }
    return fresh;
}

} // namespace jet
