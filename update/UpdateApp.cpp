#include "UpdateApp.h"

#include "BuiltInUpdateKey.h"
#include "UpdateDialog.h"

const MessageMap* CUpdateApp::GetMessageMap() const {
    static const MessageMap map(CWinApp::GetMessageMap(), {OnCommand<&CWinApp::OnHelp>(ID_HELP)});
    return &map;
}

BOOL CUpdateApp::InitInstance() {
    AfxEnableControlContainer();
    const CString manifestSource(m_lpCmdLine);
    CUpdateDialog dialog(manifestSource);
    dialog.m_pUpdateKey = kBuiltInUpdateKey;
    if (manifestSource.IsEmpty()) {
        AfxMessageBox("程序无法自动运行，请先启动主程序。", MB_OK);
        return FALSE;
    }
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    dialog.LaunchStart();
    return FALSE;
}
