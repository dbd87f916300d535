#pragma once

#include "framework/windows/Wnd.h"

// Stops a window repainting while many changes are made; it repaints once when this goes.
class CRedrawPause {
public:
    explicit CRedrawPause(CWnd& window) : m_window(window) { m_window.SetRedraw(FALSE); }
    ~CRedrawPause() {
        m_window.SetRedraw(TRUE);
        m_window.Invalidate();
    }
    CRedrawPause(const CRedrawPause&) = delete;
    CRedrawPause& operator=(const CRedrawPause&) = delete;

private:
    CWnd& m_window;
};
