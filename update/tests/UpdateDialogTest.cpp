#include <windows.h>

#include "DialogFixture.h"
#include "framework/Module.h"
#include "UpdateItem.h"
#include "UpdateRes.h"

namespace {

using ManifestDialog = DialogFixture;

TEST_F(ManifestDialog, ListsInstalledFilesWhoseVersionTextDiffersInManifestOrder) {
    for (const char* name : {"newer.exe", "same.exe", "padded.exe", "second.exe"})
        Install("version_1_2_3_4.exe", name);
    Install("version_2_0_0_0.exe", "older.exe");
    Install("no_version.exe", "plain.exe");
    ManifestText manifest("start.exe");
    manifest.File(Name("newer.exe"), "1.2.3.5", "Length=\"1536\" Class=\"C\" URL=\"http://h/n\"")
        .File(Name("same.exe"), "1.2.3.4", "Length=\"1\"")
        .File(Name("missing.exe"), "9.9.9.9", "Length=\"1\"")
        .File(Name("older.exe"), "1.0.0.0", "Length=\"abc\"")
        .File(Name("padded.exe"), "1.2.3.04", "Length=\"-1\"")
        .File(Name("plain.exe"), "1.0.0.0", "Length=\"1\"")
        .NextFiles()
        .File(Name("second.exe"), "5.0.0.0", "Length=\"52428800\"");
    RecordingDialog dialog(WriteManifest(manifest));
    ASSERT_TRUE(dialog.Create());
    const std::vector<std::string> expected = {Name("newer.exe").str() + "|1.2.3.5|1.55 K",
                                               Name("older.exe").str() + "|1.0.0.0|0 Byte",
                                               Name("padded.exe").str() + "|1.2.3.04|4.04 G",
                                               Name("second.exe").str() + "|5.0.0.0|50.05 M"};
    EXPECT_EQ(expected, Rows(dialog));
    EXPECT_EQ(0, dialog.okCalls);
    EXPECT_STREQ("start.exe", dialog.m_strStart);
    EXPECT_EQ(0, RowImage(dialog, 0));
    const auto* item = reinterpret_cast<const UpdateItem*>(dialog.m_listFiles.GetItemData(0));
    ASSERT_TRUE(item);
    EXPECT_EQ("C|http://h/n", (item->Class + "|" + item->URL).str());
    EXPECT_EQ(1536, item->Length);

    dialog.DestroyWindow();
    ASSERT_EQ(1u, seams.shellCalls.size());
    const SeamRecorder::ShellCall& call = seams.shellCalls[0];
    EXPECT_EQ("open", call.operation);
    EXPECT_EQ((GetModuleDirectory() + "start.exe").str(), call.file);
    EXPECT_FALSE(call.hasParameters || call.hasDirectory);
    EXPECT_EQ(SW_SHOW, call.show);
}

TEST_F(ManifestDialog, UnreadableManifestLeavesAnEmptyOpenDialog) {
    WriteBytes(caseFolder + "\\broken.xml", "<Update Start=\"start.exe\"><Files>");
    for (const CString& source :
         {caseFolder + "\\broken.xml", caseFolder + "\\missing.xml",
          CString("http://127.0.0.1:1/manifest.xml"), "\"" + caseFolder + "\\broken.xml\""}) {
        RecordingDialog dialog(source);
        ASSERT_TRUE(dialog.Create());
        EXPECT_STREQ(source, dialog.m_strManifestSource);
        EXPECT_EQ(0, dialog.m_listFiles.GetItemCount()) << source;
        EXPECT_EQ(0, dialog.okCalls) << source;
        EXPECT_STREQ("", dialog.m_strStart);
        dialog.DestroyWindow();
    }
    EXPECT_TRUE(seams.shellCalls.empty());
}

// A safety net: the modal loop must end by itself, or the test fails instead of hanging.
RecordingDialog* g_stuckDialog = nullptr;
void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR, DWORD) {
    g_stuckDialog->EndDialog(IDCANCEL);
}

TEST_F(ManifestDialog, UpToDateManifestEndsAtOnceAndLaunchesStart) {
    Install("version_1_2_3_4.exe", "a.exe");
    Install("version_0_0_0_0.exe", "b.exe");
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

TEST_F(ManifestDialog, NamesOutsideTheProgramFolderAreNeverOffered) {
    Install("version_1_2_3_4.exe", "a.exe");
    ManifestText manifest("..\\outside.exe");
    for (const CString& name : {Installed("a.exe"), caseName + "\\..\\" + caseName + "\\a.exe",
                                Name("a.exe") + ":alt", CString("\\\\127.0.0.1\\c$\\a.exe")})
        manifest.File(name, "9.0.0.0");
    RecordingDialog dialog(WriteManifest(manifest));
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(0, dialog.m_listFiles.GetItemCount());
    EXPECT_EQ(1, dialog.okCalls);
    dialog.DestroyWindow();
    EXPECT_TRUE(seams.shellCalls.empty()) << "a Start outside the folder is never launched";
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

TEST_F(ManifestDialog, ManifestServedOverHttp) {
    Install("version_1_2_3_4.exe", "a.exe");
    Install("version_1_2_3_4.exe", "b.exe");
    const CString served = LocalServer::Folder() + caseName + ".xml";
    WriteBytes(
        served,
        ManifestText("s.exe").File(Name("a.exe"), "1.2.3.4").File(Name("b.exe"), "1.2.3.5").Xml());
    RecordingDialog dialog(LocalServer::Url(caseName + ".xml"));
    ASSERT_TRUE(dialog.Create());
    const std::vector<std::string> expected = {Name("b.exe").str() + "|1.2.3.5|0 Byte"};
    EXPECT_EQ(expected, Rows(dialog));
    EXPECT_STREQ("s.exe", dialog.m_strStart);
    dialog.DestroyWindow();
    ::DeleteFileA(served);
}

} // namespace
