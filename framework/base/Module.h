#pragma once

#include <windows.h>

#include "framework/base/String.h"

// The running program's directory with its trailing backslash (empty when the path has
// none). Every file the programs use is this directory followed by a relative name.
CString GetModuleDirectory();

// The program's module, where its windows are registered and its resources are found.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
