#include "DialogFixture.h"

#include "framework/Module.h"

void DialogFixture::SetUp() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    caseName = CString(test->test_suite_name()) + "_" + test->name();
    caseFolder = GetModuleDirectory() + caseName;
    templateFolder = GetModuleDirectory() + "Template\\" + caseName;
    RemoveTree(caseFolder);
    RemoveTree(templateFolder);
    MakeFolder(caseFolder);
    MakeFolder(templateFolder);
}

void DialogFixture::TearDown() {
    RemoveTree(caseFolder);
    RemoveTree(templateFolder);
}

void DialogFixture::Install(const char* fixture, const char* name) {
    ASSERT_TRUE(::CopyFileA(BuiltProgram(fixture), Installed(name), FALSE)) << name;
}

CString DialogFixture::WriteManifest(const ManifestText& manifest) {
    const CString path = caseFolder + "\\manifest.xml";
    WriteBytes(path, manifest.Xml());
    return path;
}

std::vector<std::string> DialogFixture::Rows(RecordingDialog& dialog) {
    std::vector<std::string> rows;
    for (int row = 0; row < dialog.m_listFiles.GetItemCount(); ++row)
        rows.push_back(dialog.m_listFiles.GetItemText(row, 0).str() + "|" +
                       dialog.m_listFiles.GetItemText(row, 1).str() + "|" +
                       dialog.m_listFiles.GetItemText(row, 2).str());
    return rows;
}

int DialogFixture::RowImage(RecordingDialog& dialog, int row) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    dialog.m_listFiles.GetItem(&item);
    return item.iImage;
}

CString DialogFixture::Text(const CWnd& dialog, int id) {
    char text[1100] = {};
    ::GetDlgItemTextA(dialog.m_hWnd, id, text, sizeof(text));
    return text;
}
