#pragma once

#include "PageFile.h"

#include <string>
#include <vector>

namespace jet {

// An open database: its pages and the user tables its catalog lists.
class Engine {
public:
    struct TableEntry {
        std::string name;
        std::uint32_t definitionPage;
    };

    explicit Engine(const std::string& path);

    const PageFile& file() const { return file_; }
    const std::vector<TableEntry>& tables() const { return tables_; }
    // Case-insensitive; throws jet::Error("unknown table '...'").
    const TableEntry& table(const std::string& name) const;

private:
    void readCatalog();

    PageFile file_;
    std::vector<TableEntry> tables_;
};

} // namespace jet
