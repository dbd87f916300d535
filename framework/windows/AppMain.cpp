#include <windows.h>

#include "framework/windows/App.h"

// The entry point of every program: the application object does all its work in InitInstance.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_lpCmdLine = commandLine ? commandLine : "";
    try {
        app->InitInstance();
        return app->ExitInstance();
    } catch (...) {
        AfxReportCurrentException();
        return 1;
    }
}
