#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/base/String.h"

// The updater's decisions, free of windows and network so that they can be checked alone.

// The size column's text: "%d Byte" below 1 K, otherwise K, M or G with two decimals.
CString FormatSize(UINT size);

// A leading decimal number: blanks, an optional sign, digits; 0 when there are none.
// Values beyond the 32-bit range stop at its ends.
int ParseLength(const char* text);

// "a.b.c.d" from the file version's two 32-bit halves.
CString VersionText(DWORD versionMS, DWORD versionLS);

// True for a path that stays inside the folder it is appended to: not empty, no drive,
// no UNC or root prefix, no ':' anywhere, no empty element, no device name and no element
// ending in a dot or a blank (Windows trims those, so "a.exe." would be "a.exe" and ".."
// a way out).
bool IsSafeRelativePath(const char* path);

// The same text for every spelling of one relative path: letter case and the kind of slash
// aside, as the file system sees them.
CString RelativePathKey(const char* path);

// The progress position 0..100 for `received` of `total` bytes; 0 while the total is
// unknown, never above 100.
int ProgressPercent(std::uint64_t received, std::uint64_t total);

// What the status label says about one row.
enum class RowStatus {
    Downloading,
    NotFound,
    ServerRefused,
    Incomplete,
    TimedOut,
    ChecksumMismatch,
    CreateFailed,
    WriteFailed,
    Replaced,
    ReplaceFailed,
};

// The label text for `status` of the file `name`; `detail` is the status code for
// ServerRefused.
CString StatusText(RowStatus status, const char* name, const char* detail = "");

// What the user is told when a request could not be sent: the common WinINet failures in
// words, others in the platform's text or with their number.
CString InternetErrorText(DWORD error);

// The status label when the update information could not be read.
extern const char* const kManifestUnreadableText;
// The status label when the manifest does not carry a valid signature by the built-in key.
extern const char* const kManifestSignatureInvalidText;
// The status labels when a manifest with a valid signature is refused: its Serial is below the
// one this installation accepted last, its Expires has passed, one of the two is missing or
// malformed, or the accepted serial cannot be read or kept.
extern const char* const kManifestOlderText;
extern const char* const kManifestExpiredText;
extern const char* const kManifestUndatedText;
extern const char* const kSerialStoreFailedText;
// The status label when the user stopped an upgrade run.
extern const char* const kUpgradeCancelledText;
