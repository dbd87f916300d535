#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jet {

enum class ColumnType { Text, LongInteger };

struct ColumnSpec {
    std::string name;
    ColumnType type = ColumnType::Text;
};

// One table to write. A missing value (std::nullopt) is stored as NULL. Long integer values
// are decimal text; text values are UTF-8 of at most 255 UTF-16 units.
struct TableData {
    std::string name;
    std::vector<ColumnSpec> columns;
    std::vector<std::vector<std::optional<std::string>>> rows;
};

// Builds a new Jet4 (Access 2000) database with a system catalog that Access, mdbtools and
// Jackcess can read. The whole file is assembled in memory and written at once.
class DatabaseWriter {
public:
    // Checks names, types and values at once and throws jet::Error naming the problem.
    void addTable(TableData table);
    // Writes the file, replacing any file of that name. `path` goes to std::fopen unchanged.
    void save(const std::string& path) const;

private:
    std::vector<TableData> tables_;
};

// A table from CSV text (UTF-8, optional BOM): the header line gives the column names; a name
// written "NAME:long" makes a long integer column NAME. Empty fields are NULL.
TableData tableFromCsv(const std::string& tableName, const std::string& csvText);

} // namespace jet
