#pragma once

#include <string>
#include <vector>

namespace jet_test {

// Runs a command and returns its standard output; throws when it fails.
std::string commandOutput(const std::string& command);

// mdb-export's rows of a table (header first), dates as YYYY-MM-DD hh:mm:ss, binary as hex.
std::vector<std::vector<std::string>> mdbExport(const std::string& file, const std::string& table);

std::vector<std::string> mdbTables(const std::string& file);

bool haveMdbTools();

} // namespace jet_test
