#pragma once

#include "framework/base/String.h"

// "http://127.0.0.1:<port>/" + path on the local test server the fixture started.
CString LocalServerUrl(const char* path);
// The folder that server serves, with a trailing backslash.
CString LocalServerFolder();
