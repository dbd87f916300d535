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
// that key, from a server or beside a file, and of those only one whose Serial is not below the
// one the installation accepted last and whose Expires lies ahead; anything else stops it before
// a row is listed, a byte downloaded or Start started. The rows run in order on one installation,
// each a new start. Signed, a file without SHA256 is not offered, and one of another digest is
// not installed.
TEST_F(UpdateProgram, WithAKeyOnlyAValidSignatureOnACurrentManifestLetsAnythingHappen) {
    ASSERT_TRUE(
        ::CopyFileA(BuiltProgram("update_with_test_key.exe"), folder + "\\update.exe", FALSE));
    const std::string original = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    WriteBytes(served + "\\a.exe", PatternBytes(20000, 7));
    const std::string url = "URL=\"" + LocalServerUrl("blackbox/a.exe").str() + "\"";
    const auto dated = [&](const std::string& more) {
        return ManifestText("start.exe", more)
            .File("bare.exe", "2.0.0.0", url)
            .File("a.exe", "2.0.0.0", url + " SHA256=\"" + kPatternSha256 + "\"")
            .File("wrong.exe", "2.0.0.0", url + " SHA256=\"" + Flipped(kPatternSha256, 9) + "\"")
            .Xml();
    };
    const std::string ahead = "Expires=\"2099-12-31T23:59:59Z\"";
    const auto serial = [](int number) { return "Serial=\"" + std::to_string(number) + "\" "; };
    int signedCount = 0;
    const auto sign = [&](const std::string& bytes, const char* key = "test") {
        const std::string name = "signed" + std::to_string(++signedCount) + ".xml";
        WriteBytes(served + "\\" + name.c_str(), bytes);
        return ServerSignature(key, ("blackbox/" + name).c_str());
    };
    const char* const listing = "文件下载进度";
    const char* const forged = "升级信息的签名无效，已停止升级！";
    const char* const older = "升级信息比上次使用的旧，已停止升级！";
    const char* const undated = "升级信息缺少有效的序号或有效期，已停止升级！";
    enum class Store { Kept, ReadOnly, Removed };
    struct Case {
        const char* what;
        std::string manifest;
        std::optional<std::string> signature;
        bool local;
        const char* status;
        Store store = Store::Kept;
    };
    const auto signedCase = [&](const char* what, const std::string& more, const char* status,
                                Store store = Store::Kept) {
        return Case{what, dated(more), sign(dated(more)), false, status, store};
    };
    const std::string manifest = dated(serial(5) + ahead);
    const std::string changed = Flipped(manifest, manifest.find("2.0.0.0"));
    const std::string valid = sign(manifest);
    const std::string bare = "<Update Start=\"start.exe\" " + serial(4) + ahead + "/>";
    const Case cases[] = {
        {"valid, serial 5", manifest, valid, false, listing},
        {"valid beside a file", manifest, valid, true, listing},
        {"a manifest byte changed", changed, valid, false, forged},
        {"a signature byte changed", manifest, Flipped(valid, valid.size() - 5), false, forged},
        {"no signature (404)", manifest, std::nullopt, false, forged},
        {"no signature beside a file", manifest, std::nullopt, true, forged},
        {"by another key", manifest, sign(manifest, "other"), false, forged},
        signedCase("a lower serial", serial(4) + ahead, older),
        {"a lower serial and no file list", bare, sign(bare), false, older},
        signedCase("expired", serial(6) + "Expires=\"2020-01-01T00:00:00Z\"",
                   "升级信息已过期（请检查本机的日期和时间），已停止升级！"),
        signedCase("without Serial", ahead, undated),
        signedCase("a higher serial", serial(7) + ahead, listing),
        signedCase("lower than the one before the restart", serial(6) + ahead, older),
        signedCase("a higher one that cannot be remembered", serial(8) + ahead,
                   "无法读写升级记录 update.serial，已停止升级！", Store::ReadOnly),
        signedCase("a fresh installation", serial(4) + ahead, listing, Store::Removed),
    };
    const std::vector<std::vector<std::string>> offered = {{"a.exe", "2.0.0.0", "0 Byte"},
                                                           {"wrong.exe", "2.0.0.0", "0 Byte"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CString store = folder + "\\update.serial";
        ::SetFileAttributesA(store, c.store == Store::ReadOnly ? FILE_ATTRIBUTE_READONLY
                                                               : FILE_ATTRIBUTE_NORMAL);
        if (c.store == Store::Removed)
            ::DeleteFileA(store);
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
        const bool listed = c.status == listing;
        EXPECT_EQ(c.status, uidriver::ControlText(dialog, IDC_STATIC_STATUS));
        EXPECT_EQ(listed ? offered : decltype(offered)(),
                  uidriver::ListRows(uidriver::Control(dialog, IDC_LIST_FILES)));
        if (listed) {
            uidriver::ClickButton(dialog, IDC_BUTTON_UPGRADE_NOW);
            uidriver::WaitForControlText(dialog, IDOK, "完成");
        }
        uidriver::ClickButton(dialog, IDOK);
        ASSERT_TRUE(update.WaitForExit().has_value());
        EXPECT_TRUE((listed ? PatternBytes(20000, 7) : original) == ReadBytes(folder + "\\a.exe"));
        for (const char* name : {"bare.exe", "wrong.exe"})
            EXPECT_TRUE(original == ReadBytes(folder + "\\" + name)) << name;
    }
    EXPECT_EQ("4", ReadBytes(folder + "\\update.serial"));
    // Started by the listed runs only; each start program ends 3 s after it started.
    const auto count = [this](const char* line) {
        const std::string mark = Mark();
        size_t found = 0;
        for (size_t at = mark.find(line); at != std::string::npos; at = mark.find(line, at + 1))
            ++found;
        return found;
    };
    uidriver::WaitFor([&] { return count("ended") == 4; }, 10000, "the start programs");
    EXPECT_EQ(4u, count("started"));
}

} // namespace
