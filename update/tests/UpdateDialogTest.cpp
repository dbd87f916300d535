#include <windows.h>

#include "DialogFixture.h"
#include "Module.h"
#include "UpdateItem.h"
#include "UpdateRes.h"

namespace {

using ManifestDialog = DialogFixture;

CString ControlText(const CWnd& dialog, int id) {
    char text[512] = {};
    ::GetDlgItemTextA(dialog.m_hWnd, id, text, sizeof(text));
    return text;
}

TEST_F(ManifestDialog, ListsInstalledFilesWhoseVersionTextDiffersInManifestOrder) {
    Install("version_1_2_3_4.exe", "newer.exe");
    Install("version_1_2_3_4.exe", "same.exe");
    Install("version_2_0_0_0.exe", "older.exe");
    Install("version_1_2_3_4.exe", "padded.exe");
    Install("no_version.exe", "plain.exe");
    Install("version_1_2_3_4.exe", "second.exe");
    ManifestText manifest("start.exe");
    manifest
        .Entry("Name=\"" + Name("newer.exe").str() +
               "\" Version=\"1.2.3.5\" Length=\"1536\" Class=\"C\" URL=\"http://h/n\"")
        .Entry("Name=\"" + Name("same.exe").str() + "\" Version=\"1.2.3.4\" Length=\"1\"")
        .Entry("Name=\"" + Name("missing.exe").str() + "\" Version=\"9.9.9.9\" Length=\"1\"")
        .Entry("Name=\"" + Name("older.exe").str() + "\" Version=\"1.0.0.0\" Length=\"abc\"")
        .Entry("Name=\"" + Name("padded.exe").str() + "\" Version=\"1.2.3.04\" Length=\"-1\"")
        .Entry("Name=\"" + Name("plain.exe").str() + "\" Version=\"1.0.0.0\" Length=\"1\"")
        .NextFiles()
        .Entry("Name=\"" + Name("second.exe").str() + "\" Version=\"5.0.0.0\" Length=\"52428800\"");
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
    EXPECT_STREQ("C", item->Class);
    EXPECT_STREQ("http://h/n", item->URL);
    EXPECT_EQ(1536, item->Length);

    dialog.DestroyWindow();
    ASSERT_EQ(1u, seams.shellCalls.size());
    EXPECT_EQ("open", seams.shellCalls[0].operation);
    EXPECT_EQ((GetModuleDirectory() + "start.exe").str(), seams.shellCalls[0].file);
    EXPECT_FALSE(seams.shellCalls[0].hasParameters);
    EXPECT_FALSE(seams.shellCalls[0].hasDirectory);
    EXPECT_EQ(SW_SHOW, seams.shellCalls[0].show);
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
bool g_timedOut = false;
void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR, DWORD) {
    g_timedOut = true;
    if (g_stuckDialog)
        g_stuckDialog->EndDialog(IDCANCEL);
}

TEST_F(ManifestDialog, UpToDateManifestEndsAtOnceAndLaunchesStart) {
    Install("version_1_2_3_4.exe", "a.exe");
    Install("version_0_0_0_0.exe", "b.exe");
    RecordingDialog dialog(
        WriteManifest(ManifestText(Name("start.exe").str().c_str())
                          .Entry("Name=\"" + Name("a.exe").str() + "\" Version=\"1.2.3.4\"")
                          .Entry("Name=\"" + Name("b.exe").str() + "\" Version=\"0.0.0.0\"")
                          .Entry("Name=\"" + Name("absent.exe").str() + "\" Version=\"1.0.0.0\"")));
    g_stuckDialog = &dialog;
    g_timedOut = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10000, EndStuckDialog);
    EXPECT_EQ(IDOK, dialog.DoModal());
    ::KillTimer(nullptr, timer);
    g_stuckDialog = nullptr;
    EXPECT_FALSE(g_timedOut);
    EXPECT_EQ(1, dialog.okCalls);
    ASSERT_EQ(1u, seams.shellCalls.size());
    EXPECT_EQ((GetModuleDirectory() + Name("start.exe")).str(), seams.shellCalls[0].file);
}

TEST_F(ManifestDialog, NamesOutsideTheProgramFolderAreNeverOffered) {
    Install("version_1_2_3_4.exe", "a.exe");
    const CString absolute = Installed("a.exe");
    const CString climbing = caseName + "\\..\\" + caseName + "\\a.exe";
    const CString stream = Name("a.exe") + ":alt";
    ManifestText manifest("..\\outside.exe");
    for (const CString& name : {absolute, climbing, stream, CString("\\\\127.0.0.1\\c$\\a.exe")})
        manifest.Entry("Name=\"" + name.str() + "\" Version=\"9.0.0.0\"");
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
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDB_UPGRADE_NOW, BN_CLICKED));
    EXPECT_EQ(3, RowImage(dialog, 0));
    EXPECT_STREQ("文件下载进度", ControlText(dialog, IDT_STATUS));
    EXPECT_STREQ("完成", ControlText(dialog, IDOK));
    EXPECT_FALSE(::IsWindowEnabled(dialog.GetDlgItem(IDB_UPGRADE_NOW)));
    dialog.DestroyWindow();
    EXPECT_TRUE(seams.shellCalls.empty()) << "an empty Start launches nothing";
}

TEST_F(ManifestDialog, ManifestServedOverHttp) {
    Install("version_1_2_3_4.exe", "a.exe");
    Install("version_1_2_3_4.exe", "b.exe");
    const CString served = LocalServer::Folder() + caseName + ".xml";
    WriteBytes(served, ManifestText("s.exe")
                           .Entry("Name=\"" + Name("a.exe").str() + "\" Version=\"1.2.3.4\"")
                           .Entry("Name=\"" + Name("b.exe").str() + "\" Version=\"1.2.3.5\"")
                           .Xml());
    RecordingDialog dialog(LocalServer::Url(caseName + ".xml"));
    ASSERT_TRUE(dialog.Create());
    const std::vector<std::string> expected = {Name("b.exe").str() + "|1.2.3.5|0 Byte"};
    EXPECT_EQ(expected, Rows(dialog));
    EXPECT_STREQ("s.exe", dialog.m_strStart);
    dialog.DestroyWindow();
    ::DeleteFileA(served);
}

} // namespace
