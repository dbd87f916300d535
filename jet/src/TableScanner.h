#pragma once

#include "DataPage.h"
#include "RowReader.h"
#include "TableDef.h"
#include "UsageMap.h"

#include <functional>
#include <memory>

namespace jet {

// Walks a table's rows in storage order: data pages in map order, slots in page order,
// overflow pointers followed in place, deleted rows and relocated targets skipped.
class TableScanner {
public:
    TableScanner(const PageFile& file, const TableDef& table);

    // The next live row; `keep` receives the page that owns its bytes. False at the end.
    bool next(Bytes& row, Page& keep);

private:
    bool nextPage();

    const PageFile& file_;
    std::uint32_t tablePage_;
    std::unique_ptr<UsageMap> map_;
    Page page_;
    unsigned rows_ = 0;
    unsigned slot_ = 0;
};

// Calls `visit` with a reader split at each live row of `table`, in storage order.
void forEachRow(const PageFile& file, const TableDef& table,
                const std::function<void(const RowReader&)>& visit);

// The bytes of the row at a row-and-page pointer, as stored in a usage-map pointer.
std::vector<std::uint8_t> copyRow(const PageFile& file, std::uint32_t pointer);

} // namespace jet
