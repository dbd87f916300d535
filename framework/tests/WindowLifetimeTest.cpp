#include <gtest/gtest.h>

#include <windows.h>

#include "framework/ctrl/ComboBox.h"
#include "framework/windows/DataExchange.h"
#include "framework/windows/Dialog.h"
#include "framework/ctrl/ToolTipCtrl.h"
#include "TestResource.h"

namespace {

struct Counts {
    bool failCreate = false;
    int creates = 0;
    int destroys = 0;
    int ncDestroys = 0;
};

// Counts what its window tells it, so that a message to a dead object shows.
class WatchedWindow : public CWnd {
public:
    explicit WatchedWindow(Counts& counts) : m_counts(counts) {}
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {OnMessage<WM_CREATE, &WatchedWindow::OnCreate>(),
                                     OnMessage<WM_DESTROY, &WatchedWindow::OnDestroy>()});
        return &map;
    }
    void PostNcDestroy() override { ++m_counts.ncDestroys; }

private:
    int OnCreate(LPCREATESTRUCTA) {
        m_counts.creates += m_hWnd != nullptr;
        return m_counts.failCreate ? -1 : static_cast<int>(Default());
    }
    void OnDestroy() { ++m_counts.destroys; }
    Counts& m_counts;
};

BOOL CreatePopup(CWnd& window) {
    return window.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
}

// Makes a tooltip while it initialises, as every dialog with a link label does.
class TooltipDialog : public CDialog {
public:
    TooltipDialog() : CDialog(IDD_TEST) {}
    CToolTipCtrl tip;
    CComboBox combo;
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        tip.Create(this);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, IDC_TEST_COMBO, combo);
    }
};

TEST(WindowCreation, NestedCreationAttachesEachWindowToItsObjectAndRemovesEveryHook) {
    for (int round = 0; round < 10; ++round) {
        TooltipDialog dialog;
        ASSERT_TRUE(dialog.Create());
        ASSERT_NE(nullptr, dialog.tip.m_hWnd);
        EXPECT_EQ(&dialog, CWnd::FromHandlePermanent(dialog.m_hWnd));
        EXPECT_EQ(&dialog.tip, CWnd::FromHandlePermanent(dialog.tip.m_hWnd));
        dialog.DestroyWindow();
        EXPECT_EQ(nullptr, dialog.tip.m_hWnd) << "the owned tooltip goes with the dialog";
        EXPECT_EQ(nullptr, dialog.combo.m_hWnd) << "the subclassed control is let go";
    }
    EXPECT_EQ(0, CWnd::CreationScope::HooksHeld());

    Counts counts;
    WatchedWindow window(counts);
    ASSERT_TRUE(CreatePopup(window));
    EXPECT_EQ(1, counts.creates) << "attached before WM_CREATE";
    window.DestroyWindow();
    EXPECT_EQ(nullptr, window.m_hWnd);
    EXPECT_EQ(1, counts.destroys);
    EXPECT_EQ(1, counts.ncDestroys);
}

TEST(WindowOwnership, ACreatedWindowDiesWithItsObjectABorrowedOneStays) {
    Counts counts;
    HWND created = nullptr;
    HWND dialogWindow = nullptr;
    HWND control = nullptr;
    {
        WatchedWindow owner(counts);
        TooltipDialog dialog;
        ASSERT_TRUE(CreatePopup(owner) && dialog.Create());
        created = owner.m_hWnd;
        dialogWindow = dialog.m_hWnd;
        control = dialog.combo.m_hWnd;
    }
    for (HWND gone : {created, dialogWindow, control}) {
        EXPECT_FALSE(IsWindow(gone));
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(gone));
    }
    EXPECT_EQ(0, counts.destroys + counts.ncDestroys) << "no handler runs on a dead object";
    EXPECT_EQ(3, CWnd::TakeLateDestroyCount()) << "the popup, the dialog and its tooltip";

    const HWND borrowed = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                          nullptr, nullptr);
    const LONG_PTR ownProcedure = GetWindowLongPtrA(borrowed, GWLP_WNDPROC);
    {
        WatchedWindow borrower(counts);
        ASSERT_TRUE(borrower.SubclassWindow(borrowed));
    }
    EXPECT_TRUE(IsWindow(borrowed));
    EXPECT_EQ(ownProcedure, GetWindowLongPtrA(borrowed, GWLP_WNDPROC));
    DestroyWindow(borrowed);
    EXPECT_EQ(0, counts.destroys + counts.ncDestroys);
}

// A creation that fails leaves the object free for the next one, the owner enabled and no
// hook behind.
TEST(WindowCreation, AFailedCreationLeavesAllAsItWas) {
    for (const char* className : {"NoSuchClass", "STATIC"}) {
        Counts counts;
        counts.failCreate = true;
        WatchedWindow window(counts);
        EXPECT_FALSE(window.CreateEx(0, className, "", WS_POPUP, CRect(), nullptr, 0));
        EXPECT_EQ(nullptr, window.m_hWnd) << className;
        counts.failCreate = false;
        EXPECT_TRUE(CreatePopup(window)) << className;
        window.DestroyWindow();
    }
    CWnd owner;
    ASSERT_TRUE(CreatePopup(owner));
    CDialog missing(9999, &owner);
    EXPECT_FALSE(missing.Create());
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(0, CWnd::CreationScope::HooksHeld());
    owner.DestroyWindow();
}

} // namespace
