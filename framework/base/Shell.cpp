#include "framework/base/Shell.h"

#include <shellapi.h>

namespace {
ShellLauncher g_launcher;
}

HINSTANCE AfxShellExecute(HWND owner, const char* operation, const char* file,
                          const char* parameters, const char* directory, int show) {
    if (g_launcher.shellExecute)
        return g_launcher.shellExecute(owner, operation, file, parameters, directory, show);
    return ::ShellExecuteA(owner, operation, file, parameters, directory, show);
}

UINT AfxWinExec(const char* commandLine, UINT show) {
    if (g_launcher.winExec)
        return g_launcher.winExec(commandLine, show);
    return ::WinExec(commandLine, show);
}

ShellLauncher AfxSetShellLauncher(ShellLauncher launcher) {
    ShellLauncher previous = std::move(g_launcher);
    g_launcher = std::move(launcher);
    return previous;
}
