#include <gtest/gtest.h>

#include "uidriver/uidriver.h"

#include "TargetRes.h"

using namespace uidriver;

namespace {

const char kCaption[] = "驱动测试";
const char kWorkingDirectory[] = "C:\\windows";

Process StartTarget(const std::string& arguments) {
    return Process::Start(QuoteArgument(ExecutableDirectory() + "\\uidriver_target.exe") + " " +
                              arguments,
                          kWorkingDirectory);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(ProcessTest, EscapeEndsTheProgramWithItsExitCode) {
    Process target = StartTarget("7");
    HWND dialog = target.WaitForDialog(kCaption);
    DWORD owner = 0;
    GetWindowThreadProcessId(dialog, &owner);
    EXPECT_EQ(target.Id(), owner);
    EXPECT_EQ(std::nullopt, target.WaitForExit(0));
    PressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(std::optional<DWORD>(7), target.WaitForExit());
}

TEST(ProcessTest, KillAndDestructionEndTheProgram) {
    Process killed = StartTarget("0");
    killed.WaitForDialog(kCaption);
    killed.Kill();
    EXPECT_EQ(std::optional<DWORD>(1), killed.WaitForExit(0));

    ScopedHandle watch;
    {
        Process target = StartTarget("0");
        target.WaitForDialog(kCaption);
        watch.Reset(OpenProcess(SYNCHRONIZE, FALSE, target.Id()));
        ASSERT_TRUE(watch);
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watch.Get(), kDefaultTimeoutMs));
}

TEST(ProcessTest, StartFailuresAreErrors) {
    EXPECT_THROW(Process::Start(QuoteArgument(ExecutableDirectory() + "\\missing.exe")), Error);
    EXPECT_THROW(Process::Start(QuoteArgument(ExecutableDirectory() + "\\uidriver_target.exe"),
                                "C:\\no such folder"),
                 Error);
    EXPECT_THROW(Process::Start(""), Error);
}

TEST(ProcessTest, QuoteArgument) {
    EXPECT_EQ("plain", QuoteArgument("plain"));
    EXPECT_EQ("\"\"", QuoteArgument(""));
    EXPECT_EQ("\"C:\\my dir\\a.exe\"", QuoteArgument("C:\\my dir\\a.exe"));
    EXPECT_EQ("\"C:\\my dir\\\\\"", QuoteArgument("C:\\my dir\\"));
    EXPECT_EQ("\"say \\\"hi\\\"\"", QuoteArgument("say \"hi\""));
    // "\x95\x5C" is one GBK character whose second byte is a backslash.
    EXPECT_EQ("\"a \x95\x5C\"", QuoteArgument("a \x95\x5C"));
}

TEST(WindowTest, WaitingStopsWhenTheProgramEnds) {
    Process target = StartTarget("--exit 3");
    try {
        target.WaitForDialog(kCaption);
        FAIL() << "no error for a program without windows";
    } catch (const Error& error) {
        EXPECT_TRUE(Contains(error.what(), "exit code 3")) << error.what();
    }
    EXPECT_EQ(std::optional<DWORD>(3), target.WaitForExit());
}

TEST(WindowTest, TimeoutNamesTheWindowsThereAre) {
    Process target = StartTarget("0");
    target.WaitForDialog(kCaption);
    try {
        target.WaitForDialog("没有这个窗口", 100);
        FAIL() << "no error for a missing caption";
    } catch (const Error& error) {
        EXPECT_TRUE(Contains(error.what(), kCaption)) << error.what();
    }
    EXPECT_EQ(nullptr, FindMessageBox(target.Id()));
}

class TargetTest : public ::testing::Test {
protected:
    void SetUp() override { dialog_ = target_.WaitForDialog(kCaption); }

    Process target_ = StartTarget("0");
    HWND dialog_ = nullptr;
};

// Keys and enabled states are read by the programs' black-box tests (Escape, the update
// dialog's buttons).
TEST_F(TargetTest, ControlTextsAndButtons) {
    EXPECT_EQ(0, lstrcmpiA(kWorkingDirectory, ControlText(dialog_, IDC_STATIC_DIRECTORY).c_str()));
    SetControlText(dialog_, IDC_EDIT_NAME, "上海市");
    EXPECT_EQ("上海市", ControlText(dialog_, IDC_EDIT_NAME));
    EXPECT_THROW(ControlText(dialog_, 4242), Error);
    EXPECT_THROW(ClickButton(dialog_, IDC_BUTTON_DISABLED), Error);
}

// Caption and text are read by the programs' black-box tests.
TEST_F(TargetTest, MessageBoxes) {
    ClickButton(dialog_, IDC_BUTTON_MESSAGE);
    const MessageBoxInfo box = target_.WaitForMessageBox();
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
    EXPECT_THROW(AnswerMessageBox(box.window, IDOK), Error);
    AnswerMessageBox(box.window, IDYES);
    EXPECT_EQ("回答 6", WaitForControlText(dialog_, IDC_STATIC_STATUS, "回答 6"));
    EXPECT_EQ(nullptr, FindMessageBox(target_.Id()));
}

TEST_F(TargetTest, ComboBox) {
    EXPECT_EQ("上海", ComboItemText(dialog_, IDC_COMBO_CITY, 1));
    SelectComboIndex(dialog_, IDC_COMBO_CITY, 2);
    EXPECT_EQ("城市 广州", WaitForControlText(dialog_, IDC_STATIC_STATUS, "城市 广州"));
    EXPECT_THROW(SelectComboIndex(dialog_, IDC_COMBO_CITY, 3), Error);
    EXPECT_THROW(ComboItemText(dialog_, IDC_COMBO_CITY, -1), Error);
}

// Clicks on headings are made by zipdex's black-box test, which sorts by them.
TEST_F(TargetTest, ListRowsWholeAndIndexesChecked) {
    HWND list = Control(dialog_, IDC_LIST_ROWS);
    const std::vector<std::vector<std::string>> expected = {{"北京", "北京", "010", ""},
                                                            {"广东", "广州", "020", "省会"},
                                                            {"四川", "成都", "028", LongNote()}};
    EXPECT_EQ(expected, ListRows(list));
    EXPECT_THROW(ListCellText(list, 3, 0), Error);
    EXPECT_THROW(ListCellText(list, 0, 4), Error);
    EXPECT_THROW(ClickHeaderItem(ListHeader(list), 4), Error);
}

TEST_F(TargetTest, TreeItemsAndSelection) {
    HWND tree = Control(dialog_, IDC_TREE_PLACES);
    EXPECT_EQ((std::vector<std::string>{"中国", "海外"}), TreeChildTexts(tree, nullptr));
    HTREEITEM china = TreeRoot(tree);
    EXPECT_EQ(nullptr, FindTreeChild(tree, china, "海外"));

    HTREEITEM shanghai = FindTreeChild(tree, china, "上海");
    ASSERT_NE(nullptr, shanghai);
    SelectTreeItem(tree, shanghai);
    EXPECT_EQ("树 上海", WaitForControlText(dialog_, IDC_STATIC_STATUS, "树 上海"));
    EXPECT_THROW(TreeItemText(tree, nullptr), Error);
}
