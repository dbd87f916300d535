#include "PackageTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string WindowsPath(const char* variable) {
    const char* value = std::getenv(variable);
    std::string path = std::string("Z:") + (value ? value : "");
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

} // namespace

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    std::sort(names.begin(), names.end());
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : " ") + name;
    return list;
}

std::string ConfigXml(const std::initializer_list<std::pair<const char*, const char*>>& entries,
                      size_t size) {
    std::string body;
    for (const auto& entry : entries)
        body += std::string("<Express Name=\"") + entry.first + "\" URL=\"" + entry.second + "\"/>";
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Expresses>";
    const std::string tail = "</Expresses>";
    std::string xml = head + body + tail;
    const size_t comment = 7; // <!--  -->
    if (size > xml.size() + comment)
        xml = head + body + "<!--" + std::string(size - xml.size() - comment, 'x') + "-->" + tail;
    return xml;
}

namespace vendor_site {

void SetMode(const char* mode) {
    const std::string control = WindowsPath("VENDOR_SITE_CONTROL");
    WriteBytes(control, std::string(mode) + "\n");
    for (int i = 0; i < 250; ++i) {
        if (ReadBytes(control + ".applied") == std::string(mode) + "\n")
            return;
        ::Sleep(20);
    }
    FAIL() << "the vendor site did not take mode " << mode << " within 5 s";
}

std::string ServedConfig() {
    return WindowsPath("VENDOR_SITE_ROOT") + "\\Package\\Application\\configs.xml";
}

} // namespace vendor_site

SiteRestorer::SiteRestorer() : m_config(ReadBytes(vendor_site::ServedConfig())) {}

SiteRestorer::~SiteRestorer() {
    WriteBytes(vendor_site::ServedConfig(), m_config);
    vendor_site::SetMode("normal");
}
