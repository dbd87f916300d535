#include "TestRegistryRoot.h"

TestRegistryRoot::TestRegistryRoot(const char* name)
    : m_path(std::string("Software\\LumivaneTest\\Controls\\") + name) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    ::RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &m_key, nullptr);
}

TestRegistryRoot::~TestRegistryRoot() {
    if (m_key)
        ::RegCloseKey(m_key);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
}

void TestRegistryRoot::CreateKey(const char* subKey) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(m_key, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        ::RegCloseKey(key);
}

void TestRegistryRoot::SetDefault(const char* subKey, const std::string& value) {
    SetDefaultBytes(subKey, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void TestRegistryRoot::SetDefaultBytes(const char* subKey, DWORD type, const void* data,
                                       DWORD size) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(m_key, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, nullptr, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}
