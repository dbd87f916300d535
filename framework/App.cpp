#include "framework/App.h"

#include <ole2.h>
#include <shlobj.h>

#include "framework/MessagePump.h"
#include "framework/Module.h"
#include "framework/ScopedHandle.h"
#include "framework/Shell.h"
#include "framework/Wnd.h"

namespace {

CWinApp* g_pApp = nullptr;
MessageBoxSink g_messageBoxSink;
MessageBeepSink g_messageBeepSink;

// The program's path without its extension.
CString ProgramPathStem() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const CString name(path);
    const int dot = name.ReverseFind('.');
    return dot > name.ReverseFind('\\') ? name.Left(dot) : name;
}

CString DefaultProfilePath(const CString& baseName) {
    char appData[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData)))
        return baseName + ".ini";
    return CString(appData) + "\\Lumivane\\" + baseName + ".ini";
}

} // namespace

CWinApp::CWinApp(const char* appName) : m_pPreviousApp(g_pApp) {
    g_pApp = this;
    const CString stem = ProgramPathStem();
    const CString baseName = stem.Mid(stem.ReverseFind('\\') + 1);
    m_strAppName = appName ? CString(appName) : baseName;
    m_strHelpFilePath = stem + ".chm";
    m_strProfilePath = DefaultProfilePath(baseName);
    m_hInstance = ::GetModuleHandleA(nullptr);
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = m_pPreviousApp;
}

int CWinApp::Run() {
    AfxPumpMessagesUntil([] { return false; });
    return ExitInstance();
}

BOOL CWinApp::OnCmdMsg(UINT id, UINT code) {
    const MessageEntry* entry = GetMessageMap()->FindControl(MessageKind::Command, code, id);
    if (!entry)
        return FALSE;
    entry->invoke(this, WM_COMMAND, MAKEWPARAM(id, code), 0);
    return TRUE;
}

void CWinApp::OnHelp() {
    if (::GetFileAttributesA(m_strHelpFilePath) == INVALID_FILE_ATTRIBUTES)
        return;
    const HWND owner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    AfxShellExecute(owner, "open", m_strHelpFilePath, nullptr, nullptr, SW_SHOWNORMAL);
}

void CWinApp::SetRegistryKey(const char* key) {
    m_strRegistryKey = key;
}

CString CWinApp::ProfileKeyPath(const char* section) const {
    return "Software\\" + m_strRegistryKey + "\\" + m_strAppName + "\\" + section;
}

CString CWinApp::GetProfileString(const char* section, const char* entry,
                                  const char* defaultValue) {
    const CString fallback(defaultValue);
    if (m_strRegistryKey.IsEmpty()) {
        CString value;
        const DWORD capacity = 4096;
        const DWORD length = ::GetPrivateProfileStringA(
            section, entry, fallback, value.GetBuffer(capacity), capacity, m_strProfilePath);
        value.ReleaseBuffer(static_cast<int>(length));
        return value;
    }
    CRegKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, ProfileKeyPath(section), 0, KEY_QUERY_VALUE,
                        key.Receive()) != ERROR_SUCCESS)
        return fallback;
    DWORD type = 0;
    DWORD size = 0;
    CString value = fallback;
    if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        CString stored;
        if (::RegQueryValueExA(key, entry, nullptr, nullptr,
                               reinterpret_cast<BYTE*>(stored.GetBuffer(static_cast<int>(size))),
                               &size) == ERROR_SUCCESS) {
            stored.ReleaseBuffer();
            value = stored;
        }
    }
    return value;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
    if (m_strRegistryKey.IsEmpty()) {
        const int slash = m_strProfilePath.ReverseFind('\\');
        if (slash > 0)
            ::SHCreateDirectoryExA(nullptr, m_strProfilePath.Left(slash), nullptr);
        return ::WritePrivateProfileStringA(section, entry, value, m_strProfilePath);
    }
    CRegKey key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, ProfileKeyPath(section), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return FALSE;
    LONG status = ERROR_SUCCESS;
    if (value)
        status = ::RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                  static_cast<DWORD>(lstrlenA(value) + 1));
    else
        ::RegDeleteValueA(key, entry);
    return status == ERROR_SUCCESS;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle() {
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return ::GetModuleHandleA(nullptr);
}

MessageBoxSink AfxSetMessageBoxSink(MessageBoxSink sink) {
    MessageBoxSink previous = std::move(g_messageBoxSink);
    g_messageBoxSink = std::move(sink);
    return previous;
}

int AfxMessageBox(const char* text, UINT type) {
    if ((type & MB_ICONMASK) == 0 &&
        ((type & MB_TYPEMASK) == MB_OK || (type & MB_TYPEMASK) == MB_OKCANCEL))
        type |= MB_ICONEXCLAMATION;
    CWinApp* app = AfxGetApp();
    const CString caption = app ? app->GetAppName() : CString();
    if (g_messageBoxSink)
        return g_messageBoxSink(text, caption, type);
    HWND owner = nullptr;
    if (app && app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd))
        owner = ::GetLastActivePopup(app->m_pMainWnd->m_hWnd);
    return ::MessageBoxA(owner, text, caption, type);
}

MessageBeepSink AfxSetMessageBeepSink(MessageBeepSink sink) {
    MessageBeepSink previous = std::move(g_messageBeepSink);
    g_messageBeepSink = std::move(sink);
    return previous;
}

void AfxMessageBeep(UINT type) {
    if (g_messageBeepSink)
        g_messageBeepSink(type);
    else
        ::MessageBeep(type);
}

void AfxEnableControlContainer() {
    // COM objects (the XML DOM, the browser) need OLE on the UI thread.
    static const HRESULT initialised = ::OleInitialize(nullptr);
    (void)initialised;
}
