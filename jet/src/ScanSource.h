#pragma once

#include "Condition.h"
#include "Engine.h"
#include "RowReader.h"
#include "TableScanner.h"
#include "jet/Cursor.h"

#include <memory>
#include <cstdint>
#include <vector>

namespace jet {

// Streams the rows of one table that meet a condition, rendering only the columns needed.
class ScanSource : public RowSource {
public:
    ScanSource(std::shared_ptr<const Engine> engine, TableDef table,
               std::vector<std::size_t> selected, std::unique_ptr<Condition> where);

    bool fetch(std::vector<std::string>& row) override;

private:
    const std::string* valueOf(std::size_t column);

    std::shared_ptr<const Engine> engine_;
    std::unique_ptr<TableDef> table_;
    TableScanner scanner_;
    RowReader reader_;
    std::vector<std::size_t> selected_;
    std::unique_ptr<Condition> where_;
    Condition::ValueOf valueOfColumn_;
    std::vector<std::string> texts_;
    // texts_[c] holds the current row's value when renderedAt_[c] is the current row's number.
    std::vector<std::uint64_t> renderedAt_;
    std::uint64_t rowNumber_ = 0;
};

} // namespace jet
