#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace uidriver {

constexpr DWORD kDefaultTimeoutMs = 10000;
// How often a wait looks again; a timing needs finer steps.
constexpr DWORD kPollIntervalMs = 20;
// How long a window may take to answer one sent message before the driver gives up.
constexpr DWORD kSendTimeoutMs = 5000;

// Which top-level windows to look for. Texts are GBK, compared exactly.
struct WindowMatch {
    std::optional<std::string> caption;
    std::optional<std::string> className;
    // A dialog is shown only after WM_INITDIALOG returns, so a visible one is ready.
    bool visibleOnly = true;
};

// A dialog box (class #32770) with this caption.
WindowMatch DialogCaption(const std::string& caption);

// The top-level windows of a process that fit `match`, in z-order.
std::vector<HWND> TopWindows(DWORD processId, const WindowMatch& match);
// The first of them, or nullptr.
HWND FindTopWindow(DWORD processId, const WindowMatch& match);
// Polls every `pollMs` until such a window exists. Throws Error on timeout, naming the windows
// the process has, or, when `process` is given, as soon as that process has ended.
HWND WaitForTopWindow(DWORD processId, const WindowMatch& match, DWORD timeoutMs,
                      HANDLE process = nullptr, DWORD pollMs = kPollIntervalMs);
// Polls for a visible top-level window of any process by class and caption (either may be
// null). Throws Error on timeout. For demo steps that know no process.
HWND WaitForVisibleWindow(const char* className, const char* caption, DWORD timeoutMs);
// True once `window` is destroyed; false when it still exists after the timeout.
bool WaitForWindowClosed(HWND window, DWORD timeoutMs);

// SendMessageTimeoutA that throws Error when the window is gone or does not answer.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// PostMessageA that throws Error when the window is gone.
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The child control `id` of `dialog`; throws Error when there is none.
HWND Control(HWND dialog, int id);
// The text by WM_GETTEXT, which Windows copies across processes.
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Where the client area lies on the screen as "WIDTHxHEIGHT+X+Y", the geometry a screenshot
// tool crops to (without a window manager nothing else of a window is drawn).
std::string ClientGeometry(HWND window);
// "0x1234 "caption" (class)", for error texts.
std::string DescribeWindow(HWND window);

} // namespace uidriver
