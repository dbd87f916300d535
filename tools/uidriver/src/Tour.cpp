#include "uidriver/Tour.h"

#include <cstdio>
#include <sstream>

#include "Poll.h"
#include "uidriver/Error.h"

namespace uidriver {

namespace {

constexpr DWORD kSettleMs = 300;

int ArgumentCount(const TourStep& step) {
    std::istringstream words(step.arguments);
    int count = 0;
    for (std::string word; words >> word;)
        ++count;
    return count;
}

} // namespace

int RunTour(const char* program, int argc, char** argv, const std::vector<TourStep>& steps) {
    const std::string name = argc > 1 ? argv[1] : "";
    for (const TourStep& step : steps) {
        if (name != step.name || argc - 2 != ArgumentCount(step))
            continue;
        try {
            step.run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", program, error.what());
            return 1;
        }
        Sleep(kSettleMs);
        return 0;
    }
    std::string usage = std::string("usage: ") + program;
    for (size_t i = 0; i < steps.size(); ++i)
        usage += std::string(i ? " | " : " ") + steps[i].name +
                 (*steps[i].arguments ? std::string(" ") + steps[i].arguments : "");
    std::fprintf(stderr, "%s\n", usage.c_str());
    return 2;
}

void WaitFor(const std::function<bool()>& done, DWORD timeoutMs, const std::string& what) {
    if (!Poll(timeoutMs, done))
        throw Error("timed out waiting for " + what);
}

} // namespace uidriver
