#include "TestSupport.h"

#include <windows.h>
#include <commctrl.h>

#include "Wnd.h"

namespace {

struct CommonControls {
    CommonControls() { InitCommonControls(); }
} g_commonControls;

} // namespace

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWnd::WalkPreTranslateTree(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

MessageBoxRecorder::MessageBoxRecorder() {
    m_previous =
        AfxSetMessageBoxSink([this](const CString& text, const CString& caption, UINT type) {
            boxes.push_back({text, caption, type});
            return IDOK;
        });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    AfxSetMessageBoxSink(std::move(m_previous));
}
