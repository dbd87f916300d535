// The browser's feature controls came with Internet Explorer 6 for Windows XP SP2.
#undef _WIN32_IE
#define _WIN32_IE 0x0603

#include <gtest/gtest.h>

#include <windows.h>
#include <exdispid.h>
#include <urlmon.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LocalServer.h"
#include "SeamRecorder.h"
#include "framework/windows/MessagePump.h"
#include "TestResource.h"
#include "framework/windows/App.h"
#include "framework/windows/Dialog.h"
#include "framework/com/HtmlCtrl.h"

namespace {

// A dialog that records the pane's progress notifications and, in `log`, its OK and Cancel.
class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(IDD_TEST) {}
    void OnOK() override { log.push_back("dialog OK"); }
    void OnCancel() override { log.push_back("dialog Cancel"); }
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CDialog::GetMessageMap(),
                                    {OnMessage<WM_HTML_PROGRESS, &HostDialog::OnHtmlProgress>()});
        return &map;
    }
    LRESULT OnHtmlProgress(WPARAM progress, LPARAM maximum) {
        notes.emplace_back(static_cast<long>(progress), static_cast<long>(maximum));
        return 0;
    }
    std::vector<std::pair<long, long>> notes;
    std::vector<std::string> log;
};

// Stands in for the browser's UI-active object: each key it is offered goes into the log, and
// it claims the keys it was given.
class KeyRecorder : public IOleInPlaceActiveObject {
public:
    KeyRecorder(std::vector<std::string>* log, std::set<WPARAM> claimed)
        : log(log), claimed(std::move(claimed)) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IOleWindow && iid != IID_IOleInPlaceActiveObject)
            return E_NOINTERFACE;
        *object = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetWindow(HWND*) override { return E_NOTIMPL; }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG* msg) override {
        if (msg->message != WM_KEYDOWN)
            return S_FALSE;
        log->push_back("page " + std::to_string(msg->wParam));
        return claimed.count(msg->wParam) ? S_OK : S_FALSE;
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    std::vector<std::string>* log;
    std::set<WPARAM> claimed;
    ULONG refs = 1;
};

// Counts its own end.
template <class Pane> struct Counting : Pane {
    explicit Counting(int* destroyed) : destroyed(destroyed) {}
    ~Counting() override { ++*destroyed; }
    int* destroyed;
};

class BrowserPane : public ::testing::Test {
protected:
    void SetUp() override {
        AfxEnableControlContainer();
        ASSERT_TRUE(dialog.Create());
        placeholder = ::GetDlgItem(dialog, IDC_TEST_LABEL);
        ::GetWindowRect(placeholder, &placeholderRect);
        dialog.ScreenToClient(&placeholderRect);
    }
    static void Fire(IDispatch* sink, DISPID id, std::vector<long> argsLastFirst = {}) {
        std::vector<VARIANT> args(argsLastFirst.size());
        for (size_t i = 0; i < args.size(); ++i) {
            args[i].vt = VT_I4;
            args[i].lVal = argsLastFirst[i];
        }
        DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
    // The site the browser was given: its frame, and the sink of its events.
    static CComPtr<IOleClientSite> SiteOf(const CHtmlView& pane) {
        CComPtr<IOleObject> browser;
        CComPtr<IOleClientSite> site;
        pane.GetBrowser()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&browser));
        if (browser)
            browser->GetClientSite(&site);
        return site;
    }

    HostDialog dialog;
    HWND placeholder = nullptr;
    RECT placeholderRect{};
};

TEST_F(BrowserPane, TakesThePlaceholdersPlaceAndAnswersClicksWithoutAFrame) {
    CHtmlCtrl pane;
    ASSERT_TRUE(pane.CreateFromPlaceholder(IDC_TEST_LABEL, &dialog));
    EXPECT_FALSE(::IsWindow(placeholder));
    EXPECT_EQ(pane.m_hWnd, ::GetDlgItem(dialog, IDC_TEST_LABEL));
    RECT rect;
    pane.GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    EXPECT_TRUE(::EqualRect(&rect, &placeholderRect));
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE), pane.GetStyle() & ~WS_CLIPSIBLINGS);
    ASSERT_TRUE(pane.GetBrowser());
    VARIANT_BOOL silent = VARIANT_FALSE;
    pane.GetBrowser()->get_Silent(&silent);
    EXPECT_EQ(VARIANT_TRUE, silent) << "script errors raise no boxes over the dialog";

    // The browser fills the pane and follows its size.
    ::MoveWindow(pane, 0, 0, 120, 70, TRUE);
    RECT inner{};
    ::GetWindowRect(pane.GetBrowserWindow(), &inner);
    EXPECT_EQ(120, inner.right - inner.left);
    EXPECT_EQ(70, inner.bottom - inner.top);

    // A click into the pane asks no frame window (there is none).
    EXPECT_EQ(MA_ACTIVATE,
              pane.SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(dialog.m_hWnd),
                               MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));

    CHtmlCtrl second;
    EXPECT_FALSE(second.CreateFromPlaceholder(IDC_TEST_LABEL + 100, &dialog));
    EXPECT_FALSE(second.m_hWnd);
}

TEST_F(BrowserPane, EachEventGivesOneNotificationInOrder) {
    CHtmlCtrl pane;
    ASSERT_TRUE(pane.CreateFromPlaceholder(IDC_TEST_LABEL, &dialog) && pane.GetBrowser());
    CComPtr<IDispatch> sink = SiteOf(pane).QueryInterface<IDispatch>(DIID_DWebBrowserEvents2);
    ASSERT_TRUE(sink) << "the pane is connected to the browser's events";
    Fire(sink, DISPID_DOWNLOADBEGIN);
    Fire(sink, DISPID_PROGRESSCHANGE, {1000, 250});
    Fire(sink, DISPID_PROGRESSCHANGE, {0, -1});
    Fire(sink, DISPID_STATUSTEXTCHANGE);
    Fire(sink, DISPID_DOWNLOADCOMPLETE);
    const std::vector<std::pair<long, long>> expected = {{0, 0}, {250, 1000}, {-1, 0}, {0, 1}};
    EXPECT_EQ(expected, dialog.notes);
}

// Under Wine the browser has no page to focus; a window of the test's inside the pane holds
// the focus instead, and the recorder is what the browser hands its frame when UI-active.
TEST_F(BrowserPane, KeysInsideThePageGoToTheBrowserFirstAndWhatItLeavesToTheDialog) {
    KeyRecorder recorder(&dialog.log, {VK_RETURN, VK_TAB});
    {
        CHtmlCtrl pane;
        ASSERT_TRUE(pane.CreateFromPlaceholder(IDC_TEST_LABEL, &dialog) && pane.GetBrowser());
        dialog.ShowWindow(SW_SHOW);
        const HWND page = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                                            pane, nullptr, nullptr, nullptr);
        const HWND outside = dialog.GetDlgItem(IDC_TEST_EDIT);
        const CComPtr<IOleInPlaceFrame> frame =
            SiteOf(pane).QueryInterface<IOleInPlaceFrame>(IID_IOleInPlaceFrame);
        ASSERT_TRUE(frame);
        const auto press = [](HWND focus, WPARAM key) {
            ::SetFocus(focus);
            ::PostMessageA(focus, WM_KEYDOWN, key, 0);
            AfxPumpWaitingMessages();
        };
        frame->SetActiveObject(&recorder, nullptr);
        press(page, VK_RETURN);
        press(page, VK_TAB);
        EXPECT_EQ(page, ::GetFocus()) << "the page moved its focus itself";
        press(page, VK_ESCAPE);
        recorder.claimed.erase(VK_TAB); // the page's last field
        press(page, VK_TAB);
        const HWND next = ::GetFocus();
        EXPECT_TRUE(::IsChild(dialog, next) && next != pane && !::IsChild(pane, next))
            << "Tab leaves the page for the dialog's next control";
        press(outside, VK_RETURN);
        press(outside, VK_ESCAPE);
        frame->SetActiveObject(nullptr, nullptr);
        EXPECT_EQ(1u, recorder.refs);
        press(page, VK_RETURN);
        const std::vector<std::string> expected = {"page 13",       "page 9",   "page 27",
                                                   "dialog Cancel", "page 9",   "dialog OK",
                                                   "dialog Cancel", "dialog OK"};
        EXPECT_EQ(expected, dialog.log);

        frame->SetActiveObject(&recorder, nullptr);
    }
    EXPECT_EQ(1u, recorder.refs) << "the pane lets go of the active object when it goes";
}

// A page takes the pane itself to web addresses only; its new window is always refused, and
// only a web address goes on to the user's browser. The security feature controls are on for
// the process once a pane exists.
TEST_F(BrowserPane, PagesKeepThePaneOnTheWebAndOpenWebAddressesOnlyElsewhere) {
    CHtmlCtrl pane;
    ASSERT_TRUE(pane.CreateFromPlaceholder(IDC_TEST_LABEL, &dialog) && pane.GetBrowser());
    const CComPtr<IDispatch> sink = SiteOf(pane).QueryInterface<IDispatch>(DIID_DWebBrowserEvents2);
    ASSERT_TRUE(sink);
    const struct {
        const char* url;
        bool inPane, inBrowser;
    } pages[] = {
        {"http://127.0.0.1/track?no=1", true, true},
        {"https://www.sf-express.com/", true, true},
        {"hTTpS://127.0.0.1/", true, true},
        {"about:blank", true, false},
        {"javascript:alert(1)", true, false},
        {"http:///c:/page.htm", true, false},
        {"https:", true, false},
        {"http://127.0.0.1/a b", true, false},
        {"http://127.0.0.1/\" --flag", true, false},
        {"http://127.0.0.1/\t", true, false},
        {" http://127.0.0.1/", false, false},
        {"file:///C:/windows/win.ini", false, false},
        {"res://ieframe.dll/navcancl.htm", false, false},
        {"mk:@MSITStore:C:\\help.chm::/page.htm", false, false},
        {"C:\\windows\\win.ini", false, false},
        {"\\\\host\\share\\page.htm", false, false},
        {"httpx://127.0.0.1/", false, false},
        {"", false, false},
    };
    for (const auto& page : pages) {
        SeamRecorder seams;
        CComVariant url(page.url), context("http://127.0.0.1/page.htm");
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT navigate[7] =
            {}; // last first: cancel, headers, post data, frame, flags, url, browser
        navigate[0].vt = VT_BOOL | VT_BYREF;
        navigate[0].pboolVal = &cancel;
        navigate[5].vt = VT_VARIANT | VT_BYREF;
        navigate[5].pvarVal = &url;
        navigate[6].vt = VT_DISPATCH;
        navigate[6].pdispVal = pane.GetBrowser();
        DISPPARAMS params{navigate, nullptr, 7, 0};
        sink->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr,
                     nullptr, nullptr);
        EXPECT_EQ(page.inPane ? VARIANT_FALSE : VARIANT_TRUE, cancel) << page.url;

        IDispatch* newBrowser = nullptr;
        cancel = VARIANT_FALSE;
        VARIANT newWindow[5] = {url, context}; // last first
        newWindow[2].vt = VT_UI4;
        newWindow[2].ulVal = 0x2; // NWMF_USERINITED
        newWindow[3].vt = VT_BOOL | VT_BYREF;
        newWindow[3].pboolVal = &cancel;
        newWindow[4].vt = VT_DISPATCH | VT_BYREF;
        newWindow[4].ppdispVal = &newBrowser;
        params = DISPPARAMS{newWindow, nullptr, 5, 0};
        sink->Invoke(DISPID_NEWWINDOW3, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                     nullptr);
        EXPECT_EQ(VARIANT_TRUE, cancel) << page.url;
        std::string shell;
        for (const auto& call : seams.shellCalls)
            shell += call.operation + " " + call.file + " " + std::to_string(call.show) + ";";
        EXPECT_EQ(page.inBrowser ? "open " + std::string(page.url) + " 1;" : "", shell) << page.url;
    }
    for (INTERNETFEATURELIST feature :
         {FEATURE_ZONE_ELEVATION, FEATURE_MIME_SNIFFING, FEATURE_DISABLE_MK_PROTOCOL,
          FEATURE_PROTOCOL_LOCKDOWN, FEATURE_RESTRICT_FILEDOWNLOAD, FEATURE_BLOCK_INPUT_PROMPTS})
        EXPECT_EQ(S_OK, ::CoInternetIsFeatureEnabled(feature, GET_FEATURE_FROM_PROCESS)) << feature;
}

TEST_F(BrowserPane, RealNavigationReportsBeginThenComplete) {
    CHtmlCtrl pane;
    ASSERT_TRUE(pane.CreateFromPlaceholder(IDC_TEST_LABEL, &dialog));
    pane.Navigate(LocalServerUrl("status/200/page.htm"));
    for (int i = 0;
         i < 500 && (dialog.notes.empty() || dialog.notes.back() != std::make_pair(0L, 1L)); ++i) {
        AfxPumpWaitingMessages();
        ::Sleep(10);
    }
    ASSERT_LE(2u, dialog.notes.size());
    EXPECT_EQ(std::make_pair(0L, 0L), dialog.notes.front());
    EXPECT_EQ(std::make_pair(0L, 1L), dialog.notes.back());
}

TEST_F(BrowserPane, ThePaneOutlivesItsWindowAndAPlainViewDoesNot) {
    int ctrlDestroyed = 0;
    int viewDestroyed = 0;
    {
        Counting<CHtmlCtrl> pane(&ctrlDestroyed);
        ASSERT_TRUE(pane.CreateFromPlaceholder(IDC_TEST_LABEL, &dialog));
        const HWND window = pane.m_hWnd;
        auto* view = new Counting<CHtmlView>(&viewDestroyed);
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD, RECT{0, 0, 50, 50}, &dialog, 77));
        dialog.DestroyWindow();
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_FALSE(pane.m_hWnd);
        EXPECT_EQ(0, ctrlDestroyed);
        EXPECT_EQ(1, viewDestroyed) << "a view goes with its window";
    }
    EXPECT_EQ(1, ctrlDestroyed);
}

} // namespace
