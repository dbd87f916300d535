#include <gtest/gtest.h>

#include <windows.h>
#include <exdispid.h>

#include <utility>
#include <vector>

#include "LocalServer.h"
#include "framework/MessagePump.h"
#include "TestResource.h"
#include "framework/App.h"
#include "framework/Dialog.h"
#include "framework/HtmlCtrl.h"

namespace {

// A dialog that records the pane's progress notifications.
class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(IDD_TEST) {}
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

    // The browser fills the pane and follows its size.
    ::MoveWindow(pane, 0, 0, 120, 70, TRUE);
    RECT inner{};
    ::GetWindowRect(pane.GetBrowserWindow(), &inner);
    EXPECT_EQ(120, inner.right - inner.left);
    EXPECT_EQ(70, inner.bottom - inner.top);

    // A click into the pane asks no frame window (there is none) and raises nothing.
    EXPECT_EQ(MA_ACTIVATE,
              pane.SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(dialog.m_hWnd),
                               MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
    pane.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    pane.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    AfxPumpWaitingMessages();
    EXPECT_TRUE(::IsWindow(pane));

    CHtmlCtrl second;
    EXPECT_FALSE(second.CreateFromPlaceholder(IDC_TEST_LABEL + 100, &dialog));
    EXPECT_FALSE(second.m_hWnd);
    second.Navigate("http://127.0.0.1:1/"); // no browser: nothing happens
}

TEST_F(BrowserPane, EachEventGivesOneNotificationInOrder) {
    CHtmlCtrl pane;
    ASSERT_TRUE(pane.CreateFromPlaceholder(IDC_TEST_LABEL, &dialog) && pane.GetBrowser());
    // The browser's event sink: the site the browser was given answers for its events.
    CComPtr<IOleObject> browser;
    CComPtr<IOleClientSite> site;
    pane.GetBrowser()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&browser));
    if (browser)
        browser->GetClientSite(&site);
    CComPtr<IDispatch> sink = site.QueryInterface<IDispatch>(DIID_DWebBrowserEvents2);
    ASSERT_TRUE(sink) << "the pane is connected to the browser's events";
    Fire(sink, DISPID_DOWNLOADBEGIN);
    Fire(sink, DISPID_PROGRESSCHANGE, {1000, 250});
    Fire(sink, DISPID_PROGRESSCHANGE, {0, -1});
    Fire(sink, DISPID_STATUSTEXTCHANGE);
    Fire(sink, DISPID_DOWNLOADCOMPLETE);
    const std::vector<std::pair<long, long>> expected = {{0, 0}, {250, 1000}, {-1, 0}, {0, 1}};
    EXPECT_EQ(expected, dialog.notes);
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
        pane.Navigate("http://127.0.0.1:1/"); // the browser is still held; nothing shows
    }
    EXPECT_EQ(1, ctrlDestroyed);
}

} // namespace
