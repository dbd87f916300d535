#include "FileVersionInfo.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "UpdateRules.h"
#include "framework/base/ScopedHandle.h"

namespace {

constexpr WORD kVersionType = 16; // RT_VERSION
constexpr WORD kVersionId = 1;    // VS_VERSION_INFO
constexpr WORD kSectionLimit = 96;
constexpr DWORD kEntryLimit = 1024;
constexpr DWORD kSubdirectory = 0x80000000;
// The version block: three WORDs, the key L"VS_VERSION_INFO" with its end, padding to 32 bits,
// then the fixed-info block.
constexpr wchar_t kVersionKey[] = L"VS_VERSION_INFO";
constexpr DWORD kKeyOffset = 6;
constexpr DWORD kFixedInfoOffset = 40;

// A program file read at offsets, never beyond its size, with its sections for addresses.
class ProgramImage {
public:
    explicit ProgramImage(const char* path)
        : m_file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

    // Through a window of a few pages: headers, directories and their entries lie close
    // together, and each read of the file is a round trip to the system. Nothing beyond the
    // end of the file is ever taken.
    bool ReadAt(ULONGLONG offset, void* buffer, DWORD size) {
        if (!m_file || size > kWindowSize)
            return false;
        if (offset < m_windowAt || offset - m_windowAt + size > m_window.size()) {
            m_windowAt = offset & ~static_cast<ULONGLONG>(kPageSize - 1);
            if (offset - m_windowAt + size > kWindowSize)
                m_windowAt = offset;
            m_window.resize(kWindowSize);
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(m_windowAt);
            at.OffsetHigh = static_cast<DWORD>(m_windowAt >> 32);
            DWORD read = 0;
            if (!::ReadFile(m_file, m_window.data(), kWindowSize, &read, &at))
                read = 0;
            m_window.resize(read);
            if (offset - m_windowAt + size > m_window.size())
                return false;
        }
        std::memcpy(buffer, m_window.data() + (offset - m_windowAt), size);
        return true;
    }

    // Reads the headers and the section table; the address of the resource directory.
    bool ReadHeaders(DWORD& resources) {
        IMAGE_DOS_HEADER dos{};
        if (!ReadAt(0, &dos, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew <= 0)
            return false;
        DWORD signature = 0;
        IMAGE_FILE_HEADER file{};
        const ULONGLONG nt = static_cast<ULONGLONG>(dos.e_lfanew);
        if (!ReadAt(nt, &signature, sizeof signature) || signature != IMAGE_NT_SIGNATURE ||
            !ReadAt(nt + sizeof signature, &file, sizeof file) ||
            file.NumberOfSections > kSectionLimit)
            return false;
        const ULONGLONG optionalAt = nt + sizeof signature + sizeof file;
        std::vector<BYTE> optional(file.SizeOfOptionalHeader);
        if (optional.size() < sizeof(WORD) ||
            !ReadAt(optionalAt, optional.data(), file.SizeOfOptionalHeader))
            return false;
        WORD magic = 0;
        std::memcpy(&magic, optional.data(), sizeof magic);
        size_t directoriesAt = 0;
        if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
            directoriesAt = offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory);
        else if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
            directoriesAt = offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory);
        const size_t resourceAt =
            directoriesAt + IMAGE_DIRECTORY_ENTRY_RESOURCE * sizeof(IMAGE_DATA_DIRECTORY);
        if (directoriesAt == 0 || resourceAt + sizeof(IMAGE_DATA_DIRECTORY) > optional.size())
            return false;
        IMAGE_DATA_DIRECTORY directory{};
        std::memcpy(&directory, optional.data() + resourceAt, sizeof directory);
        m_sections.resize(file.NumberOfSections);
        resources = directory.VirtualAddress;
        return resources != 0 &&
               ReadAt(optionalAt + file.SizeOfOptionalHeader, m_sections.data(),
                      static_cast<DWORD>(m_sections.size() * sizeof(IMAGE_SECTION_HEADER)));
    }

    // Reads `size` bytes at a relative virtual address, from the section's bytes in the file.
    bool ReadAddress(DWORD address, void* buffer, DWORD size) {
        for (const IMAGE_SECTION_HEADER& section : m_sections) {
            if (address < section.VirtualAddress)
                continue;
            const DWORD into = address - section.VirtualAddress;
            if (into < section.SizeOfRawData && size <= section.SizeOfRawData - into)
                return ReadAt(static_cast<ULONGLONG>(section.PointerToRawData) + into, buffer,
                              size);
        }
        return false;
    }

private:
    static constexpr DWORD kPageSize = 4096;
    static constexpr DWORD kWindowSize = 4 * kPageSize;

    CHandle m_file;
    std::vector<IMAGE_SECTION_HEADER> m_sections;
    std::vector<BYTE> m_window;
    ULONGLONG m_windowAt = 0;
};

// The entry of a resource directory with the id, or its first entry for id 0; its OffsetToData.
bool FindEntry(ProgramImage& image, DWORD resources, DWORD directoryOffset, WORD id, DWORD& found) {
    IMAGE_RESOURCE_DIRECTORY directory{};
    if (!image.ReadAddress(resources + directoryOffset, &directory, sizeof directory))
        return false;
    const DWORD count =
        static_cast<DWORD>(directory.NumberOfNamedEntries) + directory.NumberOfIdEntries;
    if (count == 0 || count > kEntryLimit)
        return false;
    std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> entries(count);
    if (!image.ReadAddress(resources + directoryOffset + sizeof directory, entries.data(),
                           count * sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY)))
        return false;
    for (const IMAGE_RESOURCE_DIRECTORY_ENTRY& entry : entries) {
        if (id == 0 || (!(entry.Name & kSubdirectory) && (entry.Name & 0xFFFF) == id)) {
            found = entry.OffsetToData;
            return true;
        }
    }
    return false;
}

} // namespace

FileVersionInfo::FileVersionInfo() : VS_FIXEDFILEINFO{} {}

bool FileVersionInfo::Read(const char* path) {
    static_cast<VS_FIXEDFILEINFO&>(*this) = VS_FIXEDFILEINFO{};
    ProgramImage image(path);
    DWORD resources = 0;
    DWORD byType = 0;
    DWORD byId = 0;
    DWORD byLanguage = 0;
    // Type, name, then the first language: a data entry, not another directory.
    if (!image.ReadHeaders(resources) || !FindEntry(image, resources, 0, kVersionType, byType) ||
        !(byType & kSubdirectory) ||
        !FindEntry(image, resources, byType & ~kSubdirectory, kVersionId, byId) ||
        !(byId & kSubdirectory) ||
        !FindEntry(image, resources, byId & ~kSubdirectory, 0, byLanguage) ||
        (byLanguage & kSubdirectory))
        return false;
    IMAGE_RESOURCE_DATA_ENTRY data{};
    if (!image.ReadAddress(resources + byLanguage, &data, sizeof data) ||
        data.Size < kFixedInfoOffset + sizeof(VS_FIXEDFILEINFO))
        return false;
    std::vector<BYTE> block(kFixedInfoOffset + sizeof(VS_FIXEDFILEINFO));
    WORD valueLength = 0;
    if (!image.ReadAddress(data.OffsetToData, block.data(), static_cast<DWORD>(block.size())))
        return false;
    std::memcpy(&valueLength, block.data() + sizeof(WORD), sizeof valueLength);
    if (valueLength < sizeof(VS_FIXEDFILEINFO) ||
        std::memcmp(block.data() + kKeyOffset, kVersionKey, sizeof kVersionKey) != 0)
        return false;
    std::memcpy(static_cast<VS_FIXEDFILEINFO*>(this), block.data() + kFixedInfoOffset,
                sizeof(VS_FIXEDFILEINFO));
    return dwSignature == VS_FFI_SIGNATURE;
}

CString FileVersionInfo::GetFileVersionText() const {
    return VersionText(dwFileVersionMS, dwFileVersionLS);
}
