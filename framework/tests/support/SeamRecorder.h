#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/windows/App.h"
#include "framework/base/Shell.h"
#include "framework/base/String.h"

// What the framework's seams saw: shell launches, WinExec command lines, message boxes and
// beeps. While alive it replaces the launcher and the sinks; the results are configurable.
class SeamRecorder {
public:
    SeamRecorder();
    ~SeamRecorder();
    SeamRecorder(const SeamRecorder&) = delete;
    SeamRecorder& operator=(const SeamRecorder&) = delete;

    struct ShellCall {
        std::string operation;
        std::string file;
        int show;
    };
    struct ExecCall {
        std::string commandLine;
        UINT show;
    };
    struct Box {
        CString text;
        CString caption;
        UINT type;
    };

    int shellResult = 42;
    UINT execResult = 33;
    std::vector<ShellCall> shellCalls;
    std::vector<ExecCall> execCalls;
    std::vector<Box> boxes;
    std::vector<UINT> beeps;

private:
    ShellLauncher m_previousLauncher;
    MessageBoxSink m_previousBoxSink;
    MessageBeepSink m_previousBeepSink;
};
