#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "uidriver/Window.h"

namespace uidriver {

// The static control of a MessageBox that holds its text.
constexpr int kMessageBoxTextId = 0xFFFF;

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    // Ids of the visible buttons (IDOK, IDYES, IDNO, ...), in the box's child order.
    std::vector<int> buttons;
};

// The message box a process shows, or nullptr: a visible, enabled #32770 window with a
// static control 0xFFFF and no children but statics and buttons. A dialog's labels with
// id -1 have that id too; the dialog that owns the box is disabled while the box is up,
// and a dialog with other controls never counts.
HWND FindMessageBox(DWORD processId);
MessageBoxInfo ReadMessageBox(HWND box);
// Throws Error on timeout or, when `process` is given, once that process has ended.
MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs,
                                 HANDLE process = nullptr);
// Presses button `buttonId` (IDOK, IDYES, IDNO, IDCANCEL, ...) and waits until the box is
// gone. Throws Error when the box has no such button or does not close in time.
void AnswerMessageBox(HWND box, int buttonId, DWORD timeoutMs = kDefaultTimeoutMs);

} // namespace uidriver
