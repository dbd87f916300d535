#include "DialogFixture.h"

#include "Module.h"

void DialogFixture::SetUp() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    caseName = CString(test->test_suite_name()) + "_" + test->name();
    caseFolder = GetModuleDirectory() + caseName;
    templateFolder = GetModuleDirectory() + "Template\\" + caseName;
    RemoveTree(caseFolder);
    RemoveTree(templateFolder);
    MakeFolder(caseFolder);
    MakeFolder(templateFolder);
    ShellLauncher recorder;
    recorder.shellExecute = [this](HWND, const char* operation, const char* file,
                                   const char* parameters, const char* directory, int show) {
        launches.push_back({operation ? operation : "", file ? file : "", parameters != nullptr,
                            directory != nullptr, show});
        return reinterpret_cast<HINSTANCE>(42);
    };
    m_previousLauncher = AfxSetShellLauncher(recorder);
}

void DialogFixture::TearDown() {
    AfxSetShellLauncher(m_previousLauncher);
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
