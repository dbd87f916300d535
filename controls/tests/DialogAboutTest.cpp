#include <gtest/gtest.h>

#include "AboutRes.h"
#include "DialogAbout.h"

namespace {

class AboutBoxTest : public ::testing::TestWithParam<const AboutTemplate*> {
protected:
    void SetUp() override { ASSERT_TRUE(about.Create()); }
    void TearDown() override { about.DestroyWindow(); }
    CDialogAbout about{*GetParam()};
};

// The icon is the program's own; the links lead to the vendor and show the hand.
TEST_P(AboutBoxTest, ShowsTheProgramsIconAndTheVendorsLinksWithTheHand) {
    HICON icon = nullptr;
    for (HWND child = ::GetWindow(about, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    EXPECT_NE(nullptr, icon);
    EXPECT_STREQ(about.GetWebLink().GetWindowText(), about.GetWebLink().GetLinkTarget());
    EXPECT_STREQ("mailto:" + about.GetEmailLink().GetWindowText(),
                 about.GetEmailLink().GetLinkTarget());
    for (CLinkLabel* link : {&about.GetWebLink(), &about.GetEmailLink()})
        EXPECT_EQ(::LoadCursorA(nullptr, IDC_HAND), link->m_hLinkCursor);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, AboutBoxTest,
                         ::testing::Values(&kAboutZipdex, &kAboutPackage));

} // namespace
