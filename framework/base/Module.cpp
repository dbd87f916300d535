#include "framework/base/Module.h"

#include <windows.h>

CString GetModuleDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const CString full(path);
    return full.Left(full.ReverseFind('\\') + 1);
}

HINSTANCE AfxGetInstanceHandle() {
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return ::GetModuleHandleA(nullptr);
}
