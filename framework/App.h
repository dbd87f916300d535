#pragma once

#include <windows.h>

#include <functional>

#include "framework/MessageMap.h"
#include "framework/String.h"

class CWnd;

// The standard help command (F1 in a dialog sends it).
inline constexpr UINT ID_HELP = 0xE146;

// The application object (a later one stands in for an earlier one while it lives). The framework's
// WinMain calls InitInstance; when it returns FALSE the process ends without a message loop of its
// own.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* appName = nullptr);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    virtual BOOL InitInstance() { return TRUE; }
    virtual int Run();
    virtual int ExitInstance() { return 0; }

    // Runs the map's handler of a command that no window took; TRUE when there was one.
    BOOL OnCmdMsg(UINT id, UINT code);
    // Opens the help file with the shell; without one, does nothing.
    void OnHelp();

    // The name used as message box caption and as the settings' application key;
    // the program file's name without extension unless set.
    const CString& GetAppName() const { return m_strAppName; }
    void SetAppName(const char* name) { m_strAppName = name; }

    // From then on the profile lives in HKCU\Software\<key>\<app name>\<section>.
    void SetRegistryKey(const char* key);
    CString GetProfileString(const char* section, const char* entry,
                             const char* defaultValue = nullptr);
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);
    // The INI file used when no registry key is set: %APPDATA%\Lumivane\<program>.ini.
    void SetProfilePath(const char* path) { m_strProfilePath = path; }

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    const char* m_lpCmdLine = "";
    int m_nCmdShow = SW_SHOWNORMAL;
    // The program's path with the extension ".chm" unless set.
    CString m_strHelpFilePath;

private:
    CString ProfileKeyPath(const char* section) const;

    CWinApp* m_pPreviousApp;
    CString m_strAppName;
    CString m_strRegistryKey;
    CString m_strProfilePath;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// An OK box with the exclamation icon unless another is given, captioned with the
// application name and owned by the main window.
int AfxMessageBox(const char* text, UINT type = MB_OK);

// Replaces the real message box (tests record the text instead); returns the previous sink.
using MessageBoxSink = std::function<int(const CString& text, const CString& caption, UINT type)>;
MessageBoxSink AfxSetMessageBoxSink(MessageBoxSink sink);

// MessageBeep, behind a sink that tests replace to count the beeps; returns the previous sink.
void AfxMessageBeep(UINT type);
using MessageBeepSink = std::function<void(UINT type)>;
MessageBeepSink AfxSetMessageBeepSink(MessageBeepSink sink);

// Windows of the process may host ActiveX controls: OLE is initialised for the thread.
void AfxEnableControlContainer();
