#pragma once

#include <windows.h>
#include <wininet.h>

// Owns one WinINet handle (session, connection or request) and closes it.
class InternetHandle {
public:
    InternetHandle() = default;
    explicit InternetHandle(HINTERNET handle) : m_handle(handle) {}
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() { Close(); }

    void Close() {
        if (m_handle)
            ::InternetCloseHandle(m_handle);
        m_handle = nullptr;
    }
    operator HINTERNET() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HINTERNET m_handle = nullptr;
};
