#include "VendorSiteControl.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vendor_site {
namespace {

std::string WindowsPath(const char* variable) {
    std::string path = std::string("Z:") + (std::getenv(variable) ? std::getenv(variable) : "");
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

} // namespace

std::string ReadBytes(const std::string& path) {
    std::stringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool SetMode(const char* mode) {
    const std::string control = WindowsPath("VENDOR_SITE_CONTROL");
    const std::string line = std::string(mode) + "\n";
    WriteBytes(control, line);
    for (int i = 0; i < 250; ++i, ::Sleep(20))
        if (ReadBytes(control + ".applied") == line)
            return true;
    return false;
}

std::string ServedConfig() {
    return WindowsPath("VENDOR_SITE_ROOT") + "\\Package\\Application\\configs.xml";
}

Restorer::Restorer() : m_config(ReadBytes(ServedConfig())) {}

Restorer::~Restorer() {
    WriteBytes(ServedConfig(), m_config);
    SetMode("normal");
}

} // namespace vendor_site
