#pragma once

#include "framework/base/String.h"

// One file to update: a row of the file list carries it as its item data.
struct UpdateItem {
    CString Name;
    CString Class;
    CString Version;
    int Length = 0;
    CString URL;
    // Hex SHA-256 the downloaded bytes must have; empty when the manifest gives none.
    CString SHA256;
};
