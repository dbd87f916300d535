#include "TestFiles.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace test_files {

std::string TempPath(const std::string& name) {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    return folder + name;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void MakeFolder(const std::string& path) {
    std::filesystem::create_directories(path);
}

void RemoveTree(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(path, error))
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, error);
    fs::remove_all(path, error);
}

std::string List(const std::string& path, const std::string& prefix) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        if (const std::string name = entry.path().filename().string();
            name.compare(0, prefix.size(), prefix) == 0)
            names.insert(name);
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : " ") + name;
    return list;
}

} // namespace test_files
