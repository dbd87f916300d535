#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>

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
    HWND windows[2] = {};

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
        auto* spy = reinterpret_cast<ControlSpy*>(data);
        char text[256] = {};
        if (message == WM_SETTEXT)
            spy->texts.push_back(reinterpret_cast<const char*>(lParam));
        else if (message == PBM_SETPOS)
            spy->positions.push_back(static_cast<int>(wParam));
        else if (message == WM_PAINT && window == spy->windows[0]) {
            ::GetWindowTextA(window, text, sizeof(text));
            spy->textsWhilePainting.push_back(text);
        }
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    void Watch(HWND statusLabel, HWND progressBar) {
        windows[0] = statusLabel;
        windows[1] = progressBar;
        for (HWND window : windows)
            ::SetWindowSubclass(window, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    void Unwatch() {
        for (HWND window : windows)
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
        MakeFolder(servedFolder + "\\sub");
        MakeFolder(caseFolder + "\\sub");
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
        std::string path = (CString(prefix) + caseName + "/" + name).str();
        std::replace(path.begin(), path.end(), '\\', '/');
        const CString url = LocalServer::Url(path.c_str());
        manifest.File(Name(name), "2.0.0.0", "URL=\"" + url.str() + "\" " + more);
    }
    std::string Offer(const char* name, size_t size = 20000, const char* prefix = "") {
        const std::string bytes = Serve(name, size);
        Row(name, prefix);
        return bytes;
    }
    // Creates the dialog on the manifest, clicks 立即升级 and returns when the run is over;
    // `visible` shows it and invalidates the status label every 100 ms.
    void Run(bool visible = false, DWORD periodMs = 20000) {
        dialog = std::make_unique<RecordingDialog>(WriteManifest(manifest));
        dialog->m_limits.periodMs = periodMs;
        ASSERT_TRUE(dialog->Create());
        spy.Watch(dialog->GetDlgItem(IDC_STATIC_STATUS), dialog->m_progress);
        if (visible) {
            dialog->ShowWindow(SW_SHOWNA);
            ::SetTimer(spy.windows[0], 1, 100, Invalidate);
        }
        const auto begin = std::chrono::steady_clock::now();
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_UPGRADE_NOW, BN_CLICKED));
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
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
    double seconds = 0;
};

TEST_F(Download, SuccessReplacesFilesAndEmptiesTemplate) {
    const std::string a = Offer("a.exe");
    // Without a Content-Length the total is unknown: the bar must still stay in range.
    const std::string b = Serve("b.exe", 300000);
    Row("b.exe", "nolength/", "SHA256=\"" + Sha256Hex(b) + "\"");
    const std::string c = Serve("sub\\c.exe", 50000);
    Row("sub\\c.exe", "chunked/", "Length=\"50000\"");
    Run();
    EXPECT_EQ(a, ReadBytes(Installed("a.exe")));
    EXPECT_EQ(b, ReadBytes(Installed("b.exe")));
    EXPECT_EQ(c, ReadBytes(Installed("sub\\c.exe")));
    EXPECT_EQ("sub", ListFolder(templateFolder));
    EXPECT_EQ("", ListFolder(templateFolder + "\\sub"));
    EXPECT_EQ("a.exe b.exe manifest.xml sub", ListFolder(caseFolder)) << "nothing left beside";
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(2, RowImage(*dialog, row));
    EXPECT_TRUE(Said("正在下载文件：" + Name("a.exe")));
    EXPECT_TRUE(Said(Name("a.exe") + "完成更新！"));
    ASSERT_FALSE(spy.positions.empty());
    for (int position : spy.positions)
        EXPECT_TRUE(position >= 0 && position <= 100) << position;
    EXPECT_EQ(100, spy.positions.back());
    EXPECT_STREQ("完成", Text(*dialog, IDOK));
    EXPECT_FALSE(::IsWindowEnabled(dialog->GetDlgItem(IDC_BUTTON_UPGRADE_NOW)));
}

// Whatever a server answers, a row installs only the bytes it meant to send: every other
// answer keeps the installed file byte for byte, leaves nothing in Template, shows the red
// cross and says why; the row after them still runs.
TEST_F(Download, AnswersThatDoNotCarryTheWholeFileKeepTheInstalledFile) {
    const char* const incomplete = "不完整，升级失败！";
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
        {"short.exe", "short/", "", "下载文件：", incomplete},
        {"drop.exe", "drop/", "", "下载文件：", incomplete},
        {"cut.exe", "cut/", "", "下载文件：", incomplete},
        {"reset.exe", "cutreset/", "", "下载文件：", incomplete},
        {"chunkcut.exe", "chunkcut/", "", "下载文件：", incomplete},
        {"chunkmid.exe", "chunkmid/", "Length=\"20000\"", "下载文件：", incomplete},
        {"garbage.exe", "chunkgarbage/", "", "下载文件：", incomplete},
        {"empty.exe", "empty/", "", "下载文件：", incomplete},
        {"e204.exe", "status/204/", "", "下载文件：", incomplete},
        {"partial.exe", "partial/", "", "下载文件：", incomplete},
        {"long.exe", "longlength/", "", "下载文件：", incomplete},
        {"http09.exe", "http09/", "", "下载文件：", incomplete},
        {"unknown.exe", "nolength/", "", "下载文件：", incomplete},
        {"length.exe", "", "Length=\"19999\"", "下载文件：", incomplete},
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

// A server that keeps quiet or sends less than 1 KB per period loses the row at the end of
// the period; meanwhile the dialog keeps painting.
TEST_F(Download, ServersThatHoldTheRowAreGivenUpWithinThePeriod) {
    for (const char* prefix : {"silent/", "stall/", "drip/200/"}) {
        const CString name = CString(prefix).Left(4) + ".exe";
        Serve(name);
        Row(name, prefix);
    }
    const std::string next = Offer("next.exe");
    Run(true, 1000);
    EXPECT_LT(seconds, 3 * 1.0 + 2.5) << "three rows of one 1 s period each, and one quick row";
    for (const char* name : {"sile.exe", "stal.exe", "drip.exe"}) {
        EXPECT_TRUE(Unchanged(name));
        EXPECT_TRUE(Said("下载文件：" + Name(name) + "时服务器长时间没有响应，升级失败！")) << name;
    }
    EXPECT_EQ(next, ReadBytes(Installed("next.exe")));
    const std::string stalled = ("正在下载文件：" + Name("stal.exe")).str();
    EXPECT_GE(std::count(spy.textsWhilePainting.begin(), spy.textsWhilePainting.end(), stalled), 4)
        << "paints seen: " << spy.textsWhilePainting.size();
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
    EXPECT_EQ(3, RowImage(*dialog, 1));
    EXPECT_TRUE(Unchanged("a.exe"));
}

TEST_F(Download, ReadOnlyTargetFailsAndLeavesNothingBehind) {
    Offer("locked.exe");
    ASSERT_TRUE(::SetFileAttributesA(Installed("locked.exe"), FILE_ATTRIBUTE_READONLY));
    Run();
    EXPECT_STREQ(Name("locked.exe") + "为为只读文件或者正在被打开使用，升级失败！",
                 Text(*dialog, IDC_STATIC_STATUS));
    EXPECT_EQ(3, RowImage(*dialog, 0));
    EXPECT_TRUE(Unchanged("locked.exe"));
    EXPECT_EQ("", ListFolder(templateFolder));
    EXPECT_EQ("locked.exe manifest.xml sub", ListFolder(caseFolder));
}

TEST_F(Download, RequestsThatCannotBeSentSayWhy) {
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
    EXPECT_EQ("无法连接升级服务器！", spy.texts[0]);
    EXPECT_EQ(std::string::npos, spy.texts[1].find("正在下载文件"));
}

// Only programs in the updater's folder are asked to close; one that does not answer holds
// its row no longer than the close limit.
TEST_F(Download, ClassClosesOnlyProgramsInTheFolderAndGivesUpOnAHungOne) {
    const std::string a = Serve("a.exe");
    const std::string b = Serve("b.exe");
    const std::string c = Serve("c.exe");
    const CString copy = Installed("holder.exe");
    ASSERT_TRUE(::CopyFileA(BuiltProgram("update_test_helper.exe"), copy, FALSE));
    const CString inside = caseFolder + "\\inside.mark";
    const CString outside = caseFolder + "\\outside.mark";
    uidriver::Process holder = StartHelper("windows", "UpdTestSameClass", 2, inside, copy);
    uidriver::Process stranger = StartHelper("windows", "UpdTestSameClass", 1, outside);
    uidriver::Process hung = StartHelper("hung", "UpdTestHung", 1, inside, copy);
    Row("b.exe", "", "Class=\"UpdTestSameClass\"");
    Row("c.exe", "", "Class=\"UpdTestSameClass\"");
    Row("a.exe", "", "Class=\"UpdTestHung\"");
    Run();
    EXPECT_LT(seconds, 5 + 3.0) << "one close limit for the hung program and three quick rows";
    EXPECT_TRUE(holder.WaitForExit(10000).has_value());
    EXPECT_EQ("closed\nclosed\n", ReadBytes(inside));
    EXPECT_FALSE(FileExists(outside)) << "a program outside the folder was asked to close";
    EXPECT_FALSE(stranger.WaitForExit(0).has_value());
    EXPECT_EQ(a, ReadBytes(Installed("a.exe")));
    EXPECT_EQ(b, ReadBytes(Installed("b.exe")));
    EXPECT_EQ(c, ReadBytes(Installed("c.exe")));
    stranger.Kill();
    hung.Kill();
}

} // namespace
