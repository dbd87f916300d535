#pragma once

#include <string>

// Files the tests make and read back.
namespace test_files {

// The name in the user's temporary folder.
std::string TempPath(const std::string& name);
// The whole file; empty when it cannot be read.
std::string Read(const std::string& path);
void Write(const std::string& path, const std::string& bytes);
// A folder and the folders above it.
void MakeFolder(const std::string& path);
// A folder and all in it, read-only files too; a missing folder is no error.
void RemoveTree(const std::string& path);
// The names in a folder that begin with `prefix`, sorted, separated by blanks.
std::string List(const std::string& path, const std::string& prefix = "");

} // namespace test_files
