#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace jet {

class PageFile;

// The values of one attachment, multi-value or memo-history column of an Access 2007 or
// later file. A row stores only a number; the values are the rows of a hidden table that
// carry that number. Each number reads as its values' texts in storage order, joined by ", "
// as Access lists them: an attachment's file names, a multi-value column's values, the
// texts a memo has had.
class ComplexValues {
public:
    static std::shared_ptr<const ComplexValues>
    load(const PageFile& file, std::uint32_t hiddenTablePage, const std::string& columnName);

    // "" for a number without values.
    std::string of(std::uint32_t number) const;

private:
    std::unordered_map<std::uint32_t, std::string> texts_;
};

} // namespace jet
