#include "uidriver/MessageBox.h"

#include "Poll.h"
#include "uidriver/Controls.h"
#include "uidriver/Error.h"

namespace uidriver {

namespace {

BOOL CALLBACK CheckChild(HWND child, LPARAM param) {
    const std::string className = ClassName(child);
    if (className != "Static" && className != "Button") {
        *reinterpret_cast<bool*>(param) = false;
        return FALSE;
    }
    return TRUE;
}

bool IsMessageBox(HWND window) {
    if (!IsWindowEnabled(window)) {
        return false;
    }
    HWND text = GetDlgItem(window, kMessageBoxTextId);
    if (!text || ClassName(text) != "Static") {
        return false;
    }
    // A dialog template's labels with id -1 also have id 0xFFFF; a message box has nothing
    // but statics and buttons.
    bool onlyStaticsAndButtons = true;
    EnumChildWindows(window, CheckChild, reinterpret_cast<LPARAM>(&onlyStaticsAndButtons));
    return onlyStaticsAndButtons;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM param) {
    if (IsWindowVisible(child) && ClassName(child) == "Button") {
        reinterpret_cast<std::vector<int>*>(param)->push_back(GetDlgCtrlID(child));
    }
    return TRUE;
}

} // namespace

HWND FindMessageBox(DWORD processId) {
    WindowMatch dialogs;
    dialogs.className = "#32770";
    for (HWND window : TopWindows(processId, dialogs)) {
        if (IsMessageBox(window)) {
            return window;
        }
    }
    return nullptr;
}

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.window = box;
    info.caption = WindowText(box);
    info.text = ControlText(box, kMessageBoxTextId);
    EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&info.buttons));
    return info;
}

MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs, HANDLE process) {
    std::optional<DWORD> exitCode;
    HWND box =
        PollWhileRunning(timeoutMs, process, exitCode, [&] { return FindMessageBox(processId); });
    if (exitCode) {
        throw Error("process " + std::to_string(processId) + " ended with exit code " +
                    std::to_string(*exitCode) + " while waiting for a message box");
    }
    if (!box) {
        throw Error("no message box in process " + std::to_string(processId) + " after " +
                    std::to_string(timeoutMs) + " ms");
    }
    return ReadMessageBox(box);
}

void AnswerMessageBox(HWND box, int buttonId, DWORD timeoutMs) {
    const MessageBoxInfo info = ReadMessageBox(box);
    bool hasButton = false;
    std::string ids;
    for (int id : info.buttons) {
        hasButton = hasButton || id == buttonId;
        ids += (ids.empty() ? "" : " ") + std::to_string(id);
    }
    if (!hasButton) {
        throw Error("message box \"" + info.caption + "\" has no button " +
                    std::to_string(buttonId) + "; its buttons: " + ids);
    }
    ClickButton(box, buttonId);
    if (!WaitForWindowClosed(box, timeoutMs)) {
        throw Error("message box \"" + info.caption + "\" still open " + std::to_string(timeoutMs) +
                    " ms after pressing button " + std::to_string(buttonId));
    }
}

} // namespace uidriver
