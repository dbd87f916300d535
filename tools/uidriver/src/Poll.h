#pragma once

#include <windows.h>

#include <optional>

#include "uidriver/Window.h"

namespace uidriver {

// Calls `attempt` every `intervalMs` until it returns something true or `timeoutMs` has passed,
// and returns its last result. It always runs at least once.
template <class Attempt>
auto Poll(DWORD timeoutMs, Attempt&& attempt, DWORD intervalMs = kPollIntervalMs)
    -> decltype(attempt()) {
    const DWORD start = GetTickCount();
    for (;;) {
        auto result = attempt();
        if (result || GetTickCount() - start >= timeoutMs) {
            return result;
        }
        Sleep(intervalMs);
    }
}

// Like Poll, but gives up as soon as `process` (when not null) has ended, and then sets
// `exitCode`: waiting on for a window of a dead program would only burn the timeout.
template <class Attempt>
auto PollWhileRunning(DWORD timeoutMs, HANDLE process, std::optional<DWORD>& exitCode,
                      Attempt&& attempt, DWORD intervalMs = kPollIntervalMs)
    -> decltype(attempt()) {
    decltype(attempt()) result{};
    Poll(
        timeoutMs,
        [&] {
            result = attempt();
            if (!result && process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
                DWORD code = 0;
                GetExitCodeProcess(process, &code);
                exitCode = code;
            }
            return result || exitCode;
        },
        intervalMs);
    return result;
}

} // namespace uidriver
