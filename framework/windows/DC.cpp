#include "framework/windows/DC.h"

CDC::~CDC() {
    if (m_bOwned && m_hDC)
        ::DeleteDC(m_hDC);
}

BOOL CDC::CreateCompatibleDC(HDC other) {
    if (m_bOwned && m_hDC)
        ::DeleteDC(m_hDC);
    m_hDC = ::CreateCompatibleDC(other);
    m_bOwned = true;
    return m_hDC != nullptr;
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous{};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

void CDC::FillSolidRect(const RECT& rect, COLORREF color) {
    const COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    FillSolidRect(CRect(rect.left, rect.top, rect.right - 1, rect.top + 1), topLeft);
    FillSolidRect(CRect(rect.left, rect.top, rect.left + 1, rect.bottom - 1), topLeft);
    FillSolidRect(CRect(rect.left + width - 1, rect.top, rect.right, rect.bottom), bottomRight);
    FillSolidRect(CRect(rect.left, rect.top + height - 1, rect.right, rect.bottom), bottomRight);
}

CSize CDC::GetTextExtent(const char* text, int length) const {
    SIZE size{};
    ::GetTextExtentPoint32A(m_hDC, text, length, &size);
    return CSize(size.cx, size.cy);
}
