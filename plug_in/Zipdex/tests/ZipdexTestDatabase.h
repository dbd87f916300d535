#pragma once

#include <string>

#include "framework/String.h"

// A Zipdex table written to a temporary Access file and opened as theDatabase.
class ZipdexTestDatabase {
public:
    // csv: UTF-8, header PROVINCE,DC,YZBM,DHQH.
    explicit ZipdexTestDatabase(const std::string& csv);
    ~ZipdexTestDatabase();
    ZipdexTestDatabase(const ZipdexTestDatabase&) = delete;
    ZipdexTestDatabase& operator=(const ZipdexTestDatabase&) = delete;

    const CString& Path() const { return m_path; }

private:
    CString m_path;
};

// Rows of the lookup tests: two provinces with several rows, text wildcards, a code sort.
extern const char kLookupRows[];
