#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "SeamRecorder.h"
#include "TestSupport.h"
#include "UpdateDialog.h"
#include "UpdateRes.h"
#include "framework/windows/App.h"
#include "framework/base/Module.h"
#include "framework/base/ScopedHandle.h"
#include "uidriver/uidriver.h"

namespace {

// The dialog with a record of its OnOK calls, which end it.
class RecordingDialog : public CUpdateDialog {
public:
    using CUpdateDialog::CUpdateDialog;
    void OnOK() override {
        ++okCalls;
        CUpdateDialog::OnOK();
    }
    int okCalls = 0;
};

// How one row of an upgrade run ended: its image, the status label's text at that moment and
// how long the row took.
struct RowEnd {
    int image;
    std::string text;
    DWORD ms;
};

void CALLBACK Invalidate(HWND window, UINT, UINT_PTR, DWORD) {
    ::InvalidateRect(window, nullptr, TRUE);
}

// A folder of its own for each test in the program folder, in Template\ and on the local
// server, which serves `served` as "new.bin"; shell launches and message boxes are recorded
// instead of made. COM for the XML DOM.
class ManifestDialog : public ::testing::Test {
protected:
    void SetUp() override {
        AfxEnableControlContainer();
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        caseName = CString(test->test_suite_name()) + "_" + test->name();
        caseFolder = GetModuleDirectory() + caseName;
        templateFolder = GetModuleDirectory() + "Template\\" + caseName;
        servedFolder = LocalServerFolder() + caseName;
        for (const CString& folder : {caseFolder, templateFolder, servedFolder}) {
            test_files::RemoveTree(folder.str());
            test_files::MakeFolder(folder.str());
        }
        WriteBytes(servedFolder + "\\new.bin", served);
    }
    void TearDown() override {
        dialog.reset();
        for (const CString& folder : {caseFolder, templateFolder, servedFolder})
            test_files::RemoveTree(folder.str());
    }

    // Installs a version fixture program as <case folder>\<name>, making its folders.
    void Install(const char* fixture, const char* name) {
        const CString path = Installed(name);
        test_files::MakeFolder(path.Left(path.ReverseFind('\\')).str());
        ASSERT_TRUE(::CopyFileA(BuiltProgram(fixture), path, FALSE)) << name;
    }
    // <case>\<name>, as a manifest names a file of the case folder.
    CString Name(const char* name) const { return caseName + "\\" + name; }
    CString Installed(const char* name) const { return caseFolder + "\\" + name; }
    // The address of a file of the case on the local server, asked through `prefix`.
    CString Served(const char* prefix = "", const char* file = "new.bin") const {
        return LocalServerUrl(prefix + caseName + "/" + file);
    }
    // Creates the dialog on a manifest written into the case folder, or on `source`.
    void Open(const ManifestText& manifest) {
        WriteBytes(caseFolder + "\\manifest.xml", manifest.Xml());
        Open(caseFolder + "\\manifest.xml");
    }
    void Open(const CString& source) {
        dialog = std::make_unique<RecordingDialog>(source);
        ASSERT_TRUE(dialog->Create());
    }
    // Clicks 立即升级 and returns when the run is over; `visible` shows the dialog and has its
    // status label repainted every 100 ms.
    std::vector<RowEnd> Upgrade(bool visible = false) {
        m_statusLabel = dialog->GetDlgItem(IDC_STATIC_STATUS);
        const HWND watched[] = {dialog->m_listFiles, dialog->m_progress, m_statusLabel};
        for (HWND window : watched)
            ::SetWindowSubclass(window, Watch, 1, reinterpret_cast<DWORD_PTR>(this));
        if (visible) {
            dialog->ShowWindow(SW_SHOWNA);
            ::SetTimer(m_statusLabel, 1, 100, Invalidate);
        }
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_UPGRADE_NOW, BN_CLICKED));
        ::KillTimer(m_statusLabel, 1);
        for (HWND window : watched)
            ::RemoveWindowSubclass(window, Watch, 1);
        return std::move(m_rowEnds);
    }

    CString caseName;
    CString caseFolder;
    CString templateFolder;
    CString servedFolder;
    const std::string original = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    const std::string served = PatternBytes(20000, 7);
    std::unique_ptr<RecordingDialog> dialog;
    SeamRecorder seams;
    // Recorded during Upgrade: progress positions strictly between 0 and 100, and the status
    // text of each label paint.
    int midPositions = 0;
    std::vector<std::string> paintedTexts;

private:
    // A row starts when it gets the downloading image and ends when it gets another.
    static LRESULT CALLBACK Watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
        auto* fixture = reinterpret_cast<ManifestDialog*>(data);
        const auto* item = reinterpret_cast<const LVITEMA*>(lParam);
        if (message == LVM_SETITEMA && (item->mask & LVIF_IMAGE) && item->iImage == 1)
            fixture->m_rowStart = ::GetTickCount();
        else if (message == LVM_SETITEMA && (item->mask & LVIF_IMAGE))
            fixture->m_rowEnds.push_back(
                {item->iImage, uidriver::ControlText(*fixture->dialog, IDC_STATIC_STATUS),
                 ::GetTickCount() - fixture->m_rowStart});
        else if (message == PBM_SETPOS && wParam > 0 && wParam < 100)
            ++fixture->midPositions;
        else if (message == WM_PAINT && window == fixture->m_statusLabel)
            fixture->paintedTexts.push_back(
                uidriver::ControlText(*fixture->dialog, IDC_STATIC_STATUS));
        return ::DefSubclassProc(window, message, wParam, lParam);
    }

    HWND m_statusLabel = nullptr;
    DWORD m_rowStart = 0;
    std::vector<RowEnd> m_rowEnds;
};

// Installed files whose version text differs, in document order over every Files element at
// any depth, each file once whatever its spelling.
TEST_F(ManifestDialog, ListsInstalledFilesWhoseVersionTextDiffers) {
    for (const char* name :
         {"newer.exe", "same.exe", "older.exe", "padded.exe", "bare.exe", "中文.exe", "sub\\x.exe"})
        Install("version_1_2_3_4.exe", name);
    Install("no_version.exe", "plain.exe");
    // Length is read leniently: its leading number, nothing when there is none. Unsigned, Serial
    // and Expires mean nothing.
    Open(ManifestText("", "Serial=\"+1\" Expires=\"2000-01-01T00:00:00Z\"")
             .File(Name("newer.exe"), "1.2.3.5", "Length=\"  +1024xyz\"")
             .File(Name("same.exe"), "1.2.3.4", "Length=\"1\"")
             .File(Name("missing.exe"), "9.9.9.9", "Length=\"1\"")
             .File(Name("older.exe"), "1.0.0.0", "Length=\"abc\"")
             .File(Name("padded.exe"), "1.2.3.04", "Length=\"-1\"")
             .File(Name("plain.exe"), "1.0.0.0", "Length=\"1\"")
             .Entry("Version=\"9.0.0.0\"")
             .Entry("Name=\"" + Name("bare.exe").str() + "\"")
             // Other spellings of a listed file.
             .File(Name("NEWER.EXE"), "1.2.3.6")
             .File(Name("newer.exe."), "1.2.3.6")
             .File(caseName + "/newer.exe", "1.2.3.6")
             .Nested(ManifestText("").File(Name("中文.exe"), "5.0.0.0", "Length=\"52428800\""))
             .File(Name("sub\\x.exe"), "5.0.0.0", "Length=\"1023\""));
    const std::vector<std::vector<std::string>> expected = {
        {Name("newer.exe").str(), "1.2.3.5", "1.05 K"},
        {Name("older.exe").str(), "1.0.0.0", "0 Byte"},
        {Name("padded.exe").str(), "1.2.3.04", "4.04 G"},
        {Name("bare.exe").str(), "", "0 Byte"},
        {Name("中文.exe").str(), "5.0.0.0", "50.05 M"},
        {Name("sub\\x.exe").str(), "5.0.0.0", "1023 Byte"}};
    EXPECT_EQ(expected, uidriver::ListRows(dialog->m_listFiles));
}

// A file, or over HTTP; any other source tells the user that the update information could not be
// read and offers no upgrade.
TEST_F(ManifestDialog, ReadableAndUnreadableSources) {
    Install("version_1_2_3_4.exe", "a.exe");
    const std::string valid = ManifestText("s.exe").File(Name("a.exe"), "9.0.0.0").Xml();
    WriteBytes(caseFolder + "\\good.xml", valid);
    WriteBytes(servedFolder + "\\m.xml", valid);
    WriteBytes(caseFolder + "\\broken.xml", valid.substr(0, valid.size() / 2));
    ManifestText crowded("s.exe");
    for (long i = 0; i <= UpdateManifest::kMaxEntries; ++i)
        crowded.File(Name("a.exe"), "9.0.0.0");
    WriteBytes(caseFolder + "\\crowded.xml", crowded.Xml());
    const std::pair<CString, bool> sources[] = {
        {caseFolder + "\\good.xml", true},
        {Served("", "m.xml"), true},
        {caseFolder + "\\broken.xml", false},
        // One entry more than any real suite ships.
        {caseFolder + "\\crowded.xml", false},
        // The command line is used as it is: quotes are not taken off.
        {"\"" + caseFolder + "\\good.xml\"", false},
    };
    for (const auto& [source, readable] : sources) {
        SCOPED_TRACE(source.str());
        Open(source);
        EXPECT_EQ(readable ? 1 : 0, dialog->m_listFiles.GetItemCount());
        EXPECT_STREQ(readable ? "s.exe" : "", dialog->m_strStart);
        EXPECT_EQ(readable ? "文件下载进度"
                           : "无法读取升级信息，请检查网络连接后重新启动升级程序！",
                  uidriver::ControlText(*dialog, IDC_STATIC_STATUS));
        EXPECT_EQ(readable, uidriver::IsControlEnabled(*dialog, IDC_BUTTON_UPGRADE_NOW));
        EXPECT_EQ(0, dialog->okCalls);
    }
}

// Nothing to update ends the dialog at once; Start is launched only when it names a file inside
// the program folder, never one outside nor a folder.
TEST_F(ManifestDialog, NothingToUpdateEndsAtOnceAndStartsOnlyAFileOfTheFolder) {
    Install("version_1_2_3_4.exe", "a.exe");
    Install("no_version.exe", "start.exe");
    for (const CString& start :
         {Name("start.exe"), CString("..\\update_test_helper.exe"), caseName, CString()}) {
        Open(ManifestText(start.str().c_str()).File(Name("a.exe"), "1.2.3.4"));
        EXPECT_EQ(0, dialog->m_listFiles.GetItemCount()) << start;
        EXPECT_EQ(1, dialog->okCalls) << start;
        dialog->LaunchStart();
    }
    ASSERT_EQ(1u, seams.shellCalls.size());
    EXPECT_EQ((GetModuleDirectory() + Name("start.exe")).str(), seams.shellCalls[0].file);
    EXPECT_EQ(SW_SHOW, seams.shellCalls[0].show);
}

const char* const kReplaced = "%s完成更新！";

// One row of an upgrade run: the file, where its new bytes come from, more manifest attributes
// and the status text it ends with (%s: its Name; not checked when null: the platform's words).
struct Row {
    const char* name;
    CString url;
    std::string more;
    const char* text;
};

class Download : public ManifestDialog {
protected:
    // Installs each row's file at 1.2.3.4 and opens the dialog on a manifest offering 2.0.0.0.
    void Open(const std::vector<Row>& rows) {
        ManifestText manifest("");
        for (const Row& row : rows) {
            Install("version_1_2_3_4.exe", row.name);
            manifest.File(Name(row.name), "2.0.0.0",
                          (row.url.IsEmpty() ? "" : "URL=\"" + row.url.str() + "\" ") + row.more);
        }
        ManifestDialog::Open(manifest);
    }
    // Each row ended with its text; a replaced file holds the served bytes, any other the
    // installed ones, byte for byte.
    void Expect(const std::vector<Row>& rows, const std::vector<RowEnd>& ends) {
        ASSERT_EQ(rows.size(), ends.size());
        for (size_t i = 0; i < ends.size(); ++i) {
            SCOPED_TRACE(rows[i].name);
            const bool replaced = rows[i].text == kReplaced;
            if (rows[i].text) {
                CString text;
                text.Format(rows[i].text, static_cast<const char*>(Name(rows[i].name)));
                EXPECT_EQ(text.str(), ends[i].text);
            }
            EXPECT_EQ(replaced ? 2 : 3, ends[i].image);
            EXPECT_TRUE((replaced ? served : original) == ReadBytes(Installed(rows[i].name)));
        }
    }
};

// Whatever a server answers, a row either installs exactly the bytes the server meant to send
// or keeps the installed file, and its text says why; Template keeps nothing and the rows after
// a failure still run.
TEST_F(Download, EveryAnswerInstallsTheWholeFileOrKeepsTheInstalledOne) {
    const char* const incomplete = "下载文件：%s不完整，升级失败！";
    const char* const inUse = "%s为为只读文件或者正在被打开使用，升级失败！";
    const std::vector<Row> rows = {
        {"ftp.exe", "ftp://127.0.0.1/new.bin", "", "文件下载进度"},
        {"a.exe", Served(), "", kReplaced},
        // A negative length is none.
        {"minus.exe", Served(), "Length=\"-1\"", kReplaced},
        {"sub\\deep\\c.exe", Served("chunked/"), "Length=\"20000\"", kReplaced},
        {"gone.exe", Served("status/404/"), "", "您要下载的：%s文件不存在！"},
        {"e500.exe", Served("status/500/"), "",
         "您要下载的：%s服务器拒绝提供（状态 500），升级失败！"},
        // The folders made for a failed row go.
        {"made\\short.exe", Served("short/"), "", incomplete},
        // Only the last digit differs.
        {"bad.exe", Served(), "SHA256=\"" + kPatternSha256.substr(0, 63) + "9\"",
         "下载文件：%s校验失败，升级失败！"},
        // Nobody listens on port 1; the local server speaks no TLS, and plain HTTP is no fallback.
        {"refused.exe", "http://127.0.0.1:1/new.bin", "", "无法连接升级服务器！"},
        {"secure.exe", "https" + Served().Mid(4), "", "升级服务器的安全证书无效！"},
        {"held.exe", Served(), "", inUse},
        {"blocked\\x.exe", Served(), "", "本地创建下载文件：%s失败！"},
        // The last from this server: the body it sends after a 204 stays on the connection that
        // WinINet keeps for the next request.
        {"e204.exe", Served("status/204/"), "", incomplete},
    };
    Open(rows);
    WriteBytes(templateFolder + "\\blocked", "a file where a folder should be");
    WriteBytes(templateFolder + "\\gone.exe", "left by a killed run");
    WriteBytes(caseFolder + "\\updBEEF.tmp", "left by a killed run");
    CHandle held(::CreateFileA(Installed("held.exe"), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    Expect(rows, Upgrade());
    EXPECT_EQ("blocked sub", test_files::List(templateFolder.str()));
    EXPECT_EQ(std::string::npos, test_files::List(caseFolder.str()).find(".tmp"))
        << "a copy left beside";
    EXPECT_GT(midPositions, 0) << "the bar follows a download";
    EXPECT_FALSE(uidriver::IsControlEnabled(*dialog, IDC_BUTTON_UPGRADE_NOW));
}

// No server and no program holds a row beyond its limit (1 s here): a server that sends its head
// and then nothing, or never ends (3 s in all here), loses the row while the dialog keeps painting;
// a program that does not answer WM_CLOSE is given up and its file replaced. Only programs in the
// updater's folder are asked to close.
TEST_F(Download, NothingHoldsARowBeyondItsLimit) {
    const CString copy = Installed("holder.exe");
    ASSERT_TRUE(::CopyFileA(BuiltProgram("update_test_helper.exe"), copy, FALSE));
    const CString inside = caseFolder + "\\inside.mark";
    const CString outside = caseFolder + "\\outside.mark";
    uidriver::Process holder = StartHelper("windows", "UpdTestSameClass", 2, inside, copy);
    uidriver::Process stranger = StartHelper("windows", "UpdTestSameClass", 1, outside);
    uidriver::Process hung = StartHelper("hung", "UpdTestHung", 1, inside, copy);
    const char* const timedOut = "下载文件：%s时服务器长时间没有响应，升级失败！";
    const std::vector<Row> rows = {
        {"stall.exe", Served("stall/"), "", timedOut},
        {"endless.exe", Served("endless/"), "", timedOut},
        {"hung.exe", Served(), "Class=\"UpdTestHung\"", kReplaced},
        {"same.exe", Served(), "Class=\"UpdTestSameClass\"", kReplaced},
        {"again.exe", Served(), "Class=\"UpdTestSameClass\"", kReplaced},
    };
    Open(rows);
    dialog->m_limits.periodMs = 1000;
    dialog->m_limits.totalMs = 3000;
    dialog->m_dwCloseLimitMs = 1000;
    const std::vector<RowEnd> ends = Upgrade(true);
    Expect(rows, ends);
    // Only the endless answer may use the whole 3 s.
    for (size_t i = 0; i < ends.size(); ++i)
        EXPECT_LT(ends[i].ms, rows[i].url == Served("endless/") ? 3500u : 2500u) << ends[i].text;
    EXPECT_GE(std::count(paintedTexts.begin(), paintedTexts.end(),
                         "正在下载文件：" + Name("stall.exe").str()),
              4)
        << "paints seen: " << paintedTexts.size();
    // Both of the holder's windows, and none of the hung one's.
    EXPECT_EQ("closed\nclosed\n", ReadBytes(inside));
    EXPECT_EQ("", ReadBytes(outside)) << "a program outside the folder was asked to close";
    EXPECT_FALSE(stranger.WaitForExit(0).has_value());
}

} // namespace
