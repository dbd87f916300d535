#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/windows/Wnd.h"

// A tooltip window, made by a control and destroyed with its object.
class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* owner, DWORD style = 0);
    BOOL AddTool(CWnd* window, const char* text, const RECT* area, UINT toolId);
    void UpdateTipText(const char* text, CWnd* window, UINT toolId);
    CString GetToolText(CWnd* window, UINT toolId) const;
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
};
