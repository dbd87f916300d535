#pragma once

#include <string>

#include "String.h"

// Helpers shared by the updater's tests: files, folders, the local update server and the
// helper programs built beside the tests.

std::string ReadBytes(const char* path);
void WriteBytes(const char* path, const std::string& bytes);
bool FileExists(const char* path);
// Creates the folder and its parents.
void MakeFolder(const char* path);
// Removes the folder with everything in it (read-only files too); no error when missing.
void RemoveTree(const char* path);
// The names in a folder, without "." and "..", sorted.
std::string ListFolder(const char* path);
// Reproducible bytes that differ for each seed.
std::string PatternBytes(size_t size, unsigned seed);
std::string Sha256Hex(const std::string& bytes);

// A program built beside the tests (version fixtures, the helper), as a full path.
CString BuiltProgram(const char* fileName);

// The local update server started by the test fixture.
class LocalServer {
public:
    static int Port();
    // "http://127.0.0.1:<port>/" + path.
    static CString Url(const char* path);
    // The folder it serves, as a Windows path with a trailing backslash.
    static CString Folder();
};

// A manifest document: <Update Start=...><Files> entries </Files></Update>.
struct ManifestText {
    explicit ManifestText(const char* start) : start(start) {}
    ManifestText& Entry(const std::string& attributes);
    // A second Files element after the first.
    ManifestText& NextFiles();
    std::string Xml() const;

    std::string start;
    std::string body;
};

// Text of the calling thread's ANSI code page as UTF-8, for XML files.
std::string Utf8(const char* ansi);
