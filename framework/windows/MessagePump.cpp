#include "framework/windows/MessagePump.h"

#include "framework/windows/Wnd.h"

void AfxHandleMessage(MSG* msg) {
    if (CWnd::WalkPreTranslateTree(msg))
        return;
    ::TranslateMessage(msg);
    ::DispatchMessageA(msg);
}

BOOL AfxPumpMessagesUntil(const std::function<bool()>& stop) {
    MSG msg;
    while (!stop()) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            ::PostQuitMessage(static_cast<int>(msg.wParam));
        if (got <= 0)
            return FALSE;
        AfxHandleMessage(&msg);
    }
    return TRUE;
}

BOOL AfxPumpWaitingMessages(int maxMessages) {
    MSG msg;
    for (int handled = 0; handled < maxMessages; ++handled) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            break;
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        AfxHandleMessage(&msg);
    }
    return TRUE;
}
