#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "uidriver/MessageBox.h"
#include "uidriver/RemoteMemory.h"
#include "uidriver/Window.h"

namespace uidriver {

// A program under test. Killed on destruction if still running, so a failing test leaves
// nothing behind. Its standard handles go to NUL: a crash dump must not land in the test's
// output.
class Process {
public:
    // CreateProcessA with `commandLine` as given (quote paths with QuoteArgument). An empty
    // `workingDirectory` keeps the driver's own. Throws Error when the program cannot start.
    static Process Start(const std::string& commandLine, const std::string& workingDirectory = {});

    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_.Get(); }
    bool IsRunning() const;
    // The exit code once the process has ended within the timeout, otherwise nothing.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs) const;
    // Ends the process (exit code 1) and waits for it to be gone. Does nothing when it has
    // already ended.
    void Kill();

    // A top-level window of this process; throws Error on timeout or when the process ends.
    HWND WaitForWindow(const WindowMatch& match, DWORD timeoutMs = kDefaultTimeoutMs) const;
    // A dialog (#32770) of this process with this caption.
    HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = kDefaultTimeoutMs) const;
    // The message box this process shows; throws Error on timeout or when the process ends.
    MessageBoxInfo WaitForMessageBox(DWORD timeoutMs = kDefaultTimeoutMs) const;

private:
    Process(ScopedHandle handle, DWORD id) : handle_(std::move(handle)), id_(id) {}

    ScopedHandle handle_;
    DWORD id_ = 0;
};

// `argument` quoted for a command line when it holds blanks or quotes.
std::string QuoteArgument(const std::string& argument);
// The folder of the running program, without a trailing backslash: test programs find the
// program they drive beside themselves.
std::string ExecutableDirectory();

} // namespace uidriver
