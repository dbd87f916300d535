#pragma once

#include <string>

// Steers the local vendor site of the "vendor_site" test fixture from a program under Wine.
namespace vendor_site {

// How the site behaves (a mode of vendorsite.py: "normal", "refuse", "error", "empty", "cut",
// "silent", "stall", "drip", "trickle", "endless", "zeros", "zeroscut", "overlong"); returns once
// it does, false when it did not within 5 s.
bool SetMode(const char* mode);
// The configs.xml the site serves, as a Windows path.
std::string ServedConfig();

// Whole files as bytes (a missing file reads as empty), for the site's files and a program's.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Puts the served configs.xml back and the site to normal when it goes.
class Restorer {
public:
    Restorer();
    ~Restorer();
    Restorer(const Restorer&) = delete;
    Restorer& operator=(const Restorer&) = delete;

private:
    std::string m_config;
};

} // namespace vendor_site
