#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace uidriver {

// One step of a demo run: `name` and its arguments on the command line, then `run`, which
// returns once the window shows the step's result so that a screenshot can follow.
struct TourStep {
    const char* name;
    const char* arguments; // for the usage text, e.g. "NAME"; empty when it takes none
    std::function<void(const std::vector<std::string>& arguments)> run;
};

// The main of a tour program: runs the step named by argv[1] with the arguments after it,
// then lets the window settle. 0 when it ran, 1 when it failed (said on stderr), 2 and the
// usage when no step fits.
int RunTour(const char* program, int argc, char** argv, const std::vector<TourStep>& steps);

// Polls `done` until it is true; throws Error naming `what` after the timeout.
void WaitFor(const std::function<bool()>& done, DWORD timeoutMs, const std::string& what);

} // namespace uidriver
