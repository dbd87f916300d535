#pragma once

#include <windows.h>

// Asks the top-level windows of `windowClass` that belong to other programs whose executable
// lies in `folder` (a path ending in a backslash) or below it to close (WM_CLOSE), until none
// is left, `limitMs` have passed or `maxRequests` were sent. A window that does not answer is
// given up, never waited on beyond the limit. An empty class closes nothing. Returns the
// number of WM_CLOSE messages sent.
int CloseProgramWindows(const char* windowClass, const char* folder, DWORD limitMs = 5000,
                        int maxRequests = 20);
