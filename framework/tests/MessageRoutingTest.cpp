#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <vector>

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
    void (*throwOnAction)() = nullptr;

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
            throwOnAction();
    }
    void OnOwnerDrawnClicked() { ++dialogClicksOnOwnerDrawn; }
    void OnOwnerDrawnFocused() { ++dialogFocusesOnOwnerDrawn; }
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
}

// Sends itself another message inside its WM_SETTEXT handler, then asks for the default.
class NestingWindow : public CWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {OnMessage<WM_SETTEXT, &NestingWindow::OnSetText>()});
        return &map;
    }

private:
    LRESULT OnSetText(WPARAM, LPARAM) {
        SendMessage(WM_APP);
        return Default();
    }
};

// The default is the message being handled, not the last one handled inside it.
TEST(DefaultProcessing, PassesOnTheMessageBeingHandled) {
    NestingWindow window;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    window.SetWindowText("新标题");
    EXPECT_STREQ("新标题", window.GetWindowText());
    window.DestroyWindow();
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

// Whatever a handler throws stops at the window procedure, in one box at a time: the box's
// own loop may run the failing handler again.
TEST_F(MessageRouting, AnyErrorInAHandlerIsShownInOneBoxAndTheDialogGoesOn) {
    const struct {
        void (*raise)();
        const char* text;
    } errors[] = {
        {[] { throw CException("数据库错误"); }, "数据库错误"},
        {[] { throw std::runtime_error("bad_alloc"); }, "bad_alloc"},
        {[] { throw 42; }, "发生了未知错误。"},
    };
    for (const auto& error : errors) {
        SeamRecorder recorder;
        std::vector<SeamRecorder::Box> boxes;
        AfxSetMessageBoxSink([&](const CString& text, const CString& caption, UINT type) {
            boxes.push_back({text, caption, type});
            if (boxes.size() == 1)
                Click(IDC_TEST_ACTION);
            return IDOK;
        });
        dialog.throwOnAction = error.raise;
        Click(IDC_TEST_ACTION);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_STREQ(error.text, boxes[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes[0].type & MB_ICONMASK);
        EXPECT_STREQ("FrameworkTests", boxes[0].caption);
    }
    dialog.throwOnAction = nullptr;
    Click(IDC_TEST_ACTION);
    EXPECT_EQ(7, dialog.actions);
}

} // namespace
