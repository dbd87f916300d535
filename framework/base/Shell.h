#pragma once

#include <windows.h>

#include <functional>

// The shell launches the programs make, behind a seam so that tests can watch them
// instead of starting browsers and programs.
struct ShellLauncher {
    std::function<HINSTANCE(HWND owner, const char* operation, const char* file,
                            const char* parameters, const char* directory, int show)>
        shellExecute;
    std::function<UINT(const char* commandLine, UINT show)> winExec;
};

HINSTANCE AfxShellExecute(HWND owner, const char* operation, const char* file,
                          const char* parameters, const char* directory, int show);
UINT AfxWinExec(const char* commandLine, UINT show);

// Replaces the launcher (an empty member keeps the real call); returns the previous one.
ShellLauncher AfxSetShellLauncher(ShellLauncher launcher);
