#pragma once

#include <string>

#include "LocalServer.h"
#include "TestFiles.h"
#include "framework/base/String.h"
#include "uidriver/Process.h"

inline std::string ReadBytes(const char* path) {
    return test_files::Read(path);
}
inline void WriteBytes(const char* path, const std::string& bytes) {
    test_files::Write(path, bytes);
}
// Reproducible bytes that differ for each seed.
std::string PatternBytes(size_t size, unsigned seed);
// The SHA-256 of PatternBytes(20000, 7) (std::mt19937 is the same everywhere), with a few
// upper-case digits, which count the same.
extern const std::string kPatternSha256;

// A program built beside the tests (version fixtures, the helper), as a full path.
CString BuiltProgram(const char* fileName);
// Runs "<program> <mode> <windowClass> <count> <mark>" and waits for its windows; the
// program is the built update_test_helper or a copy of it.
uidriver::Process StartHelper(const char* mode, const char* windowClass, int count,
                              const char* mark,
                              const CString& program = BuiltProgram("update_test_helper.exe"));

// A manifest document: <Update Start=... more><Files> entries </Files></Update>.
struct ManifestText {
    explicit ManifestText(const char* start, const std::string& more = "")
        : start(start), more(more) {}
    ManifestText& Entry(const std::string& attributes);
    ManifestText& File(const CString& name, const char* version, const std::string& more = "");
    // The entries of `inner` in a Files element further down, between text and a comment.
    ManifestText& Nested(const ManifestText& inner);
    std::string Xml() const;

    std::string start;
    std::string more;
    std::string body;
};
