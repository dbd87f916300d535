#pragma once

#include <windows.h>

#include <string>

#include "uidriver/Window.h"

namespace uidriver {

// Controls of a dialog in another process, addressed by the dialog and the control id.
// Actions that may open a modal window in the program are posted, never sent: a sent
// message would not return until that window closed.

std::string ControlText(HWND dialog, int id);
// Polls the control's text until it equals `expected` or the timeout passes, and returns
// the text last read, so a test can compare it and show what was there instead.
std::string WaitForControlText(HWND dialog, int id, const std::string& expected,
                               DWORD timeoutMs = kDefaultTimeoutMs);
// WM_SETTEXT; an edit box then notifies its parent with EN_CHANGE as for typing.
void SetControlText(HWND dialog, int id, const std::string& text);
bool IsControlEnabled(HWND dialog, int id);

// Posts BM_CLICK. Throws Error when the button is disabled or hidden, as a user could
// not press it either.
void ClickButton(HWND dialog, int id);
// Posts WM_COMMAND with `code` from control `id` to the dialog.
void PostCommand(HWND dialog, int id, WORD code = BN_CLICKED);

int ComboCount(HWND dialog, int id);
std::string ComboItemText(HWND dialog, int id, int index);
// CB_SETCURSEL, then posts CBN_SELCHANGE to the dialog as a user's choice would.
void SelectComboIndex(HWND dialog, int id, int index);

// Posts a key press (WM_KEYDOWN, WM_KEYUP) of virtual key `vk` to the control that has the
// focus in `window`'s thread when it lies inside `window`, otherwise to `window` itself.
// A dialog's message loop turns VK_RETURN and VK_ESCAPE into IDOK and IDCANCEL.
void PressKey(HWND window, UINT vk);

} // namespace uidriver
