#pragma once

#include <stdexcept>
#include <string>

namespace uidriver {

// Every failure of the driver: a missing window or control, a timeout, a refused Win32 call.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws Error with `what` and the calling thread's last Win32 error code.
[[noreturn]] void ThrowLastError(const std::string& what);

} // namespace uidriver
