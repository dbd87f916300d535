#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "App.h"
#include "Encoding.h"
#include "Module.h"
#include "Sha256.h"

namespace {

// COM for the XML DOM, once for every test program.
class ComEnvironment : public ::testing::Environment {
public:
    void SetUp() override { AfxEnableControlContainer(); }
};
const auto* const comEnvironment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

CString UnixToWindows(const char* unixPath) {
    CString path = CString("Z:") + unixPath;
    std::string text = path.str();
    std::replace(text.begin(), text.end(), '/', '\\');
    return CString(text);
}

CString EnvironmentPath(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        throw std::runtime_error(std::string(name) + " is not set: run the test through ctest");
    return UnixToWindows(value);
}

} // namespace

std::string ReadBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const char* path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error(std::string("cannot write ") + path);
}

bool FileExists(const char* path) {
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolder(const char* path) {
    CString folder(path);
    for (int slash = folder.Find('\\', 3); slash >= 0; slash = folder.Find('\\', slash + 1))
        ::CreateDirectoryA(folder.Left(slash), nullptr);
    ::CreateDirectoryA(folder, nullptr);
}

void RemoveTree(const char* path) {
    const CString folder(path);
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA(folder + "\\*", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const CString name(found.cFileName);
            if (name == "." || name == "..")
                continue;
            const CString child = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesA(child, FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(child);
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder);
}

std::string ListFolder(const char* path) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA(CString(path) + "\\*", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name(found.cFileName);
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

std::string PatternBytes(size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::string Sha256Hex(const std::string& bytes) {
    Sha256 hash;
    hash.Update(bytes.data(), static_cast<DWORD>(bytes.size()));
    BYTE digest[32] = {};
    if (!hash.Finish(digest))
        throw std::runtime_error("SHA-256 provider failed");
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (BYTE byte : digest) {
        text += hex[byte >> 4];
        text += hex[byte & 0x0F];
    }
    return text;
}

CString BuiltProgram(const char* fileName) {
    const CString directory = GetModuleDirectory();
    for (const char* relative : {"", "..\\"}) {
        const CString path = directory + relative + fileName;
        if (FileExists(path))
            return path;
    }
    throw std::runtime_error(std::string("not built: ") + fileName);
}

int LocalServer::Port() {
    std::istringstream state(ReadBytes(EnvironmentPath("UPDATE_SERVER_STATE")));
    int pid = 0;
    int port = 0;
    if (!(state >> pid >> port))
        throw std::runtime_error("the update server's state file is empty");
    return port;
}

CString LocalServer::Url(const char* path) {
    CString url;
    url.Format("http://127.0.0.1:%d/%s", Port(), path);
    return url;
}

CString LocalServer::Folder() {
    return EnvironmentPath("UPDATE_SERVED_ROOT") + "\\";
}

ManifestText& ManifestText::Entry(const std::string& attributes) {
    body += "    <File " + attributes + "/>\n";
    return *this;
}

ManifestText& ManifestText::NextFiles() {
    body += "  </Files>\n  <Notes><Item Name=\"ignored\"/></Notes>\n  <Files>\n";
    return *this;
}

std::string ManifestText::Xml() const {
    return Utf8(("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update Start=\"" + start +
                 "\">\n  <Files>\n" + body + "  </Files>\n</Update>\n")
                    .c_str());
}

std::string Utf8(const char* ansi) {
    return AnsiToUtf8(ansi);
}
