#include "uidriver/Window.h"

#include "Poll.h"
#include "uidriver/Error.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace uidriver {

namespace {

struct EnumState {
    DWORD processId;
    const WindowMatch* match;
    std::vector<HWND> found;
};

// GetWindowTextA reads a top-level caption without sending a message, so a busy
// program cannot stall the search.
std::string Caption(HWND window) {
    std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1);
    const int length = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

bool Fits(HWND window, DWORD processId, const WindowMatch& match) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != processId || (match.visibleOnly && !IsWindowVisible(window))) {
        return false;
    }
    if (match.className && ClassName(window) != *match.className) {
        return false;
    }
    return !match.caption || Caption(window) == *match.caption;
}

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    if (Fits(window, state->processId, *state->match)) {
        state->found.push_back(window);
    }
    return TRUE;
}

std::string DescribeMatch(const WindowMatch& match) {
    std::string text = "a top-level window";
    if (match.className) {
        text += " of class " + *match.className;
    }
    if (match.caption) {
        text += " with caption \"" + *match.caption + "\"";
    }
    return text;
}

std::string DescribeProcessWindows(DWORD processId) {
    WindowMatch any;
    any.visibleOnly = false;
    std::string text;
    for (HWND window : TopWindows(processId, any)) {
        text += text.empty() ? "" : ", ";
        text += DescribeWindow(window);
        if (!IsWindowVisible(window)) {
            text += " hidden";
        }
    }
    return text.empty() ? "none" : text;
}

} // namespace

WindowMatch DialogCaption(const std::string& caption) {
    WindowMatch match;
    match.caption = caption;
    match.className = "#32770";
    return match;
}

std::vector<HWND> TopWindows(DWORD processId, const WindowMatch& match) {
    EnumState state{processId, &match, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

HWND FindTopWindow(DWORD processId, const WindowMatch& match) {
    const std::vector<HWND> found = TopWindows(processId, match);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForTopWindow(DWORD processId, const WindowMatch& match, DWORD timeoutMs, HANDLE process,
                      DWORD pollMs) {
    std::optional<DWORD> exitCode;
    HWND window = PollWhileRunning(
        timeoutMs, process, exitCode, [&] { return FindTopWindow(processId, match); }, pollMs);
    if (exitCode) {
        throw Error("process " + std::to_string(processId) + " ended with exit code " +
                    std::to_string(*exitCode) + " while waiting for " + DescribeMatch(match));
    }
    if (!window) {
        throw Error("no " + DescribeMatch(match) + " in process " + std::to_string(processId) +
                    " after " + std::to_string(timeoutMs) +
                    " ms; its windows: " + DescribeProcessWindows(processId));
    }
    return window;
}

HWND WaitForVisibleWindow(const char* className, const char* caption, DWORD timeoutMs) {
    const HWND window = Poll(timeoutMs, [&]() -> HWND {
        const HWND found = FindWindowA(className, caption);
        return found && IsWindowVisible(found) ? found : nullptr;
    });
    if (!window) {
        throw Error(std::string("no visible window \"") + (caption ? caption : "") + "\" (" +
                    (className ? className : "any class") + ")");
    }
    return window;
}

std::string ClientGeometry(HWND window) {
    RECT client = {};
    POINT origin = {0, 0};
    if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin)) {
        throw Error("no geometry for " + DescribeWindow(window));
    }
    return std::to_string(client.right) + "x" + std::to_string(client.bottom) + "+" +
           std::to_string(origin.x) + "+" + std::to_string(origin.y);
}

bool WaitForWindowClosed(HWND window, DWORD timeoutMs) {
    return Poll(timeoutMs, [&] { return !IsWindow(window); });
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(window)) {
        throw Error("cannot send message " + Hex(message) + ": no such window");
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs,
                             &result)) {
        const DWORD code = GetLastError();
        throw Error(DescribeWindow(window) + " did not answer message " + Hex(message) +
                    " within " + std::to_string(kSendTimeoutMs) + " ms (error " +
                    std::to_string(code) + ")");
    }
    return static_cast<LRESULT>(result);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(window) || !PostMessageA(window, message, wParam, lParam)) {
        const DWORD code = GetLastError();
        throw Error("cannot post message " + Hex(message) + " to window " + DescribeWindow(window) +
                    " (error " + std::to_string(code) + ")");
    }
}

HWND Control(HWND dialog, int id) {
    if (!IsWindow(dialog)) {
        throw Error("no such dialog window (looking for control " + std::to_string(id) + ")");
    }
    HWND control = GetDlgItem(dialog, id);
    if (!control) {
        throw Error(DescribeWindow(dialog) + " has no control " + std::to_string(id));
    }
    return control;
}

std::string WindowText(HWND window) {
    const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    // For a Unicode window the length may count characters, not GBK bytes: leave room.
    std::vector<char> buffer((static_cast<std::size_t>(length) + 1) * 2);
    const LRESULT copied =
        Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.back() = '\0';
    return std::string(buffer.data(),
                       std::min(static_cast<std::size_t>(copied), std::strlen(buffer.data())));
}

std::string ClassName(HWND window) {
    char buffer[256] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

std::string DescribeWindow(HWND window) {
    char handle[32];
    std::snprintf(handle, sizeof handle, "%p", static_cast<void*>(window));
    if (!IsWindow(window)) {
        return std::string(handle) + " (destroyed)";
    }
    return std::string(handle) + " \"" + Caption(window) + "\" (" + ClassName(window) + ")";
}

} // namespace uidriver
