// Start-up to the dialog shown: package (network check, configuration download, browser pane)
// against zipdex (database open, province tree), each started a few times in one run.
// Prints figures; asserts nothing. Usage: package_benchmark PACKAGE.EXE ZIPDEX.EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;

void Report(const char* name, const std::string& program, const char* caption, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(MillisecondsToDialog(QuoteArgument(program), caption));
    const auto [fastest, slowest] = std::minmax_element(times.begin(), times.end());
    std::printf(
        "%-8s start-up to dialog: median %.0f ms, fastest %.0f ms, slowest %.0f ms (%d runs)\n",
        name, Median(times), *fastest, *slowest, runs);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: package_benchmark PACKAGE.EXE ZIPDEX.EXE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    try {
        Report("package", argv[1], "快递包裹单查询器", runs);
        Report("zipdex", argv[2], "ruzuvadi", runs);
    } catch (const Error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
