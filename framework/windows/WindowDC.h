#pragma once

#include <windows.h>

#include "framework/windows/DC.h"

class CWnd;

// The drawing contexts of a window, each given back when the object goes.

// Painting inside WM_PAINT (BeginPaint/EndPaint).
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// The client area of a window (GetDC/ReleaseDC).
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* window);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// The whole window, frame included (GetWindowDC/ReleaseDC).
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* window);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};
