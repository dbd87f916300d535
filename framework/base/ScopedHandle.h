#pragma once

#include <windows.h>
#include <bcrypt.h>
#include <wininet.h>

// Owns one handle and closes it with the closer of its kind on every way out. Moves, never
// copies. Traits give the handle type, the "no handle" value, the validity test and the closer.
template <typename Traits> class CScopedHandle {
public:
    using Handle = typename Traits::Handle;

    CScopedHandle() = default;
    explicit CScopedHandle(Handle handle) : m_handle(handle) {}
    CScopedHandle(CScopedHandle&& other) noexcept : m_handle(other.Detach()) {}
    CScopedHandle& operator=(CScopedHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;
    ~CScopedHandle() { Reset(); }

    void Reset(Handle handle = Traits::None()) {
        if (IsValid())
            Traits::Close(m_handle);
        m_handle = handle;
    }
    // Gives up ownership: the handle is the caller's to close.
    Handle Detach() {
        const Handle handle = m_handle;
        m_handle = Traits::None();
        return handle;
    }
    // For functions that return a handle through a pointer; closes the one held first.
    Handle* Receive() {
        Reset();
        return &m_handle;
    }
    Handle Get() const { return m_handle; }
    operator Handle() const { return m_handle; }
    bool IsValid() const { return Traits::IsValid(m_handle); }
    explicit operator bool() const { return IsValid(); }

private:
    Handle m_handle = Traits::None();
};

namespace handle_traits {

// CreateFileA fails with INVALID_HANDLE_VALUE, other kernel functions with null.
struct KernelObject {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle handle) { return handle != INVALID_HANDLE_VALUE && handle; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};

struct FindFile {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle handle) { return handle != INVALID_HANDLE_VALUE && handle; }
    static void Close(Handle handle) { ::FindClose(handle); }
};

struct Internet {
    using Handle = HINTERNET;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::InternetCloseHandle(handle); }
};

struct RegistryKey {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::RegCloseKey(handle); }
};

struct CngAlgorithm {
    using Handle = BCRYPT_ALG_HANDLE;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::BCryptCloseAlgorithmProvider(handle, 0); }
};

struct CngHash {
    using Handle = BCRYPT_HASH_HANDLE;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::BCryptDestroyHash(handle); }
};

struct CngKey {
    using Handle = BCRYPT_KEY_HANDLE;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::BCryptDestroyKey(handle); }
};

} // namespace handle_traits

using CHandle = CScopedHandle<handle_traits::KernelObject>;
using CFindHandle = CScopedHandle<handle_traits::FindFile>;
using CInternetHandle = CScopedHandle<handle_traits::Internet>;
using CRegKey = CScopedHandle<handle_traits::RegistryKey>;
using CCngAlgorithm = CScopedHandle<handle_traits::CngAlgorithm>;
using CCngHash = CScopedHandle<handle_traits::CngHash>;
using CCngKey = CScopedHandle<handle_traits::CngKey>;
