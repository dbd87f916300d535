#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ConfigDownload.h"
#include "framework/windows/MessagePump.h"
#include "PackageApp.h"
#include "SeamRecorder.h"
#include "TestFiles.h"
#include "TrackDialog.h"
#include "VendorSite.h"
#include "VendorSiteControl.h"
#include "framework/net/InternetSession.h"
#include "framework/base/Module.h"

namespace {

// A configs.xml of (name, URL) entries in UTF-8, padded with blank lines to `size` bytes.
std::string ConfigXml(std::initializer_list<std::pair<const char*, const char*>> entries,
                      size_t size = 0) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Expresses>";
    for (const auto& [name, url] : entries)
        xml += std::string("<E Name=\"") + name + "\" URL=\"" + url + "\"/>";
    xml += "</Expresses>";
    return xml + std::string(size > xml.size() ? size - xml.size() : 0, '\n');
}

// The dialog made from configs.xml with these bytes beside the program ("-": no file).
struct Dialog : CTrackDialog {
    Dialog(const std::string& config, const char* company = "") {
        AfxEnableControlContainer();
        const CString path = GetModuleDirectory() + kConfigFileName;
        config == "-" ? (void)::DeleteFileA(path) : vendor_site::WriteBytes(path.str(), config);
        m_strCompany = company;
        EXPECT_TRUE(Create());
    }
    ~Dialog() override { DestroyWindow(); }
    // Each item with the URL it leads to.
    std::string Items() {
        std::string items;
        for (int i = 0; i < m_comboCompany.GetCount(); ++i) {
            CString item, url;
            m_comboCompany.GetLBText(i, item);
            items += item.str() + (m_mapExpressUrl.Lookup(item, url) ? "=" + url.str() : "") + ";";
        }
        return items;
    }
    // The pane's address once it is `expected`, or after 5 s (navigation runs in the loop).
    std::string PaneAddress(const std::string& expected) {
        CComBSTR address;
        for (int i = 0; i < 250 && address.ToAnsi() != expected.c_str(); ++i, ::Sleep(20)) {
            AfxPumpWaitingMessages();
            m_browser.GetBrowser()->get_LocationURL(&address);
        }
        return address.ToAnsi().str();
    }
    SeamRecorder seams;
};

TEST(TrackDialog, TheListFollowsTheDocumentSortedWithTheLastUrlOfEachName) {
    Dialog dialog(u8"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                  u8"<R><Expresses>t<C Name=\"C\" URL=\"u:c\"><G Name=\"G\" URL=\"u:g\"/></C>"
                  u8"<A Name=\"A\" URL=\"u:1\"/><!--c--><B Name=\"顺丰\" URL=\"u:sf\"/><X Name=\"\""
                  u8" URL=\"u:e\"/><Y Name=\"NoUrl\"/></Expresses><d><Expresses><A Name=\"A\" "
                  u8"URL=\"u:2\"/></Expresses></d><expresses><L Name=\"l\"/></expresses></R>");
    EXPECT_EQ("=u:e;A=u:2;A=u:2;C=u:c;NoUrl=;顺丰=u:sf;", dialog.Items());
    // A file above the cap is not read, however well-formed.
    for (const std::string& unreadable :
         {std::string("-"), std::string("<Expresses><E Name=\"A\"/>"),
          std::string("<html><body>500<br></body></html>"),
          ConfigXml({{"A", "u:a"}}, kMaxConfigBytes + 1)}) {
        Dialog empty(unreadable);
        EXPECT_EQ("", empty.Items()) << unreadable.substr(0, 40);
        EXPECT_TRUE(empty.seams.boxes.empty());
    }
}

// A company whose address is not a web page stays in the list but shows the welcome page.
TEST(TrackDialog, TheRememberedCompanyIsSelectedExactlyElseTheWelcomePageShows) {
    const std::string welcome = LUMIVANE_VENDOR_ADDRESS "/Package/Application/welcome.htm";
    const struct {
        const char* stored;
        int selected;
        std::string page;
    } cases[] = {{"B", 1, "http://127.0.0.1/BBS"}, {"b", CB_ERR, welcome}, {"A", 0, welcome}};
    for (const auto& c : cases) {
        Dialog dialog(ConfigXml({{"A", "javascript:alert(1)"}, {"B", "http://127.0.0.1/BBS"}}),
                      c.stored);
        EXPECT_EQ(c.selected, dialog.m_comboCompany.GetCurSel()) << c.stored;
        EXPECT_EQ(c.page, dialog.PaneAddress(c.page)) << c.stored;
        dialog.m_comboCompany.SetCurSel(c.selected == CB_ERR ? -1 : 0);
        dialog.DestroyWindow(); // saves the selection
        EXPECT_STREQ(c.selected == CB_ERR ? c.stored : "A", dialog.m_strCompany);
    }
}

constexpr DWORD kNotShown = ~0u;

// Runs the program's start-up, closing its dialog as soon as it shows (for 2 minutes at most);
// the milliseconds from the start to the dialog, or kNotShown.
DWORD StartUpToDialog() {
    const DWORD thread = ::GetCurrentThreadId();
    const DWORD started = ::GetTickCount();
    std::atomic<DWORD> shown{kNotShown};
    std::atomic<bool> ended{false};
    std::thread closer([&] {
        for (int i = 0; i < 6000 && !ended; ++i, ::Sleep(20)) {
            const HWND dialog = ::FindWindowA(nullptr, "快递包裹单查询器");
            if (!dialog || ::GetWindowThreadProcessId(dialog, nullptr) != thread)
                continue;
            if (shown == kNotShown)
                shown = ::GetTickCount() - started;
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    CPackageApp().InitInstance();
    ended = true;
    closer.join();
    return shown;
}

// Only a list of companies within the cap replaces configs.xml, byte for byte (an error page
// served as 200 does not); whatever the server does, no temporary file is left and the dialog
// shows within the limits.
TEST(PackageStartup, OnlyACompanyListReplacesTheConfigurationAndNoServerHoldsTheDialog) {
    vendor_site::Restorer restore;
    const SeamRecorder seams; // a failed network check would wait on its message box
    const InternetTransferLimits limits{1500, 1024};
    const CScopedTransferLimitsForTests shortened(limits);
    // A server below the trickle is given up within two periods; the rest is the dialog's own.
    const DWORD bound = 2 * limits.periodMs + 5000;
    const std::string local = (GetModuleDirectory() + kConfigFileName).str();
    const std::pair<const char*, size_t> cases[] = {{"normal", kMaxConfigBytes},
                                                    {"page", 0},
                                                    {"error", 0},
                                                    {"silent", 0},
                                                    {"trickle", 9000},
                                                    {"endless", 0},
                                                    {"normal", kMaxConfigBytes + 1}};
    for (const auto& [mode, size] : cases) {
        const std::string old = ConfigXml({{"Old", "u:old"}});
        const std::string served = ConfigXml({{u8"顺丰", "https://sf"}}, size);
        vendor_site::WriteBytes(local, old);
        vendor_site::WriteBytes(vendor_site::ServedConfig(), served);
        ASSERT_TRUE(vendor_site::SetMode(mode));
        EXPECT_LT(StartUpToDialog(), bound) << mode << ": no dialog within the limits";
        const bool replaced = size == kMaxConfigBytes;
        EXPECT_TRUE(vendor_site::ReadBytes(local) == (replaced ? served : old)) << mode;
        EXPECT_EQ("", test_files::List(GetModuleDirectory().str(), "cfg")) << mode;
    }
    ::DeleteFileA(local.c_str());
}

} // namespace
