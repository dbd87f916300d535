#include "FlatHeaderCtrl.h"

#include "framework/windows/WindowDC.h"
#include "SortArrow.h"

namespace {

// Single line, vertically centred, end ellipsis, no prefix, no clipping.
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_NOCLIP;

void VerticalLine(CDC& dc, HGDIOBJ pen, int x, int top, int bottom) {
    dc.SelectObject(pen);
    dc.MoveTo(x, top);
    dc.LineTo(x, bottom);
}

} // namespace

const MessageMap* CFlatHeaderCtrl::GetMessageMap() const {
    static const MessageMap map(
        CHeaderCtrl::GetMessageMap(),
        {
            OnMessage<WM_PAINT, &CFlatHeaderCtrl::OnPaint>(),
            OnMessage<WM_WINDOWPOSCHANGING, &CFlatHeaderCtrl::OnWindowPosChanging>(),
        });
    return &map;
}

void CFlatHeaderCtrl::CreateHeaderFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTA font = metrics.lfMessageFont;
    font.lfWeight = FW_NORMAL;
    m_font.CreateFontIndirect(&font);
    SetFont(m_font, TRUE);
    m_bFlat = TRUE;
}

int CFlatHeaderCtrl::SetSortImage(int column, BOOL ascending) {
    const int previous = m_nSortCol;
    m_nSortCol = column;
    m_bSortAsc = ascending;
    HDITEMA item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    GetItem(column, &item);
    if (item.hbm)
        return previous;
    item.mask = HDI_FORMAT;
    item.fmt |= HDF_OWNERDRAW;
    SetItem(column, &item);
    Invalidate(TRUE);
    return previous;
}

void CFlatHeaderCtrl::DrawItem(DRAWITEMSTRUCT* drawItem) {
    CDC dc(drawItem->hDC);
    const CRect r(drawItem->rcItem);
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(r);
    dc.FillSolidRect(r, ::GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(TRANSPARENT);

    char text[256] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = 255;
    GetItem(static_cast<int>(drawItem->itemID), &item);

    UINT format = kTextFormat;
    if (item.fmt & HDF_CENTER)
        format |= DT_CENTER;
    else if (item.fmt & HDF_RIGHT)
        format |= DT_RIGHT;

    const bool sorted = static_cast<int>(drawItem->itemID) == m_nSortCol;
    const int m = m_nMargin;
    CRect textRect = r;
    if (drawItem->itemState == ODS_SELECTED) {
        textRect.top += ScalePixels(2);
        textRect.left += ScalePixels(1);
        textRect.right += ScalePixels(1);
    }
    if (sorted)
        textRect.right -= 3 * m;
    textRect.left += m;
    textRect.right -= m;
    if (textRect.left < textRect.right)
        dc.DrawText(text, -1, &textRect, format);

    HGDIOBJ previousPen = nullptr;
    if (sorted) {
        const CPen highlight(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        const CPen shadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
        for (const ArrowStroke& stroke : SortArrowStrokes(r, m, m_bSortAsc)) {
            const HGDIOBJ replaced = dc.SelectObject(stroke.highlight ? highlight : shadow);
            if (!previousPen)
                previousPen = replaced;
            dc.MoveTo(stroke.points[0]);
            for (size_t i = 1; i < stroke.points.size(); ++i)
                dc.LineTo(stroke.points[i].x, stroke.points[i].y);
        }
        dc.SelectObject(previousPen);
    }
    dc.RestoreDC(saved);
}

void CFlatHeaderCtrl::OnPaint() {
    Default();
    if (m_bFlat)
        DrawFlatFrame();
}

void CFlatHeaderCtrl::OnWindowPosChanging(WINDOWPOS*) {
    Default();
    Invalidate(TRUE);
}

void CFlatHeaderCtrl::DrawFlatFrame() {
    CWindowDC dc(this);
    CRect frame;
    GetWindowRect(&frame);
    ScreenToClient(&frame);
    PaintFlatFrame(dc, frame);
}

void CFlatHeaderCtrl::PaintFlatFrame(CDC& dc, CRect frame) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF highlightColour = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadowColour = ::GetSysColor(COLOR_BTNSHADOW);

    dc.Draw3dRect(frame, face, face);
    frame.DeflateRect(1, 1);
    dc.Draw3dRect(frame, face, face);
    frame.InflateRect(1, 1);
    dc.Draw3dRect(frame, highlightColour, shadowColour);

    const CPen facePen(PS_SOLID, 1, face);
    const CPen highlight(PS_SOLID, 1, highlightColour);
    const CPen shadow(PS_SOLID, 1, shadowColour);
    const HGDIOBJ previousPen = dc.SelectObject(facePen);
    const int top = ScalePixels(2);
    const int bottom = frame.bottom - top;
    VerticalLine(dc, facePen.GetSafeHandle(), frame.right - 1, top, bottom);

    int x = 0;
    for (int index = 0; index < GetItemCount(); ++index) {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        GetItem(index, &item);
        x += item.cxy;
        VerticalLine(dc, shadow.GetSafeHandle(), x, top, bottom);
        VerticalLine(dc, highlight.GetSafeHandle(), x + 1, top, bottom);
        VerticalLine(dc, facePen.GetSafeHandle(), x - 1, top, bottom);
        VerticalLine(dc, facePen.GetSafeHandle(), x - 2, top, bottom);
    }
    dc.SelectObject(previousPen);
}
