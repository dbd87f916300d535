#pragma once

#include <vector>

#include "framework/String.h"

// The attributes of one element under a Files element, as text (empty when missing).
struct ManifestEntry {
    CString Name;
    CString Version;
    CString Class;
    CString Length;
    CString URL;
    CString SHA256;
};

// The update manifest as the XML DOM reads it from a file path or an http address.
class UpdateManifest {
public:
    enum class Result { Unreadable, NoEntryList, Read };

    // Loads synchronously; the thread must have COM initialised.
    Result Load(const char* source);

    // The document element's Start attribute.
    CString m_strStart;
    // Every element child of any Files element, in document order.
    std::vector<ManifestEntry> m_entries;
};
