#pragma once

#include "jet/Database.h"
#include "jet/DatabaseWriter.h"

#include <string>
#include <vector>

namespace jet_test {

using Rows = std::vector<std::vector<std::string>>;

// A file in the working directory, removed when the test ends.
class TempFile {
public:
    explicit TempFile(const std::string& name);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Every row of a statement, each value as text.
Rows query(const jet::Database& database, const std::string& statement,
           const jet::Collation& collation = jet::Collation());

// The Zipdex table as the postal-code program reads it, with Chinese text and a NULL.
jet::TableData zipdexTable();

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

} // namespace jet_test
