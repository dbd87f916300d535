// Stands in for the programs around the updater:
//   (no argument)                   the start program: marks "<own path>.mark" with
//                                   "started", waits 3 s, then adds "ended"
//   windows <class> <count> <mark>  holds <count> windows that close on WM_CLOSE, one
//                                   "closed" line each
//   stubborn <class> <n> <mark>     holds one window that refuses WM_CLOSE ("refused")
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kLifetimeMs = 30000;
constexpr DWORD kStartProgramRunMs = 3000;

std::string g_mark;
bool g_stubborn = false;
int g_windows = 0;

void AppendMark(const char* line) {
    if (FILE* file = std::fopen(g_mark.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line);
        std::fclose(file);
    }
}

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        AppendMark(g_stubborn ? "refused" : "closed");
        if (!g_stubborn)
            ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (--g_windows == 0)
            ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

int HoldWindows(const char* className, int count) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HolderProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    if (!::RegisterClassA(&windowClass))
        return 2;
    for (int i = 0; i < count; ++i) {
        if (::CreateWindowA(className, "holder", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                            windowClass.hInstance, nullptr))
            ++g_windows;
    }
    ::SetTimer(nullptr, 0, kLifetimeMs, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr)
            break;
        ::DispatchMessageA(&msg);
    }
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc >= 5) {
        g_mark = __argv[4];
        g_stubborn = std::string(__argv[1]) == "stubborn";
        return HoldWindows(__argv[2], g_stubborn ? 1 : std::atoi(__argv[3]));
    }
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    g_mark = std::string(path) + ".mark";
    AppendMark("started");
    ::Sleep(kStartProgramRunMs);
    AppendMark("ended");
    return 0;
}
