#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>

#include "DialogFixture.h"
#include "framework/Module.h"
#include "UpdateRes.h"

namespace {

// Records the texts set on the status label, the positions set on the progress bar, and the
// label's text whenever it paints.
struct ControlSpy {
    std::vector<std::string> texts;
    std::vector<int> positions;
    std::vector<std::string> textsWhilePainting;
    HWND label = nullptr;
    HWND bar = nullptr;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
        auto* spy = reinterpret_cast<ControlSpy*>(data);
        if (message == WM_SETTEXT)
            spy->texts.push_back(reinterpret_cast<const char*>(lParam));
        else if (message == PBM_SETPOS)
            spy->positions.push_back(static_cast<int>(wParam));
        else if (message == WM_PAINT && window == spy->label) {
            char text[256] = {};
            ::GetWindowTextA(window, text, sizeof(text));
            spy->textsWhilePainting.push_back(text);
        }
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    void Watch(HWND statusLabel, HWND progressBar) {
        label = statusLabel;
        bar = progressBar;
        for (HWND window : {label, bar})
            ::SetWindowSubclass(window, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    void Unwatch() {
        for (HWND window : {label, bar})
            ::RemoveWindowSubclass(window, Proc, 1);
    }
};

void CALLBACK Invalidate(HWND window, UINT, UINT_PTR, DWORD) {
    ::InvalidateRect(window, nullptr, TRUE);
}

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
    std::string Serve(const char* name, size_t size = 20000) {
        Install("version_1_2_3_4.exe", name);
        const std::string bytes = PatternBytes(size, static_cast<unsigned>(manifest.body.size()));
        WriteBytes(servedFolder + "\\" + name, bytes);
        return bytes;
    }
    // The manifest row of `name`, fetched through the server path `prefix`.
    void Row(const char* name, const char* prefix = "", const std::string& more = "") {
        const CString url = LocalServer::Url(CString(prefix) + caseName + "/" + name);
        manifest.File(Name(name), "2.0.0.0", "URL=\"" + url.str() + "\" " + more);
    }
    std::string Offer(const char* name, size_t size = 20000, const char* prefix = "") {
        const std::string bytes = Serve(name, size);
        Row(name, prefix);
        return bytes;
    }
    // Creates the dialog on the manifest, clicks 立即升级 and returns when the run is over;
    // `visible` shows it and invalidates the status label every 100 ms.
    void Run(bool visible = false) {
        dialog = std::make_unique<RecordingDialog>(WriteManifest(manifest));
        ASSERT_TRUE(dialog->Create());
        spy.Watch(dialog->GetDlgItem(IDC_STATIC_STATUS), dialog->m_progress);
        if (visible) {
            dialog->ShowWindow(SW_SHOWNA);
            ::SetTimer(spy.label, 1, 100, Invalidate);
        }
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_UPGRADE_NOW, BN_CLICKED));
        spy.Unwatch();
    }
    bool Said(const CString& text) const {
        return std::find(spy.texts.begin(), spy.texts.end(), text.str()) != spy.texts.end();
    }
    bool Unchanged(const char* name) const { return ReadBytes(Installed(name)) == original; }

    const std::string original = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    CString servedFolder;
    ManifestText manifest{""};
    std::unique_ptr<RecordingDialog> dialog;
    ControlSpy spy;
};

TEST_F(Download, SuccessReplacesFilesAndEmptiesTemplate) {
    const std::string a = Offer("a.exe");
    // Without a Content-Length the total is unknown: the bar must still stay in range.
    const std::string b = Serve("b.exe", 300000);
    Row("b.exe", "nolength/", "SHA256=\"" + Sha256Hex(b) + "\"");
    Run();
    EXPECT_EQ(a, ReadBytes(Installed("a.exe")));
    EXPECT_EQ(b, ReadBytes(Installed("b.exe")));
    EXPECT_EQ("", ListFolder(templateFolder));
    EXPECT_EQ("a.exe b.exe manifest.xml", ListFolder(caseFolder)) << "nothing left beside";
    EXPECT_EQ(2, RowImage(*dialog, 0));
    EXPECT_EQ(2, RowImage(*dialog, 1));
    EXPECT_TRUE(Said("正在下载文件：" + Name("a.exe")));
    EXPECT_TRUE(Said(Name("a.exe") + "完成更新！"));
    EXPECT_STREQ(Name("b.exe") + "完成更新！", Text(*dialog, IDC_STATIC_STATUS));
    ASSERT_FALSE(spy.positions.empty());
    for (int position : spy.positions)
        EXPECT_TRUE(position >= 0 && position <= 100) << position;
    EXPECT_EQ(100, spy.positions.back());
    EXPECT_STREQ("完成", Text(*dialog, IDOK));
    EXPECT_FALSE(::IsWindowEnabled(dialog->GetDlgItem(IDC_BUTTON_UPGRADE_NOW)));
}

// Each failed row keeps the installed file byte for byte, shows the red cross and says why;
// the row after them still runs.
TEST_F(Download, FailedRowsKeepTheInstalledFileAndTheNextRowStillRuns) {
    const struct {
        const char* name;
        const char* prefix;
        std::string more;
        const char* before;
        const char* after;
    } failures[] = {
        {"gone.exe", "status/404/", "", "您要下载的：", "文件不存在！"},
        {"e500.exe", "status/500/", "", "您要下载的：", "服务器拒绝提供（状态 500），升级失败！"},
        {"moved.exe", "redirect/", "", "您要下载的：", "服务器拒绝提供（状态 302），升级失败！"},
        {"short.exe", "short/", "", "下载文件：", "不完整，升级失败！"},
        {"drop.exe", "drop/", "", "下载文件：", "不完整，升级失败！"},
        {"bad.exe", "", "SHA256=\"" + Sha256Hex("other") + "\"", "下载文件：",
         "校验失败，升级失败！"},
    };
    for (const auto& failure : failures) {
        Serve(failure.name);
        Row(failure.name, failure.prefix, failure.more);
    }
    const std::string next = Offer("next.exe");
    Run();
    int row = 0;
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        EXPECT_TRUE(Unchanged(failure.name));
        EXPECT_EQ(3, RowImage(*dialog, row++));
        EXPECT_TRUE(Said(failure.before + Name(failure.name) + failure.after));
    }
    EXPECT_EQ(2, RowImage(*dialog, row));
    EXPECT_EQ(next, ReadBytes(Installed("next.exe")));
    EXPECT_EQ("", ListFolder(templateFolder));
}

TEST_F(Download, WithoutTemplateEveryRowFails) {
    Offer("a.exe");
    Offer("b.exe");
    const CString templateRoot = GetModuleDirectory() + "Template";
    const CString parked = GetModuleDirectory() + "Template.parked";
    RemoveTree(parked);
    ASSERT_TRUE(::MoveFileA(templateRoot, parked));
    Run();
    ::MoveFileA(parked, templateRoot);
    EXPECT_TRUE(Said("本地创建下载文件：" + Name("a.exe") + "失败！"));
    EXPECT_STREQ("本地创建下载文件：" + Name("b.exe") + "失败！", Text(*dialog, IDC_STATIC_STATUS));
    EXPECT_EQ(3, RowImage(*dialog, 0));
    EXPECT_EQ(3, RowImage(*dialog, 1));
    EXPECT_TRUE(Unchanged("a.exe"));
}

TEST_F(Download, ReadOnlyTargetFailsAndKeepsTheDownload) {
    const std::string bytes = Offer("locked.exe");
    ASSERT_TRUE(::SetFileAttributesA(Installed("locked.exe"), FILE_ATTRIBUTE_READONLY));
    Run();
    EXPECT_STREQ(Name("locked.exe") + "为为只读文件或者正在被打开使用，升级失败！",
                 Text(*dialog, IDC_STATIC_STATUS));
    EXPECT_EQ(3, RowImage(*dialog, 0));
    EXPECT_TRUE(Unchanged("locked.exe"));
    EXPECT_EQ(bytes, ReadBytes(Temporary("locked.exe")));
    EXPECT_EQ("locked.exe manifest.xml", ListFolder(caseFolder));
}

TEST_F(Download, RequestsThatCannotBeSentShowThePlatformText) {
    Serve("secure.exe");
    Install("version_1_2_3_4.exe", "refused.exe");
    Install("version_1_2_3_4.exe", "odd.exe");
    const CString https = "https" + LocalServer::Url(caseName + "/secure.exe").Mid(4);
    manifest
        .File(Name("odd.exe"), "2.0.0.0", "URL=\"ftp://127.0.0.1/x\"")
        // Nobody listens on port 1.
        .File(Name("refused.exe"), "2.0.0.0", "URL=\"http://127.0.0.1:1/refused.exe\"")
        .File(Name("secure.exe"), "2.0.0.0", "URL=\"" + https.str() + "\"");
    Run();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(3, RowImage(*dialog, row));
    EXPECT_TRUE(Unchanged("secure.exe")) << "https must not fall back to plain HTTP";
    EXPECT_TRUE(Unchanged("refused.exe"));
    ASSERT_EQ(2u, spy.texts.size()) << "the unusable address says nothing";
    for (const std::string& text : spy.texts) {
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(std::string::npos, text.find("正在下载文件"));
    }
}

TEST_F(Download, RowsOfTheSameClassCloseTheProgramOnce) {
    const std::string a = Serve("a.exe");
    const std::string b = Serve("b.exe");
    const CString mark = caseFolder + "\\holder.mark";
    uidriver::Process holder = StartHelper("windows", "UpdTestSameClass", 2, mark);
    Row("a.exe", "", "Class=\"UpdTestSameClass\"");
    Row("b.exe", "", "Class=\"UpdTestSameClass\"");
    Run();
    EXPECT_TRUE(holder.WaitForExit(10000).has_value());
    EXPECT_EQ("closed\nclosed\n", ReadBytes(mark));
    EXPECT_EQ(a, ReadBytes(Installed("a.exe")));
    EXPECT_EQ(b, ReadBytes(Installed("b.exe")));
}

TEST_F(Download, LargeFileProgressRisesSteadilyToOneHundred) {
    // Beyond 42 949 672 bytes the count times 100 no longer fits 32 bits.
    const std::string bytes = Offer("large.exe", 45u << 20);
    Run();
    EXPECT_TRUE(ReadBytes(Installed("large.exe")) == bytes);
    ASSERT_FALSE(spy.positions.empty());
    EXPECT_TRUE(std::is_sorted(spy.positions.begin(), spy.positions.end()));
    EXPECT_EQ(100, spy.positions.back());
    EXPECT_GE(std::set<int>(spy.positions.begin(), spy.positions.end()).size(), 100u);
}

TEST_F(Download, DialogRepaintsDuringASlowDownload) {
    const std::string bytes = Offer("slow.exe", 20 * 8192, "slow/100/");
    Run(true);
    EXPECT_EQ(bytes, ReadBytes(Installed("slow.exe")));
    const std::string downloading = ("正在下载文件：" + Name("slow.exe")).str();
    EXPECT_GE(std::count(spy.textsWhilePainting.begin(), spy.textsWhilePainting.end(), downloading),
              5)
        << "paints seen: " << spy.textsWhilePainting.size();
}

} // namespace
