#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace jet {

// Produces the rows of one statement; the engine supplies the implementations.
class RowSource {
public:
    virtual ~RowSource() = default;
    // Fills `row` with the next row's values and returns true, or returns false at the end.
    virtual bool fetch(std::vector<std::string>& row) = 0;
};

// Forward-only result of a SELECT. It starts before the first row: call next() to reach it.
// Values are UTF-8 text (see Database.h for how each column type reads); NULL reads as "".
// A cursor keeps its database file open, so it may outlive the Database that made it.
class Cursor {
public:
    Cursor(std::vector<std::string> columnNames, std::unique_ptr<RowSource> source);
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    const std::vector<std::string>& columnNames() const { return columnNames_; }

    // Moves to the next row. Returns false, and atEnd() turns true, when no row is left.
    bool next();
    bool atEnd() const { return atEnd_; }

    // Value of the current row; throws jet::Error when there is no current row.
    const std::string& value(std::size_t column) const;
    // Every value of the current row, in column order; throws as value() does.
    const std::vector<std::string>& values() const;
    // Column names match without regard to letter case; an unknown name throws.
    const std::string& value(const std::string& columnName) const;
    std::size_t columnIndex(const std::string& columnName) const;

private:
    std::vector<std::string> columnNames_;
    std::unique_ptr<RowSource> source_;
    std::vector<std::string> row_;
    bool onRow_ = false;
    bool atEnd_ = false;
};

} // namespace jet
