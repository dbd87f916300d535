#pragma once

#include <string>

// Files the tests make and read back.
namespace test_files {

// The name in the user's temporary folder.
std::string TempPath(const std::string& name);
// The whole file; empty when it cannot be read.
std::string Read(const std::string& path);
void Write(const std::string& path, const std::string& bytes);

} // namespace test_files
