#include <windows.h>

#include "framework/windows/App.h"

// The entry point of every program: the application object does all its work in InitInstance.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine ? commandLine : "";
    app->m_nCmdShow = show;
    try {
        if (app->InitInstance())
            return app->Run();
        return app->ExitInstance();
    } catch (...) {
        AfxReportCurrentException();
        return 1;
    }
}
