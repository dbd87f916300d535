#pragma once

#include <windows.h>

#include <string>

// A key under HKEY_CURRENT_USER\Software\LumivaneTest\Controls\<name>, deleted with its tree
// when the object goes; it stands in for HKEY_CLASSES_ROOT in the association tests.
class TestRegistryRoot {
public:
    explicit TestRegistryRoot(const char* name);
    ~TestRegistryRoot();
    TestRegistryRoot(const TestRegistryRoot&) = delete;
    TestRegistryRoot& operator=(const TestRegistryRoot&) = delete;

    HKEY key() const { return m_key; }
    void CreateKey(const char* subKey);
    // Sets the default value of subKey (created if needed) to a string with its zero.
    void SetDefault(const char* subKey, const std::string& value);
    // Sets the default value of subKey to exactly these bytes, of any type.
    void SetDefaultBytes(const char* subKey, DWORD type, const void* data, DWORD size);

private:
    std::string m_path;
    HKEY m_key = nullptr;
};
