#pragma once

#include "framework/windows/Wnd.h"

class CButton : public CWnd {
public:
    // Paints an owner-drawn button; the parent hands WM_DRAWITEM back to the button.
    virtual void DrawItem(DRAWITEMSTRUCT*) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
