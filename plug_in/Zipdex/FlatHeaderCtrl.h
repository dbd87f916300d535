#pragma once

#include "framework/windows/DC.h"
#include "framework/windows/Dpi.h"
#include "framework/windows/GdiObject.h"
#include "framework/ctrl/HeaderCtrl.h"

// The result list's header: painted flat with a raised frame and etched dividers; headings
// of sorted columns are painted here, the current one with an arrow for its direction.
class CFlatHeaderCtrl : public CHeaderCtrl {
public:
    // Gives the header the message-box font at normal weight and turns the flat frame on.
    void CreateHeaderFont();
    // Marks the column owner-drawn and moves the arrow to it; returns the previous column.
    int SetSortImage(int column, BOOL ascending);
    void DrawItem(DRAWITEMSTRUCT* item) override;
    // The raised frame around the header and a divider after every item.
    void PaintFlatFrame(CDC& dc, CRect frame);

    const MessageMap* GetMessageMap() const override;

    int GetSortColumn() const { return m_nSortCol; }
    BOOL IsSortAscending() const { return m_bSortAsc; }

private:
    void OnPaint();
    void OnWindowPosChanging(WINDOWPOS* position);
    void DrawFlatFrame();

    BOOL m_bFlat = FALSE;
    CFont m_font;
    // The layout unit, 6 pixels at 96 DPI; the frame and arrow lines stay one pixel thin, as
    // the system's own edges do.
    int m_nMargin = ScalePixels(6);
    int m_nSortCol = -1;
    BOOL m_bSortAsc = TRUE;
};
