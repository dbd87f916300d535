#pragma once

#include <windows.h>

#include "framework/windows/AppContext.h"
// What a program uses beside its application object: message boxes, its module's handles.
#include "framework/windows/MessageBox.h"
#include "framework/base/Module.h"
#include "framework/base/String.h"

class CWnd;

// The application object (a later one stands in for an earlier one while it lives). The framework's
// WinMain calls InitInstance, which does all of the program's work (its modal dialog's loop is the
// process's only loop); the process ends when it returns.
class CWinApp : public CAppContext {
public:
    // Without a name, the program file's name without extension is the application's name.
    explicit CWinApp(const char* appName = nullptr);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    ~CWinApp() override;

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    // Opens the help file with the shell; without one, does nothing.
    void OnHelp();

    HWND GetMainWindow() const override;

    // From then on the profile lives in HKCU\Software\<key>\<app name>\<section>.
    void SetRegistryKey(const char* key);
    CString GetProfileString(const char* section, const char* entry,
                             const char* defaultValue = nullptr);
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);
    // The INI file used when no registry key is set: %APPDATA%\Lumivane\<program>.ini.
    void SetProfilePath(const char* path) { m_strProfilePath = path; }

    CWnd* m_pMainWnd = nullptr;
    const char* m_lpCmdLine = "";
    // The program's path with the extension ".chm" unless set.
    CString m_strHelpFilePath;

private:
    CString ProfileKeyPath(const char* section) const;

    CString m_strRegistryKey;
    CString m_strProfilePath;
};

CWinApp* AfxGetApp();

// Windows of the process may host ActiveX controls: OLE is initialised for the thread.
void AfxEnableControlContainer();
