#include "AcceptedSerial.h"

#include <windows.h>

#include <charconv>
#include <cstring>
#include <string>

#include "ManifestSerial.h"
#include "UpdateRules.h"
#include "framework/base/File.h"
#include "framework/base/String.h"

bool ReadAcceptedSerial(const char* path, std::optional<std::uint64_t>& serial) {
    serial.reset();
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    std::string text;
    std::uint64_t value = 0;
    if (!ReadWholeFile(path, 20, text) || std::strlen(text.c_str()) != text.size() ||
        !ParseSerial(text.c_str(), value))
        return false;
    serial = value;
    return true;
}

bool WriteAcceptedSerial(const char* path, std::uint64_t serial) {
    const DWORD attributes = ::GetFileAttributesA(path);
    // Wine renames over a read-only file; Windows refuses, and so do we.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    char text[20] = {};
    const int length =
        static_cast<int>(std::to_chars(text, text + sizeof(text), serial).ptr - text);
    const CString temporary = CString(path) + ".new";
    CHandle file(::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const bool complete = file.IsValid() && ::WriteFile(file, text, length, &written, nullptr) &&
                          written == static_cast<DWORD>(length) && ::FlushFileBuffers(file);
    file.Reset();
    if (complete &&
        ::MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileA(temporary);
    return false;
}

const char* AdmitSignedManifest(const char* serialText, const char* expiresText, const char* path) {
    std::optional<std::uint64_t> remembered;
    // A store that cannot be read is no fresh installation: that would let any old manifest in.
    if (!ReadAcceptedSerial(path, remembered))
        return kSerialStoreFailedText;
    std::uint64_t serial = 0;
    switch (JudgeManifestSerial(serialText, expiresText, remembered, UtcNowSeconds(), serial)) {
    case SerialVerdict::Undated:
        return kManifestUndatedText;
    case SerialVerdict::Older:
        return kManifestOlderText;
    case SerialVerdict::Expired:
        return kManifestExpiredText;
    case SerialVerdict::Accepted:
        break;
    }
    // Raised before anything is listed: a number that cannot be kept lets nothing through.
    if (remembered != serial && !WriteAcceptedSerial(path, serial))
        return kSerialStoreFailedText;
    return nullptr;
}
