#include "uidriver/StartUp.h"

#include "uidriver/Controls.h"
#include "uidriver/Error.h"
#include "uidriver/Process.h"

#include <algorithm>

namespace uidriver {

namespace {

constexpr DWORD kTimingPollMs = 1;

} // namespace

double MillisecondsToDialog(const std::string& commandLine, const std::string& caption,
                            DWORD timeoutMs) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER shown;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Process process = Process::Start(commandLine);
    const HWND dialog = WaitForTopWindow(process.Id(), DialogCaption(caption), timeoutMs,
                                         process.Handle(), kTimingPollMs);
    QueryPerformanceCounter(&shown);
    PressKey(dialog, VK_ESCAPE);
    if (!process.WaitForExit()) {
        throw Error("\"" + commandLine + "\" did not end after Escape");
    }
    return 1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> figures) {
    if (figures.empty()) {
        throw Error("Median: no figures");
    }
    std::nth_element(figures.begin(), figures.begin() + figures.size() / 2, figures.end());
    return figures[figures.size() / 2];
}

} // namespace uidriver
