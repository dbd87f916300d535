#include "MessagePump.h"

#include <windows.h>

#include "framework/Wnd.h"

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWnd::WalkPreTranslateTree(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
