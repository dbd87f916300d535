#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Module.h"
#include "TestSupport.h"
#include "UpdateRes.h"
#include "uidriver/uidriver.h"

namespace {

// The real update.exe copied into a program folder of its own, with Template\, installed
// programs at version 1.2.3.4 and the helper as the start program.
class UpdateProgram : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveTree(folder);
        RemoveTree(servedFolder);
        MakeFolder(folder + "\\Template");
        MakeFolder(servedFolder);
        ASSERT_TRUE(
            ::CopyFileA(GetModuleDirectory() + "..\\update.exe", folder + "\\update.exe", FALSE));
        ASSERT_TRUE(
            ::CopyFileA(BuiltProgram("update_test_helper.exe"), folder + "\\start.exe", FALSE));
    }
    void TearDown() override {
        RemoveTree(folder);
        RemoveTree(servedFolder);
    }

    std::string Offer(const char* name, size_t size) {
        EXPECT_TRUE(::CopyFileA(BuiltProgram("version_1_2_3_4.exe"), folder + "\\" + name, FALSE));
        const std::string bytes = PatternBytes(size, static_cast<unsigned>(size));
        WriteBytes(servedFolder + "\\" + name, bytes);
        return bytes;
    }
    uidriver::Process Start(const std::string& arguments) {
        std::string command = uidriver::QuoteArgument((folder + "\\update.exe").str());
        if (!arguments.empty())
            command += " " + arguments;
        return uidriver::Process::Start(command, folder.str());
    }
    std::string Mark() const { return ReadBytes(folder + "\\start.exe.mark"); }

    const CString folder = GetModuleDirectory() + "blackbox";
    const CString servedFolder = LocalServer::Folder() + "blackbox";
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
    EXPECT_FALSE(FileExists(folder + "\\start.exe.mark"));
}

TEST_F(UpdateProgram, ListsReplacesAndStartsWithoutWaiting) {
    const std::string a = Offer("a.exe", 40000);
    const std::string b = Offer("b.exe", 5000);
    ::CopyFileA(BuiltProgram("version_1_2_3_4.exe"), folder + "\\same.exe", FALSE);
    const auto url = [](const char* name) {
        return "URL=\"" + LocalServer::Url(CString("blackbox/") + name).str() + "\"";
    };
    WriteBytes(servedFolder + "\\manifest.xml",
               ManifestText("start.exe")
                   .File("a.exe", "2.0.0.0", "Length=\"40000\" " + url("a.exe"))
                   .File("same.exe", "1.2.3.4", "Length=\"1\" " + url("same.exe"))
                   .File("b.exe", "1.2.3.5", "Length=\"5000\" " + url("b.exe"))
                   .Xml());
    uidriver::Process update = Start(LocalServer::Url("blackbox/manifest.xml").str());
    const HWND dialog = update.WaitForDialog("检查更新");
    const HWND list = uidriver::Control(dialog, IDC_LIST_FILES);
    const std::vector<std::vector<std::string>> rows = {{"a.exe", "2.0.0.0", "39.11 K"},
                                                        {"b.exe", "1.2.3.5", "4.93 K"}};
    EXPECT_EQ(rows, uidriver::ListRows(list));
    EXPECT_EQ("取消", uidriver::ControlText(dialog, IDOK));

    uidriver::ClickButton(dialog, IDC_BUTTON_UPGRADE_NOW);
    EXPECT_EQ("完成", uidriver::WaitForControlText(dialog, IDOK, "完成"));
    EXPECT_FALSE(uidriver::IsControlEnabled(dialog, IDC_BUTTON_UPGRADE_NOW));
    EXPECT_EQ("b.exe完成更新！", uidriver::ControlText(dialog, IDC_STATIC_STATUS));
    EXPECT_EQ(a, ReadBytes(folder + "\\a.exe"));
    EXPECT_EQ(b, ReadBytes(folder + "\\b.exe"));
    EXPECT_EQ("", ListFolder(folder + "\\Template"));
    EXPECT_FALSE(FileExists(folder + "\\start.exe.mark")) << "started before the dialog closed";

    uidriver::ClickButton(dialog, IDOK);
    ASSERT_TRUE(update.WaitForExit().has_value());
    // The start program runs for 3 s; the updater is gone before it ends.
    for (int i = 0; i < 100 && Mark().empty(); ++i)
        ::Sleep(50);
    EXPECT_EQ("started\n", Mark());
    for (int i = 0; i < 100 && Mark() == "started\n"; ++i)
        ::Sleep(50);
    EXPECT_EQ("started\nended\n", Mark());
}

// A manifest server that accepts and never answers holds the program for one period of the
// shipped limits (20 s), not longer; then the dialog says why nothing can be done.
TEST_F(UpdateProgram, SilentManifestServerIsGivenUpAndSaysSo) {
    const auto begin = ::GetTickCount();
    uidriver::Process update = Start(LocalServer::Url("silent/manifest.xml").str());
    const HWND dialog = update.WaitForDialog("检查更新", 40000);
    EXPECT_LT(::GetTickCount() - begin, 30000u);
    EXPECT_EQ("无法读取升级信息，请检查网络连接后重新启动升级程序！",
              uidriver::ControlText(dialog, IDC_STATIC_STATUS));
    EXPECT_FALSE(uidriver::IsControlEnabled(dialog, IDC_BUTTON_UPGRADE_NOW));
    EXPECT_EQ(0u, uidriver::ListRows(uidriver::Control(dialog, IDC_LIST_FILES)).size());
    uidriver::ClickButton(dialog, IDOK);
    EXPECT_TRUE(update.WaitForExit().has_value());
}

} // namespace
