#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
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

// The update manifest as the XML DOM reads it from bytes read or fetched whole.
// The thread must have COM initialised.
class UpdateManifest {
public:
    // NoEntryList: a document without any Files element, which is no manifest.
    enum class Result { Unreadable, NoEntryList, Read };

    Result Parse(const std::string& bytes);

    // The document element's Start attribute.
    CString m_strStart;
    // Every element child of any Files element, in document order.
    std::vector<ManifestEntry> m_entries;

private:
    Result Read(const VARIANT& source);
};
