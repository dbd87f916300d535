#pragma once

#include <string>

// Whole files as bytes; a missing file reads as empty.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The names in a folder, sorted, separated by blanks.
std::string ListFolder(const std::string& folder);
// A configs.xml of the entries given as (name, URL) pairs in UTF-8, padded with a comment
// to exactly `size` bytes when a size is given.
std::string ConfigXml(const std::initializer_list<std::pair<const char*, const char*>>& entries,
                      size_t size = 0);

// The local vendor site the test fixture started on 127.0.0.1:80.
namespace vendor_site {
// How the site behaves ("normal", "refuse", "error", "empty", "cut"); returns once it does.
void SetMode(const char* mode);
// The configs.xml the site serves, as a Windows path.
std::string ServedConfig();
} // namespace vendor_site

// Puts the served configs.xml and the site's mode back as they were when it goes.
class SiteRestorer {
public:
    SiteRestorer();
    ~SiteRestorer();
    SiteRestorer(const SiteRestorer&) = delete;
    SiteRestorer& operator=(const SiteRestorer&) = delete;

private:
    std::string m_config;
};
