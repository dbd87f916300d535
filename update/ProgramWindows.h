#pragma once

// Asks every top-level window of `windowClass` in other processes to close (WM_CLOSE),
// until none is left or a window has been asked `maxRequests` times in all. An empty
// class closes nothing. Returns the number of WM_CLOSE messages sent.
int CloseProgramWindows(const char* windowClass, int maxRequests = 20);
