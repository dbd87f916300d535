#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "TestDialog.h"
#include "TestSupport.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 0, 255);
constexpr int kWidth = 75;
constexpr int kHeight = 23;

COLORREF PartGradient(int i, bool hover, bool focus) {
    if (hover && focus)
        return RGB(255 - i / 4, 255 - i / 4, 255 - i / 3);
    if (hover)
        return RGB(255 - i / 4, 255 - i / 4, 255 - i / 5);
    if (focus)
        return RGB(255 - i / 3, 255 - i / 3, 255 - i / 4);
    return RGB(255 - i / 3, 255 - i / 3, 255 - i / 5);
}

struct InkBox {
    int left = 1000, top = 1000, right = -1, bottom = -1; // inclusive
    bool empty() const { return right < 0; }
};

class XPButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(2, ::GetSystemMetrics(SM_CXEDGE));
        ASSERT_EQ(2, ::GetSystemMetrics(SM_CYEDGE));
        dialog = std::make_unique<CControlsTestDialog>();
        ASSERT_TRUE(dialog->Create());
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
        if (dialog)
            dialog->DestroyWindow();
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
        EXPECT_TRUE(dialog->SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)));
    }

    // Pixels of the face (2, 2, 73, 21) that are not the gradient colour of their row.
    InkBox Ink(bool hover, bool focus) const {
        InkBox box;
        for (int y = 2; y < 21; ++y)
            for (int x = 2; x < 73; ++x)
                if (canvas.At(x, y) != PartGradient(3 * y, hover, focus)) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x);
                    box.bottom = std::max(box.bottom, y);
                }
        return box;
    }

    void ExpectFace(bool hover, bool focus) {
        for (int y = 2; y < 21; ++y)
            for (int x = 2; x < 73; ++x)
                if (canvas.At(x, y) != PartGradient(3 * y, hover, focus)) {
                    ADD_FAILURE() << "face pixel (" << x << ", " << y << ") is " << std::hex
                                  << canvas.At(x, y) << ", row colour "
                                  << PartGradient(3 * y, hover, focus);
                    return;
                }
    }

    void ExpectOutline() {
        for (int y = 4; y < kHeight - 4; ++y) {
            EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, y)) << y;
            EXPECT_EQ(RGB(0, 0, 0), canvas.At(kWidth - 1, y)) << y;
        }
        for (int x = 4; x < kWidth - 4; ++x) {
            EXPECT_EQ(RGB(0, 0, 0), canvas.At(x, 0)) << x;
            EXPECT_EQ(RGB(0, 0, 0), canvas.At(x, kHeight - 1)) << x;
        }
        // Rounded: the very corners keep what was there.
        EXPECT_EQ(kBackground, canvas.At(0, 0));
        EXPECT_EQ(kBackground, canvas.At(kWidth - 1, 0));
        EXPECT_EQ(kBackground, canvas.At(0, kHeight - 1));
        EXPECT_EQ(kBackground, canvas.At(kWidth - 1, kHeight - 1));
    }

    std::unique_ptr<CControlsTestDialog> dialog;
    Canvas canvas{kWidth, kHeight, kBackground};
    CFont font;
    HGDIOBJ oldFont = nullptr;
};

} // namespace

TEST_F(XPButtonTest, AttachmentMakesTheButtonOwnerDrawn) {
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), dialog->m_btnNormal.GetStyle() & BS_TYPEMASK);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), dialog->m_btnDisabled.GetStyle() & BS_TYPEMASK);
}

TEST_F(XPButtonTest, PlainFaceOutlineAndRing) {
    Paint(dialog->m_btnEmpty, 0);
    ExpectOutline();
    ExpectFace(false, false);
    EXPECT_EQ(RGB(253, 253, 254), canvas.At(2, 2));
    EXPECT_EQ(RGB(253, 253, 254), canvas.At(72, 2));
    EXPECT_EQ(RGB(235, 235, 243), canvas.At(2, 20));
    EXPECT_EQ(RGB(235, 235, 243), canvas.At(72, 20));
    // The ring between outline and face is the rounded rectangle's white interior.
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(1, 11));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(73, 11));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(37, 1));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(37, 21));
}

TEST_F(XPButtonTest, FocusWithoutHoverChangesOnlyTheBlueSlopeAndDrawsNoFocusRectangle) {
    Paint(dialog->m_btnEmpty, ODS_FOCUS);
    ExpectOutline();
    ExpectFace(false, true);
    EXPECT_EQ(RGB(253, 253, 254), canvas.At(37, 2));  // brush 6
    EXPECT_EQ(RGB(235, 235, 240), canvas.At(37, 20)); // brush 60
}

TEST_F(XPButtonTest, HoverFaceAndFrameAfterTheHoverNotification) {
    CXPButton& button = dialog->m_btnEmpty;
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Paint(button, 0);
    ExpectFace(false, false); // no frame on the first mouse move

    button.SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    for (UINT focus : {0u, static_cast<UINT>(ODS_FOCUS)}) {
        Paint(button, focus);
        const bool hasFocus = focus != 0;
        ExpectOutline();
        EXPECT_EQ(xp_button::kLeftEdgeColor, canvas.At(2, 11));
        EXPECT_EQ(xp_button::kRightEdgeColor, canvas.At(72, 11));
        EXPECT_EQ(xp_button::kTopEdgeColor, canvas.At(37, 2));
        EXPECT_EQ(xp_button::kBottomEdgeColor, canvas.At(37, 21));
        // Away from the frame the face has the hover colours.
        for (int y = 5; y < 17; ++y)
            for (int x = 6; x < 69; ++x)
                ASSERT_EQ(PartGradient(3 * y, true, hasFocus), canvas.At(x, y)) << x << ", " << y;
        EXPECT_EQ(PartGradient(3 * 5, true, hasFocus), canvas.At(37, 5));
    }
    EXPECT_EQ(RGB(252, 252, 250), PartGradient(15, true, true)); // brush 15, hover and focus

    button.SendMessage(WM_MOUSELEAVE);
    Paint(button, 0);
    ExpectFace(false, false);
}

TEST_F(XPButtonTest, HoverFrameLinesLieInsideTheOutline) {
    dialog->m_btnEmpty.SendMessage(WM_MOUSEHOVER);
    Paint(dialog->m_btnEmpty, 0);
    // Left line x = 2 from y = 18 toward y = 4, right line x = 72; top y = 2, bottom y = 21,
    // from x = 4 toward x = 71.
    for (int y = 6; y <= 16; ++y) {
        EXPECT_EQ(xp_button::kLeftEdgeColor, canvas.At(2, y)) << y;
        EXPECT_EQ(xp_button::kRightEdgeColor, canvas.At(72, y)) << y;
    }
    for (int x = 6; x <= 68; ++x) {
        EXPECT_EQ(xp_button::kTopEdgeColor, canvas.At(x, 2)) << x;
        EXPECT_EQ(xp_button::kBottomEdgeColor, canvas.At(x, 21)) << x;
    }
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, 11));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(74, 11));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(37, 0));
}

TEST_F(XPButtonTest, CaptionCentredAndShiftedByOneWhenPressed) {
    CXPButton& button = dialog->m_btnNormal;
    button.SetWindowText("Go");
    SIZE extent{};
    ::GetTextExtentPoint32A(canvas.dc(), "Go", 2, &extent);
    const int x = 37 - extent.cx / 2;
    const int y = 11 - extent.cy / 2;

    Paint(button, 0);
    ExpectOutline();
    const InkBox normal = Ink(false, false);
    ASSERT_FALSE(normal.empty());
    EXPECT_GE(normal.left, x);
    EXPECT_LT(normal.right, x + extent.cx);
    EXPECT_GE(normal.top, y);
    EXPECT_LT(normal.bottom, y + extent.cy);
    bool black = false; // the context's text colour
    for (int y = normal.top; y <= normal.bottom; ++y)
        for (int x = normal.left; x <= normal.right; ++x)
            black = black || canvas.At(x, y) == RGB(0, 0, 0);
    EXPECT_TRUE(black);

    Paint(button, ODS_SELECTED);
    ExpectOutline();
    const InkBox pressed = Ink(false, false);
    EXPECT_EQ(normal.left + 1, pressed.left);
    EXPECT_EQ(normal.right + 1, pressed.right);
    EXPECT_EQ(normal.top + 1, pressed.top);
    EXPECT_EQ(normal.bottom + 1, pressed.bottom);
}

TEST_F(XPButtonTest, EnabledCaptionShowsTheAmpersandLiterally) {
    CXPButton& button = dialog->m_btnNormal;
    button.SetWindowText("W");
    Paint(button, 0);
    const InkBox plain = Ink(false, false);
    button.SetWindowText("&W");
    Paint(button, 0);
    const InkBox literal = Ink(false, false);
    SIZE ampersand{};
    ::GetTextExtentPoint32A(canvas.dc(), "&", 1, &ampersand);
    // The ampersand's glyph widens the ink by about its own width.
    EXPECT_GT(literal.right - literal.left, plain.right - plain.left + ampersand.cx / 2);
}

TEST_F(XPButtonTest, DisabledCaptionIsEmbossedAtTheSamePlaceWithAMnemonic) {
    CXPButton& button = dialog->m_btnDisabled;
    button.SetWindowText("Go");
    Paint(button, 0);
    const InkBox enabledLook = Ink(false, false);
    Paint(button, ODS_DISABLED);
    ExpectOutline();
    const InkBox disabled = Ink(false, false);
    EXPECT_EQ(enabledLook.left, disabled.left);
    EXPECT_EQ(enabledLook.top, disabled.top);
    // Embossed: a highlight copy one pixel right and down, and no black ink.
    EXPECT_EQ(enabledLook.right + 1, disabled.right);
    for (int y = disabled.top; y <= disabled.bottom; ++y)
        for (int x = disabled.left; x <= disabled.right; ++x)
            ASSERT_NE(RGB(0, 0, 0), canvas.At(x, y)) << x << ", " << y;

    // "&" is a mnemonic prefix: "&Go" looks like "Go" underlined, starting where "&Go" starts.
    button.SetWindowText("&Go");
    SIZE withPrefix{};
    ::GetTextExtentPoint32A(canvas.dc(), "&Go", 3, &withPrefix);
    Paint(button, ODS_DISABLED);
    const InkBox mnemonic = Ink(false, false);
    EXPECT_EQ(37 - withPrefix.cx / 2, mnemonic.left);
    EXPECT_LE(mnemonic.right - mnemonic.left, disabled.right - disabled.left + 1);
    EXPECT_GT(mnemonic.bottom, disabled.bottom); // the underline
}

TEST_F(XPButtonTest, HoverStateMachineFollowsMouseMessages) {
    CXPButton& button = dialog->m_btnHover;
    EXPECT_FALSE(button.IsTracking());
    EXPECT_FALSE(button.IsHover());

    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(button.IsTracking()); // Armed
    EXPECT_FALSE(button.IsHover());
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4, 3));
    EXPECT_TRUE(button.IsTracking());
    EXPECT_FALSE(button.IsHover());

    EXPECT_EQ(0, button.SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(4, 3)));
    EXPECT_TRUE(button.IsTracking()); // Hot
    EXPECT_TRUE(button.IsHover());
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 3));
    EXPECT_TRUE(button.IsHover());

    EXPECT_EQ(0, button.SendMessage(WM_MOUSELEAVE));
    EXPECT_FALSE(button.IsTracking()); // Idle
    EXPECT_FALSE(button.IsHover());

    // Armed, then left without resting: back to Idle, and the next move asks again.
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(button.IsTracking());
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(button.IsTracking());
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(button.IsTracking());
    button.SendMessage(WM_MOUSELEAVE);
}

TEST_F(XPButtonTest, HoverAndLeaveRepaintTheButton) {
    dialog->ShowWindow(SW_SHOWNA);
    CXPButton& button = dialog->m_btnHover;
    ::UpdateWindow(*dialog);
    RECT update{};
    EXPECT_FALSE(::GetUpdateRect(button, &update, FALSE));
    button.SendMessage(WM_MOUSEHOVER);
    EXPECT_TRUE(::GetUpdateRect(button, &update, FALSE));
    ::UpdateWindow(button);
    EXPECT_FALSE(::GetUpdateRect(button, &update, FALSE));
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_TRUE(::GetUpdateRect(button, &update, FALSE));
}
