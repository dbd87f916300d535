#include "framework/windows/App.h"

#include <ole2.h>
#include <shlobj.h>

#include "framework/base/ScopedHandle.h"
#include "framework/base/Shell.h"
#include "framework/windows/Wnd.h"

namespace {

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

CWinApp::CWinApp(const char* appName) {
    const CString stem = ProgramPathStem();
    const CString baseName = stem.Mid(stem.ReverseFind('\\') + 1);
    SetAppName(appName ? appName : static_cast<const char*>(baseName));
    m_strHelpFilePath = stem + ".chm";
    m_strProfilePath = DefaultProfilePath(baseName);
}

CWinApp::~CWinApp() = default;

HWND CWinApp::GetMainWindow() const {
    return m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
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
    return "Software\\" + m_strRegistryKey + "\\" + GetAppName() + "\\" + section;
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
    // Every application context is a CWinApp; the base only keeps windows from depending on it.
    return static_cast<CWinApp*>(AfxGetAppContext());
}

void AfxEnableControlContainer() {
    // COM objects (the XML DOM, the browser) need OLE on the UI thread.
    static const HRESULT initialised = ::OleInitialize(nullptr);
    (void)initialised;
}
