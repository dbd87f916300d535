#include "ProgramWindows.h"

#include <windows.h>

namespace {

constexpr UINT kCloseTimeoutMs = 5000;
constexpr DWORD kCloseRetryPauseMs = 50;

HWND FindForeignWindow(const char* windowClass) {
    const DWORD self = ::GetCurrentProcessId();
    for (HWND window = ::FindWindowExA(nullptr, nullptr, windowClass, nullptr); window;
         window = ::FindWindowExA(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != self)
            return window;
    }
    return nullptr;
}

} // namespace

int CloseProgramWindows(const char* windowClass, int maxRequests) {
    if (!windowClass || !*windowClass)
        return 0;
    int sent = 0;
    while (sent < maxRequests) {
        const HWND window = FindForeignWindow(windowClass);
        if (!window)
            break;
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL, kCloseTimeoutMs, &result);
        ++sent;
        if (::IsWindow(window))
            ::Sleep(kCloseRetryPauseMs);
    }
    return sent;
}
