#pragma once

#include <windows.h>

#include "framework/windows/Geometry.h"
#include "framework/windows/GdiObject.h"

// A drawing context. The plain class borrows a handle; the derived ones own theirs.
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC dc) : m_hDC(dc) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // A memory context compatible with another (or the screen), owned by this object.
    BOOL CreateCompatibleDC(HDC other);

    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    HGDIOBJ SelectObject(const CGdiObject& object) { return SelectObject(object.GetSafeHandle()); }
    HGDIOBJ SelectStockObject(int index) { return SelectObject(::GetStockObject(index)); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int IntersectClipRect(const RECT& rect) {
        return ::IntersectClipRect(m_hDC, rect.left, rect.top, rect.right, rect.bottom);
    }

    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL RoundRect(const RECT& rect, POINT corner) {
        return ::RoundRect(m_hDC, rect.left, rect.top, rect.right, rect.bottom, corner.x, corner.y);
    }
    void FillRect(const RECT* rect, HBRUSH brush) { ::FillRect(m_hDC, rect, brush); }
    void FillSolidRect(const RECT& rect, COLORREF color);
    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

    CSize GetTextExtent(const char* text, int length) const;
    BOOL TextOut(int x, int y, const char* text, int length) {
        return ::TextOutA(m_hDC, x, y, text, length);
    }
    int DrawText(const char* text, int length, RECT* rect, UINT format) {
        return ::DrawTextA(m_hDC, text, length, rect, format);
    }

protected:
    bool m_bOwned = false;
};
