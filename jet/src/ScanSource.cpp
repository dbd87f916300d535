#include "ScanSource.h"

namespace jet {

ScanSource::ScanSource(std::shared_ptr<const Engine> engine, TableDef table,
                       std::vector<std::size_t> selected, std::unique_ptr<Condition> where)
    : engine_(std::move(engine)), table_(std::make_unique<TableDef>(std::move(table))),
      scanner_(engine_->file(), *table_), reader_(engine_->file(), *table_),
      selected_(std::move(selected)), where_(std::move(where)),
      valueOfColumn_([this](std::size_t column) { return valueOf(column); }),
      texts_(table_->columns.size()), renderedAt_(table_->columns.size()) {}

const std::string* ScanSource::valueOf(std::size_t column) {
    if (reader_.isNull(column))
        return nullptr;
    if (renderedAt_[column] != rowNumber_) {
        texts_[column] = reader_.text(column);
        renderedAt_[column] = rowNumber_;
    }
    return &texts_[column];
}

bool ScanSource::fetch(std::vector<std::string>& row) {
    Bytes bytes;
    Page keep;
    while (scanner_.next(bytes, keep)) {
        reader_.split(bytes);
        ++rowNumber_;
        if (where_ && where_->evaluate(valueOfColumn_) != Condition::Truth::True)
            continue;
        row.resize(selected_.size());
        for (std::size_t i = 0; i < selected_.size(); ++i) {
            const std::string* value = valueOf(selected_[i]);
            row[i] = value ? *value : std::string();
        }
        return true;
    }
    return false;
}

} // namespace jet
