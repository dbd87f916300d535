#include "framework/ctrl/ToolTipCtrl.h"

namespace {

TOOLINFOA ToolInfo(CWnd* window, UINT toolId, const char* text) {
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = window->m_hWnd;
    info.uId = toolId;
    info.lpszText = const_cast<char*>(text);
    return info;
}

} // namespace

BOOL CToolTipCtrl::Create(CWnd* owner, DWORD style) {
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CRect(), owner, 0);
}

BOOL CToolTipCtrl::AddTool(CWnd* window, const char* text, const RECT* area, UINT toolId) {
    TOOLINFOA info = ToolInfo(window, toolId, text);
    if (area)
        info.rect = *area;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(const char* text, CWnd* window, UINT toolId) {
    TOOLINFOA info = ToolInfo(window, toolId, text);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

CString CToolTipCtrl::GetToolText(CWnd* window, UINT toolId) const {
    char buffer[1024] = {};
    TOOLINFOA info = ToolInfo(window, toolId, buffer);
    SendMessage(TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&info));
    return CString(buffer);
}
