#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "framework/base/Module.h"
#include "ManifestSource.h"
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
}

// 取消 during a download that never ends: the program ends within seconds, the installed files
// and Template as they were (no later row runs), and Start is still launched, without being
// waited for.
TEST_F(UpdateProgram, CancelEndsAnEndlessDownloadAtOnce) {
    const std::string installed = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    WriteBytes(folder + "\\a.exe", installed);
    WriteBytes(folder + "\\b.exe", installed);
    WriteBytes(served + "\\a.exe", PatternBytes(40000, 1));
    const std::string url = LocalServerUrl("endless/blackbox/a.exe").str();
    const std::string after = LocalServerUrl("blackbox/a.exe").str();
    WriteBytes(folder + "\\manifest.xml", ManifestText("start.exe")
                                              .File("a.exe", "2.0.0.0", "URL=\"" + url + "\"")
                                              .File("b.exe", "2.0.0.0", "URL=\"" + after + "\"")
                                              .Xml());
    uidriver::Process update = Start(" " + (folder + "\\manifest.xml").str());
    const HWND dialog = update.WaitForDialog("检查更新");
    uidriver::ClickButton(dialog, IDC_BUTTON_UPGRADE_NOW);
    uidriver::WaitForControlText(dialog, IDC_STATIC_STATUS, "正在下载文件：a.exe");
    ::Sleep(1000);
    uidriver::ClickButton(dialog, IDOK);
    EXPECT_TRUE(update.WaitForExit(5000).has_value()) << "still running 5 s after 取消";
    EXPECT_TRUE(installed == ReadBytes(folder + "\\a.exe"));
    EXPECT_TRUE(installed == ReadBytes(folder + "\\b.exe"));
    EXPECT_EQ("", test_files::List((folder + "\\Template").str()));
    // The start program runs for 3 s; the updater is gone before it ends.
    uidriver::WaitFor([&] { return !Mark().empty(); }, 5000, "the start program");
    EXPECT_EQ("started\n", Mark());
    uidriver::WaitFor([&] { return Mark() != "started\n"; }, 5000, "the start program's end");
}

// The detached signature the local server makes of one of its files with one of the build's
// throwaway keys: "test" (built into the test updaters) or "other".
std::string ServerSignature(const char* key, const char* servedPath) {
    std::string signature;
    ReadManifestSource(LocalServerUrl("sign/" + CString(key) + "/" + servedPath), 1024,
                       InternetTransferLimits(), signature);
    return signature;
}

std::string Flipped(std::string bytes, size_t at) {
    bytes[at] ^= 0x01;
    return bytes;
}

// The updater with the test key built in lists only the manifest's own bytes with a signature by
// that key, from a server or beside a file; anything else stops it before a row is listed, a byte
// downloaded or Start started. Signed, a file without SHA256 is not offered, and one of another
// digest is not installed.
TEST_F(UpdateProgram, WithAKeyOnlyAValidSignatureLetsAnythingHappen) {
    ASSERT_TRUE(
        ::CopyFileA(BuiltProgram("update_with_test_key.exe"), folder + "\\update.exe", FALSE));
    const std::string original = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    WriteBytes(served + "\\a.exe", PatternBytes(20000, 7));
    const std::string url = "URL=\"" + LocalServerUrl("blackbox/a.exe").str() + "\"";
    const std::string manifest =
        ManifestText("start.exe")
            .File("bare.exe", "2.0.0.0", url)
            .File("a.exe", "2.0.0.0", url + " SHA256=\"" + kPatternSha256 + "\"")
            .File("wrong.exe", "2.0.0.0", url + " SHA256=\"" + Flipped(kPatternSha256, 9) + "\"")
            .Xml();
    const std::string changed = Flipped(manifest, manifest.find("2.0.0.0"));
    WriteBytes(served + "\\m.xml", manifest);
    const std::string valid = ServerSignature("test", "blackbox/m.xml");
    const struct {
        const char* what;
        std::string manifest;
        std::optional<std::string> signature;
        bool local;
        bool listed;
    } cases[] = {
        {"valid", manifest, valid, false, true},
        {"valid beside a file", manifest, valid, true, true},
        {"a manifest byte changed", changed, valid, false, false},
        {"a signature byte changed", manifest, Flipped(valid, valid.size() - 5), false, false},
        {"no signature (404)", manifest, std::nullopt, false, false},
        {"no signature beside a file", manifest, std::nullopt, true, false},
        {"by another key", manifest, ServerSignature("other", "blackbox/m.xml"), false, false},
    };
    const std::vector<std::vector<std::string>> offered = {{"a.exe", "2.0.0.0", "0 Byte"},
                                                           {"wrong.exe", "2.0.0.0", "0 Byte"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : {"a.exe", "bare.exe", "wrong.exe"})
            WriteBytes(folder + "\\" + name, original);
        const CString place = c.local ? folder : served;
        ::DeleteFileA(place + "\\case.xml.sig");
        WriteBytes(place + "\\case.xml", c.manifest);
        if (c.signature)
            WriteBytes(place + "\\case.xml.sig", *c.signature);
        uidriver::Process update =
            Start(" " + (c.local ? (folder + "\\case.xml").str()
                                 : LocalServerUrl("blackbox/case.xml").str()));
        const HWND dialog = update.WaitForDialog("检查更新");
        EXPECT_EQ(c.listed ? "文件下载进度" : "升级信息的签名无效，已停止升级！",
                  uidriver::ControlText(dialog, IDC_STATIC_STATUS));
        EXPECT_EQ(c.listed ? offered : decltype(offered)(),
                  uidriver::ListRows(uidriver::Control(dialog, IDC_LIST_FILES)));
        if (c.listed) {
            uidriver::ClickButton(dialog, IDC_BUTTON_UPGRADE_NOW);
            uidriver::WaitForControlText(dialog, IDOK, "完成");
        }
        uidriver::ClickButton(dialog, IDOK);
        ASSERT_TRUE(update.WaitForExit().has_value());
        EXPECT_TRUE((c.listed ? PatternBytes(20000, 7) : original) ==
                    ReadBytes(folder + "\\a.exe"));
        for (const char* name : {"bare.exe", "wrong.exe"})
            EXPECT_TRUE(original == ReadBytes(folder + "\\" + name)) << name;
    }
    // Started by the two valid runs only; each start program ends 3 s after it started.
    const auto count = [this](const char* line) {
        const std::string mark = Mark();
        size_t found = 0;
        for (size_t at = mark.find(line); at != std::string::npos; at = mark.find(line, at + 1))
            ++found;
        return found;
    };
    uidriver::WaitFor([&] { return count("ended") == 2; }, 10000, "the start programs");
    EXPECT_EQ(2u, count("started"));
}

} // namespace
