#include "uidriver/Process.h"

#include "uidriver/Error.h"

#include <utility>
#include <vector>

namespace uidriver {

namespace {

constexpr DWORD kKillTimeoutMs = 5000;

ScopedHandle OpenNul() {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    ScopedHandle nul(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                                 nullptr));
    if (!nul) {
        ThrowLastError("cannot open NUL for the child's standard handles");
    }
    return nul;
}

} // namespace

Process Process::Start(const std::string& commandLine, const std::string& workingDirectory) {
    if (commandLine.empty()) {
        throw Error("Process::Start: empty command line");
    }
    ScopedHandle nul = OpenNul();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul.Get();
    startup.hStdOutput = nul.Get();
    startup.hStdError = nul.Get();

    // CreateProcessA may write into the command line.
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                        &info)) {
        ThrowLastError("cannot start \"" + commandLine + "\" in \"" + workingDirectory + "\"");
    }
    CloseHandle(info.hThread);
    return Process(ScopedHandle(info.hProcess), info.dwProcessId);
}

Process::~Process() {
    Kill();
}

Process::Process(Process&& other) noexcept
    : handle_(std::move(other.handle_)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        handle_ = std::move(other.handle_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

bool Process::IsRunning() const {
    return handle_ && WaitForSingleObject(handle_.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(DWORD timeoutMs) const {
    if (!handle_) {
        throw Error("Process::WaitForExit: no process");
    }
    if (WaitForSingleObject(handle_.Get(), timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(handle_.Get(), &code)) {
        ThrowLastError("GetExitCodeProcess failed for process " + std::to_string(id_));
    }
    return code;
}

void Process::Kill() {
    if (IsRunning()) {
        TerminateProcess(handle_.Get(), 1);
        WaitForSingleObject(handle_.Get(), kKillTimeoutMs);
    }
}

HWND Process::WaitForWindow(const WindowMatch& match, DWORD timeoutMs) const {
    return WaitForTopWindow(id_, match, timeoutMs, handle_.Get());
}

HWND Process::WaitForDialog(const std::string& caption, DWORD timeoutMs) const {
    return WaitForWindow(DialogCaption(caption), timeoutMs);
}

MessageBoxInfo Process::WaitForMessageBox(DWORD timeoutMs) const {
    return uidriver::WaitForMessageBox(id_, timeoutMs, handle_.Get());
}

std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        return argument;
    }
    // The rules of CommandLineToArgvW: backslashes double only before a quote.
    // A GBK trail byte may be 0x5C; it is part of its character, not a backslash.
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        const char c = argument[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < argument.size()) {
            quoted.append(backslashes, '\\');
            backslashes = 0;
            quoted += c;
            quoted += argument[++i];
            continue;
        }
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string ExecutableDirectory() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            ThrowLastError("GetModuleFileNameA failed");
        }
        if (length < path.size()) {
            std::size_t lastSeparator = 0;
            for (std::size_t i = 0; i < length; ++i) {
                if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
                    ++i;
                } else if (path[i] == '\\' || path[i] == '/') {
                    lastSeparator = i;
                }
            }
            return std::string(path.data(), lastSeparator);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace uidriver
