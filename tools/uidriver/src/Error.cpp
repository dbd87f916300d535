#include "uidriver/Error.h"

#include <windows.h>

namespace uidriver {

void ThrowLastError(const std::string& what) {
    const DWORD code = GetLastError();
    throw Error(what + " (error " + std::to_string(code) + ")");
}

} // namespace uidriver
