#pragma once

#include "framework/String.h"

// The running program's directory with its trailing backslash (empty when the path has
// none). Every file the programs use is this directory followed by a relative name.
CString GetModuleDirectory();
