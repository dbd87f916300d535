#include "jet/Cursor.h"

#include "Text.h"
#include "jet/Error.h"

namespace jet {

Cursor::Cursor(std::vector<std::string> columnNames, std::unique_ptr<RowSource> source)
    : columnNames_(std::move(columnNames)), source_(std::move(source)) {}

bool Cursor::next() {
    if (atEnd_)
        return false;
    onRow_ = source_->fetch(row_);
    if (!onRow_) {
        atEnd_ = true;
        source_.reset();
    }
    return onRow_;
}

const std::string& Cursor::value(std::size_t column) const {
    if (!onRow_)
        throw Error("no current row");
    if (column >= row_.size())
        throw Error("column " + std::to_string(column) + " is out of range");
    return row_[column];
}

const std::vector<std::string>& Cursor::values() const {
    if (!onRow_)
        throw Error("no current row");
    return row_;
}

const std::string& Cursor::value(const std::string& columnName) const {
    return value(columnIndex(columnName));
}

std::size_t Cursor::columnIndex(const std::string& columnName) const {
    for (std::size_t i = 0; i < columnNames_.size(); ++i)
        if (text::equalIgnoringCase(columnNames_[i], columnName))
            return i;
    throw Error("unknown column '" + columnName + "'");
}

} // namespace jet
