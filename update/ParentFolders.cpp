#include "ParentFolders.h"

#include <windows.h>

ParentFolders::~ParentFolders() {
    for (auto folder = m_made.rbegin(); folder != m_made.rend(); ++folder)
        ::RemoveDirectoryA(*folder);
}

bool ParentFolders::Make(const char* root, const char* relativePath) {
    // Walked by characters, so that a GBK trail byte of 0x5C is never taken for a separator.
    for (const char* p = relativePath; *p; p = ::CharNextA(p)) {
        if (*p != '\\' && *p != '/')
            continue;
        const CString folder =
            CString(root) + CString(relativePath, static_cast<int>(p - relativePath));
        if (::CreateDirectoryA(folder, nullptr))
            m_made.push_back(folder);
        else if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}
