#include "XPButton.h"

#include <commctrl.h>

#include <vector>

#include "framework/windows/Dpi.h"

namespace xp_button {

COLORREF GradientColor(int index, bool hover, bool focus) {
    // Divisors of the red and green, and of the blue component's fall toward the bottom.
    const int redGreen = hover ? 4 : 3;
    const int blue = focus ? (hover ? 3 : 4) : 5;
    const int rg = 255 - index / redGreen;
    return RGB(rg, rg, 255 - index / blue);
}

int GradientBrushForRow(int y, int height) {
    return (kGradientBrushes - 1) * y / (height + 2);
}

POINT CaptionOrigin(const RECT& face, SIZE text, bool pressed) {
    POINT origin{(face.left + face.right) / 2 - text.cx / 2,
                 (face.top + face.bottom) / 2 - text.cy / 2};
    if (pressed) {
        origin.x += ScalePixels(1);
        origin.y += ScalePixels(1);
    }
    return origin;
}

} // namespace xp_button

// The outline stays a hairline, as the system's own edges do; the hover frame's strokes and
// the corners grow with the display's DPI.
CXPButton::CXPButton()
    : m_penOutline(PS_INSIDEFRAME, 1, xp_button::kOutlineColor),
      m_penLeft(PS_INSIDEFRAME, ScalePixels(3), xp_button::kLeftEdgeColor),
      m_penTop(PS_INSIDEFRAME, ScalePixels(2), xp_button::kTopEdgeColor),
      m_penRight(PS_INSIDEFRAME, ScalePixels(3), xp_button::kRightEdgeColor),
      m_penBottom(PS_INSIDEFRAME, ScalePixels(2), xp_button::kBottomEdgeColor) {}

CXPButton::~CXPButton() = default;

const MessageMap* CXPButton::GetMessageMap() const {
    static const MessageMap map(CButton::GetMessageMap(),
                                {
                                    OnMessage<WM_MOUSEMOVE, &CXPButton::OnMouseMove>(),
                                    OnMessage<WM_MOUSEHOVER, &CXPButton::OnMouseHover>(),
                                    OnMessage<WM_MOUSELEAVE, &CXPButton::OnMouseLeave>(),
                                });
    return &map;
}

void CXPButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

void CXPButton::OnMouseMove(UINT, CPoint) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT request{};
        request.cbSize = sizeof request;
        request.dwFlags = TME_HOVER | TME_LEAVE;
        request.hwndTrack = m_hWnd;
        request.dwHoverTime = 1;
        m_bTracking = ::_TrackMouseEvent(&request);
    }
    Default();
}

void CXPButton::OnMouseHover(UINT, CPoint) {
    m_bHover = TRUE;
    Invalidate(TRUE);
}

void CXPButton::OnMouseLeave() {
    m_bTracking = FALSE;
    m_bHover = FALSE;
    Invalidate(FALSE);
}

void CXPButton::DrawItem(DRAWITEMSTRUCT* item) {
    CDC dc(item->hDC);
    CRect rect(item->rcItem);
    const UINT state = item->itemState;
    const CString text = GetWindowText();

    // The ring between the outline and the face is the rounded rectangle's interior: white.
    const HGDIOBJ oldBrush = dc.SelectStockObject(WHITE_BRUSH);
    m_pOldPen = dc.SelectObject(m_penOutline);
    const int corner = ScalePixels(6);
    dc.RoundRect(rect, CPoint(corner, corner));
    m_bFocus = (state & ODS_FOCUS) != 0;
    dc.SelectObject(m_pOldPen);
    dc.SelectObject(oldBrush);

    rect.DeflateRect(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
    FillGradient(&dc, rect);
    if (m_bHover)
        DrawHoverFrame(&dc, rect);

    if (text.IsEmpty())
        return;
    const CSize extent = dc.GetTextExtent(text, text.GetLength());
    const POINT at = xp_button::CaptionOrigin(rect, extent, (state & ODS_SELECTED) != 0);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    if (state & ODS_DISABLED)
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<const char*>(text)),
                     0, at.x, at.y, extent.cx, extent.cy, DST_PREFIXTEXT | DSS_DISABLED);
    else
        dc.TextOut(at.x, at.y, text, text.GetLength());
    dc.SetBkMode(oldMode);
}

void CXPButton::FillGradient(CDC* dc, const RECT& rect) {
    std::vector<CBrush> brushes(xp_button::kGradientBrushes);
    for (int i = 0; i < xp_button::kGradientBrushes; ++i)
        brushes[i].CreateSolidBrush(xp_button::GradientColor(i, m_bHover, m_bFocus));
    // The bounds come from the rectangle's size (see GradientBrushForRow).
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    for (int y = rect.top; y < height + 2; ++y) {
        const CRect row(rect.left, y, width + 2, y + 1);
        dc->FillRect(row, brushes[xp_button::GradientBrushForRow(y, height)]);
    }
}

void CXPButton::DrawHoverFrame(CDC* dc, const RECT& rect) {
    const int two = ScalePixels(2);
    const int three = ScalePixels(3);
    const CPoint oldPosition = dc->MoveTo(rect.left, rect.bottom - three);
    m_pOldPen = dc->SelectObject(m_penLeft);
    dc->LineTo(rect.left, rect.top + two);

    dc->SelectObject(m_penRight);
    dc->MoveTo(rect.right - 1, rect.bottom - three);
    dc->LineTo(rect.right - 1, rect.top + two);

    dc->SelectObject(m_penTop);
    dc->MoveTo(rect.left + two, rect.top);
    dc->LineTo(rect.right - two, rect.top);

    dc->SelectObject(m_penBottom);
    dc->MoveTo(rect.left + two, rect.bottom);
    dc->LineTo(rect.right - two, rect.bottom);

    dc->SelectObject(m_pOldPen);
    dc->MoveTo(oldPosition);
}
