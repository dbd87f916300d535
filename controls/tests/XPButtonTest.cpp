#include <gtest/gtest.h>

#include <algorithm>

#include "Canvas.h"
#include "TestDialog.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 0, 255);
constexpr int kWidth = 75;
constexpr int kHeight = 23;

// The gradient table, written out independently of the implementation.
COLORREF TableGradient(int i, bool hover, bool focus) {
    if (hover && focus)
        return RGB(255 - i / 4, 255 - i / 4, 255 - i / 3);
    if (hover)
        return RGB(255 - i / 4, 255 - i / 4, 255 - i / 5);
    if (focus)
        return RGB(255 - i / 3, 255 - i / 3, 255 - i / 4);
    return RGB(255 - i / 3, 255 - i / 3, 255 - i / 5);
}

TEST(XPButtonGradient, EveryBrushFollowsTheTable) {
    for (int hover = 0; hover < 2; ++hover)
        for (int focus = 0; focus < 2; ++focus)
            for (int i = 0; i < 64; ++i)
                EXPECT_EQ(TableGradient(i, hover, focus), xp_button::GradientColor(i, hover, focus))
                    << "brush " << i << " hover " << hover << " focus " << focus;
    EXPECT_EQ(RGB(240, 240, 234), xp_button::GradientColor(63, true, true));
    EXPECT_EQ(RGB(234, 234, 243), xp_button::GradientColor(63, false, false));
}

TEST(XPButtonCaption, CentredWithTruncatingHalvesAndShiftedWhenPressed) {
    const RECT face{2, 2, 73, 21};
    const POINT at = xp_button::CaptionOrigin(face, SIZE{25, 13}, false);
    EXPECT_EQ(37 - 12, at.x);
    EXPECT_EQ(11 - 6, at.y);
    const POINT pressed = xp_button::CaptionOrigin(face, SIZE{25, 13}, true);
    EXPECT_EQ(at.x + 1, pressed.x);
    EXPECT_EQ(at.y + 1, pressed.y);
}

struct InkBox {
    int left = 1000, top = 1000, right = -1, bottom = -1; // inclusive
    bool empty() const { return right < 0; }
};

class XPButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(2, ::GetSystemMetrics(SM_CXEDGE));
        ASSERT_TRUE(dialog.Create());
        // Captions in a font without anti-aliasing, so that every caption pixel is plain ink.
        LOGFONTA description{};
        description.lfHeight = -11;
        description.lfCharSet = DEFAULT_CHARSET;
        description.lfQuality = NONANTIALIASED_QUALITY;
        lstrcpyA(description.lfFaceName, "Tahoma");
        font.CreateFontIndirect(&description);
        oldFont = ::SelectObject(canvas.dc(), font);
    }
    void TearDown() override {
        ::SelectObject(canvas.dc(), oldFont);
        dialog.DestroyWindow();
    }

    // Paints the button through the dialog's WM_DRAWITEM, as the button control asks for it.
    void Paint(CXPButton& button, UINT state) {
        canvas.Fill(kBackground);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(::GetDlgCtrlID(button));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = button;
        item.hDC = canvas.dc();
        item.rcItem = RECT{0, 0, kWidth, kHeight};
        EXPECT_TRUE(dialog.SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)));
    }

    // The pixels of the area (the face by default) that differ from their row's gradient.
    InkBox Ink(bool hover, bool focus, RECT area = RECT{2, 2, 73, 21}) const {
        InkBox box;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (canvas.At(x, y) != TableGradient(3 * y, hover, focus)) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x);
                    box.bottom = std::max(box.bottom, y);
                }
        return box;
    }
    bool AnyPixel(const InkBox& box, COLORREF colour) const {
        for (int y = box.top; y <= box.bottom; ++y)
            for (int x = box.left; x <= box.right; ++x)
                if (canvas.At(x, y) == colour)
                    return true;
        return false;
    }

    // The rounded black outline with the very corners left alone.
    void ExpectOutline() {
        for (int y = 4; y < kHeight - 4; ++y)
            EXPECT_TRUE(canvas.At(0, y) == 0 && canvas.At(kWidth - 1, y) == 0) << y;
        for (int x = 4; x < kWidth - 4; ++x)
            EXPECT_TRUE(canvas.At(x, 0) == 0 && canvas.At(x, kHeight - 1) == 0) << x;
        for (POINT corner : {POINT{0, 0}, POINT{kWidth - 1, 0}, POINT{0, kHeight - 1},
                             POINT{kWidth - 1, kHeight - 1}})
            EXPECT_EQ(kBackground, canvas.At(corner.x, corner.y));
    }

    CControlsTestDialog dialog;
    CXPButton& empty = dialog.m_btnEmpty;
    Canvas canvas{kWidth, kHeight, kBackground};
    CFont font;
    HGDIOBJ oldFont = nullptr;
};

// Rows 2 ... 20 of the face (2, 2, 73, 21) use brushes 3 * y; no focus rectangle is drawn.
TEST_F(XPButtonTest, FaceRowsOutlineRingAndHoverFrameInAllFourStates) {
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), empty.GetStyle() & BS_TYPEMASK);
    for (int y = 2; y <= 20; ++y)
        EXPECT_EQ(3 * y, xp_button::GradientBrushForRow(y, 19));
    // Brush 48 of each ramp, on row 16 of the face: {plain, focus}, {hover, hover and focus}.
    const COLORREF row16[2][2] = {{RGB(239, 239, 246), RGB(239, 239, 243)},
                                  {RGB(243, 243, 246), RGB(243, 243, 239)}};
    for (bool hover : {false, true}) {
        empty.SendMessage(hover ? WM_MOUSEHOVER : WM_MOUSELEAVE);
        for (bool focus : {false, true}) {
            SCOPED_TRACE(testing::Message() << "hover " << hover << " focus " << focus);
            Paint(empty, focus ? ODS_FOCUS : 0);
            ExpectOutline();
            // Inside the hover frame the face is the plain gradient.
            EXPECT_TRUE(Ink(hover, focus, hover ? RECT{6, 5, 69, 17} : RECT{2, 2, 73, 21}).empty());
            EXPECT_EQ(row16[hover][focus], canvas.At(37, 16));
            // Between outline and face, the rounded rectangle's white interior.
            for (POINT ring : {POINT{1, 11}, POINT{73, 11}, POINT{37, 1}})
                EXPECT_TRUE(hover || canvas.At(ring.x, ring.y) == RGB(255, 255, 255));
            for (int y = 6; hover && y <= 16; ++y)
                EXPECT_TRUE(canvas.At(2, y) == xp_button::kLeftEdgeColor &&
                            canvas.At(72, y) == xp_button::kRightEdgeColor)
                    << y;
            for (int x = 6; hover && x <= 68; ++x)
                EXPECT_TRUE(canvas.At(x, 2) == xp_button::kTopEdgeColor &&
                            canvas.At(x, 21) == xp_button::kBottomEdgeColor)
                    << x;
        }
    }
}

// "&" is literal on an enabled button and a mnemonic prefix on a disabled one, which is
// embossed: a highlight copy one pixel right and down, and no black ink.
TEST_F(XPButtonTest, CaptionCentredShiftedWhenPressedEmbossedWhenDisabled) {
    CXPButton& button = dialog.m_btnNormal;
    button.SetWindowText("&Go");
    SIZE extent{};
    SIZE go{};
    ::GetTextExtentPoint32A(canvas.dc(), "&Go", 3, &extent);
    ::GetTextExtentPoint32A(canvas.dc(), "Go", 2, &go);
    const int x = 37 - extent.cx / 2;
    const int y = 11 - extent.cy / 2;

    Paint(button, 0);
    const InkBox normal = Ink(false, false);
    ASSERT_FALSE(normal.empty());
    EXPECT_TRUE(normal.left >= x && normal.right < x + extent.cx);
    EXPECT_TRUE(normal.top >= y && normal.bottom < y + extent.cy);
    EXPECT_GT(normal.right - normal.left, go.cx) << "the ampersand is drawn";
    EXPECT_TRUE(AnyPixel(normal, RGB(0, 0, 0))) << "drawn in the context's text colour";

    Paint(button, ODS_SELECTED);
    ExpectOutline();
    const InkBox pressed = Ink(false, false);
    EXPECT_EQ(normal.left + 1, pressed.left);
    EXPECT_EQ(normal.right + 1, pressed.right);
    EXPECT_EQ(normal.top + 1, pressed.top);
    EXPECT_EQ(normal.bottom + 1, pressed.bottom);

    Paint(button, ODS_DISABLED);
    const InkBox disabled = Ink(false, false);
    EXPECT_EQ(x, disabled.left);
    EXPECT_LE(disabled.right, x + go.cx) << "no ampersand";
    EXPECT_GT(disabled.bottom, normal.bottom + 1) << "the underline";
    EXPECT_FALSE(AnyPixel(disabled, RGB(0, 0, 0)));
}

TEST_F(XPButtonTest, HoverStateMachineFollowsMouseMessagesAndRepaints) {
    CXPButton& button = dialog.m_btnHover;
    dialog.ShowWindow(SW_SHOWNA);
    const struct {
        UINT message;
        bool tracking, hover, repaint;
    } steps[] = {
        {WM_MOUSEMOVE, true, false, false}, // armed
        {WM_MOUSEMOVE, true, false, false},
        {WM_MOUSEHOVER, true, true, true}, // hot
        {WM_MOUSEMOVE, true, true, false},
        {WM_MOUSELEAVE, false, false, true}, // idle
        // Armed, then left without resting: idle, and the next move asks again.
        {WM_MOUSEMOVE, true, false, false},
        {WM_MOUSELEAVE, false, false, true},
        {WM_MOUSEMOVE, true, false, false},
    };
    EXPECT_FALSE(button.IsTracking() || button.IsHover());
    int step = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(step++);
        ::UpdateWindow(dialog);
        EXPECT_EQ(0, button.SendMessage(s.message, 0, MAKELPARAM(3 + step % 2, 3)));
        EXPECT_EQ(s.tracking, !!button.IsTracking());
        EXPECT_EQ(s.hover, !!button.IsHover());
        RECT update{};
        EXPECT_EQ(s.repaint, !!::GetUpdateRect(button, &update, FALSE));
    }
    button.SendMessage(WM_MOUSELEAVE);
}

} // namespace
