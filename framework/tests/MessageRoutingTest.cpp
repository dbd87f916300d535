#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/ctrl/Button.h"
#include "framework/windows/DataExchange.h"
#include "framework/windows/Dialog.h"
#include "framework/base/Exception.h"
#include "TestResource.h"
#include "SeamRecorder.h"
#include "TestFiles.h"

namespace {

constexpr UINT WM_TEST_USER = WM_USER + 101;

class ReflectingButton : public CButton {
public:
    int clicks = 0;
    int focuses = 0;
    BOOL takeFocus = FALSE;
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(
            CButton::GetMessageMap(),
            {OnReflectCommand<&ReflectingButton::OnClicked>(BN_CLICKED),
             OnReflectCommandEx<&ReflectingButton::OnFocused>(BN_SETFOCUS)});
        return &map;
    }
    void DrawItem(DRAWITEMSTRUCT*) override {}

private:
    void OnClicked() { ++clicks; }
    BOOL OnFocused() {
        ++focuses;
        return takeFocus;
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
    int actions = 0;
    int selectionChanges = 0;
    int dialogClicksOnOwnerDrawn = 0;
    int dialogFocusesOnOwnerDrawn = 0;
    bool throwOnAction = false;

    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(
            BaseDialog::GetMessageMap(),
            {
                OnCommand<&RoutingDialog::OnAction>(IDC_TEST_ACTION),
                OnCommand<&RoutingDialog::OnOwnerDrawnClicked>(IDC_TEST_OWNERDRAW),
                OnCommand<&RoutingDialog::OnOwnerDrawnFocused>(IDC_TEST_OWNERDRAW, BN_SETFOCUS),
                OnNotify<&RoutingDialog::OnSelectionChanged>(TVN_SELCHANGEDA, IDC_TEST_LIST),
            });
        return &map;
    }
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, IDC_TEST_OWNERDRAW, ownerDrawn);
    }

private:
    void OnAction() {
        ++actions;
        if (throwOnAction)
            throw CException("数据库错误");
    }
    void OnOwnerDrawnClicked() { ++dialogClicksOnOwnerDrawn; }
    void OnOwnerDrawnFocused() { ++dialogFocusesOnOwnerDrawn; }
    void OnSelectionChanged(NMHDR*, LRESULT*) { ++selectionChanges; }
};

class MessageRouting : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create()); }
    void Click(int id) {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
    }
    RoutingDialog dialog;
};

// A real click on a reflecting control reaches the control, and the dialog's own entry for
// that id stays quiet. What the class has no entry for goes to its base class's map.
TEST_F(MessageRouting, CommandsReachTheDialogUnlessTheControlReflectsThem) {
    Click(IDC_TEST_ACTION);
    ::SendMessageA(dialog.GetDlgItem(IDC_TEST_OWNERDRAW), BM_CLICK, 0, 0);
    EXPECT_EQ(1, dialog.actions);
    EXPECT_EQ(1, dialog.ownerDrawn.clicks);
    EXPECT_EQ(0, dialog.dialogClicksOnOwnerDrawn);
    // A reflection that may pass a notification on does so unless its handler takes it.
    for (BOOL take : {FALSE, TRUE}) {
        dialog.ownerDrawn.takeFocus = take;
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_OWNERDRAW, BN_SETFOCUS),
                           reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDC_TEST_OWNERDRAW)));
    }
    EXPECT_EQ(2, dialog.ownerDrawn.focuses);
    EXPECT_EQ(1, dialog.dialogFocusesOnOwnerDrawn);
    EXPECT_EQ(5, dialog.SendMessage(WM_TEST_USER, 2, 3));
    EXPECT_EQ(1, dialog.baseUserMessages);
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
static_assert(!message_detail::kFits<WM_PAINT, decltype(&Handlers::Create)>);
static_assert(!message_detail::kFits<WM_CREATE, decltype(&Handlers::Raw)>);
static_assert(!message_detail::kFits<WM_TEST_USER, decltype(&Handlers::Plain)>);

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

} // namespace
