#include "uidriver/Controls.h"

#include "Poll.h"
#include "uidriver/Error.h"

#include <vector>

namespace uidriver {

namespace {

HWND ComboAt(HWND dialog, int id, int index) {
    HWND combo = Control(dialog, id);
    const int count = static_cast<int>(Send(combo, CB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) {
        throw Error("combo box " + std::to_string(id) + " has " + std::to_string(count) +
                    " entries, no index " + std::to_string(index));
    }
    return combo;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size,
                        nullptr, nullptr);
    return text;
}

LPARAM KeyParam(UINT vk, bool up) {
    const UINT scanCode = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    LPARAM param = 1 | static_cast<LPARAM>(scanCode << 16);
    if (up) {
        param |= static_cast<LPARAM>(3u << 30);
    }
    return param;
}

} // namespace

std::string ControlText(HWND dialog, int id) {
    return WindowText(Control(dialog, id));
}

std::string WaitForControlText(HWND dialog, int id, const std::string& expected, DWORD timeoutMs) {
    HWND control = Control(dialog, id);
    std::string text;
    Poll(timeoutMs, [&] {
        text = WindowText(control);
        return text == expected;
    });
    return text;
}

void SetControlText(HWND dialog, int id, const std::string& text) {
    if (!Send(Control(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
        throw Error("control " + std::to_string(id) + " refused the text \"" + text + "\"");
    }
}

bool IsControlEnabled(HWND dialog, int id) {
    return IsWindowEnabled(Control(dialog, id)) != FALSE;
}

void ClickButton(HWND dialog, int id) {
    HWND button = Control(dialog, id);
    if (!IsWindowEnabled(button)) {
        throw Error("button " + std::to_string(id) + " of " + DescribeWindow(dialog) +
                    " is disabled");
    }
    if (!IsWindowVisible(button)) {
        throw Error("button " + std::to_string(id) + " of " + DescribeWindow(dialog) +
                    " is hidden");
    }
    Post(button, BM_CLICK, 0, 0);
}

void PostCommand(HWND dialog, int id, WORD code) {
    Post(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Control(dialog, id)));
}

int ComboCount(HWND dialog, int id) {
    return static_cast<int>(Send(Control(dialog, id), CB_GETCOUNT, 0, 0));
}

std::string ComboItemText(HWND dialog, int id, int index) {
    HWND combo = ComboAt(dialog, id, index);
    // Wine copies CB_GETLBTEXT across processes as UTF-16 even for SendMessageA, so ask in
    // UTF-16, which Windows and Wine both copy right, and convert to GBK here.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, index, 0, SMTO_NORMAL, kSendTimeoutMs,
                             &length) ||
        static_cast<LRESULT>(length) == CB_ERR) {
        throw Error("combo box " + std::to_string(id) + " has no text at " + std::to_string(index));
    }
    std::vector<wchar_t> wide(length + 1);
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide.data()),
                             SMTO_NORMAL, kSendTimeoutMs, &copied) ||
        static_cast<LRESULT>(copied) == CB_ERR || copied > length) {
        throw Error("combo box " + std::to_string(id) + " has no text at " + std::to_string(index));
    }
    return Narrow(std::wstring(wide.data(), copied));
}

void SelectComboIndex(HWND dialog, int id, int index) {
    HWND combo = ComboAt(dialog, id, index);
    if (Send(combo, CB_SETCURSEL, index, 0) != index) {
        throw Error("combo box " + std::to_string(id) + " refused index " + std::to_string(index));
    }
    // CB_SETCURSEL does not notify; the parent of the combo hears CBN_SELCHANGE from a user.
    Post(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
         reinterpret_cast<LPARAM>(combo));
}

void PressKey(HWND window, UINT vk) {
    if (!IsWindow(window)) {
        throw Error("cannot press a key: no such window");
    }
    HWND target = window;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus &&
        (info.hwndFocus == window || IsChild(window, info.hwndFocus))) {
        target = info.hwndFocus;
    }
    Post(target, WM_KEYDOWN, vk, KeyParam(vk, false));
    Post(target, WM_KEYUP, vk, KeyParam(vk, true));
}

} // namespace uidriver
