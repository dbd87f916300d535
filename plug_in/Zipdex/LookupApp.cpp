#include "LookupApp.h"

#include <windows.h>
#include <commctrl.h>

#include "LookupDialog.h"
#include "PostalDatabase.h"
#include "framework/base/Module.h"

namespace {

// The one connection of the process, open from start-up to exit; every query runs on it.
CDatabase theDatabase;

} // namespace

const MessageMap* CLookupApp::GetMessageMap() const {
    static const MessageMap map(CWinApp::GetMessageMap(), {OnCommand<&CWinApp::OnHelp>(ID_HELP)});
    return &map;
}

BOOL CLookupApp::InitInstance() {
    ::InitCommonControls();
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    const CString path = GetModuleDirectory() + kPostalDatabaseName;
    CString problem;
    try {
        OpenPostalDatabase(theDatabase, path);
        problem = DescribeMissingPostalData(theDatabase);
    } catch (const CDBException& error) {
        problem = error.GetErrorMessage();
    }
    if (!problem.IsEmpty()) {
        // Every query needs the connection and the table, so the window is not shown without.
        AfxMessageBox("无法打开邮政编码数据库：\n" + path + "\n\n" + problem, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    CLookupDialog dialog(theDatabase);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
