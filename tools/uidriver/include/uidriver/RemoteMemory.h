#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace uidriver {

// Owns a kernel handle; a null or INVALID_HANDLE_VALUE handle counts as empty.
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) { Reset(handle); }
    ~ScopedHandle() { Reset(); }
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept;
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE Release();
    void Reset(HANDLE handle = nullptr);

private:
    HANDLE handle_ = nullptr;
};

// A block of memory inside another process, for control messages whose arguments are
// pointers (LVM_GETITEMTEXTA, HDM_GETITEMA, TVM_GETITEMA, ...). Freed on destruction.
// The programs under test are 32-bit like the driver, so structures keep their layout.
class RemoteMemory {
public:
    RemoteMemory(DWORD processId, std::size_t size);
    // Memory in the process that owns `window`.
    static RemoteMemory ForWindow(HWND window, std::size_t size);
    ~RemoteMemory();
    RemoteMemory(RemoteMemory&& other) noexcept;
    RemoteMemory& operator=(RemoteMemory&&) = delete;
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    std::size_t Size() const { return size_; }
    // The address as the other process sees it, to put into a message or a structure.
    void* Address(std::size_t offset = 0) const;

    void Write(std::size_t offset, const void* data, std::size_t size);
    void Read(std::size_t offset, void* data, std::size_t size) const;
    // Reads up to `capacity` bytes from `offset` and stops at the first NUL.
    std::string ReadString(std::size_t offset, std::size_t capacity) const;

    template <class T> void WriteValue(std::size_t offset, const T& value) {
        Write(offset, &value, sizeof(T));
    }
    template <class T> T ReadValue(std::size_t offset) const {
        T value{};
        Read(offset, &value, sizeof(T));
        return value;
    }

private:
    void CheckRange(std::size_t offset, std::size_t size) const;

    ScopedHandle process_;
    void* base_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace uidriver
