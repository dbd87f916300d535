#include "ComplexValues.h"

#include "TableScanner.h"
#include "Text.h"

namespace jet {

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

// The hidden table holds "_<column>" (the number a row stores), "<table>_<column>" (its own
// key) and the value columns; of an attachment's, the file name is what Access lists.
std::shared_ptr<const ComplexValues> ComplexValues::load(const PageFile& file,
                                                         std::uint32_t hiddenTablePage,
                                                         const std::string& columnName) {
    TableDef hidden = TableDef::read(file, hiddenTablePage);
    const std::size_t none = hidden.columns.size();
    std::size_t number = none;
    std::size_t value = none;
    for (std::size_t i = 0; i < hidden.columns.size(); ++i) {
        const std::string& name = hidden.columns[i].name;
        if (text::equalIgnoringCase(name, "_" + columnName) &&
            hidden.columns[i].type == column_type::longInteger)
            number = i;
        else if (text::equalIgnoringCase(name, "FileName") ||
                 (value == none && !endsWith(name, "_" + columnName)))
            value = i;
    }
    if (number == none || value == none)
        throw Error("file is damaged: the values of column '" + columnName +
                    "' are kept in a table without the columns they need");

    auto values = std::make_shared<ComplexValues>();
    forEachRow(file, hidden, [&](const RowReader& reader) {
        if (reader.isNull(number))
            return;
        std::string& joined =
            values->texts_[static_cast<std::uint32_t>(std::stol(reader.text(number)))];
        if (!joined.empty())
            joined += ", ";
        joined += reader.text(value);
    });
    return values;
}

std::string ComplexValues::of(std::uint32_t number) const {
    auto found = texts_.find(number);
    return found == texts_.end() ? std::string() : found->second;
}

} // namespace jet
