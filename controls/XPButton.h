#pragma once

#include <windows.h>

#include "framework/ctrl/Button.h"
#include "framework/windows/DC.h"
#include "framework/windows/GdiObject.h"

// An owner-drawn push button: rounded black outline, a vertical gradient face,
// an orange frame while the mouse rests on it, the caption shifted by (1, 1) when pressed
// and embossed when disabled.
class CXPButton : public CButton {
public:
    CXPButton();
    ~CXPButton() override;

    const MessageMap* GetMessageMap() const override;
    void PreSubclassWindow() override;
    void DrawItem(DRAWITEMSTRUCT* item) override;

    BOOL IsHover() const { return m_bHover; }
    BOOL IsTracking() const { return m_bTracking; }

protected:
    void OnMouseMove(UINT flags, CPoint point);
    void OnMouseHover(UINT flags, CPoint point);
    void OnMouseLeave();

    void FillGradient(CDC* dc, const RECT& rect);
    void DrawHoverFrame(CDC* dc, const RECT& rect);

private:
    CPen m_penOutline;
    CPen m_penLeft;
    CPen m_penTop;
    CPen m_penRight;
    CPen m_penBottom;
    HGDIOBJ m_pOldPen = nullptr;
    BOOL m_bHover = FALSE;
    BOOL m_bTracking = FALSE;
    BOOL m_bFocus = FALSE;
};

// The pieces of the button's painting that need no window.
namespace xp_button {

inline constexpr int kGradientBrushes = 64;
inline constexpr COLORREF kOutlineColor = RGB(0, 0, 0);
inline constexpr COLORREF kLeftEdgeColor = RGB(250, 196, 88);
inline constexpr COLORREF kTopEdgeColor = RGB(252, 210, 121);
inline constexpr COLORREF kRightEdgeColor = RGB(251, 202, 106);
inline constexpr COLORREF kBottomEdgeColor = RGB(229, 151, 0);

// The colour of gradient brush index (0 ... 63) in the given hover and focus state.
COLORREF GradientColor(int index, bool hover, bool focus);
// The brush that fills row y of a face whose shrunken rectangle is height rows high.
int GradientBrushForRow(int y, int height);
// Where the caption of the given extent starts inside the shrunken rectangle.
POINT CaptionOrigin(const RECT& face, SIZE text, bool pressed);

} // namespace xp_button
