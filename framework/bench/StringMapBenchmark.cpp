// Filling and reading back the string map with 16 384 names made of the blocks "aZ" and "b9",
// which share one value under an unkeyed hash (h * 33 + c), against as many ordinary names
// of the same length. Prints figures; asserts nothing. Usage: string_map_benchmark [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/base/StringMap.h"

namespace {

constexpr int kBlocks = 14;

std::vector<std::string> CollidingNames() {
    std::vector<std::string> names;
    for (int bits = 0; bits < 1 << kBlocks; ++bits) {
        std::string name;
        for (int block = 0; block < kBlocks; ++block)
            name += bits >> block & 1 ? "aZ" : "b9";
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> OrdinaryNames() {
    std::vector<std::string> names;
    for (int i = 0; i < 1 << kBlocks; ++i) {
        const std::string number = std::to_string(i);
        names.push_back("express-" + std::string(2 * kBlocks - 8 - number.size(), 'x') + number);
    }
    return names;
}

// The fastest of the runs, in milliseconds, and the longest chain it left.
std::pair<double, int> Time(const std::vector<std::string>& names, int runs) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    double fastest = 1e30;
    int longest = 0;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        CMapStringToString map(10);
        for (const std::string& name : names)
            map.SetAt(name.c_str(), name.c_str());
        CString value;
        int found = 0;
        for (const std::string& name : names)
            found += map.Lookup(name.c_str(), value);
        ::QueryPerformanceCounter(&end);
        if (found != static_cast<int>(names.size()))
            std::fprintf(stderr, "lost %d names\n", static_cast<int>(names.size()) - found);
        fastest = std::min(fastest, 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                        static_cast<double>(frequency.QuadPart));
        longest = map.GetLongestChain();
    }
    return {fastest, longest};
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const auto [colliding, collidingChain] = Time(CollidingNames(), runs);
    const auto [ordinary, ordinaryChain] = Time(OrdinaryNames(), runs);
    std::printf("string map, %d names set and looked up, fastest of %d runs:\n", 1 << kBlocks,
                runs);
    std::printf("  built to collide  %8.1f ms, longest chain %d\n", colliding, collidingChain);
    std::printf("  ordinary          %8.1f ms, longest chain %d\n", ordinary, ordinaryChain);
    std::printf("  ratio             %8.2f\n", colliding / ordinary);
    return 0;
}
