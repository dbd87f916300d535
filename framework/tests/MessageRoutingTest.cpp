#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/Button.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/Exception.h"
#include "framework/ListCtrl.h"
#include "framework/Static.h"
#include "TestResource.h"
#include "SeamRecorder.h"
#include "TestFiles.h"

namespace {

constexpr UINT WM_TEST_USER = WM_USER + 101;

class ReflectingButton : public CButton {
public:
    int clicks = 0;
    int draws = 0;
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CButton::GetMessageMap(),
                                    {OnReflectCommand<&ReflectingButton::OnClicked>(BN_CLICKED)});
        return &map;
    }
    void DrawItem(DRAWITEMSTRUCT*) override { ++draws; }

private:
    void OnClicked() { ++clicks; }
};

class ColouredLabel : public CStatic {
public:
    CBrush brush{RGB(1, 2, 3)};
    UINT lastCtlColor = 0;
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(
            CStatic::GetMessageMap(),
            {OnReflectMessage<WM_CTLCOLORSTATIC, &ColouredLabel::CtlColor>()});
        return &map;
    }

private:
    HBRUSH CtlColor(CDC* dc, UINT ctlColor) {
        lastCtlColor = ctlColor;
        dc->SetTextColor(RGB(0, 0, 238));
        return brush;
    }
};

class BaseDialog : public CDialog {
public:
    BaseDialog() : CDialog(IDD_TEST) {}
    int baseUserMessages = 0;
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CDialog::GetMessageMap(),
                                    {OnMessage<WM_TEST_USER, &BaseDialog::OnTestUser>()});
        return &map;
    }

private:
    LRESULT OnTestUser(WPARAM wParam, LPARAM lParam) {
        ++baseUserMessages;
        return static_cast<LRESULT>(wParam + lParam);
    }
};

class RoutingDialog : public BaseDialog {
public:
    ReflectingButton ownerDrawn;
    ColouredLabel label;
    CListCtrl list;
    int actions = 0;
    int itemChanges = 0;
    int selectionChanges = 0;
    int dialogClicksOnOwnerDrawn = 0;
    bool throwOnAction = false;

    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(
            BaseDialog::GetMessageMap(),
            {
                OnCommand<&RoutingDialog::OnAction>(IDC_TEST_ACTION),
                OnCommand<&RoutingDialog::OnOwnerDrawnClicked>(IDC_TEST_OWNERDRAW),
                OnNotify<&RoutingDialog::OnItemChanged>(LVN_ITEMCHANGED, IDC_TEST_LIST),
                OnNotify<&RoutingDialog::OnSelectionChanged>(TVN_SELCHANGEDA, IDC_TEST_LIST),
            });
        return &map;
    }
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, IDC_TEST_OWNERDRAW, ownerDrawn);
        DDX_Control(exchange, IDC_TEST_LABEL, label);
        DDX_Control(exchange, IDC_TEST_LIST, list);
    }

private:
    void OnAction() {
        ++actions;
        if (throwOnAction)
            throw CException("数据库错误");
    }
    void OnOwnerDrawnClicked() { ++dialogClicksOnOwnerDrawn; }
    void OnItemChanged(NMHDR*, LRESULT* result) {
        ++itemChanges;
        *result = 0;
    }
    void OnSelectionChanged(NMHDR*, LRESULT*) { ++selectionChanges; }
};

class MessageRouting : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create()); }
    void TearDown() override { dialog.DestroyWindow(); }
    void Click(int id) {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
    }
    RoutingDialog dialog;
};

TEST_F(MessageRouting, CommandReachesTheDialogHandler) {
    Click(IDC_TEST_ACTION);
    EXPECT_EQ(1, dialog.actions);
    EXPECT_EQ(0, dialog.ownerDrawn.clicks);
}

TEST_F(MessageRouting, ReflectedCommandIsHandledByTheControlAlone) {
    Click(IDC_TEST_OWNERDRAW);
    EXPECT_EQ(1, dialog.ownerDrawn.clicks);
    EXPECT_EQ(0, dialog.dialogClicksOnOwnerDrawn);
}

TEST_F(MessageRouting, RealButtonClickIsReflected) {
    ::SendMessageA(dialog.GetDlgItem(IDC_TEST_OWNERDRAW), BM_CLICK, 0, 0);
    EXPECT_EQ(1, dialog.ownerDrawn.clicks);
}

TEST_F(MessageRouting, DrawItemGoesToTheOwnerDrawnButton) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_TEST_OWNERDRAW;
    item.hwndItem = dialog.GetDlgItem(IDC_TEST_OWNERDRAW);
    EXPECT_EQ(TRUE,
              dialog.SendMessage(WM_DRAWITEM, IDC_TEST_OWNERDRAW, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(1, dialog.ownerDrawn.draws);
}

TEST_F(MessageRouting, ColourRequestIsAnsweredByTheLabel) {
    HDC screen = GetDC(nullptr);
    const LRESULT brush =
        dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(screen),
                           reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDC_TEST_LABEL)));
    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(dialog.label.brush)), brush);
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), dialog.label.lastCtlColor);
    EXPECT_EQ(RGB(0, 0, 238), GetTextColor(screen));
    ReleaseDC(nullptr, screen);
}

TEST_F(MessageRouting, NotificationFromListReachesTheDialog) {
    dialog.list.InsertColumn(0, "省份", LVCFMT_LEFT, 80);
    dialog.list.InsertItem(0, "北京市", 0);
    dialog.list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_GE(dialog.itemChanges, 1);
}

TEST_F(MessageRouting, OneNotificationEntryTakesTheAnsiAndTheWideCode) {
    for (UINT code : {TVN_SELCHANGEDA, TVN_SELCHANGEDW}) {
        NMHDR header{dialog.GetDlgItem(IDC_TEST_LIST), IDC_TEST_LIST, code};
        dialog.SendMessage(WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&header));
    }
    EXPECT_EQ(2, dialog.selectionChanges);
}

TEST_F(MessageRouting, HelpKeyReachesTheApplicationWhichOpensOnlyAnExistingHelpFile) {
    SeamRecorder seams;
    CWinApp& app = *AfxGetApp();
    const CString saved = app.m_strHelpFilePath;
    const std::string path = test_files::TempPath("框架测试.chm");
    HELPINFO info{};
    info.cbSize = sizeof info;
    for (bool present : {false, true}) {
        if (present)
            test_files::Write(path, "help");
        app.m_strHelpFilePath = path.c_str();
        dialog.SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    }
    DeleteFileA(path.c_str());
    app.m_strHelpFilePath = saved;
    ASSERT_EQ(1u, seams.shellCalls.size()) << "nothing without the file";
    EXPECT_EQ("open", seams.shellCalls[0].operation);
    EXPECT_EQ(path, seams.shellCalls[0].file);
    EXPECT_TRUE(seams.boxes.empty());
    EXPECT_TRUE(IsWindow(dialog.m_hWnd));
}

// A handler must have the signature its message is cracked into, or the map does not compile.
struct Handlers {
    void Plain();
    int Create(LPCREATESTRUCTA);
    LRESULT Raw(WPARAM, LPARAM);
};
static_assert(message_detail::kFits<WM_PAINT, decltype(&Handlers::Plain)>);
static_assert(!message_detail::kFits<WM_PAINT, decltype(&Handlers::Create)>);
static_assert(!message_detail::kFits<WM_CREATE, decltype(&Handlers::Raw)>);
static_assert(message_detail::kFits<WM_TEST_USER, decltype(&Handlers::Raw)>);
static_assert(!message_detail::kFits<WM_TEST_USER, decltype(&Handlers::Plain)>);

TEST_F(MessageRouting, UserMessageFallsThroughToTheBaseClassMap) {
    EXPECT_EQ(5, dialog.SendMessage(WM_TEST_USER, 2, 3));
    EXPECT_EQ(1, dialog.baseUserMessages);
}

TEST_F(MessageRouting, ErrorInAHandlerIsShownAndTheDialogStays) {
    SeamRecorder recorder;
    dialog.throwOnAction = true;
    Click(IDC_TEST_ACTION);
    ASSERT_EQ(1u, recorder.boxes.size());
    EXPECT_STREQ("数据库错误", recorder.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), recorder.boxes[0].type & MB_ICONMASK);
    EXPECT_STREQ("FrameworkTests", recorder.boxes[0].caption);
    EXPECT_TRUE(IsWindow(dialog.m_hWnd));
    Click(IDC_TEST_ACTION);
    EXPECT_EQ(2, dialog.actions);
}

TEST_F(MessageRouting, SubclassedControlsAreDetachedWhenTheDialogGoes) {
    const HWND label = dialog.GetDlgItem(IDC_TEST_LABEL);
    EXPECT_EQ(&dialog.label, CWnd::FromHandlePermanent(label));
    dialog.DestroyWindow();
    EXPECT_EQ(nullptr, dialog.label.m_hWnd);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(label));
}

} // namespace
