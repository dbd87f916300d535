#include <windows.h>
#include <commctrl.h>

#include "framework/windows/App.h"
#include "LookupDialog.h"
#include "framework/base/Module.h"
#include "PostalDatabase.h"

namespace {

// The lookup program: one connection, one modal dialog, then the process ends.
class CLookupApp : public CWinApp {
public:
    const MessageMap* GetMessageMap() const override;
    BOOL InitInstance() override;
};

CLookupApp theApp;
// The one connection of the process, open from start-up to exit; every query runs on it.
CDatabase theDatabase;

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

} // namespace
