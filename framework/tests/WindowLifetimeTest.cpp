#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/ctrl/ComboBox.h"
#include "framework/ctrl/ImageList.h"
#include "framework/ctrl/TreeCtrl.h"
#include "framework/windows/DataExchange.h"
#include "framework/windows/Dialog.h"
#include "framework/windows/GdiObject.h"
#include "framework/ctrl/ToolTipCtrl.h"
#include "TestResource.h"

namespace {

struct Counts {
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
        return static_cast<int>(Default());
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

// Fails its creation at the message given.
class FailingWindow : public CWnd {
public:
    UINT failAt = 0;
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {OnMessage<WM_NCCREATE, &FailingWindow::OnNcCreate>(),
                                     OnMessage<WM_CREATE, &FailingWindow::OnCreate>()});
        return &map;
    }

private:
    LRESULT OnNcCreate(WPARAM, LPARAM) { return failAt == WM_NCCREATE ? FALSE : Default(); }
    int OnCreate(LPCREATESTRUCTA) { return failAt == WM_CREATE ? -1 : static_cast<int>(Default()); }
};

// A creation that fails leaves the object free for the next one, and no hook behind.
TEST(WindowCreation, AFailedCreationLeavesTheObjectAsItWas) {
    // 0: a window class that does not exist.
    for (UINT failAt : {0u, static_cast<UINT>(WM_NCCREATE), static_cast<UINT>(WM_CREATE)}) {
        FailingWindow window;
        window.failAt = failAt;
        EXPECT_FALSE(failAt ? CreatePopup(window)
                            : window.CreateEx(0, "NoSuchClass", "", WS_POPUP, CRect(), nullptr, 0));
        EXPECT_EQ(nullptr, window.m_hWnd) << failAt;
        window.failAt = 0;
        EXPECT_TRUE(CreatePopup(window)) << failAt;
        window.DestroyWindow();
    }
    CWnd owner;
    ASSERT_TRUE(CreatePopup(owner));
    CDialog missing(9999, &owner);
    EXPECT_FALSE(missing.Create());
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_EQ(nullptr, missing.m_hWnd);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(0, CWnd::CreationScope::HooksHeld());
    owner.DestroyWindow();
}

// Every owner frees what it holds when it goes, unless it was detached; a tree frees the
// image list given to it even when its window stays. Freed GDI objects have no type any more.
TEST(Owners, FreeWhatTheyHoldWhenTheyGo) {
    LOGFONTA description{};
    description.lfHeight = 12;
    std::vector<HGDIOBJ> freed;
    HGDIOBJ detached = nullptr;
    const HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                      nullptr, nullptr);
    {
        CFont font, kept;
        font.CreateFontIndirect(&description);
        kept.CreateFontIndirect(&description);
        const CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        const CBrush brush(RGB(1, 2, 3));
        CBitmap bitmap;
        bitmap.Attach(CreateBitmap(16, 16, 1, 32, nullptr));
        CImageList images, treeImages;
        IMAGEINFO info{};
        for (CImageList* list : {&images, &treeImages}) {
            list->Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
            list->Add(bitmap, RGB(255, 0, 255));
            ASSERT_TRUE(ImageList_GetImageInfo(*list, 0, &info));
            freed.insert(freed.end(), {info.hbmImage, info.hbmMask});
        }
        CTreeCtrl treeOwner;
        ASSERT_TRUE(treeOwner.SubclassWindow(tree));
        treeOwner.SetImageList(treeImages.Detach());
        freed.insert(freed.end(), {font.GetSafeHandle(), pen.GetSafeHandle(), brush.GetSafeHandle(),
                                   bitmap.GetSafeHandle()});
        detached = kept.Detach();
        for (HGDIOBJ object : freed)
            ASSERT_NE(0u, GetObjectType(object));
    }
    for (HGDIOBJ object : freed)
        EXPECT_EQ(0u, GetObjectType(object)) << object;
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(detached));
    DeleteObject(detached);
    EXPECT_EQ(0, SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    DestroyWindow(tree);
}

} // namespace
