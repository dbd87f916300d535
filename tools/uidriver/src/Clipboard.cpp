#include "uidriver/Clipboard.h"

#include "Poll.h"
#include "uidriver/Error.h"

#include <cstring>

namespace uidriver {

namespace {

class OpenedClipboard {
public:
    explicit OpenedClipboard(DWORD timeoutMs) {
        if (!Poll(timeoutMs, [] { return OpenClipboard(nullptr) != FALSE; })) {
            ThrowLastError("cannot open the clipboard within " + std::to_string(timeoutMs) + " ms");
        }
    }
    ~OpenedClipboard() { CloseClipboard(); }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
};

} // namespace

std::optional<std::string> ClipboardText(DWORD timeoutMs) {
    OpenedClipboard clipboard(timeoutMs);
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) {
        return std::nullopt;
    }
    const auto* text = static_cast<const char*>(GlobalLock(data));
    if (!text) {
        ThrowLastError("cannot lock the clipboard's text");
    }
    // The block may be larger than the text, and a careless writer may leave out the NUL.
    const std::size_t size = GlobalSize(data);
    std::string result(text, strnlen(text, size));
    GlobalUnlock(data);
    return result;
}

} // namespace uidriver
