#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "uidriver/Window.h"

namespace uidriver {

// The clipboard's CF_TEXT (GBK), or nothing when it holds no text. The clipboard may be
// held open by the program for a moment, so opening it is retried until the timeout.
std::optional<std::string> ClipboardText(DWORD timeoutMs = kDefaultTimeoutMs);

} // namespace uidriver
