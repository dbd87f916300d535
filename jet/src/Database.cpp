#include "jet/Database.h"

#include "DistinctSource.h"
#include "Engine.h"
#include "ScanSource.h"
#include "Statement.h"
#include "Text.h"

namespace jet {

namespace {

std::size_t findColumn(const TableDef& table, const NameAt& column) {
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (text::equalIgnoringCase(table.columns[i].name, column.name))
            return i;
    throw Error("unknown column '" + column.name + "' at position " +
                std::to_string(column.position));
}

} // namespace

Database::Database(const std::string& path) : engine_(std::make_shared<Engine>(path)) {}

Database::~Database() = default;

std::vector<std::string> Database::tableNames() const {
    std::vector<std::string> names;
    for (const Engine::TableEntry& entry : engine_->tables())
        names.push_back(entry.name);
    return names;
}

int Database::jetVersion() const {
    return engine_->file().format().version;
}

std::unique_ptr<Cursor> Database::execute(const std::string& statement,
                                          const Collation& collation) const {
    Statement parsed = Statement::parse(statement);
    TableDef table =
        TableDef::read(engine_->file(), engine_->table(parsed.table.name).definitionPage);
    engine_->loadComplexValues(table);

    std::vector<std::size_t> selected;
    std::vector<std::string> names;
    if (parsed.columns.empty()) {
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            selected.push_back(i);
            names.push_back(table.columns[i].name);
        }
    } else {
        for (const NameAt& column : parsed.columns) {
            selected.push_back(findColumn(table, column));
            names.push_back(table.columns[selected.back()].name);
        }
    }
    if (parsed.where)
        parsed.where->forEachComparison([&table](Condition& comparison) {
            comparison.columnIndex =
                findColumn(table, {comparison.column, comparison.columnPosition});
        });

    auto scan = std::make_unique<ScanSource>(engine_, std::move(table), std::move(selected),
                                             std::move(parsed.where));
    if (!parsed.distinct)
        return std::make_unique<Cursor>(std::move(names), std::move(scan));
    return std::make_unique<Cursor>(std::move(names),
                                    std::make_unique<DistinctSource>(*scan, collation));
}

} // namespace jet
