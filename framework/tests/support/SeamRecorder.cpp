#include "SeamRecorder.h"

SeamRecorder::SeamRecorder() {
    ShellLauncher launcher;
    launcher.shellExecute = [this](HWND, const char* operation, const char* file, const char*,
                                   const char*, int show) {
        shellCalls.push_back({operation ? operation : "", file ? file : "", show});
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(shellResult));
    };
    launcher.winExec = [this](const char* commandLine, UINT show) {
        execCalls.push_back({commandLine, show});
        return execResult;
    };
    m_previousLauncher = AfxSetShellLauncher(launcher);
    m_previousBoxSink =
        AfxSetMessageBoxSink([this](const CString& text, const CString& caption, UINT type) {
            boxes.push_back({text, caption, type});
            return IDOK;
        });
    m_previousBeepSink = AfxSetMessageBeepSink([this](UINT type) { beeps.push_back(type); });
}

SeamRecorder::~SeamRecorder() {
    AfxSetShellLauncher(std::move(m_previousLauncher));
    AfxSetMessageBoxSink(std::move(m_previousBoxSink));
    AfxSetMessageBeepSink(std::move(m_previousBeepSink));
}
