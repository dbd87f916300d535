#include "Engine.h"

#include "RowReader.h"
#include "TableScanner.h"
#include "Text.h"

namespace jet {

namespace {

constexpr long long tableType = 1;
constexpr std::uint32_t systemFlags = 0x80000002;

std::size_t catalogColumn(const TableDef& catalog, const char* name) {
    for (std::size_t i = 0; i < catalog.columns.size(); ++i)
        if (text::equalIgnoringCase(catalog.columns[i].name, name))
            return i;
    throw Error(std::string("file is damaged: the system catalog has no column '") + name + "'");
}

long long number(const std::string& text) {
    try {
        return text.empty() ? 0 : std::stoll(text);
    } catch (const std::exception&) {
        throw Error("file is damaged: the system catalog holds a bad number");
    }
}

} // namespace

Engine::Engine(const std::string& path) : file_(path) {
    readCatalog();
}

void Engine::readCatalog() {
    TableDef catalog = TableDef::read(file_, catalogPage);
    std::size_t id = catalogColumn(catalog, "Id");
    std::size_t name = catalogColumn(catalog, "Name");
    std::size_t type = catalogColumn(catalog, "Type");
    std::size_t flags = catalogColumn(catalog, "Flags");
    forEachRow(file_, catalog, [&](const RowReader& reader) {
        if ((number(reader.text(type)) & 0x7F) != tableType)
            return;
        auto page = static_cast<std::uint32_t>(number(reader.text(id)) & 0x00FFFFFF);
        if ((static_cast<std::uint32_t>(number(reader.text(flags))) & systemFlags) == 0)
            tables_.push_back({reader.text(name), page});
        else if (text::equalIgnoringCase(reader.text(name), "MSysComplexColumns"))
            complexColumnsPage_ = page;
    });
}

// MSysComplexColumns names the hidden table of each complex column by its catalog id.
void Engine::loadComplexValues(TableDef& table) const {
    if (table.complexColumns.empty())
        return;
    if (complexColumnsPage_ == 0)
        throw Error("file is damaged: a table has attachment or multi-value columns but the "
                    "file does not list them");
    TableDef catalog = TableDef::read(file_, complexColumnsPage_);
    std::size_t complexId = catalogColumn(catalog, "ComplexID");
    std::size_t hiddenTable = catalogColumn(catalog, "FlatTableID");
    forEachRow(file_, catalog, [&](const RowReader& reader) {
        long long id = number(reader.text(complexId));
        for (TableDef::ComplexColumn& complex : table.complexColumns) {
            if (id != complex.id || complex.values)
                continue;
            auto hiddenPage =
                static_cast<std::uint32_t>(number(reader.text(hiddenTable)) & 0x00FFFFFF);
            for (const ColumnDef& column : table.columns)
                if (column.number == complex.columnNumber)
                    complex.values = ComplexValues::load(file_, hiddenPage, column.name);
        }
    });
}

const Engine::TableEntry& Engine::table(const std::string& name) const {
    for (const TableEntry& entry : tables_)
        if (text::equalIgnoringCase(entry.name, name))
            return entry;
    throw Error("unknown table '" + name + "'");
}

} // namespace jet
