#pragma once

#include <cstdint>
#include <optional>

// What keeps an old signed manifest from being served again: its Serial, which the updater
// never lets go back, and its Expires, after which nobody can freeze the updater on it.

// A Serial: 1 to 20 decimal digits without sign, blank or leading zero, at most 2^64 - 1.
bool ParseSerial(const char* text, std::uint64_t& serial);

// An Expires, "YYYY-MM-DDTHH:MM:SSZ" for a real moment in UTC from 1601 on, as seconds since
// 1601-01-01T00:00:00Z (where the platform's file times begin).
bool ParseUtcTime(const char* text, std::uint64_t& seconds);

// The platform's clock in the seconds of ParseUtcTime.
std::uint64_t UtcNowSeconds();

enum class SerialVerdict { Accepted, Undated, Older, Expired };

// Whether a manifest whose signature holds may be listed: its Serial and Expires well formed,
// the Serial not below `remembered` (none: a fresh installation) and Expires after `now`.
// Sets `serial` to the manifest's number.
SerialVerdict JudgeManifestSerial(const char* serialText, const char* expiresText,
                                  std::optional<std::uint64_t> remembered, std::uint64_t now,
                                  std::uint64_t& serial);
