#include <gtest/gtest.h>

#include <memory>

#include "TestDialog.h"
#include "TestSupport.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

HCURSOR Arrow() {
    return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
}
HCURSOR Hand() {
    return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
}

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog = std::make_unique<CControlsTestDialog>();
        Configure(*dialog);
        ASSERT_TRUE(dialog->Create());
        previousRoot = link_label::SetAssociationRoot(registry.key());
    }
    void TearDown() override {
        link_label::SetAssociationRoot(previousRoot);
        if (dialog)
            dialog->DestroyWindow();
    }
    virtual void Configure(CControlsTestDialog&) {}

    // The dialog's colour request for the label, answered into a memory context.
    HBRUSH ColourRequest(CLinkLabel& label, HDC dc) {
        return reinterpret_cast<HBRUSH>(
            dialog->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(label.m_hWnd)));
    }

    void Click(CLinkLabel& label) {
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(label), STN_CLICKED),
                            reinterpret_cast<LPARAM>(label.m_hWnd));
    }

    // The label's rectangle in the dialog's client coordinates.
    RECT PlaceOf(const CLinkLabel& label) const {
        RECT rect{};
        ::GetWindowRect(label, &rect);
        ::MapWindowPoints(nullptr, *dialog, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // A template rectangle in dialog units, in pixels.
    RECT TemplateRect(int x, int y, int cx, int cy) const {
        RECT rect{x, y, x + cx, y + cy};
        ::MapDialogRect(*dialog, &rect);
        return rect;
    }
    SIZE TextExtent(const CLinkLabel& label) const {
        const CString text = label.GetWindowText();
        SIZE size{};
        const HDC dc = ::GetDC(label);
        ::GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
        ::ReleaseDC(label, dc);
        return size;
    }

    TestRegistryRoot registry{"LinkLabel"};
    HKEY previousRoot = nullptr;
    std::unique_ptr<CControlsTestDialog> dialog;
};

class AutoSizeLinkLabelTest : public LinkLabelTest {
protected:
    void Configure(CControlsTestDialog& d) override {
        d.m_linkFitLeft.SetAutoSize(TRUE);
        d.m_linkFitRight.SetAutoSize(TRUE);
        d.m_linkFitCenter.SetAutoSize(TRUE);
    }
};

} // namespace

TEST_F(LinkLabelTest, AttachmentTakesTheTemplateTextAsTargetAndTooltip) {
    CLinkLabel& label = dialog->m_linkAddress;
    EXPECT_TRUE(label.GetStyle() & SS_NOTIFY);
    EXPECT_EQ(CString("http://127.0.0.1/test"), label.GetLinkTarget());
    EXPECT_EQ(CString("http://127.0.0.1/test"), label.GetWindowText());
    EXPECT_EQ(CString("http://127.0.0.1/test"), label.GetToolTip().GetToolText(&label, 1));
    EXPECT_EQ(Arrow(), label.m_hLinkCursor);
    EXPECT_EQ(RGB(0, 0, 0), label.GetLinkColor());
    EXPECT_EQ(RGB(85, 26, 139), label.GetVisitedColor());
    EXPECT_FALSE(label.IsVisited());
    EXPECT_FALSE(label.IsUnderlined());
    EXPECT_TRUE(::IsWindow(label.GetToolTip().m_hWnd));
}

TEST_F(LinkLabelTest, ATargetSetBeforeAttachmentBecomesTheEmptyText) {
    CControlsTestDialog other;
    other.m_linkEmpty.SetLinkTarget("http://127.0.0.1/preset");
    ASSERT_TRUE(other.Create());
    EXPECT_EQ(CString("http://127.0.0.1/preset"), other.m_linkEmpty.GetWindowText());
    EXPECT_EQ(CString("http://127.0.0.1/preset"),
              other.m_linkEmpty.GetToolTip().GetToolText(&other.m_linkEmpty, 1));
    other.DestroyWindow();
}

TEST_F(LinkLabelTest, ColourRequestBeforeAndAfterSetLinkTarget) {
    CLinkLabel& label = dialog->m_linkAddress;
    Canvas canvas(8, 8, RGB(255, 255, 255));
    ::SetTextColor(canvas.dc(), RGB(1, 2, 3));
    ::SetBkMode(canvas.dc(), OPAQUE);
    const HGDIOBJ fontBefore = ::GetCurrentObject(canvas.dc(), OBJ_FONT);

    EXPECT_EQ(::GetStockObject(NULL_BRUSH), ColourRequest(label, canvas.dc()));
    EXPECT_EQ(RGB(0, 0, 0), ::GetTextColor(canvas.dc()));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(canvas.dc()));
    EXPECT_EQ(fontBefore, ::GetCurrentObject(canvas.dc(), OBJ_FONT));

    label.SetLinkTarget("http://127.0.0.1/other");
    ColourRequest(label, canvas.dc());
    EXPECT_EQ(RGB(0, 0, 238), ::GetTextColor(canvas.dc()));
    EXPECT_EQ(fontBefore, ::GetCurrentObject(canvas.dc(), OBJ_FONT));

    label.MarkVisited(TRUE);
    ColourRequest(label, canvas.dc());
    EXPECT_EQ(RGB(85, 26, 139), ::GetTextColor(canvas.dc()));
    label.MarkVisited(FALSE);
    ColourRequest(label, canvas.dc());
    EXPECT_EQ(RGB(0, 0, 238), ::GetTextColor(canvas.dc()));
}

TEST_F(LinkLabelTest, UnderlineSelectsAnUnderlinedCopyOfTheControlsFontOnce) {
    CLinkLabel& label = dialog->m_linkUnderlined;
    Canvas canvas(8, 8, RGB(255, 255, 255));
    const HGDIOBJ fontBefore = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
    const HFONT plain = label.GetFont();
    ASSERT_NE(nullptr, plain);
    label.ShowUnderline(TRUE);
    EXPECT_TRUE(label.IsUnderlined());
    EXPECT_EQ(nullptr, label.GetUnderlineFont()); // made at the first colour request
    ColourRequest(label, canvas.dc());
    const HFONT underline = label.GetUnderlineFont();
    ASSERT_NE(nullptr, underline);
    EXPECT_EQ(underline, ::GetCurrentObject(canvas.dc(), OBJ_FONT));

    LOGFONTA control{};
    LOGFONTA selected{};
    ::GetObjectA(plain, sizeof control, &control);
    ::GetObjectA(underline, sizeof selected, &selected);
    EXPECT_TRUE(selected.lfUnderline);
    EXPECT_FALSE(control.lfUnderline);
    EXPECT_STREQ(control.lfFaceName, selected.lfFaceName);
    EXPECT_EQ(control.lfHeight, selected.lfHeight);
    EXPECT_EQ(control.lfWeight, selected.lfWeight);

    // Wine's static control selects its own font after the request: it is the underline
    // font while the underline is on.
    EXPECT_EQ(underline, label.GetFont());
    ColourRequest(label, canvas.dc());
    EXPECT_EQ(underline, label.GetUnderlineFont());

    // Turned off: the font object stays, but is no longer selected; the control's own
    // font is back.
    ::SelectObject(canvas.dc(), fontBefore);
    label.ShowUnderline(FALSE);
    ColourRequest(label, canvas.dc());
    EXPECT_EQ(fontBefore, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    EXPECT_EQ(underline, label.GetUnderlineFont());
    EXPECT_EQ(plain, label.GetFont());

    // On again: the same font object, made from the control's own font.
    label.ShowUnderline(TRUE);
    ColourRequest(label, canvas.dc());
    EXPECT_EQ(underline, label.GetUnderlineFont());
    EXPECT_EQ(underline, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
}

TEST_F(LinkLabelTest, UnderlineAndVisitedInvalidateTheWindow) {
    dialog->ShowWindow(SW_SHOWNA);
    ::UpdateWindow(*dialog);
    CLinkLabel& label = dialog->m_linkAddress;
    RECT update{};
    ASSERT_FALSE(::GetUpdateRect(label, &update, FALSE));
    label.SetLinkTarget("http://127.0.0.1/x"); // no repaint
    EXPECT_FALSE(::GetUpdateRect(label, &update, FALSE));
    label.ShowUnderline(TRUE);
    EXPECT_TRUE(::GetUpdateRect(label, &update, FALSE));
    ::UpdateWindow(*dialog);
    label.MarkVisited(TRUE);
    EXPECT_TRUE(::GetUpdateRect(label, &update, FALSE));
}

TEST_F(LinkLabelTest, SetLinkTargetChangesTooltipButNotTextOrPlace) {
    CLinkLabel& label = dialog->m_linkAddress;
    const RECT before = PlaceOf(label);
    EXPECT_EQ(TemplateRect(10, 8, 110, 8).left, before.left);
    label.SetLinkTarget("mailto:support@lumivane.cn");
    EXPECT_EQ(CString("mailto:support@lumivane.cn"), label.GetLinkTarget());
    EXPECT_EQ(CString("mailto:support@lumivane.cn"), label.GetToolTip().GetToolText(&label, 1));
    EXPECT_EQ(CString("http://127.0.0.1/test"), label.GetWindowText());
    const RECT after = PlaceOf(label);
    EXPECT_TRUE(::EqualRect(&before, &after));
    EXPECT_TRUE(SameRect(before, TemplateRect(10, 8, 110, 8)));
}

TEST_F(LinkLabelTest, WithoutAutoSizeNoLabelMoves) {
    EXPECT_TRUE(SameRect(PlaceOf(dialog->m_linkFitLeft), TemplateRect(10, 22, 100, 12)));
    EXPECT_TRUE(SameRect(PlaceOf(dialog->m_linkFitRight), TemplateRect(130, 22, 100, 12)));
    EXPECT_TRUE(SameRect(PlaceOf(dialog->m_linkFitCenter), TemplateRect(10, 38, 100, 16)));
}

TEST_F(AutoSizeLinkLabelTest, AttachmentFitsEachAlignment) {
    const RECT left = TemplateRect(10, 22, 100, 12);
    const SIZE leftText = TextExtent(dialog->m_linkFitLeft);
    const RECT leftNow = PlaceOf(dialog->m_linkFitLeft);
    EXPECT_EQ(left.left, leftNow.left);
    EXPECT_EQ(left.top, leftNow.top);
    EXPECT_EQ(left.left + leftText.cx, leftNow.right);
    EXPECT_EQ(left.top + leftText.cy, leftNow.bottom);

    const RECT right = TemplateRect(130, 22, 100, 12);
    const SIZE rightText = TextExtent(dialog->m_linkFitRight);
    const RECT rightNow = PlaceOf(dialog->m_linkFitRight);
    EXPECT_EQ(right.right, rightNow.right);
    EXPECT_EQ(right.right - rightText.cx, rightNow.left);
    EXPECT_EQ(right.top + rightText.cy, rightNow.bottom);

    const RECT centre = TemplateRect(10, 38, 100, 16);
    const SIZE centreText = TextExtent(dialog->m_linkFitCenter);
    const RECT centreNow = PlaceOf(dialog->m_linkFitCenter);
    const int dx = (centre.right - centre.left - centreText.cx) / 2;
    const int dy = (centre.bottom - centre.top - centreText.cy) / 2;
    EXPECT_EQ(centre.left + dx, centreNow.left);
    EXPECT_EQ(centre.right - dx, centreNow.right);
    EXPECT_EQ(centre.top + dy, centreNow.top);
    EXPECT_EQ(centre.bottom - dy, centreNow.bottom);
}

TEST_F(AutoSizeLinkLabelTest, SetLinkTargetFitsTheNewText) {
    CLinkLabel& label = dialog->m_linkFitLeft;
    const RECT before = PlaceOf(label);
    label.SetWindowText("一段长得多的链接文字，比模板里的宽");
    label.SetLinkTarget("http://127.0.0.1/long");
    const RECT after = PlaceOf(label);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.left + TextExtent(label).cx, after.right);
    EXPECT_GT(after.right, before.right);
}

TEST_F(LinkLabelTest, ASuccessfulClickOpensTheTargetAndMarksItVisited) {
    SeamRecorder seams;
    seams.shellResult = 42;
    CLinkLabel& label = dialog->m_linkAddress;
    Click(label);
    ASSERT_EQ(1u, seams.shellCalls.size());
    EXPECT_EQ("open", seams.shellCalls[0].operation);
    EXPECT_EQ("http://127.0.0.1/test", seams.shellCalls[0].file);
    EXPECT_EQ(SW_SHOW, seams.shellCalls[0].show);
    EXPECT_TRUE(label.IsVisited());
    EXPECT_TRUE(seams.boxes.empty());
    EXPECT_TRUE(seams.beeps.empty());
    Canvas canvas(4, 4, RGB(255, 255, 255));
    ColourRequest(label, canvas.dc());
    EXPECT_EQ(RGB(85, 26, 139), ::GetTextColor(canvas.dc()));
}

TEST_F(LinkLabelTest, AFailedClickBeepsExplainsAndClearsVisited) {
    SeamRecorder seams;
    CLinkLabel& label = dialog->m_linkAddress;
    label.MarkVisited(TRUE);
    seams.shellResult = SE_ERR_FNF; // and the test root has no ".htm" association
    Click(label);
    EXPECT_FALSE(label.IsVisited());
    ASSERT_EQ(1u, seams.beeps.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), seams.beeps[0]);
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_EQ("Unable to open hyperlink:\n\nThe specified file was not found.",
              seams.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), seams.boxes[0].type & MB_ICONMASK);
    EXPECT_EQ(static_cast<UINT>(MB_OK), seams.boxes[0].type & MB_TYPEMASK);
    EXPECT_TRUE(seams.execCalls.empty());

    seams.shellResult = SE_ERR_SHARE;
    Click(label);
    ASSERT_EQ(2u, seams.boxes.size());
    EXPECT_EQ("Unable to open hyperlink:\n\nA sharing violation occurred. ", seams.boxes[1].text);
    seams.shellResult = 7;
    Click(label);
    ASSERT_EQ(3u, seams.boxes.size());
    EXPECT_EQ("Unable to open hyperlink:\n\nUnknown Error (7) occurred.", seams.boxes[2].text);
}

TEST_F(LinkLabelTest, AClickOnAnEmptyTargetDoesNothing) {
    SeamRecorder seams;
    seams.shellResult = SE_ERR_FNF;
    CLinkLabel& label = dialog->m_linkEmpty;
    EXPECT_EQ(CString(), label.GetLinkTarget());
    Click(label);
    EXPECT_TRUE(seams.shellCalls.empty());
    EXPECT_TRUE(seams.beeps.empty());
    EXPECT_TRUE(seams.boxes.empty());
    EXPECT_FALSE(label.IsVisited());
}

TEST_F(LinkLabelTest, ShellRefusalFallsBackToTheHtmProgram) {
    registry.SetDefault(".htm", "htmlfile");
    registry.SetDefault("htmlfile\\shell\\open\\command",
                        "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" \"%1\"");
    SeamRecorder seams;
    seams.shellResult = SE_ERR_NOASSOC;
    seams.execResult = 33;
    CLinkLabel& label = dialog->m_linkAddress;
    label.SetLinkTarget("mailto:support@lumivane.cn");
    Click(label);
    ASSERT_EQ(1u, seams.execCalls.size());
    EXPECT_EQ("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"  mailto:support@lumivane.cn",
              seams.execCalls[0].commandLine);
    EXPECT_EQ(static_cast<UINT>(SW_SHOW), seams.execCalls[0].show);
    EXPECT_TRUE(label.IsVisited());
    EXPECT_TRUE(seams.boxes.empty());

    seams.execResult = ERROR_FILE_NOT_FOUND;
    Click(label);
    EXPECT_FALSE(label.IsVisited());
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_EQ("Unable to open hyperlink:\n\nThe specified file was not found.",
              seams.boxes[0].text);
}

TEST_F(LinkLabelTest, CursorIsTheLinkCursorForEveryHitTest) {
    CLinkLabel& label = dialog->m_linkAddress;
    ::SetCursor(nullptr);
    EXPECT_TRUE(label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(label.m_hWnd),
                                  MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(Arrow(), ::GetCursor());
    label.m_hLinkCursor = Hand();
    EXPECT_TRUE(label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(label.m_hWnd),
                                  MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(Hand(), ::GetCursor());
    ::SetCursor(Arrow());
    EXPECT_TRUE(label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(label.m_hWnd),
                                  MAKELPARAM(HTBORDER, WM_LBUTTONDOWN)));
    EXPECT_EQ(Hand(), ::GetCursor());
}

TEST_F(LinkLabelTest, PreTranslateMessageRelaysToTheTooltipAndTakesNothing) {
    CLinkLabel& label = dialog->m_linkAddress;
    MSG msg{};
    msg.hwnd = label;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(2, 2);
    EXPECT_FALSE(label.PreTranslateMessage(&msg));
}
