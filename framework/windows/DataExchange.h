#pragma once

#include <windows.h>

#include "framework/base/String.h"
#include "framework/windows/Wnd.h"

// One transfer between a dialog's controls and its members, in the direction given (the
// DDX_ functions below make it).
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;

    HWND ControlWindow(int id) const { return ::GetDlgItem(m_pDlgWnd->m_hWnd, id); }
};

// Binds the template's control to the member object by subclassing (once).
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
void DDX_Text(CDataExchange* exchange, int id, CString& value);
// The selected index of a combo box; -1 for none.
void DDX_CBIndex(CDataExchange* exchange, int id, int& index);
