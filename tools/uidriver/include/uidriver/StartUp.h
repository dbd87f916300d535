#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uidriver {

// Milliseconds from starting `commandLine` until its dialog with `caption` is shown, the wait
// a user sees; looks every millisecond, so the figure is not rounded to the usual poll step.
// Then closes the dialog with Escape and waits for the program to end, so that one start does
// not overlap the next. Throws Error as Process::Start and WaitForDialog do.
double MillisecondsToDialog(const std::string& commandLine, const std::string& caption,
                            DWORD timeoutMs = 30000);

// The middle value of a non-empty list of figures (the upper middle one of an even count).
double Median(std::vector<double> figures);

} // namespace uidriver
