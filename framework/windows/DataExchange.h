#pragma once

#include <windows.h>

#include "framework/base/String.h"
#include "framework/windows/Wnd.h"

// Binds the template's control to the member object by subclassing (once).
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
void DDX_Text(CDataExchange* exchange, int id, CString& value);
// The selected index of a combo box; -1 for none.
void DDX_CBIndex(CDataExchange* exchange, int id, int& index);
