#include <windows.h>

#include "DialogFixture.h"
#include "framework/Module.h"
#include "UpdateItem.h"
#include "UpdateRes.h"

namespace {

using ManifestDialog = DialogFixture;

TEST_F(ManifestDialog, ListsInstalledFilesWhoseVersionTextDiffersInManifestOrder) {
    MakeFolder(caseFolder + "\\sub");
    for (const char* name : {"newer.exe", "same.exe", "padded.exe", "second.exe", "sub\\x.exe"})
        Install("version_1_2_3_4.exe", name);
    Install("version_2_0_0_0.exe", "older.exe");
    Install("no_version.exe", "plain.exe");
    ManifestText manifest(Name("plain.exe").str().c_str());
    manifest.File(Name("newer.exe"), "1.2.3.5", "Length=\"1536\" Class=\"C\" URL=\"http://h/n\"")
        .File(Name("same.exe"), "1.2.3.4", "Length=\"1\"")
        .File(Name("missing.exe"), "9.9.9.9", "Length=\"1\"")
        .File(Name("older.exe"), "1.0.0.0", "Length=\"abc\"")
        .File(Name("padded.exe"), "1.2.3.04", "Length=\"-1\"")
        .File(Name("plain.exe"), "1.0.0.0", "Length=\"1\"")
        // Other spellings of a listed file: never a second row.
        .File(Name("NEWER.EXE"), "1.2.3.6")
        .File(Name("newer.exe."), "1.2.3.6")
        .File(Name("newer.exe "), "1.2.3.6")
        .File(caseName + "/newer.exe", "1.2.3.6")
        .NextFiles()
        .File(Name("second.exe"), "5.0.0.0", "Length=\"52428800\"")
        .File(Name("sub\\x.exe"), "5.0.0.0");
    RecordingDialog dialog(WriteManifest(manifest));
    ASSERT_TRUE(dialog.Create());
    const std::vector<std::string> expected = {Name("newer.exe").str() + "|1.2.3.5|1.55 K",
                                               Name("older.exe").str() + "|1.0.0.0|0 Byte",
                                               Name("padded.exe").str() + "|1.2.3.04|4.04 G",
                                               Name("second.exe").str() + "|5.0.0.0|50.05 M",
                                               Name("sub\\x.exe").str() + "|5.0.0.0|0 Byte"};
    EXPECT_EQ(expected, Rows(dialog));
    EXPECT_EQ(0, dialog.okCalls);
    EXPECT_STREQ(Name("plain.exe"), dialog.m_strStart);
    EXPECT_EQ(0, RowImage(dialog, 0));
    const auto* item = reinterpret_cast<const UpdateItem*>(dialog.m_listFiles.GetItemData(0));
    ASSERT_TRUE(item);
    EXPECT_EQ("C|http://h/n", (item->Class + "|" + item->URL).str());
    EXPECT_EQ(1536, item->Length);

    dialog.DestroyWindow();
    ASSERT_EQ(1u, seams.shellCalls.size());
    const SeamRecorder::ShellCall& call = seams.shellCalls[0];
    EXPECT_EQ("open", call.operation);
    EXPECT_EQ((GetModuleDirectory() + Name("plain.exe")).str(), call.file);
    EXPECT_FALSE(call.hasParameters || call.hasDirectory);
    EXPECT_EQ(SW_SHOW, call.show);
}

// Whatever the reason, the user is told that the update information could not be read, and
// there is nothing to start.
TEST_F(ManifestDialog, UnreadableManifestSaysSoAndOffersNoUpgrade) {
    const std::string valid = ManifestText("s.exe").File(Name("a.exe"), "9.0.0.0").Xml();
    Install("version_1_2_3_4.exe", "a.exe");
    WriteBytes(caseFolder + "\\broken.xml", "<Update Start=\"start.exe\"><Files>");
    WriteBytes(caseFolder + "\\page.xml", "<html><body><p>Files</p></body></html>");
    WriteBytes(LocalServer::Folder() + caseName + ".xml", valid);
    const CString name = caseName + ".xml";
    for (const CString& source :
         {caseFolder + "\\broken.xml", caseFolder + "\\missing.xml", caseFolder + "\\page.xml",
          "\"" + caseFolder + "\\broken.xml\"", CString("http://127.0.0.1:1/manifest.xml"),
          LocalServer::Url("status/404/" + name), LocalServer::Url("status/500/" + name),
          LocalServer::Url("redirecthost/" + name), LocalServer::Url("cut/" + name)}) {
        RecordingDialog dialog(source);
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(0, dialog.m_listFiles.GetItemCount()) << source;
        EXPECT_EQ(0, dialog.okCalls) << source;
        EXPECT_STREQ(kManifestUnreadableText, Text(dialog, IDC_STATIC_STATUS)) << source;
        EXPECT_FALSE(::IsWindowEnabled(dialog.GetDlgItem(IDC_BUTTON_UPGRADE_NOW))) << source;
        dialog.DestroyWindow();
    }
    EXPECT_TRUE(seams.shellCalls.empty());
    ::DeleteFileA(LocalServer::Folder() + name);
}

// A safety net: the modal loop must end by itself, or the test fails instead of hanging.
RecordingDialog* g_stuckDialog = nullptr;
void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR, DWORD) {
    g_stuckDialog->EndDialog(IDCANCEL);
}

TEST_F(ManifestDialog, UpToDateManifestEndsAtOnceAndLaunchesStart) {
    Install("version_1_2_3_4.exe", "a.exe");
    Install("version_0_0_0_0.exe", "b.exe");
    Install("no_version.exe", "start.exe");
    RecordingDialog dialog(WriteManifest(ManifestText(Name("start.exe").str().c_str())
                                             .File(Name("a.exe"), "1.2.3.4")
                                             .File(Name("b.exe"), "0.0.0.0")
                                             .File(Name("absent.exe"), "1.0.0.0")));
    g_stuckDialog = &dialog;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10000, EndStuckDialog);
    EXPECT_EQ(IDOK, dialog.DoModal());
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(1, dialog.okCalls);
    ASSERT_EQ(1u, seams.shellCalls.size());
    EXPECT_EQ((GetModuleDirectory() + Name("start.exe")).str(), seams.shellCalls[0].file);
}

// Nor is a Start outside the folder or one that names a folder ever launched.
TEST_F(ManifestDialog, NamesOutsideTheProgramFolderAreNeverOffered) {
    Install("version_1_2_3_4.exe", "a.exe");
    for (const CString& start : {CString("..\\outside.exe"), caseName}) {
        ManifestText manifest(start.str().c_str());
        for (const CString& name : {Installed("a.exe"), caseName + "\\..\\" + caseName + "\\a.exe",
                                    Name("a.exe") + ":alt", CString("\\\\127.0.0.1\\c$\\a.exe")})
            manifest.File(name, "9.0.0.0");
        RecordingDialog dialog(WriteManifest(manifest));
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(0, dialog.m_listFiles.GetItemCount());
        EXPECT_EQ(1, dialog.okCalls);
        dialog.DestroyWindow();
    }
    EXPECT_TRUE(seams.shellCalls.empty());
}

TEST_F(ManifestDialog, EntriesWithMissingAttributesAndNoStart) {
    Install("version_1_2_3_4.exe", "a.exe");
    RecordingDialog dialog(WriteManifest(ManifestText("")
                                             .Entry("Version=\"9.0.0.0\"")
                                             .Entry("Name=\"" + Name("a.exe").str() + "\"")));
    ASSERT_TRUE(dialog.Create());
    const std::vector<std::string> expected = {Name("a.exe").str() + "||0 Byte"};
    EXPECT_EQ(expected, Rows(dialog));

    // No URL: the row fails without a word.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_UPGRADE_NOW, BN_CLICKED));
    EXPECT_EQ(3, RowImage(dialog, 0));
    EXPECT_STREQ("文件下载进度", Text(dialog, IDC_STATIC_STATUS));
    EXPECT_STREQ("完成", Text(dialog, IDOK));
    EXPECT_FALSE(::IsWindowEnabled(dialog.GetDlgItem(IDC_BUTTON_UPGRADE_NOW)));
    dialog.DestroyWindow();
    EXPECT_TRUE(seams.shellCalls.empty()) << "an empty Start launches nothing";
}

// Straight, in chunks, or through a redirect on the same host.
TEST_F(ManifestDialog, ManifestServedOverHttp) {
    Install("version_1_2_3_4.exe", "a.exe");
    Install("version_1_2_3_4.exe", "b.exe");
    const CString served = LocalServer::Folder() + caseName + ".xml";
    WriteBytes(
        served,
        ManifestText("s.exe").File(Name("a.exe"), "1.2.3.4").File(Name("b.exe"), "1.2.3.5").Xml());
    for (const char* prefix : {"", "chunked/", "redirect/"}) {
        RecordingDialog dialog(LocalServer::Url(prefix + caseName + ".xml"));
        ASSERT_TRUE(dialog.Create());
        const std::vector<std::string> expected = {Name("b.exe").str() + "|1.2.3.5|0 Byte"};
        EXPECT_EQ(expected, Rows(dialog)) << prefix;
        EXPECT_STREQ("s.exe", dialog.m_strStart);
        dialog.DestroyWindow();
    }
    ::DeleteFileA(served);
}

} // namespace
