#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AboutRes.h"
#include "Canvas.h"
#include "DialogAbout.h"
#include "SeamRecorder.h"
#include "VendorSite.h"

namespace {

const HCURSOR kArrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
const HCURSOR kHand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));

TEST(VendorSite, OneSettingForHostAddressAndMail) {
    EXPECT_EQ(std::string("http://") + LUMIVANE_VENDOR_HOST, LUMIVANE_VENDOR_ADDRESS);
    EXPECT_EQ(std::string("mailto:") + LUMIVANE_VENDOR_EMAIL, LUMIVANE_VENDOR_MAILTO);
}

struct AboutCase {
    const AboutTemplate* layout;
    const char* caption;
    SIZE units; // the client area in dialog units
    const char* font;
    int points;
    int webLinkId;
    int emailLinkId;
};

class AboutBoxTest : public ::testing::TestWithParam<AboutCase> {
protected:
    void SetUp() override {
        about = std::make_unique<CDialogAbout>(*GetParam().layout);
        ASSERT_TRUE(about->Create());
    }
    void TearDown() override { about->DestroyWindow(); }
    std::unique_ptr<CDialogAbout> about;
};

TEST_P(AboutBoxTest, TemplateLoadsWithItsCaptionSizeFontIconAndLinkIds) {
    const AboutCase& expected = GetParam();
    EXPECT_STREQ(expected.caption, about->GetWindowText());
    RECT size{0, 0, expected.units.cx, expected.units.cy};
    ::MapDialogRect(*about, &size);
    RECT client{};
    ::GetClientRect(*about, &client);
    EXPECT_TRUE(::EqualRect(&size, &client)) << client.right << " x " << client.bottom;

    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(about->SendMessage(WM_GETFONT)), sizeof font, &font);
    EXPECT_STREQ(expected.font, font.lfFaceName);
    const HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(-::MulDiv(expected.points, ::GetDeviceCaps(screen, LOGPIXELSY), 72), font.lfHeight);
    ::ReleaseDC(nullptr, screen);

    HICON icon = nullptr;
    for (HWND child = ::GetWindow(*about, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    EXPECT_NE(nullptr, icon);

    EXPECT_EQ(expected.webLinkId, ::GetDlgCtrlID(about->GetWebLink()));
    EXPECT_EQ(expected.emailLinkId, ::GetDlgCtrlID(about->GetEmailLink()));
}

TEST_P(AboutBoxTest, LinksTextsTargetsTooltipsColoursAndCursor) {
    CLinkLabel& web = about->GetWebLink();
    CLinkLabel& mail = about->GetEmailLink();
    EXPECT_STREQ(LUMIVANE_VENDOR_ADDRESS, web.GetWindowText());
    EXPECT_STREQ(LUMIVANE_VENDOR_ADDRESS, web.GetLinkTarget());
    EXPECT_STREQ(LUMIVANE_VENDOR_ADDRESS, web.GetToolTip().GetToolText(&web, 1));
    EXPECT_STREQ(LUMIVANE_VENDOR_EMAIL, mail.GetWindowText());
    EXPECT_STREQ(LUMIVANE_VENDOR_MAILTO, mail.GetLinkTarget());
    EXPECT_STREQ(LUMIVANE_VENDOR_MAILTO, mail.GetToolTip().GetToolText(&mail, 1));

    Canvas canvas(4, 4, RGB(255, 255, 255));
    for (CLinkLabel* link : {&web, &mail}) {
        about->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc()),
                           reinterpret_cast<LPARAM>(link->m_hWnd));
        EXPECT_EQ(RGB(0, 0, 238), ::GetTextColor(canvas.dc()));
        EXPECT_FALSE(link->IsUnderlined());
        ::SetCursor(nullptr);
        link->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link->m_hWnd),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(kHand, ::GetCursor());
    }
    ::SetCursor(nullptr);
    about->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(about->m_hWnd),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(kArrow, ::GetCursor());
}

TEST_P(AboutBoxTest, LinkClicksOpenTheVendorSiteAndMail) {
    SeamRecorder seams;
    for (CLinkLabel* link : {&about->GetWebLink(), &about->GetEmailLink()})
        about->SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(*link), STN_CLICKED),
                           reinterpret_cast<LPARAM>(link->m_hWnd));
    ASSERT_EQ(2u, seams.shellCalls.size());
    EXPECT_EQ(LUMIVANE_VENDOR_ADDRESS, seams.shellCalls[0].file);
    EXPECT_EQ(LUMIVANE_VENDOR_MAILTO, seams.shellCalls[1].file);
    EXPECT_TRUE(about->GetWebLink().IsVisited() && about->GetEmailLink().IsVisited());
}

INSTANTIATE_TEST_SUITE_P(
    BothPrograms, AboutBoxTest,
    ::testing::Values(
        AboutCase{&kAboutZipdex, "关于 ruzuvadi", {253, 143}, "MS Shell Dlg", 8, 1009, 1010},
        AboutCase{&kAboutPackage, "关于 ruzuviva", {239, 135}, "宋体", 9, 1010, 1014}),
    [](const ::testing::TestParamInfo<AboutCase>& info) {
        return std::string(info.param.layout == &kAboutZipdex ? "zipdex" : "package");
    });

TEST(AboutBox, DefaultConstructionUsesTheProgramsTemplate) {
    CDialogAbout about; // this test program is linked like zipdex
    EXPECT_EQ(static_cast<UINT>(IDD_ABOUT_ZIPDEX), about.GetTemplateId());
}

void CALLBACK PressOk(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (HWND box = ::FindWindowA(nullptr, "关于 ruzuviva"))
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST(AboutBox, ModalRunEndsWithTheOkButton) {
    CDialogAbout about(kAboutPackage);
    ::SetTimer(nullptr, 0, 50, &PressOk);
    EXPECT_EQ(IDOK, about.DoModal());
    EXPECT_EQ(nullptr, about.m_hWnd);
}

} // namespace
