#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>

#include "DialogFixture.h"
#include "Module.h"
#include "UpdateRes.h"
#include "uidriver/Process.h"
#include "uidriver/Window.h"

namespace {

// Records what a control is told: texts set on a static, positions set on a progress bar,
// and how often it paints.
struct ControlSpy {
    std::vector<std::string> texts;
    std::vector<int> positions;
    std::vector<std::string> textsWhilePainting;
    HWND statusLabel = nullptr;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
        auto* spy = reinterpret_cast<ControlSpy*>(data);
        if (message == WM_SETTEXT)
            spy->texts.push_back(reinterpret_cast<const char*>(lParam));
        else if (message == PBM_SETPOS)
            spy->positions.push_back(static_cast<int>(wParam));
        else if (message == WM_PAINT && window == spy->statusLabel) {
            char text[256] = {};
            ::GetWindowTextA(window, text, sizeof(text));
            spy->textsWhilePainting.push_back(text);
        }
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    void Watch(HWND window) {
        ::SetWindowSubclass(window, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    void Unwatch(HWND window) { ::RemoveWindowSubclass(window, Proc, 1); }
};

class Download : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        servedFolder = LocalServer::Folder() + caseName;
        RemoveTree(servedFolder);
        MakeFolder(servedFolder);
    }
    void TearDown() override {
        RemoveTree(servedFolder);
        DialogFixture::TearDown();
    }

    // An installed program <name> at version 1.2.3.4 and its new bytes on the server.
    std::string Offer(const char* name, size_t size = 20000) {
        Install("version_1_2_3_4.exe", name);
        const std::string bytes =
            PatternBytes(size, static_cast<unsigned>(std::hash<std::string>()(name)));
        WriteBytes(servedFolder + "\\" + name, bytes);
        return bytes;
    }
    // The manifest entry of `name`, fetched through the server path `prefix`.
    std::string Entry(const char* name, const char* prefix = "", const std::string& extra = "") {
        return "Name=\"" + Name(name).str() + "\" Version=\"2.0.0.0\" Length=\"20000\" URL=\"" +
               LocalServer::Url(CString(prefix) + caseName + "/" + name).str() + "\" " + extra;
    }
    // Creates the dialog on `manifest`, clicks 立即升级 and returns when the run is over.
    void Run(const ManifestText& manifest) {
        dialog = std::make_unique<RecordingDialog>(WriteManifest(manifest));
        ASSERT_TRUE(dialog->Create());
        spy.statusLabel = dialog->GetDlgItem(IDT_STATUS);
        spy.Watch(spy.statusLabel);
        spy.Watch(dialog->m_progress);
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDB_UPGRADE_NOW, BN_CLICKED));
        spy.Unwatch(spy.statusLabel);
        spy.Unwatch(dialog->m_progress);
    }
    CString Status() const {
        char text[1100] = {};
        ::GetDlgItemTextA(dialog->m_hWnd, IDT_STATUS, text, sizeof(text));
        return text;
    }
    bool Said(const std::string& text) const {
        return std::find(spy.texts.begin(), spy.texts.end(), text) != spy.texts.end();
    }
    std::string TemplateList() const { return ListFolder(templateFolder); }

    CString servedFolder;
    std::unique_ptr<RecordingDialog> dialog;
    ControlSpy spy;
};

TEST_F(Download, SuccessReplacesFilesAndEmptiesTemplate) {
    const std::string a = Offer("a.exe");
    const std::string b = Offer("b.exe", 3000);
    Run(ManifestText("").Entry(Entry("a.exe")).Entry(Entry("b.exe")));
    EXPECT_EQ(a, ReadBytes(Installed("a.exe")));
    EXPECT_EQ(b, ReadBytes(Installed("b.exe")));
    EXPECT_EQ("", TemplateList());
    EXPECT_EQ("a.exe b.exe manifest.xml", ListFolder(caseFolder)) << "nothing left beside";
    EXPECT_EQ(2, RowImage(*dialog, 0));
    EXPECT_EQ(2, RowImage(*dialog, 1));
    EXPECT_TRUE(Said(("正在下载文件：" + Name("a.exe")).str()));
    EXPECT_TRUE(Said((Name("a.exe") + "完成更新！").str()));
    EXPECT_STREQ(Name("b.exe") + "完成更新！", Status());
    EXPECT_EQ(100, dialog->m_progress.GetPos());
    char close[16] = {};
    ::GetDlgItemTextA(dialog->m_hWnd, IDOK, close, sizeof(close));
    EXPECT_STREQ("完成", close);
    EXPECT_FALSE(::IsWindowEnabled(dialog->GetDlgItem(IDB_UPGRADE_NOW)));
}

TEST_F(Download, NotFoundRowFailsAndTheNextRowStillRuns) {
    Install("version_1_2_3_4.exe", "gone.exe");
    const std::string b = Offer("b.exe");
    Run(ManifestText("").Entry(Entry("gone.exe")).Entry(Entry("b.exe")));
    EXPECT_TRUE(Said(("您要下载的：" + Name("gone.exe") + "文件不存在！").str()));
    EXPECT_EQ(3, RowImage(*dialog, 0));
    EXPECT_EQ(2, RowImage(*dialog, 1));
    EXPECT_EQ(b, ReadBytes(Installed("b.exe")));
    EXPECT_EQ(ReadBytes(BuiltProgram("version_1_2_3_4.exe")), ReadBytes(Installed("gone.exe")));
}

TEST_F(Download, ErrorAnswersAndCutBodiesLeaveTheInstalledFileUnchanged) {
    struct Case {
        const char* name;
        const char* prefix;
        std::string status;
    };
    const std::vector<Case> cases = {
        {"e500.exe", "status/500/",
         "您要下载的：" + Name("e500.exe").str() + "服务器拒绝提供（状态 500），升级失败！"},
        {"moved.exe", "redirect/",
         "您要下载的：" + Name("moved.exe").str() + "服务器拒绝提供（状态 302），升级失败！"},
        {"short.exe", "short/", "下载文件：" + Name("short.exe").str() + "不完整，升级失败！"},
        {"drop.exe", "drop/", "下载文件：" + Name("drop.exe").str() + "不完整，升级失败！"},
    };
    ManifestText manifest("");
    for (const Case& c : cases) {
        Offer(c.name);
        manifest.Entry(Entry(c.name, c.prefix));
    }
    Run(manifest);
    const std::string original = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    for (size_t row = 0; row < cases.size(); ++row) {
        EXPECT_EQ(original, ReadBytes(Installed(cases[row].name))) << cases[row].name;
        EXPECT_EQ(3, RowImage(*dialog, static_cast<int>(row))) << cases[row].name;
        EXPECT_TRUE(Said(cases[row].status)) << cases[row].status;
    }
    EXPECT_EQ("", TemplateList());
}

TEST_F(Download, BodyWithoutLengthIsInstalledAndProgressStaysInRange) {
    const std::string bytes = Offer("a.exe", 300000);
    Run(ManifestText("").Entry(Entry("a.exe", "nolength/")));
    EXPECT_EQ(bytes, ReadBytes(Installed("a.exe")));
    ASSERT_FALSE(spy.positions.empty());
    for (int position : spy.positions)
        EXPECT_TRUE(position >= 0 && position <= 100) << position;
    EXPECT_EQ(100, spy.positions.back());
}

TEST_F(Download, Sha256MustMatchWhenGiven) {
    const std::string good = Offer("good.exe");
    Offer("bad.exe");
    const std::string upper = [&] {
        std::string hex = Sha256Hex(good);
        std::transform(hex.begin(), hex.end(), hex.begin(), ::toupper);
        return hex;
    }();
    Run(ManifestText("")
            .Entry(Entry("good.exe", "", "SHA256=\"" + upper + "\""))
            .Entry(Entry("bad.exe", "", "SHA256=\"" + Sha256Hex("other") + "\"")));
    EXPECT_EQ(good, ReadBytes(Installed("good.exe")));
    EXPECT_EQ(ReadBytes(BuiltProgram("version_1_2_3_4.exe")), ReadBytes(Installed("bad.exe")));
    EXPECT_EQ(2, RowImage(*dialog, 0));
    EXPECT_EQ(3, RowImage(*dialog, 1));
    EXPECT_STREQ("下载文件：" + Name("bad.exe") + "校验失败，升级失败！", Status());
    EXPECT_EQ("", TemplateList());
}

TEST_F(Download, WithoutTemplateEveryRowFails) {
    Offer("a.exe");
    Offer("b.exe");
    const CString templateRoot = GetModuleDirectory() + "Template";
    const CString parked = GetModuleDirectory() + "Template.parked";
    RemoveTree(parked);
    ASSERT_TRUE(::MoveFileA(templateRoot, parked));
    Run(ManifestText("").Entry(Entry("a.exe")).Entry(Entry("b.exe")));
    ::MoveFileA(parked, templateRoot);
    EXPECT_TRUE(Said(("本地创建下载文件：" + Name("a.exe") + "失败！").str()));
    EXPECT_STREQ("本地创建下载文件：" + Name("b.exe") + "失败！", Status());
    EXPECT_EQ(3, RowImage(*dialog, 0));
    EXPECT_EQ(3, RowImage(*dialog, 1));
    EXPECT_EQ(ReadBytes(BuiltProgram("version_1_2_3_4.exe")), ReadBytes(Installed("a.exe")));
}

TEST_F(Download, ReadOnlyTargetFailsAndKeepsTheDownload) {
    const std::string bytes = Offer("locked.exe");
    ASSERT_TRUE(::SetFileAttributesA(Installed("locked.exe"), FILE_ATTRIBUTE_READONLY));
    Run(ManifestText("").Entry(Entry("locked.exe")));
    EXPECT_STREQ(Name("locked.exe") + "为为只读文件或者正在被打开使用，升级失败！", Status());
    EXPECT_EQ(3, RowImage(*dialog, 0));
    EXPECT_EQ(ReadBytes(BuiltProgram("version_1_2_3_4.exe")), ReadBytes(Installed("locked.exe")));
    EXPECT_EQ(bytes, ReadBytes(Temporary("locked.exe")));
    EXPECT_EQ("locked.exe manifest.xml", ListFolder(caseFolder));
}

TEST_F(Download, RequestsThatCannotBeSentShowThePlatformText) {
    Offer("secure.exe");
    Install("version_1_2_3_4.exe", "refused.exe");
    Install("version_1_2_3_4.exe", "odd.exe");
    CString https = LocalServer::Url(caseName + "/secure.exe");
    https = "https" + https.Mid(4);
    Run(ManifestText("")
            .Entry("Name=\"" + Name("odd.exe").str() +
                   "\" Version=\"2.0.0.0\" URL=\"ftp://127.0.0.1/x\"")
            // Nobody listens on port 1.
            .Entry("Name=\"" + Name("refused.exe").str() +
                   "\" Version=\"2.0.0.0\" URL=\"http://127.0.0.1:1/refused.exe\"")
            .Entry("Name=\"" + Name("secure.exe").str() + "\" Version=\"2.0.0.0\" URL=\"" +
                   https.str() + "\""));
    const std::string original = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(3, RowImage(*dialog, row));
    EXPECT_EQ(original, ReadBytes(Installed("secure.exe")))
        << "https must not fall back to plain HTTP";
    EXPECT_EQ(original, ReadBytes(Installed("refused.exe")));
    ASSERT_EQ(2u, spy.texts.size()) << "the unusable address says nothing";
    for (const std::string& text : spy.texts) {
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(std::string::npos, text.find("正在下载文件"));
    }
}

TEST_F(Download, RowsOfTheSameClassCloseTheProgramOnce) {
    const std::string a = Offer("a.exe");
    const std::string b = Offer("b.exe");
    const CString mark = caseFolder + "\\holder.mark";
    CString command;
    command.Format("\"%s\" windows UpdTestSameClass 2 \"%s\"",
                   static_cast<const char*>(BuiltProgram("update_test_helper.exe")),
                   static_cast<const char*>(mark));
    uidriver::Process holder = uidriver::Process::Start(command.str());
    uidriver::WaitForTopWindow(holder.Id(), {std::nullopt, std::string("UpdTestSameClass"), false},
                               10000, holder.Handle());
    ::Sleep(100);
    const std::string cls = "Class=\"UpdTestSameClass\"";
    Run(ManifestText("").Entry(Entry("a.exe", "", cls)).Entry(Entry("b.exe", "", cls)));
    EXPECT_TRUE(holder.WaitForExit(10000).has_value());
    EXPECT_EQ("closed\nclosed\n", ReadBytes(mark));
    EXPECT_EQ(a, ReadBytes(Installed("a.exe")));
    EXPECT_EQ(b, ReadBytes(Installed("b.exe")));
}

TEST_F(Download, LargeFileProgressRisesSteadilyToOneHundred) {
    // Beyond 42 949 672 bytes the count times 100 no longer fits 32 bits.
    const std::string bytes = Offer("large.exe", 45u << 20);
    Run(ManifestText("").Entry(Entry("large.exe")));
    EXPECT_TRUE(ReadBytes(Installed("large.exe")) == bytes);
    ASSERT_FALSE(spy.positions.empty());
    EXPECT_TRUE(std::is_sorted(spy.positions.begin(), spy.positions.end()));
    EXPECT_EQ(100, spy.positions.back());
    EXPECT_GE(std::set<int>(spy.positions.begin(), spy.positions.end()).size(), 100u);
}

HWND g_statusLabel = nullptr;
void CALLBACK InvalidateStatus(HWND, UINT, UINT_PTR, DWORD) {
    ::InvalidateRect(g_statusLabel, nullptr, TRUE);
}

TEST_F(Download, DialogRepaintsDuringASlowDownload) {
    const std::string bytes = Offer("slow.exe", 20 * 8192);
    dialog = std::make_unique<RecordingDialog>(
        WriteManifest(ManifestText("").Entry(Entry("slow.exe", "slow/100/"))));
    ASSERT_TRUE(dialog->Create());
    dialog->ShowWindow(SW_SHOWNA);
    g_statusLabel = dialog->GetDlgItem(IDT_STATUS);
    spy.statusLabel = g_statusLabel;
    spy.Watch(g_statusLabel);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, InvalidateStatus);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDB_UPGRADE_NOW, BN_CLICKED));
    ::KillTimer(nullptr, timer);
    spy.Unwatch(g_statusLabel);
    EXPECT_EQ(bytes, ReadBytes(Installed("slow.exe")));
    const std::string downloading = ("正在下载文件：" + Name("slow.exe")).str();
    const auto paintsWhileDownloading =
        std::count(spy.textsWhilePainting.begin(), spy.textsWhilePainting.end(), downloading);
    EXPECT_GE(paintsWhileDownloading, 5) << "paints seen: " << spy.textsWhilePainting.size();
}

} // namespace
