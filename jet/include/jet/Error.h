#pragma once

#include <stdexcept>
#include <string>

namespace jet {

// Every failure of the engine: a bad statement, a missing file, a damaged or foreign file.
// The message reads like a database driver's, in English.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace jet
