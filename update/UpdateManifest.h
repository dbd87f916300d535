#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "framework/base/String.h"

// The attributes of one element under a Files element, as text (empty when missing).
struct ManifestEntry {
    CString Name;
    CString Version;
    CString Class;
    CString Length;
    CString URL;
    CString SHA256;
};

// The update manifest as the XML DOM reads it from bytes read or fetched whole.
// The thread must have COM initialised.
class UpdateManifest {
public:
    // NoEntryList: a document without any Files element, which is no manifest.
    enum class Result { Unreadable, NoEntryList, Read };
    // Far above any real list of files; a larger document, or one with more entries, is not
    // read, as each entry costs a look at the disk.
    static constexpr std::size_t kMaxBytes = 16u << 20;
    static constexpr long kMaxEntries = 10000;

    Result Parse(const std::string& bytes);

    // The document element's Start, Serial and Expires attributes.
    CString m_strStart;
    CString m_strSerial;
    CString m_strExpires;
    // Every element child of any Files element, in document order.
    std::vector<ManifestEntry> m_entries;
};
