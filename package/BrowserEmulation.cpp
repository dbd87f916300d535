#include "BrowserEmulation.h"

#include "framework/windows/App.h"
#include "framework/base/ScopedHandle.h"

void ListForBrowserEmulation(CWinApp& app) {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const CString full(path);
    const CString name = full.Mid(full.ReverseFind('\\') + 1);
    CRegKey key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserEmulationKey, 0, nullptr, 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.Receive(),
                          nullptr) != ERROR_SUCCESS)
        return;
    if (::RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        return;
    const DWORD mode = kBrowserEmulationMode;
    if (::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode),
                         sizeof mode) == ERROR_SUCCESS)
        app.WriteProfileString(kEmulationSection, kEmulationEntry, name);
}
