#pragma once

#include <cstdint>
#include <optional>

// The highest Serial an installation accepted lives in a file beside its update.exe: it moves,
// is copied and goes with the installation's folder, which the updater must be able to write
// anyway to install anything.
constexpr const char* kAcceptedSerialFile = "update.serial";

// True with nothing in `serial` when there is no such file (a fresh installation); false when
// it is there but cannot be read or holds no serial.
bool ReadAcceptedSerial(const char* path, std::optional<std::uint64_t>& serial);

// Replaces the file whole or not at all; false when it cannot, also when it is read-only.
bool WriteAcceptedSerial(const char* path, std::uint64_t serial);

// Null when a manifest whose signature holds may be listed, its Serial then remembered in the
// file `path`; otherwise the status text that says why not.
const char* AdmitSignedManifest(const char* serialText, const char* expiresText, const char* path);
