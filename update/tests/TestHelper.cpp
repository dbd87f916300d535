// Stands in for the programs around the updater:
//   (no argument)                   the start program: marks "<own path>.mark" with
//                                   "started", waits 3 s, then adds "ended"
//   windows <class> <count> <mark>  holds <count> windows that close on WM_CLOSE ("closed")
//   hung <class> <n> <mark>         holds one window and answers no message for 15 s
// Windows are held for 30 s at most.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_mark;
int g_windows = 0;

void AppendMark(const char* line) {
    if (FILE* file = std::fopen(g_mark.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line);
        std::fclose(file);
    }
}

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CLOSE)
        return ::DefWindowProcA(window, message, wParam, lParam);
    AppendMark("closed");
    if (::DestroyWindow(window) && --g_windows == 0)
        ::PostQuitMessage(0);
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 5) {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        g_mark = std::string(path) + ".mark";
        AppendMark("started");
        ::Sleep(3000);
        AppendMark("ended");
        return 0;
    }
    g_mark = __argv[4];
    const WNDCLASSA windowClass{0,       HolderProc, 0,       0,       instance,
                                nullptr, nullptr,    nullptr, nullptr, __argv[2]};
    ::RegisterClassA(&windowClass);
    for (int i = std::atoi(__argv[3]); i > 0; --i)
        if (::CreateWindowA(__argv[2], "holder", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                            instance, nullptr))
            ++g_windows;
    if (std::string(__argv[1]) == "hung") {
        ::Sleep(15000);
        return 0;
    }
    ::SetTimer(nullptr, 0, 30000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER)
        ::DispatchMessageA(&msg);
    return 0;
}
