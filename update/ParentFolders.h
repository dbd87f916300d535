#pragma once

#include <vector>

#include "framework/base/String.h"

// The folders that one row makes for its file under Template\: those it made go again when it
// fails (unless something was put in them since), and stay once it keeps them.
class ParentFolders {
public:
    ParentFolders() = default;
    ParentFolders(const ParentFolders&) = delete;
    ParentFolders& operator=(const ParentFolders&) = delete;
    ~ParentFolders();

    // Creates the folders of `relativePath` (all but its last element) under `root`, which ends
    // in a backslash and must exist. False when one cannot be made.
    bool Make(const char* root, const char* relativePath);
    void Keep() { m_made.clear(); }

private:
    std::vector<CString> m_made;
};
