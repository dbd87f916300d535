#include <gtest/gtest.h>

#include <algorithm>

#include "Canvas.h"
#include "DemoDialog.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 0, 255);
constexpr int kWidth = 75;
constexpr int kHeight = 23;

struct InkBox {
    int left = 1000, top = 1000, right = -1, bottom = -1; // inclusive
    bool black = false;
    bool empty() const { return right < 0; }
};

class XPButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        // Captions in a font without anti-aliasing, so that every caption pixel is plain ink.
        LOGFONTA description{};
        description.lfHeight = -11;
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
        const UINT id = static_cast<UINT>(::GetDlgCtrlID(button));
        DRAWITEMSTRUCT item{ODT_BUTTON, id,     0,           ODA_DRAWENTIRE,
                            state,      button, canvas.dc(), {0, 0, kWidth, kHeight},
                            0};
        EXPECT_TRUE(dialog.SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)));
    }
    // The pixels of the area (the face by default) that differ from their row's gradient.
    InkBox Ink(bool hover, bool focus, RECT area = RECT{2, 2, 73, 21}) const {
        InkBox box;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (canvas.At(x, y) !=
                    xp_button::GradientColor(xp_button::GradientBrushForRow(y, 19), hover, focus))
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                           std::max(box.bottom, y), box.black || canvas.At(x, y) == RGB(0, 0, 0)};
        return box;
    }
    CDemoDialog dialog;
    Canvas canvas{kWidth, kHeight, kBackground};
    CFont font;
    HGDIOBJ oldFont = nullptr;
};

TEST_F(XPButtonTest, GradientFaceOutlineAndHoverFrameInAllFourStates) {
    CXPButton& empty = dialog.m_btnEmpty;
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), empty.GetStyle() & BS_TYPEMASK);
    // Row 16 of the face: {plain, focus}, {hover, hover and focus}.
    const COLORREF row16[2][2] = {{RGB(239, 239, 246), RGB(239, 239, 243)},
                                  {RGB(243, 243, 246), RGB(243, 243, 239)}};
    for (bool hover : {false, true}) {
        empty.SendMessage(hover ? WM_MOUSEHOVER : WM_MOUSELEAVE);
        for (bool focus : {false, true}) {
            SCOPED_TRACE(testing::Message() << "hover " << hover << " focus " << focus);
            Paint(empty, focus ? ODS_FOCUS : 0);
            // The rounded black outline with the very corners left alone.
            for (int i = 4; i < kWidth - 4; ++i)
                EXPECT_TRUE(
                    canvas.At(i, 0) == 0 && canvas.At(i, kHeight - 1) == 0 &&
                    (i >= kHeight - 4 || (canvas.At(0, i) == 0 && canvas.At(kWidth - 1, i) == 0)))
                    << i;
            EXPECT_TRUE(canvas.At(0, 0) == kBackground &&
                        canvas.At(kWidth - 1, kHeight - 1) == kBackground);
            EXPECT_TRUE(Ink(hover, focus, hover ? RECT{6, 5, 69, 17} : RECT{2, 2, 73, 21}).empty());
            EXPECT_EQ(row16[hover][focus], canvas.At(37, 16));
            // The hover frame's four edges, or the white ring between outline and face.
            const COLORREF white = RGB(255, 255, 255);
            EXPECT_EQ(hover ? xp_button::kLeftEdgeColor : white, canvas.At(1 + hover, 11));
            EXPECT_EQ(hover ? xp_button::kTopEdgeColor : white, canvas.At(37, 1 + hover));
            EXPECT_TRUE(!hover || canvas.At(72, 11) == xp_button::kRightEdgeColor);
            EXPECT_TRUE(!hover || canvas.At(37, 21) == xp_button::kBottomEdgeColor);
        }
    }
}

// "&" is literal on an enabled button and a mnemonic prefix on a disabled one, which is
// embossed: a highlight copy one pixel right and down, and no black ink.
TEST_F(XPButtonTest, CaptionCentredShiftedWhenPressedEmbossedWhenDisabled) {
    CXPButton& button = dialog.m_btnNormal;
    button.SetWindowText("&Go");
    SIZE extent{}, go{};
    ::GetTextExtentPoint32A(canvas.dc(), "&Go", 3, &extent);
    ::GetTextExtentPoint32A(canvas.dc(), "Go", 2, &go);
    const int x = 37 - extent.cx / 2, y = 11 - extent.cy / 2;

    Paint(button, 0);
    const InkBox normal = Ink(false, false);
    EXPECT_TRUE(normal.left >= x && normal.right < x + extent.cx);
    EXPECT_TRUE(normal.top >= y && normal.bottom < y + extent.cy);
    EXPECT_GT(normal.right - normal.left, go.cx) << "the ampersand is drawn";
    EXPECT_TRUE(normal.black);

    Paint(button, ODS_SELECTED);
    const InkBox pressed = Ink(false, false);
    EXPECT_TRUE(pressed.left == normal.left + 1 && pressed.right == normal.right + 1);
    EXPECT_TRUE(pressed.top == normal.top + 1 && pressed.bottom == normal.bottom + 1);

    Paint(button, ODS_DISABLED);
    const InkBox disabled = Ink(false, false);
    EXPECT_EQ(x, disabled.left);
    EXPECT_LE(disabled.right, x + go.cx) << "no ampersand";
    EXPECT_GT(disabled.bottom, normal.bottom + 1) << "the underline";
    EXPECT_FALSE(disabled.black);
}

TEST_F(XPButtonTest, HoverStateMachineFollowsMouseMessagesAndRepaints) {
    CXPButton& button = dialog.m_btnHover;
    dialog.ShowWindow(SW_SHOWNA);
    const struct {
        UINT message;
        bool tracking, hover, repaint;
    } steps[] = {
        {WM_MOUSEMOVE, true, false, false}, {WM_MOUSEHOVER, true, true, true},
        {WM_MOUSEMOVE, true, true, false},  {WM_MOUSELEAVE, false, false, true},
        {WM_MOUSEMOVE, true, false, false}, // the next move asks again
    };
    int step = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(step++);
        ::UpdateWindow(dialog);
        EXPECT_EQ(0, button.SendMessage(s.message, 0, MAKELPARAM(3 + step % 2, 3)));
        EXPECT_EQ(s.tracking, !!button.IsTracking());
        EXPECT_EQ(s.hover, !!button.IsHover());
        EXPECT_EQ(s.repaint, !!::GetUpdateRect(button, nullptr, FALSE));
    }
}

} // namespace
