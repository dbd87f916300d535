#pragma once

#include "PageFile.h"
#include "TableDef.h"

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

    // Gives each attachment, multi-value and memo-history column of `table` its values.
    void loadComplexValues(TableDef& table) const;

private:
    void readCatalog();

    PageFile file_;
    std::vector<TableEntry> tables_;
    std::uint32_t complexColumnsPage_ = 0;
};

} // namespace jet
