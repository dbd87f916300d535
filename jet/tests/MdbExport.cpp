#include "MdbExport.h"

#include "jet/Csv.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace jet_test {

namespace {

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

std::string commandOutput(const std::string& command) {
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string output;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    if (pclose(pipe) != 0)
        throw std::runtime_error("command failed: " + command);
    return output;
}

std::vector<std::vector<std::string>> mdbExport(const std::string& file, const std::string& table) {
    const std::string format = shellQuoted("%Y-%m-%d %H:%M:%S");
    return jet::csv::parse(commandOutput("mdb-export -b hex -D " + format + " -T " + format + " " +
                                         shellQuoted(file) + " " + shellQuoted(table)));
}

std::vector<std::string> mdbTables(const std::string& file) {
    std::istringstream lines(commandOutput("mdb-tables -1 " + shellQuoted(file)));
    std::vector<std::string> names;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            names.push_back(line);
    return names;
}

bool haveMdbTools() {
    return std::system("mdb-export --version >/dev/null 2>&1") == 0;
}

} // namespace jet_test
