#include <gtest/gtest.h>

#include "Canvas.h"
#include "SeamRecorder.h"
#include "TestDialog.h"
#include "TestRegistryRoot.h"

namespace {

const HCURSOR kArrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
const HCURSOR kHand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));

// The label's rectangle in its dialog's client coordinates.
RECT PlaceOf(const CLinkLabel& label) {
    RECT rect{};
    ::GetWindowRect(label, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(label), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The label's place in the test template (dialog units), in pixels.
RECT TemplatePlace(const CLinkLabel& label) {
    const struct {
        int id;
        RECT units;
    } places[] = {{IDC_LINK_FIT_LEFT, {10, 22, 110, 34}},
                  {IDC_LINK_FIT_RIGHT, {130, 22, 230, 34}},
                  {IDC_LINK_FIT_CENTER, {10, 38, 110, 54}}};
    for (const auto& place : places)
        if (place.id == ::GetDlgCtrlID(label)) {
            RECT rect = place.units;
            ::MapDialogRect(::GetParent(label), &rect);
            return rect;
        }
    ADD_FAILURE() << "no template place for " << ::GetDlgCtrlID(label);
    return RECT{};
}

SIZE TextExtent(const CLinkLabel& label) {
    const CString text = label.GetWindowText();
    SIZE size{};
    const HDC dc = ::GetDC(label);
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
    ::ReleaseDC(label, dc);
    return size;
}

void ExpectPlace(const RECT& expected, const CLinkLabel& label) {
    const RECT place = PlaceOf(label);
    EXPECT_TRUE(::EqualRect(&expected, &place))
        << ::GetDlgCtrlID(label) << ": " << place.left << "," << place.top << "," << place.right
        << "," << place.bottom;
}

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        previousRoot = link_label::SetAssociationRoot(registry.key());
    }
    void TearDown() override {
        link_label::SetAssociationRoot(previousRoot);
        dialog.DestroyWindow();
    }

    // The dialog's colour request for the label, answered into the canvas.
    HBRUSH ColourRequest(CLinkLabel& label) {
        return reinterpret_cast<HBRUSH>(dialog.SendMessage(WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(canvas.dc()),
                                                           reinterpret_cast<LPARAM>(label.m_hWnd)));
    }
    COLORREF TextColour(CLinkLabel& label) {
        ColourRequest(label);
        return ::GetTextColor(canvas.dc());
    }
    static bool NeedsPaint(const CLinkLabel& label) {
        RECT update{};
        return ::GetUpdateRect(label, &update, FALSE);
    }
    void Click(CLinkLabel& label) {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(label), STN_CLICKED),
                           reinterpret_cast<LPARAM>(label.m_hWnd));
    }

    TestRegistryRoot registry{"LinkLabel"};
    HKEY previousRoot = nullptr;
    CControlsTestDialog dialog;
    CLinkLabel& label = dialog.m_linkAddress;
    Canvas canvas{8, 8, RGB(255, 255, 255)};
    SeamRecorder seams;
};

TEST_F(LinkLabelTest, AttachmentTakesTheTextAsTargetAndTooltipOrTheTargetAsText) {
    EXPECT_TRUE(label.GetStyle() & SS_NOTIFY);
    EXPECT_STREQ("http://127.0.0.1/test", label.GetLinkTarget());
    EXPECT_STREQ("http://127.0.0.1/test", label.GetToolTip().GetToolText(&label, 1));
    EXPECT_EQ(kArrow, label.m_hLinkCursor);
    EXPECT_FALSE(label.IsVisited());
    EXPECT_FALSE(label.IsUnderlined());

    CControlsTestDialog other;
    other.m_linkEmpty.SetLinkTarget("http://127.0.0.1/preset");
    ASSERT_TRUE(other.Create());
    EXPECT_STREQ("http://127.0.0.1/preset", other.m_linkEmpty.GetWindowText());
    EXPECT_STREQ("http://127.0.0.1/preset",
                 other.m_linkEmpty.GetToolTip().GetToolText(&other.m_linkEmpty, 1));
    other.DestroyWindow();
}

// SetLinkTarget changes target, colour and tooltip but neither text nor place, and leaves
// the repaint to its caller; MarkVisited repaints.
TEST_F(LinkLabelTest, ColourRequestBeforeAndAfterSetLinkTargetAndWhenVisited) {
    dialog.ShowWindow(SW_SHOWNA);
    ::SetTextColor(canvas.dc(), RGB(1, 2, 3));
    ::SetBkMode(canvas.dc(), OPAQUE);
    const HGDIOBJ fontBefore = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
    EXPECT_EQ(::GetStockObject(NULL_BRUSH), ColourRequest(label));
    EXPECT_EQ(RGB(0, 0, 0), ::GetTextColor(canvas.dc()));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(canvas.dc()));

    ::UpdateWindow(dialog);
    const RECT place = PlaceOf(label);
    label.SetLinkTarget("mailto:support@lumivane.cn");
    EXPECT_FALSE(NeedsPaint(label));
    EXPECT_STREQ("mailto:support@lumivane.cn", label.GetToolTip().GetToolText(&label, 1));
    EXPECT_STREQ("http://127.0.0.1/test", label.GetWindowText());
    ExpectPlace(place, label);
    EXPECT_EQ(RGB(0, 0, 238), TextColour(label));
    EXPECT_EQ(fontBefore, ::GetCurrentObject(canvas.dc(), OBJ_FONT)) << "no underline asked";
    label.MarkVisited(TRUE);
    EXPECT_TRUE(NeedsPaint(label));
    EXPECT_EQ(RGB(85, 26, 139), TextColour(label));
    label.MarkVisited(FALSE);
    EXPECT_EQ(RGB(0, 0, 238), TextColour(label));
}

// The copy stands in for the control's font only while the underline is on.
TEST_F(LinkLabelTest, UnderlineSelectsAnUnderlinedCopyOfTheControlsFont) {
    CLinkLabel& underlined = dialog.m_linkUnderlined;
    dialog.ShowWindow(SW_SHOWNA);
    ::UpdateWindow(dialog);
    const HGDIOBJ fontBefore = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
    const HFONT plain = underlined.GetFont();
    HGDIOBJ copy = nullptr;
    for (BOOL on : {TRUE, FALSE, TRUE}) {
        ::SelectObject(canvas.dc(), fontBefore);
        underlined.ShowUnderline(on);
        EXPECT_TRUE(NeedsPaint(underlined));
        ::UpdateWindow(dialog);
        ColourRequest(underlined);
        const HGDIOBJ selected = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
        copy = copy ? copy : (on ? selected : nullptr);
        EXPECT_EQ(on ? copy : fontBefore, selected);
        EXPECT_TRUE(on || underlined.GetFont() == plain) << "the control's own font is back";
    }
    LOGFONTA control{};
    LOGFONTA font{};
    ::GetObjectA(plain, sizeof control, &control);
    ::GetObjectA(copy, sizeof font, &font);
    EXPECT_EQ(copy, underlined.GetUnderlineFont());
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_STREQ(control.lfFaceName, font.lfFaceName);
    EXPECT_EQ(control.lfHeight, font.lfHeight);
}

TEST_F(LinkLabelTest, OnlyAutoSizeFitsTheLabelsToTheirText) {
    CControlsTestDialog fitted;
    CLinkLabel* labels[] = {&fitted.m_linkFitLeft, &fitted.m_linkFitRight, &fitted.m_linkFitCenter};
    for (CLinkLabel* fitting : labels)
        fitting->SetAutoSize(TRUE);
    ASSERT_TRUE(fitted.Create());
    for (CLinkLabel* fitting : labels)
        ExpectPlace(link_label::FitRectToText(TemplatePlace(*fitting), TextExtent(*fitting),
                                              fitting->GetStyle()),
                    *fitting);
    for (CLinkLabel* still :
         {&dialog.m_linkFitLeft, &dialog.m_linkFitRight, &dialog.m_linkFitCenter})
        ExpectPlace(TemplatePlace(*still), *still);

    // SetLinkTarget fits the new, longer text.
    CLinkLabel& left = fitted.m_linkFitLeft;
    left.SetWindowText("一段长得多的链接文字，比模板里的宽");
    left.SetLinkTarget("http://127.0.0.1/long");
    const RECT place = PlaceOf(left);
    EXPECT_EQ(TemplatePlace(left).left + TextExtent(left).cx, place.right);
    fitted.DestroyWindow();
}

TEST_F(LinkLabelTest, ASuccessfulClickOpensTheTargetAndMarksItVisited) {
    Click(label);
    ASSERT_EQ(1u, seams.shellCalls.size());
    EXPECT_EQ("open", seams.shellCalls[0].operation);
    EXPECT_EQ("http://127.0.0.1/test", seams.shellCalls[0].file);
    EXPECT_FALSE(seams.shellCalls[0].hasParameters || seams.shellCalls[0].hasDirectory);
    EXPECT_EQ(SW_SHOW, seams.shellCalls[0].show);
    EXPECT_TRUE(label.IsVisited());
    EXPECT_EQ(RGB(85, 26, 139), TextColour(label));
    EXPECT_TRUE(seams.boxes.empty() && seams.beeps.empty());

    CLinkLabel& empty = dialog.m_linkEmpty;
    Click(empty);
    EXPECT_EQ(1u, seams.shellCalls.size()) << "an empty target opens nothing";
    EXPECT_FALSE(empty.IsVisited());
}

TEST_F(LinkLabelTest, AFailedClickBeepsExplainsAndClearsVisited) {
    label.MarkVisited(TRUE);
    seams.shellResult = SE_ERR_SHARE; // and the test root has no ".htm" association
    Click(label);
    EXPECT_FALSE(label.IsVisited());
    EXPECT_EQ(std::vector<UINT>{MB_ICONEXCLAMATION}, seams.beeps);
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_STREQ("Unable to open hyperlink:\n\nA sharing violation occurred. ",
                 seams.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK),
              seams.boxes[0].type & (MB_ICONMASK | MB_TYPEMASK));
    EXPECT_TRUE(seams.execCalls.empty());
}

TEST_F(LinkLabelTest, ShellRefusalFallsBackToTheHtmProgram) {
    registry.SetDefault(".htm", "htmlfile");
    registry.SetDefault("htmlfile\\shell\\open\\command", "\"C:\\IE\\iexplore.exe\" \"%1\"");
    seams.shellResult = SE_ERR_NOASSOC;
    label.SetLinkTarget("mailto:support@lumivane.cn");
    Click(label);
    ASSERT_EQ(1u, seams.execCalls.size());
    EXPECT_EQ("\"C:\\IE\\iexplore.exe\"  mailto:support@lumivane.cn",
              seams.execCalls[0].commandLine);
    EXPECT_EQ(static_cast<UINT>(SW_SHOW), seams.execCalls[0].show);
    EXPECT_TRUE(label.IsVisited());
    EXPECT_TRUE(seams.boxes.empty());

    seams.execResult = ERROR_FILE_NOT_FOUND;
    Click(label);
    EXPECT_FALSE(label.IsVisited());
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_STREQ("Unable to open hyperlink:\n\nThe specified file was not found.",
                 seams.boxes[0].text);
}

TEST_F(LinkLabelTest, CursorIsTheLinkCursorForEveryHitTestAndMessagesPassOn) {
    const auto setCursor = [&](UINT hitTest, UINT message) {
        return label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(label.m_hWnd),
                                 MAKELPARAM(hitTest, message));
    };
    ::SetCursor(nullptr);
    EXPECT_TRUE(setCursor(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(kArrow, ::GetCursor());
    label.m_hLinkCursor = kHand;
    EXPECT_TRUE(setCursor(HTBORDER, WM_LBUTTONDOWN));
    EXPECT_EQ(kHand, ::GetCursor());

    MSG msg{};
    msg.hwnd = label;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(2, 2);
    EXPECT_FALSE(label.PreTranslateMessage(&msg)) << "the tooltip only watches";
}

} // namespace
