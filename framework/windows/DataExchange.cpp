#include "framework/windows/DataExchange.h"

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
    if (!control.m_hWnd)
        control.SubclassWindow(exchange->ControlWindow(id));
}

void DDX_Text(CDataExchange* exchange, int id, CString& value) {
    const HWND window = exchange->ControlWindow(id);
    if (!exchange->m_bSaveAndValidate) {
        ::SetWindowTextA(window, value);
        return;
    }
    const int length = ::GetWindowTextLengthA(window);
    ::GetWindowTextA(window, value.GetBuffer(length + 1), length + 1);
    value.ReleaseBuffer();
}

void DDX_CBIndex(CDataExchange* exchange, int id, int& index) {
    const HWND window = exchange->ControlWindow(id);
    if (exchange->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(window, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
