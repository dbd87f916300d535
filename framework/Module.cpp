#include "framework/Module.h"

#include <windows.h>

CString GetModuleDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const CString full(path);
    return full.Left(full.ReverseFind('\\') + 1);
}
