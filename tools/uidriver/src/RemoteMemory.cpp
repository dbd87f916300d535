#include "uidriver/RemoteMemory.h"

#include "uidriver/Error.h"

#include <utility>
#include <vector>

static_assert(sizeof(void*) == 4, "remote structures assume a 32-bit driver and target");

namespace uidriver {

ScopedHandle& ScopedHandle::operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
        Reset(other.Release());
    }
    return *this;
}

HANDLE ScopedHandle::Release() {
    return std::exchange(handle_, nullptr);
}

void ScopedHandle::Reset(HANDLE handle) {
    if (handle_) {
        CloseHandle(handle_);
    }
    handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

RemoteMemory::RemoteMemory(DWORD processId, std::size_t size) : size_(size) {
    if (size == 0) {
        throw Error("RemoteMemory: size must not be zero");
    }
    process_.Reset(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process_) {
        ThrowLastError("OpenProcess failed for process " + std::to_string(processId));
    }
    base_ = VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!base_) {
        ThrowLastError("VirtualAllocEx of " + std::to_string(size) + " bytes failed in process " +
                       std::to_string(processId));
    }
}

RemoteMemory RemoteMemory::ForWindow(HWND window, std::size_t size) {
    DWORD processId = 0;
    if (!IsWindow(window) || !GetWindowThreadProcessId(window, &processId)) {
        throw Error("RemoteMemory: no such window");
    }
    return RemoteMemory(processId, size);
}

RemoteMemory::RemoteMemory(RemoteMemory&& other) noexcept
    : process_(std::move(other.process_)), base_(std::exchange(other.base_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

RemoteMemory::~RemoteMemory() {
    if (base_) {
        VirtualFreeEx(process_.Get(), base_, 0, MEM_RELEASE);
    }
}

void* RemoteMemory::Address(std::size_t offset) const {
    CheckRange(offset, 0);
    return static_cast<char*>(base_) + offset;
}

void RemoteMemory::CheckRange(std::size_t offset, std::size_t size) const {
    if (offset > size_ || size > size_ - offset) {
        throw Error("RemoteMemory: range " + std::to_string(offset) + "+" + std::to_string(size) +
                    " is outside the block of " + std::to_string(size_) + " bytes");
    }
}

void RemoteMemory::Write(std::size_t offset, const void* data, std::size_t size) {
    CheckRange(offset, size);
    SIZE_T written = 0;
    if (!WriteProcessMemory(process_.Get(), Address(offset), data, size, &written) ||
        written != size) {
        ThrowLastError("WriteProcessMemory failed");
    }
}

void RemoteMemory::Read(std::size_t offset, void* data, std::size_t size) const {
    CheckRange(offset, size);
    SIZE_T read = 0;
    if (!ReadProcessMemory(process_.Get(), Address(offset), data, size, &read) || read != size) {
        ThrowLastError("ReadProcessMemory failed");
    }
}

std::string RemoteMemory::ReadString(std::size_t offset, std::size_t capacity) const {
    std::vector<char> buffer(capacity);
    Read(offset, buffer.data(), capacity);
    std::size_t length = 0;
    while (length < capacity && buffer[length] != '\0') {
        ++length;
    }
    return std::string(buffer.data(), length);
}

} // namespace uidriver
