#include "FileVersionInfo.h"

#include "UpdateRules.h"

FileVersionInfo::FileVersionInfo() : VS_FIXEDFILEINFO{} {}

bool FileVersionInfo::Read(const char* path) {
    static_cast<VS_FIXEDFILEINFO&>(*this) = VS_FIXEDFILEINFO{};
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return false;
    m_resource.assign(size, 0);
    if (!::GetFileVersionInfoA(path, 0, size, m_resource.data()))
        return false;
    void* block = nullptr;
    UINT blockSize = 0;
    char root[] = "\\";
    if (!::VerQueryValueA(m_resource.data(), root, &block, &blockSize) || !block ||
        blockSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    static_cast<VS_FIXEDFILEINFO&>(*this) = *static_cast<const VS_FIXEDFILEINFO*>(block);
    return dwSignature == VS_FFI_SIGNATURE;
}

CString FileVersionInfo::GetFileVersionText() const {
    return VersionText(dwFileVersionMS, dwFileVersionLS);
}
