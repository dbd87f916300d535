#include "ProgramWindows.h"

#include "framework/base/ScopedHandle.h"
#include "framework/base/String.h"

namespace {

constexpr DWORD kCloseRetryPauseMs = 50;

CString LongPath(const char* path) {
    char full[MAX_PATH * 2] = {};
    const DWORD length = ::GetLongPathNameA(path, full, sizeof(full));
    return length > 0 && length < sizeof(full) ? CString(full) : CString(path);
}

bool IsProgramInFolder(DWORD processId, const CString& folder) {
    CHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    char image[MAX_PATH * 2] = {};
    DWORD size = sizeof(image);
    if (!process || !::QueryFullProcessImageNameA(process, 0, image, &size))
        return false;
    const CString path = LongPath(image);
    return path.GetLength() > folder.GetLength() &&
           lstrcmpiA(path.Left(folder.GetLength()), folder) == 0;
}

HWND FindProgramWindow(const char* windowClass, const CString& folder) {
    const DWORD self = ::GetCurrentProcessId();
    for (HWND window = ::FindWindowExA(nullptr, nullptr, windowClass, nullptr); window;
         window = ::FindWindowExA(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != self && IsProgramInFolder(owner, folder))
            return window;
    }
    return nullptr;
}

} // namespace

int CloseProgramWindows(const char* windowClass, const char* folder, DWORD limitMs,
                        int maxRequests) {
    if (!windowClass || !*windowClass)
        return 0;
    const CString longFolder = LongPath(folder);
    const DWORD start = ::GetTickCount();
    int sent = 0;
    for (DWORD elapsed = 0; sent < maxRequests && elapsed < limitMs;
         elapsed = ::GetTickCount() - start) {
        const HWND window = FindProgramWindow(windowClass, longFolder);
        if (!window)
            break;
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                              limitMs - elapsed, &result);
        ++sent;
        if (::IsWindow(window))
            ::Sleep(kCloseRetryPauseMs);
    }
    return sent;
}
