#include "DialogFixture.h"

#include <commctrl.h>

#include "framework/Module.h"
#include "UpdateRes.h"

namespace {

void CALLBACK Invalidate(HWND window, UINT, UINT_PTR, DWORD) {
    ::InvalidateRect(window, nullptr, TRUE);
}

} // namespace

void DialogFixture::SetUp() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    caseName = CString(test->test_suite_name()) + "_" + test->name();
    caseFolder = GetModuleDirectory() + caseName;
    templateFolder = GetModuleDirectory() + "Template\\" + caseName;
    servedFolder = ServedFolder() + caseName;
    for (const CString& folder : {caseFolder, templateFolder, servedFolder}) {
        RemoveTree(folder);
        MakeFolder(folder);
    }
    served = PatternBytes(20000, 7);
    WriteBytes(servedFolder + "\\new.bin", served);
}

void DialogFixture::TearDown() {
    dialog.reset();
    for (const CString& folder : {caseFolder, templateFolder, servedFolder})
        RemoveTree(folder);
}

void DialogFixture::Install(const char* fixture, const char* name) {
    const CString path = Installed(name);
    MakeFolder(path.Left(path.ReverseFind('\\')));
    ASSERT_TRUE(::CopyFileA(BuiltProgram(fixture), path, FALSE)) << name;
}

CString DialogFixture::Served(const char* prefix, const char* file) const {
    return ServerUrl(prefix + caseName + "/" + file);
}

void DialogFixture::Open(const ManifestText& manifest) {
    WriteBytes(caseFolder + "\\manifest.xml", manifest.Xml());
    Open(caseFolder + "\\manifest.xml");
}

void DialogFixture::Open(const CString& source) {
    dialog = std::make_unique<RecordingDialog>(source);
    ASSERT_TRUE(dialog->Create());
}

std::vector<RowEnd> DialogFixture::Upgrade(bool visible) {
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

// A row starts when it gets the downloading image and ends when it gets another.
LRESULT CALLBACK DialogFixture::Watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR data) {
    auto* fixture = reinterpret_cast<DialogFixture*>(data);
    const auto* item = reinterpret_cast<const LVITEMA*>(lParam);
    if (message == LVM_SETITEMA && (item->mask & LVIF_IMAGE) && item->iImage == 1)
        fixture->m_rowStart = ::GetTickCount();
    else if (message == LVM_SETITEMA && (item->mask & LVIF_IMAGE))
        fixture->m_rowEnds.push_back({item->iImage,
                                      uidriver::ControlText(*fixture->dialog, IDC_STATIC_STATUS),
                                      ::GetTickCount() - fixture->m_rowStart});
    else if (message == PBM_SETPOS)
        fixture->positions.push_back(static_cast<int>(wParam));
    else if (message == WM_PAINT && window == fixture->m_statusLabel)
        fixture->paintedTexts.push_back(uidriver::ControlText(*fixture->dialog, IDC_STATIC_STATUS));
    return ::DefSubclassProc(window, message, wParam, lParam);
}
