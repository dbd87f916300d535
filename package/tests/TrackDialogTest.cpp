#include <gtest/gtest.h>

#include "DialogHelpers.h"
#include "MessagePump.h"
#include "SeamRecorder.h"
#include "VendorSite.h"
#include "framework/Encoding.h"

namespace {

const char kWelcome[] = LUMIVANE_VENDOR_ADDRESS "/Package/Application/welcome.htm";

class TrackDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteLocalConfig(ConfigXml({{"C", "http://127.0.0.1/Kd"},
                                    {"A", "http://127.0.0.1/"},
                                    {"B", "http://127.0.0.1/BBS"},
                                    {"Twice", "http://127.0.0.1/?first"},
                                    {"Twice", "http://127.0.0.1/?second"}}));
    }
    // Where the pane went, once it shows `expected` or after 5 s; navigation runs in the
    // message loop.
    static std::string PaneAddress(CTrackDialog& dialog, const std::string& expected) {
        std::string shown;
        for (int i = 0; i < 250 && shown != expected; ++i) {
            IWebBrowser2* browser = dialog.m_browser.GetBrowser();
            CComBSTR address;
            if (browser && SUCCEEDED(browser->get_LocationURL(&address)) && address.m_str)
                shown = address.ToAnsi().str();
            if (shown != expected) {
                PumpMessages();
                ::Sleep(20);
            }
        }
        return shown;
    }
    SeamRecorder seams;
};

TEST_F(TrackDialogTest, TheRememberedCompanySelectsItsPageOrTheWelcomePage) {
    const struct {
        const char* stored;
        int selected;
        const char* page;
    } cases[] = {
        {"B", 1, "http://127.0.0.1/BBS"},
        {"b", CB_ERR, kWelcome},
        {"", CB_ERR, kWelcome},
        {"Twice", 3, "http://127.0.0.1/?second"},
    };
    for (const auto& c : cases) {
        CTrackDialog dialog;
        dialog.m_strCompany = c.stored;
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(c.selected, dialog.m_comboCompany.GetCurSel()) << c.stored;
        EXPECT_EQ(c.page, PaneAddress(dialog, c.page)) << c.stored;
        dialog.DestroyWindow();
        EXPECT_STREQ(c.stored, dialog.m_strCompany) << "kept when nothing else was chosen";
    }
}

TEST_F(TrackDialogTest, ChoosingACompanyShowsItsPageAndIsKeptAtTheEnd) {
    CTrackDialog dialog;
    dialog.m_strCompany = "gone";
    ASSERT_TRUE(dialog.Create());
    dialog.m_comboCompany.SetCurSel(2);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COMBO_COMPANY, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(dialog.m_comboCompany.m_hWnd));
    EXPECT_EQ("http://127.0.0.1/Kd", PaneAddress(dialog, "http://127.0.0.1/Kd"));
    dialog.DestroyWindow();
    EXPECT_STREQ("C", dialog.m_strCompany);
}

TEST_F(TrackDialogTest, ProgressNotificationsMoveTheBar) {
    CTrackDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const struct {
        int progress;
        int maximum;
        int lower, upper, position;
    } steps[] = {
        {0, 0, 0, 100, 0},         // begin: the bar drops to 0 in its first range
        {-1, 0, 0, 100, 100},      // any progress without a maximum shows full
        {300, 1000, 0, 1000, 300}, // a maximum sets the range
        {5000, 1000, 0, 1000, 1000}, {7, 0, 0, 1000, 1000},
        {0, 0, 0, 1000, 0},          {0, 1, 0, 1, 0}, // complete: empty once loading ends
    };
    for (const auto& step : steps) {
        EXPECT_EQ(0, dialog.SendMessage(WM_HTML_PROGRESS, static_cast<WPARAM>(step.progress),
                                        static_cast<LPARAM>(step.maximum)));
        int lower = -1;
        int upper = -1;
        dialog.m_progress.GetRange(lower, upper);
        EXPECT_EQ(step.lower, lower);
        EXPECT_EQ(step.upper, upper) << step.progress << "/" << step.maximum;
        EXPECT_EQ(step.position, dialog.m_progress.GetPos())
            << step.progress << "/" << step.maximum;
    }
}

TEST_F(TrackDialogTest, ButtonsAndTheStatusLineOpenTheVendorsAddresses) {
    CTrackDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_STREQ("澜图软件 荣誉出品 " LUMIVANE_VENDOR_ADDRESS, dialog.m_linkStatus.GetWindowText());
    EXPECT_STREQ(LUMIVANE_VENDOR_ADDRESS, dialog.m_linkStatus.GetLinkTarget());
    EXPECT_TRUE(dialog.m_linkStatus.IsUnderlined());
    for (int id : {IDC_BUTTON_HOMEPAGE, IDC_BUTTON_FORUM, IDC_BUTTON_ONLINE})
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
    ASSERT_EQ(3u, seams.shellCalls.size());
    const char* expected[] = {LUMIVANE_VENDOR_ADDRESS, LUMIVANE_VENDOR_ADDRESS "/BBS",
                              LUMIVANE_VENDOR_ADDRESS "/Kd"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ("open", seams.shellCalls[i].operation);
        EXPECT_EQ(expected[i], seams.shellCalls[i].file);
        EXPECT_FALSE(seams.shellCalls[i].hasOwner || seams.shellCalls[i].hasParameters ||
                     seams.shellCalls[i].hasDirectory);
        EXPECT_EQ(SW_SHOWNORMAL, seams.shellCalls[i].show);
    }
    EXPECT_EQ(reinterpret_cast<LRESULT>(dialog.m_hIcon), dialog.SendMessage(WM_QUERYDRAGICON));
}

} // namespace
