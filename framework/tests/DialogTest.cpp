#include <gtest/gtest.h>

#include <windows.h>

#include "framework/ctrl/ComboBox.h"
#include "framework/windows/DataExchange.h"
#include "framework/windows/Dialog.h"
#include "framework/windows/MessagePump.h"
#include "TestResource.h"

namespace {

class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_TEST) {}
    CString text = "初始值";
    int field = 1;
    CComboBox combo;
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, IDC_TEST_COMBO, combo);
        DDX_Text(exchange, IDC_TEST_EDIT, text);
        DDX_CBIndex(exchange, IDC_TEST_COMBO, field);
    }
};

// The members show in the controls (GBK text as the Unicode the control holds) and are read
// back on saving.
TEST(DataExchange, ControlsShowTheMembersAndSavingReadsThemBack) {
    ExchangeDialog dialog;
    dialog.text = "电话区号：010";
    ASSERT_TRUE(dialog.Create());
    ASSERT_EQ(2, dialog.combo.GetCount());
    EXPECT_EQ(1, dialog.combo.GetCurSel());
    wchar_t wide[64] = {};
    GetWindowTextW(dialog.GetDlgItem(IDC_TEST_EDIT), wide, 64);
    EXPECT_STREQ(L"\u7535\u8bdd\u533a\u53f7\uff1a010", wide);

    SetDlgItemTextA(dialog.m_hWnd, IDC_TEST_EDIT, "邮政编码 100");
    dialog.combo.SetCurSel(0);
    dialog.UpdateData(TRUE);
    EXPECT_STREQ("邮政编码 100", dialog.text);
    EXPECT_EQ(0, dialog.field);
    dialog.DestroyWindow();
}

// Ends itself from a timer inside the modal loop and records what the loop showed it.
class ModalDialog : public CDialog {
public:
    explicit ModalDialog(CWnd* parent) : CDialog(IDD_TEST, parent) {}
    int endWith = IDOK;
    bool endInInit = false;
    bool quitInInit = false;
    bool ownerWasDisabled = false;
    HWND owner = nullptr;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (endInInit)
            EndDialog(77);
        else
            SetTimer(m_hWnd, 1, quitInInit ? 500 : 10, nullptr);
        if (quitInInit)
            PostQuitMessage(5);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_TIMER && msg->hwnd == m_hWnd) {
            ownerWasDisabled = owner && !::IsWindowEnabled(owner);
            KillTimer(m_hWnd, 1);
            EndDialog(endWith);
            return TRUE;
        }
        return CDialog::PreTranslateMessage(msg);
    }
};

class CountingWindow : public CWnd {
public:
    int count = 0;
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {OnMessage<WM_APP, &CountingWindow::OnApp>()});
        return &map;
    }

private:
    LRESULT OnApp(WPARAM, LPARAM) { return ++count; }
};

TEST(MessagePump, HandlesWaitingMessagesUpToItsLimitAndPostsWmQuitAgain) {
    CountingWindow window;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    for (int i = 0; i < 5; ++i)
        ::PostMessageA(window, WM_APP, 0, 0);
    EXPECT_TRUE(AfxPumpWaitingMessages(3));
    EXPECT_EQ(3, window.count);
    PostQuitMessage(7);
    EXPECT_FALSE(AfxPumpWaitingMessages(10));
    EXPECT_EQ(5, window.count);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_TRUE(AfxPumpWaitingMessages()) << "an empty queue ends the pass";
    window.DestroyWindow();
}

TEST(ModalDialog, RunsItsOwnLoopUnlessEndedEarlyAndReEnablesTheOwner) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "owner", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ModalDialog dialog(&owner);
    dialog.owner = owner.m_hWnd;
    dialog.endWith = 42;
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_TRUE(dialog.ownerWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(nullptr, dialog.m_hWnd);

    ModalDialog endedInInit(nullptr);
    endedInInit.endInInit = true;
    EXPECT_EQ(77, endedInInit.DoModal()) << "the loop never runs";

    // WM_QUIT ends the loop before the timer would, as a cancel, and stays for the loop outside.
    ModalDialog quit(&owner);
    quit.quitInInit = true;
    EXPECT_EQ(IDCANCEL, quit.DoModal());
    EXPECT_EQ(nullptr, quit.m_hWnd);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(5u, msg.wParam);
    owner.DestroyWindow();
}

// Keys reach the dialog manager inside the modal loop: Escape cancels, Enter runs the default
// OK, which saves the data.
TEST(ModalDialog, EscapeCancelsAndEnterRunsTheDefaultOkAndSavesData) {
    class KeyDialog : public ExchangeDialog {
    public:
        explicit KeyDialog(WPARAM key) : key(key) {}
        BOOL OnInitDialog() override {
            ExchangeDialog::OnInitDialog();
            HWND edit = GetDlgItem(IDC_TEST_EDIT);
            ::SetWindowTextA(edit, "回车");
            ::PostMessageA(edit, WM_KEYDOWN, key, 0);
            return TRUE;
        }
        const WPARAM key;
    };
    KeyDialog escape(VK_ESCAPE), enter(VK_RETURN);
    EXPECT_EQ(IDCANCEL, escape.DoModal());
    EXPECT_STREQ("初始值", escape.text);
    EXPECT_EQ(IDOK, enter.DoModal());
    EXPECT_STREQ("回车", enter.text);
}

} // namespace
