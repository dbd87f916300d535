#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Module.h"
#include "TestSupport.h"
#include "UpdateRes.h"
#include "uidriver/uidriver.h"

namespace {

// The real update.exe copied into a program folder of its own, with Template\ and the helper
// as the start program.
class UpdateProgram : public ::testing::Test {
protected:
    void SetUp() override {
        TearDown();
        test_files::MakeFolder((folder + "\\Template").str());
        test_files::MakeFolder(served.str());
        for (const auto& [from, to] :
             {std::pair(GetModuleDirectory() + "..\\update.exe", "update.exe"),
              std::pair(BuiltProgram("update_test_helper.exe"), "start.exe")})
            ASSERT_TRUE(::CopyFileA(from, folder + "\\" + to, FALSE));
    }
    void TearDown() override {
        test_files::RemoveTree(folder.str());
        test_files::RemoveTree(served.str());
    }
    uidriver::Process Start(const std::string& arguments) {
        return uidriver::Process::Start(
            uidriver::QuoteArgument((folder + "\\update.exe").str()) + arguments, folder.str());
    }
    std::string Mark() const { return ReadBytes(folder + "\\start.exe.mark"); }

    const CString folder = GetModuleDirectory() + "blackbox";
    const CString served = LocalServerFolder() + "blackbox";
};

TEST_F(UpdateProgram, WithoutArgumentOnlyTheMessageBoxAppears) {
    uidriver::Process update = Start("");
    const uidriver::MessageBoxInfo box = update.WaitForMessageBox();
    EXPECT_EQ("程序无法自动运行，请先启动主程序。", box.text);
    EXPECT_EQ("update", box.caption);
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
    EXPECT_FALSE(uidriver::FindTopWindow(update.Id(), uidriver::DialogCaption("检查更新")));
    uidriver::AnswerMessageBox(box.window, IDOK);
    EXPECT_TRUE(update.WaitForExit().has_value());
    ::Sleep(500);
    EXPECT_EQ("", Mark()) << "nothing is started";
}

// Lists from a served manifest, replaces on 立即升级, and starts Start once the dialog is
// closed, without waiting for it.
TEST_F(UpdateProgram, ListsReplacesAndStartsWithoutWaiting) {
    ASSERT_TRUE(::CopyFileA(BuiltProgram("version_1_2_3_4.exe"), folder + "\\a.exe", FALSE));
    WriteBytes(served + "\\a.exe", PatternBytes(40000, 1));
    const std::string url = LocalServerUrl("blackbox/a.exe").str();
    WriteBytes(served + "\\manifest.xml",
               ManifestText("start.exe")
                   .File("a.exe", "2.0.0.0", "Length=\"40000\" URL=\"" + url + "\"")
                   .Xml());
    uidriver::Process update = Start(" " + LocalServerUrl("blackbox/manifest.xml").str());
    const HWND dialog = update.WaitForDialog("检查更新");
    const std::vector<std::vector<std::string>> rows = {{"a.exe", "2.0.0.0", "39.11 K"}};
    EXPECT_EQ(rows, uidriver::ListRows(uidriver::Control(dialog, IDC_LIST_FILES)));

    uidriver::ClickButton(dialog, IDC_BUTTON_UPGRADE_NOW);
    EXPECT_EQ("完成", uidriver::WaitForControlText(dialog, IDOK, "完成"));
    EXPECT_EQ("", Mark()) << "started before the dialog closed";

    uidriver::ClickButton(dialog, IDOK);
    ASSERT_TRUE(update.WaitForExit().has_value());
    // The start program runs for 3 s; the updater is gone before it ends.
    uidriver::WaitFor([&] { return !Mark().empty(); }, 5000, "the start program");
    EXPECT_EQ("started\n", Mark());
    uidriver::WaitFor([&] { return Mark() != "started\n"; }, 5000, "the start program's end");
}

// 取消 during a download that never ends: the program ends within seconds, the installed file
// and Template as they were, and Start is still launched.
TEST_F(UpdateProgram, CancelEndsAnEndlessDownloadAtOnce) {
    const std::string installed = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    WriteBytes(folder + "\\a.exe", installed);
    WriteBytes(served + "\\a.exe", PatternBytes(40000, 1));
    const std::string url = LocalServerUrl("endless/blackbox/a.exe").str();
    WriteBytes(folder + "\\manifest.xml",
               ManifestText("start.exe").File("a.exe", "2.0.0.0", "URL=\"" + url + "\"").Xml());
    uidriver::Process update = Start(" " + (folder + "\\manifest.xml").str());
    const HWND dialog = update.WaitForDialog("检查更新");
    uidriver::ClickButton(dialog, IDC_BUTTON_UPGRADE_NOW);
    uidriver::WaitForControlText(dialog, IDC_STATIC_STATUS, "正在下载文件：a.exe");
    ::Sleep(1000);
    uidriver::ClickButton(dialog, IDOK);
    EXPECT_TRUE(update.WaitForExit(5000).has_value()) << "still running 5 s after 取消";
    EXPECT_TRUE(installed == ReadBytes(folder + "\\a.exe"));
    EXPECT_EQ("", test_files::List((folder + "\\Template").str()));
    uidriver::WaitFor([&] { return !Mark().empty(); }, 5000, "the start program");
    uidriver::WaitFor([&] { return Mark() != "started\n"; }, 5000, "the start program's end");
}

// A manifest server that accepts and never answers holds the program for one period of the
// shipped limits (20 s), not longer; then the dialog says why nothing can be done.
TEST_F(UpdateProgram, SilentManifestServerIsGivenUpAndSaysSo) {
    const auto begin = ::GetTickCount();
    uidriver::Process update = Start(" " + LocalServerUrl("silent/manifest.xml").str());
    const HWND dialog = update.WaitForDialog("检查更新", 40000);
    EXPECT_LT(::GetTickCount() - begin, 30000u);
    EXPECT_EQ("无法读取升级信息，请检查网络连接后重新启动升级程序！",
              uidriver::ControlText(dialog, IDC_STATIC_STATUS));
    uidriver::ClickButton(dialog, IDOK);
    EXPECT_TRUE(update.WaitForExit().has_value());
}

// The updater with the test key built in stops at a manifest changed after signing before it
// lists or starts anything, and lists and installs the signed one.
TEST_F(UpdateProgram, WithAKeyOnlyTheSignedManifestIsListedAndInstalled) {
    ASSERT_TRUE(
        ::CopyFileA(BuiltProgram("update_with_test_key.exe"), folder + "\\update.exe", FALSE));
    ASSERT_TRUE(::CopyFileA(BuiltProgram("version_1_2_3_4.exe"), folder + "\\a.exe", FALSE));
    WriteBytes(served + "\\a.exe", PatternBytes(20000, 7));
    const std::string entry = "Length=\"20000\" URL=\"" + LocalServerUrl("blackbox/a.exe").str() +
                              "\" SHA256=\"" + kPatternSha256 + "\"";
    const std::string manifest = ManifestText("start.exe").File("a.exe", "2.0.0.0", entry).Xml();
    WriteBytes(served + "\\signed.xml", manifest);
    const std::string signature = ServerSignature("test", "blackbox/signed.xml");
    WriteBytes(served + "\\signed.xml.sig", signature);
    std::string changed = manifest;
    changed.replace(changed.find("2.0.0.0"), 7, "2.0.0.1");
    WriteBytes(served + "\\changed.xml", changed);
    WriteBytes(served + "\\changed.xml.sig", signature);

    uidriver::Process refused = Start(" " + LocalServerUrl("blackbox/changed.xml").str());
    HWND dialog = refused.WaitForDialog("检查更新");
    EXPECT_EQ("升级信息的签名无效，已停止升级！", uidriver::ControlText(dialog, IDC_STATIC_STATUS));
    EXPECT_TRUE(uidriver::ListRows(uidriver::Control(dialog, IDC_LIST_FILES)).empty());
    uidriver::ClickButton(dialog, IDOK);
    ASSERT_TRUE(refused.WaitForExit().has_value());

    uidriver::Process update = Start(" " + LocalServerUrl("blackbox/signed.xml").str());
    dialog = update.WaitForDialog("检查更新");
    const std::vector<std::vector<std::string>> rows = {{"a.exe", "2.0.0.0", "19.58 K"}};
    EXPECT_EQ(rows, uidriver::ListRows(uidriver::Control(dialog, IDC_LIST_FILES)));
    uidriver::ClickButton(dialog, IDC_BUTTON_UPGRADE_NOW);
    EXPECT_EQ("完成", uidriver::WaitForControlText(dialog, IDOK, "完成"));
    uidriver::ClickButton(dialog, IDOK);
    ASSERT_TRUE(update.WaitForExit().has_value());
    EXPECT_TRUE(PatternBytes(20000, 7) == ReadBytes(folder + "\\a.exe"));
    // Started once, by the signed run only.
    uidriver::WaitFor([&] { return Mark() == "started\nended\n"; }, 10000, "the start program");
}

} // namespace
